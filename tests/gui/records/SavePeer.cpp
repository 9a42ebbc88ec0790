// A second Lexivar instance for the tests that need two processes on one base: a record editor
// signed in as another user, driven line by line through its standard input.
//
//   lexivar_save_peer DATABASE USER RECORD
//   open               shows the record again, as stored now -> "opened"
//   save Y|N TEXT      types TEXT as the French term and saves, answering Oui (Y) or Non (N)
//                      -> "QUESTIONS FAILURES QUESTION"
//
// It prints "ready" once the record is shown and ends at the end of its input.

#include "core/files/ProgramFolder.h"
#include "core/session/Session.h"
#include "gui/dialogs/ScriptedDialogs.h"
#include "gui/records/RecordEditor.h"
#include "gui/records/SaveTurn.h"

#include <QApplication>
#include <QDir>
#include <QTextStream>
#include <memory>

using namespace Qt::StringLiterals;

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() != 4) {
        return 2;
    }
    // Its working folder stands for its program's folder (a server's password file is there).
    ProgramFolder::set(QDir::currentPath());
    Session session;
    session.setDatabasePath(args[1]);
    session.signIn(args[2], 1);
    auto owned = std::make_unique<ScriptedDialogs>();
    ScriptedDialogs& dialogs = *owned;
    Dialogs::install(std::move(owned));

    RecordEditor editor(session);
    const int record = args[3].toInt();
    editor.showRecord(record);
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
        } else if (words.value(0) == u"open"_s) {
            editor.showRecord(record);
            out << "opened" << Qt::endl;
        }
    }
    return 0;
}
