#pragma once

#include <QObject>
#include <QString>

// Short confirmations of work that otherwise shows nothing (a compaction, a password change, a
// saved path): whoever can show them (the tray's balloon, or the fallback window's status line)
// listens here.
class Notices : public QObject {
    Q_OBJECT

public:
    static Notices& instance();
    static void tell(const QString& text) { emit instance().told(text); }

signals:
    void told(const QString& text);

private:
    Notices() = default;
};
