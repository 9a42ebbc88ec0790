#include "TrayFallbackWindow.h"

#include "AppIcon.h"
#include "frmTrayIcon.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

using namespace Qt::StringLiterals;

TrayFallbackWindow::TrayFallbackWindow(frmTrayIcon& tray)
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
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(icon);
    layout->addWidget(button);
}

void TrayFallbackWindow::contextMenuEvent(QContextMenuEvent* event) {
    m_tray.menu()->popup(event->globalPos());
}

void TrayFallbackWindow::mouseDoubleClickEvent(QMouseEvent*) {
    m_tray.mnuTrayIconSearch_Click();
}

void TrayFallbackWindow::closeEvent(QCloseEvent* event) {
    // Closing it would leave the program unreachable: "Quitter" ends the program.
    event->ignore();
    m_tray.menu()->popup(mapToGlobal(rect().center()));
}
