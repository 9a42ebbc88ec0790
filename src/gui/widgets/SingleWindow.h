#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>

class Session;

// The windows that exist once in the program: opening one again brings back the same window;
// a closed one is deleted and the next opening makes a new one.
//
// A window counts as open from its opening until its close is accepted. Qt deletes a closed
// window only later, from the event loop (deleteLater), so the pointer alone would still hold it
// for a while: the closed window is hidden by then, and a hidden window is no longer the one to
// bring back or to wait for. (These windows never hide otherwise; minimising does not hide.)
template <typename T> class SingleWindow {
public:
    // The open window, shown; a new one on `session`, set up by `setUp` before it shows, when
    // none is open.
    static T* open(Session& session, const std::function<void(T&)>& setUp = {}) {
        T* window = existing();
        if (!window) {
            window = new T(session);
            window->setAttribute(Qt::WA_DeleteOnClose);
            if (setUp) {
                setUp(*window);
            }
            instance() = window;
        }
        window->show();
        window->raise();
        window->activateWindow();
        return window;
    }

    // The open window, or none.
    static T* existing() {
        T* window = instance();
        return window && !window->isHidden() ? window : nullptr;
    }

private:
    static QPointer<T>& instance() {
        static QPointer<T> window;
        return window;
    }
};
