// Maintenance of a base on a server: the password is the role's, changed together with the
// password file and never removed; compaction is the server's VACUUM.
#include "core/db/DatabaseFile.h"
#include "core/db/JetDialect.h"
#include "core/db/PasswordChange.h"
#include "core/db/PasswordChangeFixture.h"
#include "core/db/Recordset.h"

using namespace Qt::StringLiterals;

class ServerBaseTest : public PasswordChangeTest {
protected:
    Backend backend() const override { return Backend::Server; }
};

TEST_F(ServerBaseTest, ThePasswordChangesWithItsFileAndIsNeverRemoved) {
    const QString next = u"nouveau « mot » de passe"_s;
    PasswordChange::apply(dbPath, dbPassword, next);
    EXPECT_EQ(storedPassword(), next);
    EXPECT_TRUE(operationsWork());
    EXPECT_FALSE(DatabaseFile::opensWith(dbPath, dbPassword));

    try {
        PasswordChange::apply(dbPath, next, QString());
        ADD_FAILURE() << "password removed";
    } catch (const AppError& e) {
        EXPECT_EQ(e.description(), u"Une base de données sur un serveur garde toujours un mot de "
                                   u"passe : celui de son rôle ne peut pas être retiré."_s);
    }
    EXPECT_EQ(storedPassword(), next);
    EXPECT_FALSE(QFile::exists(PasswordChange::pendingFileOf(dbPath)));
    EXPECT_TRUE(operationsWork());
    EXPECT_TRUE(reported->errors.empty());
}

TEST_F(ServerBaseTest, CompactionKeepsEveryRecord) {
    const qlonglong domain = addDomain(u"Électricité"_s);
    for (int i = 0; i < 20; ++i) {
        addFile(domain, u"terme "_s + QString::number(i), u"terme"_s);
    }
    {
        Connection c;
        open(c);
        c.execute(u"DELETE * FROM Files WHERE ID > 10"_s);
    }
    DatabaseFile::compact(dbPath, dbPassword);
    EXPECT_EQ(count(u"SELECT * FROM Files"_s), 10);
    EXPECT_EQ(addFile(domain, u"après"_s, u"après"_s), 21);
}

// The indexes that keep these searches fast find what a full scan finds.
TEST_F(ServerBaseTest, ContainsAndEqualsSearchesFindThroughTheirIndexes) {
    const qlonglong domain = addDomain(u"Électricité"_s);
    for (int i = 0; i < 30; ++i) {
        addFile(domain, u"terme "_s + QString::number(i), u"terme"_s);
    }
    addFile(domain, u"ÉLECTRICITÉ GÉNÉRALE"_s, u"Œuvre d'électricien"_s);
    Connection c;
    open(c, true);
    c.execute(u"SET enable_seqscan = off"_s);
    const auto found = [&](const QString& condition) {
        Recordset rs;
        rs.open(u"SELECT * FROM Files WHERE "_s + condition, c);
        return rs.recordCount();
    };
    EXPECT_EQ(found(u"English LIKE '%électricité gén%'"_s), 1);
    EXPECT_EQ(found(u"French LIKE '%ŒUVRE D''É%'"_s), 1);
    EXPECT_EQ(found(u"English = 'électricité générale'"_s), 1);
    EXPECT_EQ(found(u"English = 'electricite generale'"_s), 0);
    Recordset plan;
    plan.open(u"EXPLAIN SELECT * FROM Files WHERE English LIKE '%lectricit%'"_s, c);
    QString text;
    for (; !plan.atEnd(); plan.moveNext()) {
        text += plan.value(0).toString();
    }
    EXPECT_TRUE(text.contains(u"files_english_contains"_s)) << text;
}

// A name equals another on the server exactly when it does in a file, for the French texts
// users type: letter case ignored, accents and ligatures kept apart from bare letters.
TEST_F(ServerBaseTest, TextEqualityAgreesWithTheFileBackend) {
    const std::pair<QString, QString> pairs[] = {
        {u"Électricité"_s, u"ÉLECTRICITÉ"_s},
        {u"électricité"_s, u"electricite"_s},
        {u"œuvre"_s, u"ŒUVRE"_s},
        {u"Œuvre"_s, u"oeuvre"_s},
        {u"Ça"_s, u"ça"_s},
        {u"ça"_s, u"ca"_s},
        {u"l'eau"_s, u"L'EAU"_s},
        {u"l'eau"_s, u"leau"_s},
        {u"Pêches"_s, u"pèches"_s},
        {u"naïf"_s, u"NAÏF"_s},
        {u"a b"_s, u"A B"_s},
        {u"a-b"_s, u"ab"_s},
    };
    Connection c;
    open(c);
    for (const auto& [stored, asked] : pairs) {
        c.execute(u"DELETE * FROM Domains"_s);
        c.execute(u"INSERT INTO Domains (Name) VALUES (?)"_s, {stored});
        Recordset rs;
        rs.open(u"SELECT * FROM Domains WHERE Name = ?"_s, {asked}, c);
        EXPECT_EQ(rs.recordCount() == 1, JetDialect::compareText(stored, asked) == 0)
            << stored << " / " << asked;
    }
}
