#pragma once

#include "core/interchange/LegacyImport.h"

#include <QString>

class QWidget;

// Feeds the progress window from a core operation's progress callback: the window shows once a
// run reaches `showFrom` steps and is taken down when the feed ends, whether the run succeeded
// or threw.
class ProgressFeed {
public:
    ProgressFeed(QWidget* caller, QString title, qint64 showFrom = 0);
    ~ProgressFeed();
    ProgressFeed(const ProgressFeed&) = delete;
    ProgressFeed& operator=(const ProgressFeed&) = delete;

    ImportProgress callback();

private:
    QWidget* m_caller;
    QString m_title;
    qint64 m_showFrom;
    bool m_shown = false;
};
