#pragma once

#include "gui/dialogs/Dialogs.h"

#include <QString>

class RecordEditor;
class ScriptedDialogs;

// What one save showed the user: the "changed meanwhile" questions and any other message
// (every other message of a save is a failure).
struct SaveTurn {
    int questions = 0;
    int failures = 0;
    QString question; // the first question's text

    // One line, for a second process to hand its turns back.
    QString toLine() const;
    static SaveTurn fromLine(const QString& line);
};

// The title of the editor's "changed meanwhile" question.
extern const QString kChangedMeanwhileTitle;

// Types `french` into the editor's French term and saves, giving `answer` to every question.
SaveTurn saveFrench(RecordEditor& editor, ScriptedDialogs& dialogs, const QString& french,
                    Dialogs::Answer answer);
