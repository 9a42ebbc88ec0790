// lexivar-admin with a base on the tests' PostgreSQL server: creating one, and moving a whole
// base from a file to the server and back.
#include "tools/AdminToolFixture.h"

#include "core/TestSupport.h"
#include "core/db/Connection.h"
#include "core/db/Recordset.h"
#include "core/db/TestServer.h"
#include "core/files/PasswordFile.h"
#include "core/files/ProgramFolder.h"

#include <QDateTime>
#include <QTextStream>

using namespace Qt::StringLiterals;

namespace {

const QString kRolePassword = u"rôle d'équipe"_s;
const char16_t* const kTables[] = {u"Domains", u"Files", u"Passwords"};

// Every value of a table exactly as the file engine stores it: quote() tells whole from real
// numbers and text from blobs.
QStringList storedRows(const QString& file, const QString& password, const QString& table) {
    Connection c;
    c.open({file, password}, Connection::Mode::Read);
    Recordset columns;
    columns.open(u"SELECT * FROM "_s + table + u" WHERE ID = 0"_s, c);
    QStringList quoted;
    for (int i = 0; i < columns.fieldCount(); ++i) {
        quoted << u"quote(\""_s + columns.fieldName(i) + u"\")"_s;
    }
    Recordset rs;
    rs.open(u"SELECT "_s + quoted.join(u" || '|' || "_s) + u" FROM "_s + table + u" ORDER BY ID"_s,
            c);
    QStringList rows;
    for (; !rs.atEnd(); rs.moveNext()) {
        rows << rs.value(0).toString();
    }
    return rows;
}

} // namespace

class AdminServerTest : public AdminToolFixture {
protected:
    void SetUp() override {
        AdminToolFixture::SetUp();
        ASSERT_TRUE(TestServer::available()) << "LEXIVAR_TEST_SERVER : aucun serveur d'essai";
        ProgramFolder::set(path(u""_s));
        server = TestServer::createDatabase(kRolePassword);
        ASSERT_TRUE(writePasswordFile(passwordFileOf(server), kRolePassword));
    }
    void TearDown() override {
        if (!server.isEmpty()) {
            TestServer::dropDatabase(server);
        }
        AdminToolFixture::TearDown();
    }
    long count(const QString& sql) {
        Connection c;
        c.open({server, kRolePassword}, Connection::Mode::Read);
        Recordset rs;
        rs.open(sql, c);
        return rs.recordCount();
    }

    QString server;
};

TEST_F(AdminServerTest, CreatesTheTablesAndAdministratorInAnEmptyBaseOnly) {
    const QStringList account = {u"--name"_s,    u"Émilie Lévesque"_s, u"--login"_s,
                                 u"elevesque"_s, u"--password"_s,      u"s3cret"_s};
    ASSERT_EQ(run(QStringList{u"create"_s, server} + account), 0) << err;
    EXPECT_EQ(count(u"SELECT * FROM Passwords WHERE Login = 'ELEVESQUE' AND Type = 0"_s), 1);
    EXPECT_EQ(run(QStringList{u"create"_s, server} + account), 1);
    EXPECT_TRUE(err.contains(u"n'est pas vide"_s)) << err;
    EXPECT_EQ(count(u"SELECT * FROM Passwords"_s), 1);
}

TEST_F(AdminServerTest, RefusesWhatWouldPutThePasswordOnTheCommandLineOrLacksIt) {
    const QString file = path(u"source.mdb"_s);
    ASSERT_EQ(run({u"demo"_s, file}), 0) << err;
    const struct {
        QStringList args;
        QString says;
    } cases[] = {
        {{u"create"_s, server, u"--name"_s, u"Nom"_s, u"--login"_s, u"usager"_s, u"--password"_s,
          u"secret"_s, u"--db-password"_s, u"x"_s},
         u"--db-password"_s},
        {{u"copy"_s, file, server, u"--db-password"_s, u"x"_s}, u"--db-password"_s},
        {{u"copy"_s, file}, u"incomplets"_s},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(run(c.args), 1) << c.args.join(u' ');
        EXPECT_TRUE(err.contains(c.says)) << err;
    }
    ASSERT_TRUE(QFile::remove(passwordFileOf(server)));
    EXPECT_EQ(run({u"copy"_s, file, server}), 1);
    EXPECT_TRUE(err.contains(u"introuvable ou illisible"_s)) << err;
    EXPECT_EQ(count(u"SELECT * FROM information_schema.tables WHERE table_schema = "
                    u"current_schema()"_s),
              0);
}

