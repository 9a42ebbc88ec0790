#include "core/session/Session.h"
#include "core/files/ProgramFolder.h"
#include "gui/SessionFixture.h"
#include "core/AppError.h"
#include "core/db/DatabaseFile.h"
#include "core/db/PasswordChange.h"
#include "core/db/SmallDisk.h"
#include "core/files/PasswordFile.h"
#include "core/files/SettingsFile.h"
#include "gui/configuration/ConfigurationWindow.h"

#include <QDir>
#include <QLineEdit>
#include <QRadioButton>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

class PasswordChangeTest : public SessionTest {
protected:
    static struct stat statOf(const QString& file) {
        struct stat st {};
        EXPECT_EQ(::stat(QFile::encodeName(file).constData(), &st), 0) << file;
        return st;
    }
    static void chmodTo(const QString& file, mode_t mode) {
        ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), mode), 0);
    }
    QString storedPassword() {
        QString p = u"<absent>"_s;
        readPasswordFile(passwordFileOf(session.databasePath()), p);
        return p;
    }
    // What every operation does first: the password file read again, a read connection opened.
    bool operationsWork() {
        try {
            session.location();
            Connection c;
            c.open(session.location(), Connection::Mode::Read);
            Connection w;
            w.open(session.location(), Connection::Mode::ReadWrite);
            w.execute(u"UPDATE Domains SET Name = Name;"_s);
            return true;
        } catch (const AppError& e) {
            ADD_FAILURE() << e.description();
            return false;
        }
    }
    void changeInWindow(const QString& from, const QString& to) {
        ConfigurationWindow w(session);
        findControl<QLineEdit>(&w, u"txtDBOldPassword"_s)->setText(from);
        findControl<QLineEdit>(&w, u"txtDbPassword"_s)->setText(to);
        findControl<QLineEdit>(&w, u"txtDbPasswordConfirm"_s)->setText(to);
        w.savePassword();
        dialogs->answers.push_back(Dialogs::Answer::Yes);
    }
};

TEST_F(PasswordChangeTest, AnyPasswordRoundTrips) {
    addDomain(u"Électricité"_s);
    const QString cases[] = {
        u"'entre apostrophes'"_s, u"'début seulement"_s,    u"fin seulement'"_s,
        u"a;MODE=READ;b=c d"_s,   u"espaces  au  milieu"_s, u"Élève à l'œuvre ÿ"_s,
        QString(100, u'é'),
    };
    QString current = dbPassword;
    for (const QString& next : cases) {
        changeInWindow(current, next);
        EXPECT_TRUE(dialogs->messages.empty()) << next << dialogs->messages.front().text;
        dialogs->messages.clear();
        EXPECT_EQ(storedPassword(), next);
        EXPECT_TRUE(operationsWork()) << next;
        EXPECT_FALSE(DatabaseFile::opensWith(dbPath, current)) << next;
        current = next;
    }
}

