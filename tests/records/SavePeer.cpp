// A second Lexivar instance for the tests that need two processes on one base: a record editor
// signed in as another user, driven line by line through its standard input.
//
//   lexivar_save_peer DATABASE USER RECORD
//   save Y|N TEXT      types TEXT as the French term and saves -> "QUESTIONS FAILURES QUESTION"
//   burst N PREFIX     N saves of PREFIX0..PREFIX(N-1), answering Oui -> "QUESTIONS FAILURES"
//
// It prints "ready" once the record is shown and ends at the end of its input.

#include "SaveTurn.h"
#include "app/Session.h"
#include "common/ScriptedDialogs.h"
#include "records/frmFile.h"

#include <QApplication>
#include <QTextStream>
#include <cstdio>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

SaveTurn burst(frmFile& editor, ScriptedDialogs& dialogs, int count, const QString& prefix) {
    SaveTurn total;
    for (int i = 0; i < count; ++i) {
        const SaveTurn turn =
            saveFrench(editor, dialogs, prefix + QString::number(i), Dialogs::Answer::Yes);
        total.questions += turn.questions;
        total.failures += turn.failures;
    }
    return total;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() != 4) {
        return 2;
    }
    gsDBPath = args[1];
    gsConnectionString = sConnectionStringFor(gsDBPath);
    gsUserName = sFitUserName(args[2]);
    gbyUserLevel = 1;
    gbLoggedIn = true;
    auto owned = std::make_unique<ScriptedDialogs>();
    ScriptedDialogs& dialogs = *owned;
    Dialogs::install(std::move(owned));

    frmFile editor;
    editor.InitializeForm(args[3].toInt());
    QTextStream in(stdin);
    QTextStream out(stdout);
    out << "ready" << Qt::endl;
    QString line;
    while (in.readLineInto(&line)) {
        const QStringList words = line.split(u' ');
        if (words.value(0) == u"save"_s) {
            const auto answer =
                words.value(1) == u"Y"_s ? Dialogs::Answer::Yes : Dialogs::Answer::No;
            out << saveFrench(editor, dialogs, words.mid(2).join(u' '), answer).toLine()
                << Qt::endl;
        } else if (words.value(0) == u"burst"_s) {
            out << burst(editor, dialogs, words.value(1).toInt(), words.value(2)).toLine()
                << Qt::endl;
        }
    }
    return 0;
}
