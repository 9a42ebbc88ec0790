#pragma once

#include "gui/dialogs/Dialogs.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

// A dialog seam for tests: records every message and answers from queues, never blocking.
class ScriptedDialogs : public Dialogs {
public:
    struct Message {
        QString text;
        QString title;
        Buttons buttons;
        Icon icon;
        Answer defaultButton;
    };

    Answer message(const QString& text, const QString& title, Buttons buttons, Icon icon,
                   Answer defaultButton) override;
    QString openFileName(QWidget* parent, const QString& title, const QString& folder,
                         const QString& filter) override;
    QString saveFileName(QWidget* parent, const QString& title, const QString& folder,
                         const QString& filters, QString* selectedFilter) override;
    int execModal(QDialog& dialog) override;
    bool printDialog(QPrinter& printer, QWidget* parent) override;
    bool pageSetupDialog(QPrinter& printer, QWidget* parent) override;

    // Answers given in order; when none is queued the default button answers.
    std::deque<Answer> answers;
    std::deque<QString> fileNames;
    // The folder each open dialog started in.
    QStringList openFolders;
    // Each save dialog answers with the next file name and the filter chosen (the first
    // offered when empty); none queued: cancelled. The filters offered are kept.
    struct SaveAnswer {
        QString fileName;
        QString filter;
    };
    std::deque<SaveAnswer> saveAnswers;
    QStringList saveFiltersOffered;
    // Each modal window shown runs the next handler (which may drive the window); none: rejected.
    std::deque<std::function<int(QDialog&)>> modalHandlers;

    // Each print or page-setup dialog runs the next handler (which may set the printer and
    // returns whether the user confirmed); none: cancelled.
    std::deque<std::function<bool(QPrinter&)>> printHandlers;
    std::deque<std::function<bool(QPrinter&)>> pageSetupHandlers;
    int printDialogsShown = 0;
    int pageSetupDialogsShown = 0;

    std::vector<Message> messages;
    QStringList modalShown;
};
