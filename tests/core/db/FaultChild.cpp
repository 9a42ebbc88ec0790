// A second user of a test database, run as a separate process so that a test can kill it at any
// instant or let it work beside the test. Works in an endless loop (or `count` times) and reports
// on stdout, one line each: "begin <operation>" before an operation and "saved <id>" once a
// record is committed. Its working folder stands for the program's folder.
//
//   lexivar_fault_child <database> change <password A> <password B>
//   lexivar_fault_child <database> toggle add|remove <password>   (first adds, or removes, the
//                                                                  password, then alternates)
//   lexivar_fault_child <database> compact                 (compacts again and again)
//   lexivar_fault_child <database> save [count]

#include "core/AppError.h"
#include "core/db/Connection.h"
#include "core/db/DatabaseFile.h"
#include "core/db/PasswordChange.h"
#include "core/db/Recordset.h"
#include "core/files/ProgramFolder.h"
#include "core/session/Session.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

Session session;

void say(const QString& line) {
    std::fputs((line + u'\n').toUtf8().constData(), stdout);
    std::fflush(stdout);
}

qlonglong save(const QString& english) {
    Connection c;
    c.open(session.location(), Connection::Mode::ReadWrite);
    Recordset rs;
    rs.open(u"SELECT * FROM Files WHERE ID = 0"_s, c, Recordset::Dynamic,
            Recordset::OptimisticLock);
    rs.addNew();
    const qlonglong id = rs.value(u"ID"_s).toLongLong();
    rs.setValue(u"English"_s, english);
    rs.setValue(u"French"_s, u"terme « "_s + english + u" »"_s);
    rs.setValue(u"DomainID"_s, 1);
    rs.setValue(u"DEFINITION"_s, QString(300, u'é'));
    rs.update();
    return id;
}

void changeTo(const QString& operation, const QString& to) {
    session.location();
    say(u"begin "_s + operation);
    PasswordChange::apply(session.databasePath(), session.databasePassword(), to);
}

// Removes the password when there is one, otherwise adds it.
void toggle(const QString& password) {
    session.location();
    const bool encrypted = !session.databasePassword().isEmpty();
    changeTo(encrypted ? u"remove"_s : u"add"_s, encrypted ? QString() : password);
}

int run(const QStringList& args) {
    // Its program folder is where it runs: a server's password file and settings are there.
    ProgramFolder::set(QDir::currentPath());
    session.setDatabasePath(args.at(1));
    const QString operation = args.at(2);
    const int count = args.size() > 3 && operation == u"save"_s ? args.at(3).toInt() : -1;
    if (operation == u"toggle"_s) {
        // Brought to where the first operation asked for applies.
        session.location();
        if (session.databasePassword().isEmpty() == (args.at(3) == u"remove"_s)) {
            PasswordChange::apply(session.databasePath(), session.databasePassword(),
                                  session.databasePassword().isEmpty() ? args.at(4) : QString());
        }
    }
    say(u"ready"_s);
    for (int n = 0; n != count; ++n) {
        if (operation == u"change"_s) {
            changeTo(operation, args.at(n % 2 == 0 ? 4 : 3));
        } else if (operation == u"toggle"_s) {
            toggle(args.at(4));
        } else if (operation == u"compact"_s) {
            say(u"begin compact"_s);
            session.location();
            DatabaseFile::compact(session.databasePath(), session.databasePassword());
        } else {
            try {
                say(u"begin save"_s);
                say(u"saved "_s + QString::number(save(u"term "_s + QString::number(n))));
            } catch (const AppError& e) {
                say(u"failed "_s + e.description());
            }
        }
    }
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    try {
        return run(app.arguments());
    } catch (const AppError& e) {
        say(u"error "_s + e.description());
        return 1;
    }
}