TEST_F(PasswordChangeTest, FilesKeepTheTeamsOwnerGroupAndModeWithoutOthers) {
    // Root hands the base to another user, as when a colleague set it up; others keep theirs.
    uid_t owner = 4321;
    gid_t group = 4322;
    if (::chown(QFile::encodeName(dbPath).constData(), owner, group) != 0) {
        owner = ::geteuid();
        group = ::getegid();
    }
    chmodTo(dbPath, 0660);
    ino_t before = statOf(dbPath).st_ino;
    const struct {
        QString to;
        bool replacesFile;
    } steps[] = {{QString(), true}, {u"de nouveau chiffrée"_s, true}, {u"autre clé"_s, false}};
    QString current = dbPassword;
    for (const auto& step : steps) {
        PasswordChange::apply(dbPath, current, step.to);
        current = step.to;
        const struct stat db = statOf(dbPath);
        EXPECT_EQ(db.st_uid, owner);
        EXPECT_EQ(db.st_gid, group);
        EXPECT_EQ(db.st_mode & 07777, 0660u);
        EXPECT_EQ(db.st_ino != before, step.replacesFile);
        before = db.st_ino;
        const struct stat pws = statOf(passwordFileOf(dbPath));
        EXPECT_EQ(pws.st_gid, group);
        EXPECT_EQ(pws.st_mode & 07777, 0640u) << step.to;
    }
    // A base only its owner reads gets a password file only its owner reads.
    chmodTo(dbPath, 0600);
    ASSERT_TRUE(writePasswordFile(passwordFileOf(dbPath), current, dbPath));
    EXPECT_EQ(statOf(passwordFileOf(dbPath)).st_mode & 07777, 0600u);
    // Rewritten without naming its base, a password file loses what others could read.
    chmodTo(passwordFileOf(dbPath), 0664);
    ASSERT_TRUE(writePasswordFile(passwordFileOf(dbPath), current));
    EXPECT_EQ(statOf(passwordFileOf(dbPath)).st_mode & 07777, 0660u);
    EXPECT_EQ(QDir(path(u""_s)).entryList(QDir::Files).size(), 3); // nothing left behind
}

TEST_F(PasswordChangeTest, AWriterStillOnTheReplacedFileFailsLoudly) {
    Connection writer; // opened before the file is replaced, as by a user waiting on its lock
    open(writer);
    PasswordChange::apply(dbPath, dbPassword, QString());
    try {
        writer.execute(u"INSERT INTO Domains (Name) VALUES ('perdu');"_s);
        ADD_FAILURE() << "the write went into the replaced file";
    } catch (const AppError& e) {
        EXPECT_TRUE(e.description().contains(u"remplacée"_s)) << e.description();
    }
    dbPassword.clear();
    EXPECT_EQ(count(u"SELECT * FROM Domains WHERE Name = 'perdu'"_s), 0);
}

TEST_F(PasswordChangeTest, AHalfDoneChangeIsSettledByTheNextOperation) {
    // Killed after the key changed but before the password file did: rolled forward.
    const QString next = u"nouveau mot de passe"_s;
    ASSERT_TRUE(writePasswordFile(PasswordChange::pendingFileOf(dbPath), next));
    DatabaseFile::rekey(dbPath, dbPassword, next);
    EXPECT_TRUE(operationsWork());
    EXPECT_EQ(session.databasePassword(), next);
    // Killed before the key changed: the pending password goes, the old one stays.
    ASSERT_TRUE(writePasswordFile(PasswordChange::pendingFileOf(dbPath), u"jamais posé"_s));
    EXPECT_TRUE(operationsWork());
    EXPECT_EQ(session.databasePassword(), next);
    EXPECT_FALSE(QFile::exists(PasswordChange::pendingFileOf(dbPath)));
    EXPECT_TRUE(dialogs->messages.empty());
}

// On a full disk nothing is half written: the old files stay and the user is told.
class FullDiskTest : public PasswordChangeTest {
protected:
    void SetUp() override {
        PasswordChangeTest::SetUp();
        m_disk = std::make_unique<SmallDisk>(path(u"petit"_s), 2048);
        if (!m_disk->mounted()) {
            GTEST_SKIP() << "mounting a small tmpfs needs root";
        }
        const QString moved = path(u"petit/Lexivar4.mdb"_s);
        ASSERT_TRUE(QFile::copy(dbPath, moved));
        ASSERT_TRUE(QFile::copy(passwordFileOf(dbPath), passwordFileOf(moved)));
        dbPath = moved;
        session.setDatabasePath(moved);
        ProgramFolder::set(path(u"petit"_s));
        ASSERT_TRUE(writeSetting(u"Database"_s, u"Path"_s, dbPath, ProgramFolder::settingsFile()));
    }
    void TearDown() override {
        m_disk.reset();
        PasswordChangeTest::TearDown();
    }
    std::unique_ptr<SmallDisk> m_disk;
};

