#include "core/AppError.h"
#include "core/db/Command.h"
#include "core/db/DatabaseFile.h"
#include "core/db/DatabaseFixture.h"
#include "gui/TestSupport.h"
#include "gui/configuration/Compaction.h"

#include <QDir>
#include <QFileInfo>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

class CompactionTest : public DatabaseTest {
protected:
    void fill(int records) {
        const qlonglong d = addDomain(u"Électricité"_s);
        Connection c;
        open(c);
        c.execute(u"BEGIN;"_s);
        for (int i = 0; i < records; ++i) {
            c.execute(u"INSERT INTO Files (English, French, DomainID, DEFINITION) VALUES "
                      "('term "_s +
                      QString::number(i) + u"', 'terme "_s + QString::number(i) + u"', "_s +
                      QString::number(d) + u", '"_s + QString(200, u'é') + u"');"_s);
        }
        c.execute(u"COMMIT;"_s);
    }
};

TEST_F(CompactionTest, CompactedDatabaseKeepsRowsAndPasswordAndShrinks) {
    fill(2000);
    {
        Connection c;
        open(c);
        c.execute(u"DELETE * FROM Files WHERE ID > 100;"_s);
    }
    ASSERT_EQ(::chmod(QFile::encodeName(dbPath).constData(), 0660), 0);
    struct stat before {};
    ASSERT_EQ(::stat(QFile::encodeName(dbPath).constData(), &before), 0);
    const QStringList files = QDir(path(u""_s)).entryList(QDir::Files);
    ASSERT_TRUE(compactDatabase(dbPath, dbPassword))
        << (dialogs->messages.empty() ? QString() : dialogs->messages.back().text);
    EXPECT_TRUE(dialogs->messages.empty());
    struct stat after {};
    ASSERT_EQ(::stat(QFile::encodeName(dbPath).constData(), &after), 0);
    EXPECT_LT(after.st_size, before.st_size / 4);
    // The same file, compacted in place: the team keeps its access to it.
    EXPECT_EQ(after.st_ino, before.st_ino);
    EXPECT_EQ(after.st_mode, before.st_mode);
    EXPECT_EQ(after.st_uid, before.st_uid);
    EXPECT_EQ(after.st_gid, before.st_gid);
    EXPECT_EQ(QDir(path(u""_s)).entryList(QDir::Files), files);
    EXPECT_EQ(count(u"SELECT * FROM Files"_s), 100);
    EXPECT_EQ(count(u"SELECT * FROM Files WHERE French LIKE 'TERME 5%'"_s), 11);
    Connection wrong;
    EXPECT_THROW(wrong.open(location(u""_s), Connection::Mode::Read), AppError);
}

TEST_F(CompactionTest, FailuresLeaveTheDatabaseAsItWas) {
    fill(10);
    const QByteArray original = readFile(dbPath);
    EXPECT_FALSE(compactDatabase(dbPath, u"faux"_s));
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].text,
              u"Le mot de passe pour la base de données est invalide!"_s);
    EXPECT_EQ(dialogs->messages[0].title, u"Mauvais mot de passe!"_s);

    // A file the user may not write: refused, nothing changed.
    ASSERT_EQ(::chmod(QFile::encodeName(dbPath).constData(), 0440), 0);
    if (::geteuid() != 0) { // root writes whatever the mode says
        EXPECT_FALSE(compactDatabase(dbPath, dbPassword));
        ASSERT_EQ(dialogs->messages.size(), 2u);
        EXPECT_EQ(dialogs->messages[1].title, u"Procédure: adoCompactRepairReplace97"_s);
    }
    ASSERT_EQ(::chmod(QFile::encodeName(dbPath).constData(), 0640), 0);
    EXPECT_EQ(readFile(dbPath), original);

    // Compaction works in place: a "temp.mdb" of somebody else's is left alone.
    const QString stranger = path(u"temp.mdb"_s);
    writeFile(stranger, "reste d'une autre fois");
    EXPECT_TRUE(compactDatabase(dbPath, dbPassword));
    EXPECT_EQ(readFile(stranger), QByteArray("reste d'une autre fois"));
    EXPECT_EQ(count(u"SELECT * FROM Files"_s), 10);
}
