#pragma once

#include <QByteArray>
#include <functional>

struct xcb_connection_t;

// Looks at the windows of an X display the way a user sees them: whether a program's window is
// on the screen, or its icon docked in the notification area. The bench times start-up with it,
// from a program's launch until its window or icon shows.
class DesktopProbe {
public:
    // Connects to `display` (":1"); connected() is false when nothing answers there.
    explicit DesktopProbe(const QByteArray& display);
    ~DesktopProbe();
    DesktopProbe(const DesktopProbe&) = delete;
    DesktopProbe& operator=(const DesktopProbe&) = delete;

    bool connected() const { return m_connection != nullptr; }
    // A window of the program whose WM_CLASS instance is `instance` on the screen; with
    // `ancestorName`, one mapped inside a window of that title (an icon docked in the
    // notification area's "panel", which may itself stay unmapped).
    bool shown(const QByteArray& instance, const QByteArray& ancestorName = {});
    // A window of this title exists, mapped or not.
    bool exists(const QByteArray& name);

private:
    struct Window {
        QByteArray name;
        QByteArray instance;
        bool mapped;
        bool viewable;
        bool inside; // within the window named by the search, or that window itself
    };
    bool anyWindow(const QByteArray& ancestorName,
                   const std::function<bool(const Window&)>& wanted);

    xcb_connection_t* m_connection = nullptr;
    unsigned m_root = 0;
};
