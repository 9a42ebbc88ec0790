#include "core/TestSupport.h"
#include "core/db/ServerDialect.h"

using namespace Qt::StringLiterals;

// The windows' Jet statements as the server receives them: only code changes, never text inside
// quotes, and every "?" outside quotes becomes the next "$n".
TEST(ServerDialect, RewritesCodeAndLeavesLiteralsAlone) {
    const struct {
        QString jet;
        QString server;
        int placeholders;
    } cases[] = {
        {u"DELETE * FROM files WHERE ID = ?;"_s, u"DELETE FROM files WHERE ID = $1;"_s, 1},
        {u"SELECT * FROM Files WHERE English LIKE '%a?b''c%' AND ID = ?"_s,
         u"SELECT * FROM Files WHERE English COLLATE lexivar_like ILIKE '%a?b''c%' ESCAPE '' "
         u"AND ID = $1"_s,
         1},
        {u"SELECT * FROM Files WHERE Files.French not like 'x'"_s,
         u"SELECT * FROM Files WHERE Files.French COLLATE lexivar_like not ILIKE 'x' ESCAPE ''"_s,
         0},
        {u"SELECT * FROM Files WHERE AF LIKE ? AND French LIKE 'a\\' ESCAPE '!'"_s,
         u"SELECT * FROM Files WHERE AF COLLATE lexivar_like ILIKE $1 ESCAPE '' AND French "
         u"COLLATE lexivar_like ILIKE 'a\\' ESCAPE '!'"_s,
         1},
        {u"UPDATE \"Files\" SET \"Date\" = ?, \"English\" = ? WHERE \"ID\" = ?;"_s,
         u"UPDATE \"files\" SET \"date\" = $1, \"english\" = $2 WHERE \"id\" = $3;"_s, 3},
        {u"INSERT INTO Domains (Name) VALUES ('DELETE * FROM x LIKE PRAGMA')"_s,
         u"INSERT INTO Domains (Name) VALUES ('DELETE * FROM x LIKE PRAGMA')"_s, 0},
        {u"PRAGMA foreign_keys = ON;"_s, u""_s, 0},
        {u"SELECT last_insert_rowid()"_s, u"SELECT lastval()"_s, 0},
    };
    for (const auto& c : cases) {
        const ServerDialect::Statement s = ServerDialect::translate(c.jet);
        EXPECT_EQ(s.text, c.server) << c.jet;
        EXPECT_EQ(s.placeholders, c.placeholders) << c.jet;
    }
    EXPECT_TRUE(
        ServerDialect::translate(u"BEGIN IMMEDIATE;"_s).text.contains(u"pg_advisory_xact_lock"_s));
}

TEST(ServerDialect, TellsOneStatementFromSeveral) {
    const struct {
        QString sql;
        bool several;
    } cases[] = {
        {u"SELECT * FROM Files WHERE ID = ?;  \n"_s, false},
        {u"SELECT * FROM Domains WHERE Name = ';DROP TABLE Files'"_s, false},
        {u"DELETE FROM Files WHERE ID = ?; DELETE FROM Domains"_s, true},
        {u"SELECT 1; 'x'"_s, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ServerDialect::translate(c.sql).severalStatements, c.several) << c.sql;
    }
}
