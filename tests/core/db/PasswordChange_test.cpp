#include "core/db/DatabaseFile.h"
#include "core/db/PasswordChange.h"
#include "core/db/PasswordChangeFixture.h"

#include <QDir>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

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
    EXPECT_TRUE(reported->errors.empty());
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
