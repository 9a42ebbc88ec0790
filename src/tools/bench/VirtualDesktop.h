#pragma once

#include <QByteArray>
#include <QProcess>
#include <memory>
#include <vector>

// A desktop of the bench's own, as a user has one: a virtual X server (Xvfb) on the first free
// display, a window manager (openbox) and a notification area (trayer). Everything it started
// ends with it.
class VirtualDesktop {
public:
    VirtualDesktop();
    ~VirtualDesktop();
    VirtualDesktop(const VirtualDesktop&) = delete;
    VirtualDesktop& operator=(const VirtualDesktop&) = delete;

    // The display (":3"), empty when the desktop could not be started.
    const QByteArray& display() const { return m_display; }
    // The title of the notification area's window, in which docked icons are found.
    static QByteArray notificationArea() { return QByteArrayLiteral("panel"); }

private:
    bool startServer();
    QProcess& launch(const QString& program, const QStringList& arguments);

    std::vector<std::unique_ptr<QProcess>> m_processes;
    QByteArray m_display;
};
