#include "core/AppError.h"
#include "core/db/DatabaseFile.h"
#include "core/db/PasswordChange.h"
#include "core/db/Recordset.h"
#include "core/files/PasswordFile.h"
#include "core/session/Session.h"
#include "core/session/SessionFixture.h"
#include "gui/TestSupport.h"
#include "gui/startup/SignInDialog.h"

#include <QDeadlineTimer>
#include <QLineEdit>
#include <QProcess>
#include <QThread>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <sqlcipher/sqlite3.h>

using namespace Qt::StringLiterals;

// Another user's process is killed at random instants of its work; after each kill the team's
// database must open with its password file's password, be whole, keep every committed record and
// let users sign in, without a word to anyone. Users sign in through the real sign-in dialog,
// hence this place among the window tests.
class FaultTrialTest : public SessionTest {
protected:
    void SetUp() override {
        SessionTest::SetUp();
        addDomain(u"Électricité"_s);
        fill(u"committed"_s, 30, 0);
        Connection c;
        open(c, true);
        Recordset rs;
        rs.open(u"SELECT ID FROM Files"_s, c, Recordset::Static, Recordset::ReadOnlyLock);
        for (; !rs.atEnd(); rs.moveNext()) {
            m_saved.insert(rs.value(u"ID"_s).toLongLong());
        }
    }

    QProcess* start(const QStringList& args) {
        auto* child = new QProcess;
        child->start(QStringLiteral(LEXIVAR_FAULT_CHILD), QStringList{dbPath} + args);
        EXPECT_TRUE(child->waitForStarted(10000));
        EXPECT_TRUE(child->waitForReadyRead(10000)); // "ready"
        return child;
    }