TEST_F(FullDiskTest, SmallFileWritesAreRefusedAndChangeNothing) {
    m_disk->fill(0);
    const QByteArray pws = readFile(passwordFileOf(dbPath));
    const QByteArray ini = readFile(ProgramFolder::settingsFile());
    EXPECT_FALSE(writePasswordFile(passwordFileOf(dbPath),
                                      u"un mot de passe bien plus long "
                                      u"que l'ancien"_s,
                                      dbPath));
    EXPECT_FALSE(writeSetting(u"Database"_s, u"Path"_s, dbPath + u"-ailleurs"_s, ProgramFolder::settingsFile()));
    changeInWindow(dbPassword, u"nouveau mot de passe"_s);
    ConfigurationWindow w(session);
    findControl<QRadioButton>(&w, u"optNoPass"_s)->click();
    w.savePassword();

    ASSERT_EQ(dialogs->messages.size(), 4u);
    for (const auto& m : dialogs->messages) {
        EXPECT_TRUE(m.title.startsWith(u"Procédure: "_s)) << m.title << m.text;
    }
    EXPECT_TRUE(dialogs->messages[0].text.contains(u"Le disque est plein"_s));
    EXPECT_EQ(readFile(passwordFileOf(dbPath)), pws);
    EXPECT_EQ(readFile(ProgramFolder::settingsFile()), ini);
    EXPECT_TRUE(DatabaseFile::opensWith(dbPath, dbPassword));
    EXPECT_EQ(QDir(path(u"petit"_s)).entryList(QDir::Files).size(), 4); // no temporary left
    dialogs->messages.clear();
    EXPECT_TRUE(operationsWork());
}

// Room for the small files but not for the engine's journal or copy: the database refuses the
// change (the engine may still answer success), and the user is told so instead of being locked
// out.
TEST_F(FullDiskTest, DatabaseChangesWithoutRoomAreReportedAndChangeNothing) {
    {
        Connection c;
        open(c);
        c.execute(u"CREATE TABLE Lest (t TEXT);"_s);
        c.execute(u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300) "
                  u"INSERT INTO Lest SELECT hex(randomblob(400)) FROM n;"_s);
    }
    m_disk->fill(24);
    const QByteArray pws = readFile(passwordFileOf(dbPath));
    changeInWindow(dbPassword, u"nouveau mot de passe"_s);
    ConfigurationWindow w(session);
    findControl<QRadioButton>(&w, u"optNoPass"_s)->click();
    w.savePassword();
    ASSERT_EQ(dialogs->messages.size(), 2u);
    for (const auto& m : dialogs->messages) {
        EXPECT_EQ(m.title, u"Procédure: cmdSavePass_Click"_s) << m.text;
    }
    EXPECT_TRUE(dialogs->messages[0].text.contains(u"refusé le nouveau mot de passe"_s));
    EXPECT_TRUE(dialogs->messages[1].text.contains(u"disk is full"_s));
    EXPECT_EQ(readFile(passwordFileOf(dbPath)), pws);
    EXPECT_FALSE(QFile::exists(PasswordChange::pendingFileOf(dbPath)));
    dialogs->messages.clear();
    EXPECT_TRUE(operationsWork());
}

// A writer killed before its rename leaves its temporary file; the next write removes it, but not
// one that a live writer still holds locked.
TEST_F(PasswordChangeTest, AbandonedTemporaryFilesGoLiveOnesStay) {
    const QString pws = passwordFileOf(dbPath);
    const QString abandoned = pws + u".Ab12Cd"_s;
    const QString live = pws + u".Ef34Gh"_s;
    writeFile(abandoned, "abandonné");
    writeFile(live, "en cours");
    const int fd = ::open(QFile::encodeName(live).constData(), O_RDONLY);
    ASSERT_EQ(::flock(fd, LOCK_EX), 0);
    ASSERT_TRUE(writePasswordFile(pws, dbPassword, dbPath));
    EXPECT_FALSE(QFile::exists(abandoned));
    EXPECT_TRUE(QFile::exists(live));
    ::close(fd);
}
