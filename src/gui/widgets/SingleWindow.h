#pragma once

#include <QPointer>
#include <QWidget>

// The windows that exist once in the program: opening one again brings back the same window;
// a closed one is deleted and the next opening makes a new one.
template <typename T> class SingleWindow {
public:
    template <typename... Args> static T* open(Args&... args) {
        QPointer<T>& window = instance();
        if (!window) {
            window = new T(args...);
            window->setAttribute(Qt::WA_DeleteOnClose);
        }
        window->show();
        window->raise();
        window->activateWindow();
        return window;
    }

    static T* existing() { return instance(); }

    // A window that has agreed to close is no longer the one to bring back.
    static void forget() { instance() = nullptr; }

private:
    static QPointer<T>& instance() {
        static QPointer<T> window;
        return window;
    }
};
