#include "gui/records/SaveTurn.h"

#include "gui/dialogs/ScriptedDialogs.h"
#include "gui/records/RecordEditor.h"

#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace {
constexpr size_t kAnswersPerSave = 100;
} // namespace

const QString kChangedMeanwhileTitle = u"Fiche modifiée entre-temps"_s;

QString SaveTurn::toLine() const {
    return QString::number(questions) + u' ' + QString::number(failures) + u' ' + question;
}

SaveTurn SaveTurn::fromLine(const QString& line) {
    const QStringList parts = line.split(u' ');
    SaveTurn turn;
    turn.questions = parts.value(0).toInt();
    turn.failures = parts.value(1, u"-1"_s).toInt();
    turn.question = parts.mid(2).join(u' ');
    return turn;
}

SaveTurn saveFrench(RecordEditor& editor, ScriptedDialogs& dialogs, const QString& french,
                    Dialogs::Answer answer) {
    editor.findChild<QLineEdit*>(u"txtFrench"_s)->setText(french);
    dialogs.messages.clear();
    // One answer for each time the question comes back while the other side keeps saving.
    dialogs.answers.assign(kAnswersPerSave, answer);
    editor.save();
    SaveTurn turn;
    for (const ScriptedDialogs::Message& m : dialogs.messages) {
        if (m.title == kChangedMeanwhileTitle) {
            if (turn.questions++ == 0) {
                turn.question = m.text;
            }
        } else {
            ++turn.failures;
        }
    }
    dialogs.answers.clear();
    return turn;
}
