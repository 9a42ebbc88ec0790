#include "gui/widgets/ActivationOrigin.h"

#include <QGuiApplication>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace {

// A message box is destroyed as soon as it returns, often before the window behind it hears of
// its activation: what the focused window was is noted while it still exists.
struct Focused {
    QPointer<QWindow> window;
    bool dialog = false;
};

struct FocusHistory {
    Focused previous;
    Focused current;
};

FocusHistory& history() {
    static FocusHistory value;
    return value;
}

void focusChanged(QWindow* window) {
    FocusHistory& h = history();
    h.previous = h.current;
    h.current = {window, window && window->type() == Qt::Dialog};
}

} // namespace

namespace ActivationOrigin {

void watch() {
    static bool watching = false;
    if (!watching && qGuiApp) {
        watching = true;
        QObject::connect(qGuiApp, &QGuiApplication::focusWindowChanged, qGuiApp, &focusChanged);
    }
}

bool returnFromDialog(const QWidget& window) {
    const QWindow* handle = window.window()->windowHandle();
    const FocusHistory& h = history();
    // The application announces the new focus after the window's activation event, or before.
    const Focused& before = h.current.window == handle ? h.previous : h.current;
    return before.dialog && before.window != handle &&
           (before.window.isNull() || !before.window->isVisible());
}

} // namespace ActivationOrigin
