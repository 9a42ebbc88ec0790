#include "gui/startup/SplashScreen.h"

#include "gui/widgets/AppIcon.h"

#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

constexpr int kMajor = 4;
constexpr int kMinor = 1;
constexpr int kRevision = 1;
constexpr int kShowMs = 3000;

QLabel* label(QWidget* parent, const QString& name, const QString& text, int pointSize = 0) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    if (pointSize > 0) {
        QFont f = l->font();
        f.setPointSize(pointSize);
        f.setBold(true);
        l->setFont(f);
    }
    return l;
}

} // namespace

SplashScreen::SplashScreen(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), Timer(new QTimer(this)) {
    setObjectName(u"frmSplash"_s);
    setAttribute(Qt::WA_DeleteOnClose);
    auto* frame = new QFrame(this);
    frame->setObjectName(u"Frame"_s);
    frame->setFrameShape(QFrame::Box);
    frame->setLineWidth(2);
    frame->installEventFilter(this);
    auto* picture = new QLabel(frame);
    picture->setObjectName(u"Picture1"_s);
    picture->setPixmap(AppIcon::pixmap(96));

    auto* grid = new QGridLayout(frame);
    grid->setContentsMargins(24, 20, 24, 20);
    grid->addWidget(picture, 0, 0, 4, 1, Qt::AlignTop);
    grid->addWidget(label(frame, u"lblProductName"_s, u"Lexivar v4.1.1"_s, 22), 0, 1);
    grid->addWidget(
        label(frame, u"lblVersion"_s, u"Version %1.%2.%3"_s.arg(kMajor).arg(kMinor).arg(kRevision)),
        1, 1);
    grid->addWidget(label(frame, u"Label2"_s, u"Édition spéciale"_s), 2, 1);
    auto* platforms = new QVBoxLayout;
    platforms->addWidget(label(frame, u"lblPlatform"_s, u"Windows 9x/ME"_s));
    platforms->addWidget(label(frame, u"Label1"_s, u"NT/2000/XP"_s));
    grid->addLayout(platforms, 3, 1);
    grid->addWidget(label(frame, u"lblCompany"_s,
                          u"Fiches terminologiques anglais-français pour traducteurs et "
                          u"terminologues"_s),
                    4, 0, 1, 2);
    grid->addWidget(label(frame, u"lblWarning"_s, QString()), 5, 0, 1, 2);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frame);
    setMinimumWidth(460);

    Timer->setObjectName(u"Timer"_s);
    Timer->setSingleShot(true);
    Timer->setInterval(kShowMs);
    connect(Timer, &QTimer::timeout, this, &QWidget::close);
    Timer->start();
    adjustSize();
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

void SplashScreen::keyPressEvent(QKeyEvent*) {
    close();
}

bool SplashScreen::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        close();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