TEST_F(AdminServerTest, AFileCopiedToTheServerAndBackKeepsEveryRowByteForByte) {
    const QString original = path(u"original.mdb"_s);
    ASSERT_EQ(run({u"demo"_s, original}), 0) << err;
    const QString password = u"lexivar-demo"_s;
    {
        // Values a copy could bend: gaps in the numbering, NULLs, quotes, line breaks, times of
        // day, a day before the epoch and the largest whole numbers.
        Connection c;
        c.open({original, password}, Connection::Mode::ReadWrite);
        c.execute(u"DELETE FROM Files WHERE ID = 2"_s);
        c.execute(u"INSERT INTO Domains (ID, Name) VALUES (40, ?)"_s, {u"l'Été \"chaud\""_s});
        c.execute(u"INSERT INTO Files (ID, English, French, DomainID, DEFINITION, \"Date\", "
                  u"DateModified, CreatedBy) VALUES (90, ?, ?, 40, ?, ?, ?, NULL)"_s,
                  {u"tab\there"_s, u"ligne\r\nsuivante"_s, QString(), QDate(1899, 12, 29),
                   QDateTime(QDate(2006, 3, 4), QTime(18, 30, 15, 123))});
        c.execute(u"INSERT INTO Passwords (ID, Name, Login, Pass, Type) VALUES (7, ?, ?, ?, "
                  u"32767)"_s,
                  {u"Zoé"_s, u"zoe"_s, u"ÀÉÎÕÜ"_s});
    }
    ASSERT_EQ(run({u"copy"_s, original, server}), 0) << err;
    EXPECT_TRUE(out.contains(u"fiche"_s)) << out;
    const QString back = path(u"retour.mdb"_s);
    ASSERT_EQ(run({u"copy"_s, server, back, u"--db-password"_s, password}), 0) << err;
    for (const char16_t* table : kTables) {
        const QString name = QString::fromUtf16(table);
        const QStringList before = storedRows(original, password, name);
        EXPECT_FALSE(before.isEmpty()) << name;
        EXPECT_EQ(storedRows(back, password, name), before) << name;
    }
    // The server numbers new rows after the copied ones.
    Connection c;
    c.open({server, kRolePassword}, Connection::Mode::ReadWrite);
    Recordset rs;
    rs.open(u"SELECT * FROM Files WHERE ID = 0"_s, c, Recordset::Dynamic,
            Recordset::OptimisticLock);
    rs.addNew();
    EXPECT_EQ(rs.value(u"ID"_s).toLongLong(), 91);
}

// A copy the server refuses halfway (here a term too long for its index) leaves the base as it
// found it: empty, so that the copy can be made again once the record is mended.
TEST_F(AdminServerTest, ACopyThatFailsHalfwayLeavesTheServerBaseEmpty) {
    const QString original = path(u"original.mdb"_s);
    ASSERT_EQ(run({u"demo"_s, original}), 0) << err;
    const QString password = u"lexivar-demo"_s;
    QString longTerm;
    quint32 seed = 1;
    for (int i = 0; i < 20000; ++i) {
        seed = seed * 1103515245u + 12345u;
        longTerm += QChar(u'a' + (seed >> 16) % 26);
    }
    {
        Connection c;
        c.open({original, password}, Connection::Mode::ReadWrite);
        c.execute(u"UPDATE Files SET English = ? WHERE ID = 3"_s, {longTerm});
    }
    EXPECT_EQ(run({u"copy"_s, original, server}), 1);
    EXPECT_EQ(count(u"SELECT * FROM information_schema.tables WHERE table_schema = "
                    u"current_schema()"_s),
              0);
    {
        Connection c;
        c.open({original, password}, Connection::Mode::ReadWrite);
        c.execute(u"UPDATE Files SET English = 'court' WHERE ID = 3"_s);
    }
    ASSERT_EQ(run({u"copy"_s, original, server}), 0) << err;
    EXPECT_EQ(count(u"SELECT * FROM Files"_s), 12);
}
