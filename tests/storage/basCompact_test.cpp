#include "common/AppError.h"
#include "storage/Command.h"
#include "storage/DatabaseFile.h"
#include "storage/DatabaseFixture.h"
#include "storage/basCompact.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

class basCompactTest : public DatabaseTest {
protected:
    void fill(int records) {
        const qlonglong d = addDomain(u"Électricité"_s);
        Connection c;
        open(c);
        c.Execute(u"BEGIN;"_s);
        for (int i = 0; i < records; ++i) {
            c.Execute(u"INSERT INTO Files (English, French, DomainID, DEFINITION) VALUES "
                      "('term "_s +
                      QString::number(i) + u"', 'terme "_s + QString::number(i) + u"', "_s +
                      QString::number(d) + u", '"_s + QString(200, u'é') + u"');"_s);
        }
        c.Execute(u"COMMIT;"_s);
    }
};

TEST_F(basCompactTest, CompactedDatabaseKeepsRowsAndPasswordAndShrinks) {
    fill(2000);
    {
        Connection c;
        open(c);
        c.Execute(u"DELETE * FROM Files WHERE ID > 100;"_s);
    }
    const qint64 before = QFileInfo(dbPath).size();
    ASSERT_TRUE(adoCompactRepairReplace97(dbPath, dbPassword))
        << (dialogs->messages.empty() ? QString() : dialogs->messages.back().text);
    EXPECT_TRUE(dialogs->messages.empty());
    EXPECT_LT(QFileInfo(dbPath).size(), before / 4);
    EXPECT_EQ(count(u"SELECT * FROM Files"_s), 100);
    EXPECT_EQ(count(u"SELECT * FROM Files WHERE French LIKE 'TERME 5%'"_s), 11);
    EXPECT_FALSE(QFileInfo::exists(DatabaseFile::TemporaryCopyOf(dbPath)));
    Connection wrong;
    EXPECT_THROW(wrong.Open(connectionString(u""_s, u"READ;"_s)), AppError);
}

TEST_F(basCompactTest, FailuresLeaveTheDatabaseAsItWas) {
    fill(10);
    const QByteArray original = readFile(dbPath);
    EXPECT_FALSE(adoCompactRepairReplace97(dbPath, u"faux"_s));
    ASSERT_EQ(dialogs->messages.size(), 1u);
    EXPECT_EQ(dialogs->messages[0].text,
              u"Le mot de passe pour la base de données est invalide!"_s);
    EXPECT_EQ(dialogs->messages[0].title, u"Mauvais mot de passe!"_s);

    const QString leftover = DatabaseFile::TemporaryCopyOf(dbPath);
    writeFile(leftover, "reste d'une autre fois");
    EXPECT_FALSE(adoCompactRepairReplace97(dbPath, dbPassword));
    ASSERT_EQ(dialogs->messages.size(), 2u);
    EXPECT_EQ(dialogs->messages[1].title, u"Procédure: adoCompactRepairReplace97"_s);
    EXPECT_TRUE(dialogs->messages[1].text.contains(u"temp.mdb"_s));
    EXPECT_EQ(readFile(leftover), QByteArray("reste d'une autre fois"));
    EXPECT_EQ(readFile(dbPath), original);
    EXPECT_EQ(count(u"SELECT * FROM Files"_s), 10);
}
