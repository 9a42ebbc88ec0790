#include "gui/tray/TrayFallbackWindow.h"

#include "gui/tray/TrayMenu.h"
#include "gui/widgets/AppIcon.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TrayFallbackWindow::TrayFallbackWindow(TrayMenu& tray)
    : QWidget(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint), m_tray(tray) {
    setObjectName(u"TrayFallbackWindow"_s);
    setWindowTitle(u"Lexivar 4.0"_s);
    setWindowIcon(AppIcon::icon());
    setToolTip(u"Lexivar 4.0"_s);
    auto* icon = new QLabel(this);
    icon->setPixmap(AppIcon::pixmap(32));
    auto* button = new QPushButton(u"Menu Lexivar"_s, this);
    button->setObjectName(u"cmdMenu"_s);
    button->setMenu(tray.menu());
    m_status = new QLabel(this);
    m_status->setObjectName(u"lblStatus"_s);
    m_status->setWordWrap(true);
    m_status->hide();
    auto* row = new QHBoxLayout;
    row->addWidget(icon);
    row->addWidget(button);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(m_status);
    // The whole title shows, whatever the window manager puts beside it.
    setMinimumWidth(fontMetrics().horizontalAdvance(windowTitle()) + 160);
    placeInCorner();
}

void TrayFallbackWindow::placeInCorner() {
    // Out of the way of the windows the menu opens, which come up in the middle.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        adjustSize();
        move(area.right() - width() - 16, area.top() + 8);
    }
}

void TrayFallbackWindow::showStatus(const QString& text) {
    m_status->setText(text);
    m_status->show();
}

void TrayFallbackWindow::contextMenuEvent(QContextMenuEvent* event) {
    m_tray.menu()->popup(event->globalPos());
}

void TrayFallbackWindow::mouseDoubleClickEvent(QMouseEvent*) {
    m_tray.openSearch();
}

void TrayFallbackWindow::closeEvent(QCloseEvent* event) {
    // Closing it would leave the program unreachable: "Quitter" ends the program.
    event->ignore();
    m_tray.menu()->popup(mapToGlobal(rect().center()));
}