    // Runs the child for a random instant up to `spanMs`, kills it and returns its report.
    QStringList killDuring(const QStringList& args, int spanMs) {
        QProcess* child = start(args);
        std::uniform_int_distribution<int> instant(0, spanMs * 1000);
        QThread::usleep(static_cast<unsigned long>(instant(m_random)));
        child->kill();
        EXPECT_TRUE(child->waitForFinished(10000));
        const QStringList lines =
            QString::fromUtf8(child->readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
        delete child;
        for (const QString& line : lines) {
            if (line.startsWith(u"saved "_s)) {
                m_saved.insert(line.mid(6).toLongLong());
            }
            EXPECT_FALSE(line.startsWith(u"error "_s)) << line;
        }
        return lines;
    }

    // Kills `trials` children doing `args` and checks the database after each; counts the kills
    // by the operation they interrupted.
    void trial(const QStringList& args, int trials, int spanMs) {
        std::map<QString, int> kills;
        for (int i = 0; i < trials; ++i) {
            QString interrupted = u"start"_s;
            for (const QString& line : killDuring(args, spanMs)) {
                if (line.startsWith(u"begin "_s)) {
                    interrupted = line.mid(6);
                }
            }
            ++kills[interrupted];
            expectUsable();
            if (HasFailure()) {
                break;
            }
        }
        expectSignIn();
        for (const auto& [operation, n] : kills) {
            std::printf("kills during %s: %d\n", qPrintable(operation), n);
        }
    }

    void expectUsable() {
        session.signOut();
        session.location();
        {
            Connection c;
            c.open(session.location(), Connection::Mode::Read);
            EXPECT_EQ(scalar(c, "PRAGMA integrity_check;"), u"ok"_s);
            QStringList ids;
            for (qlonglong id : m_saved) {
                ids << QString::number(id);
            }
            EXPECT_EQ(scalar(c, ("SELECT count(*) FROM Files WHERE ID IN (" +
                                 ids.join(u',').toUtf8() + ");")
                                    .constData()),
                      QString::number(m_saved.size()));
            // What sign-in reads, on the connection sign-in opens.
            EXPECT_EQ(scalar(c, "SELECT count(*) FROM Passwords WHERE Login = 'admin' AND "
                                "Pass = 'admin';"),
                      u"1"_s);
        }
        EXPECT_TRUE(dialogs->messages.empty()) << dialogs->messages.front().text;
        EXPECT_FALSE(QFile::exists(PasswordChange::pendingFileOf(dbPath)));
        EXPECT_FALSE(QFile::exists(DatabaseFile::rewriteCopyOf(dbPath)));
    }

    void expectSignIn() {
        session.signOut();
        SignInDialog login(session);
        findControl<QLineEdit>(&login, u"txtLogin"_s)->setText(u"admin"_s);
        findControl<QLineEdit>(&login, u"txtPassword"_s)->setText(u"admin"_s);
        login.signIn();
        EXPECT_TRUE(session.isSignedIn());
        EXPECT_TRUE(dialogs->messages.empty()) << dialogs->messages.front().text;
    }

    // Plain files cost no key derivation per opening: the trials that need no encryption run
    // many more operations in their time.
    void removeEncryption() {
        PasswordChange::apply(dbPath, dbPassword, QString());
        dbPassword.clear();
    }

    static QString scalar(Connection& c, const char* sql) {
        sqlite3_stmt* stmt = nullptr;
        QString v;
        if (sqlite3_prepare_v2(c.handle(), sql, -1, &stmt, nullptr) == SQLITE_OK &&
            sqlite3_step(stmt) == SQLITE_ROW) {
            v = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
        }
        sqlite3_finalize(stmt);
        return v;
    }

    // Rows saved in one transaction under `english`, every `deleteEvery`-th of them then
    // deleted (0: none).
    void fill(const QString& english, int rows, int deleteEvery) {
        Connection c;
        open(c);
        c.execute(u"BEGIN;"_s);
        for (int i = 0; i < rows; ++i) {
            c.execute(u"INSERT INTO Files (English, French, DomainID, DEFINITION) VALUES ('"_s +
                      english + u"', 'terme', 1, '"_s + QString(300, u'é') + u"');"_s);
        }
        if (deleteEvery > 0) {
            c.execute(u"DELETE FROM Files WHERE ID % "_s + QString::number(deleteEvery) +
                      u" = 0 AND English = '"_s + english + u"';"_s);
        }
        c.execute(u"COMMIT;"_s);
    }

    std::mt19937 m_random{20261210};
    std::set<qlonglong> m_saved;
};

TEST_F(FaultTrialTest, KilledPasswordChangesLeaveAConsistentPair) {
    trial({u"change"_s, dbPassword, u"autre « mot » de passe"_s}, 22, 200);
}

TEST_F(FaultTrialTest, KilledPasswordAdditionsAndRemovalsLeaveAConsistentPair) {
    trial({u"toggle"_s, u"add"_s, dbPassword}, 30, 130);
    trial({u"toggle"_s, u"remove"_s, dbPassword}, 26, 60);
}

TEST_F(FaultTrialTest, KilledCompactionsAndSavesLoseNothing) {
    fill(u"ballast"_s, 1500, 2); // enough for a compaction to take a while
    trial({u"compact"_s}, 22, 300);
    removeEncryption();
    trial({u"save"_s}, 22, 100);
}

// One user saves while another compacts again and again: every record reported saved is there.
TEST_F(FaultTrialTest, CompactingWhileAnotherUserSavesLosesNoRecord) {
    removeEncryption();
    fill(u"ballast"_s, 1500, 2); // each compaction lasts, and saves keep arriving meanwhile
    QProcess* saver = start({u"save"_s, u"200"_s});
    const std::unique_ptr<QProcess> owned(saver);
    int compactions = 0;
    int saved = 0;
    QString report;
    // Compacts again and again, each time leaving the saver a moment to report its next record.
    const QDeadlineTimer deadline(120000);
    while (saver->state() != QProcess::NotRunning && !deadline.hasExpired()) {
        try {
            DatabaseFile::compact(dbPath, dbPassword);
            ++compactions;
        } catch (const AppError&) {
            // busy: the saver held the lock past the wait
        }
        saver->waitForReadyRead(50);
        report += QString::fromUtf8(saver->readAllStandardOutput());
    }
    ASSERT_TRUE(saver->state() == QProcess::NotRunning || saver->waitForFinished(10000));
    report += QString::fromUtf8(saver->readAllStandardOutput());
    for (const QString& line : report.split(u'\n', Qt::SkipEmptyParts)) {
        if (line.startsWith(u"saved "_s)) {
            m_saved.insert(line.mid(6).toLongLong());
            ++saved;
        }
    }
    std::printf("records saved: %d, compactions meanwhile: %d\n", saved, compactions);
    EXPECT_GT(compactions, 0);
    EXPECT_EQ(saved, 200) << report; // nobody waits past the engine's timeout
    expectUsable();
    expectSignIn();
}
