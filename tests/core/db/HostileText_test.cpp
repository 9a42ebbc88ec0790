// Text typed by a user stays data on its way into the database, and a password rewrite never
// writes through a planted link.
#include "core/AppError.h"
#include "core/db/DatabaseFile.h"
#include "core/db/DatabaseFixture.h"
#include "core/db/Recordset.h"
#include "core/db/SqlText.h"
#include "core/search/SearchStatement.h"

#include <QFile>
#include <QFileInfo>
#include <random>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

const QString kUnion =
    u"0 UNION SELECT ID, Login, Pass, Name, Name, 0, Name, 0, Type FROM Passwords --"_s;

} // namespace

TEST(SqlText, RecordNumbersAreWholeNumbersOnly) {
    const struct {
        QString text;
        qint64 number; // -1: refused
    } cases[] = {
        {u"42"_s, 42},
        {u"00042"_s, 42},
        {u"999999999999999999"_s, 999999999999999999},
        {u""_s, -1},
        {u"1 OR 1=1"_s, -1},
        {kUnion, -1},
        {u"-1"_s, -1},
        {u"+1"_s, -1},
        {u" 42"_s, -1},
        {u"1e3"_s, -1},
        {u"0x10"_s, -1},
        {u"4\u0000"_s, -1},
        {u"\u0664\u0662"_s, -1}, // Arabic-Indic digits
        {u"\uFF14\uFF12"_s, -1}, // full-width digits
        {u"1234567890123456789"_s, -1},
    };
    for (const auto& c : cases) {
        const std::optional<qint64> n = SqlText::wholeNumber(c.text);
        EXPECT_EQ(n.value_or(-1), c.number) << c.text;
    }
    EXPECT_EQ(SqlText::literal(u"l'a\u0000b\tc\r\n"_s), u"'l''abc'"_s);
}

TEST_P(BackendTest, BoundValuesStayDataAndBelongToOneStatement) {
    Connection c;
    open(c);
    const qlonglong domain = addDomain(u"d"_s);
    const QString hostile = u"x'); DELETE FROM Domains; --\u0000y"_s;
    EXPECT_EQ(c.execute(u"UPDATE Domains SET Name = ? WHERE ID = ?"_s, {hostile, domain}), 1);
    Recordset rs;
    rs.open(u"SELECT Name FROM Domains WHERE Name = ?"_s, {hostile}, c);
    ASSERT_EQ(rs.recordCount(), 1);
    // A server's text cannot hold NUL: it alone is left out there.
    EXPECT_EQ(rs.value(0).toString(), onServer() ? QString(hostile).remove(QChar(0)) : hostile);
    // A second statement would run without its values: refused before anything runs.
    EXPECT_THROW(c.execute(u"DELETE FROM Files WHERE ID = ?; DELETE FROM Domains"_s, {1}),
                 AppError);
    EXPECT_THROW(rs.open(u"SELECT * FROM Domains WHERE ID = ?"_s, {}, c), AppError);
    EXPECT_EQ(count(u"SELECT * FROM Domains"_s), 1);
}

// The server's LIKE would take a backslash as an escape: "C:\\" would find nothing there.
TEST_P(BackendTest, ContainsSearchesFindTheSameRecordsOnBothBackends) {
    const qlonglong domain = addDomain(u"d"_s);
    for (const QString& english :
         {u"C:\\dossier"_s, u"a\\b"_s, u"ab"_s, u"l'eau"_s, u"100% pur"_s, u"x_y"_s}) {
        addFile(domain, english, u"f"_s);
    }
    const struct {
        QString typed;
        QStringList found;
    } cases[] = {
        {u"\\"_s, {u"C:\\dossier"_s, u"a\\b"_s}},
        {u"C:\\"_s, {u"C:\\dossier"_s}},
        {u"a\\b"_s, {u"a\\b"_s}},
        {u"\\%"_s, {u"C:\\dossier"_s, u"a\\b"_s}},
        {u"L'EAU"_s, {u"l'eau"_s}},
        {u"0%p"_s, {u"100% pur"_s}},
        {u"x_y"_s, {u"x_y"_s}},
    };
    Connection c;
    open(c, true);
    for (const auto& k : cases) {
        Recordset rs;
        rs.open(SearchStatement::newSearchStatement(2, k.typed, {}, {}, false), c);
        QStringList found;
        for (; !rs.atEnd(); rs.moveNext()) {
            found << rs.value(u"English"_s).toString();
        }
        found.sort();
        EXPECT_EQ(found, k.found) << k.typed;
    }
}

// A term far beyond any real one: the file keeps it; the server, which cannot index it, says so
// in French and keeps nothing.
TEST_P(BackendTest, AnOverlongTermIsKeptOrRefusedInFrench) {
    const qlonglong domain = addDomain(u"d"_s);
    // Letters in no order the server's compression could shorten.
    std::mt19937 letters(20261211);
    QString term;
    while (term.size() < 20000) {
        term += QChar(u'a' + static_cast<char16_t>(letters() % 26));
    }
    try {
        addFile(domain, term, u"f"_s);
        EXPECT_FALSE(onServer());
        EXPECT_EQ(count(u"SELECT ID FROM Files"_s), 1);
    } catch (const AppError& e) {
        EXPECT_TRUE(onServer());
        EXPECT_TRUE(e.description().contains(u"trop long"_s)) << e.description().toStdString();
        EXPECT_EQ(count(u"SELECT ID FROM Files"_s), 0);
    }
}

TEST_F(DatabaseTest, APasswordRewriteNeverWritesThroughAPlantedLink) {
    ASSERT_TRUE(QFile::setPermissions(dbPath, QFile::ReadOwner | QFile::WriteOwner));
    const QString elsewhere = path(u"elsewhere.db"_s);
    ASSERT_TRUE(QFile::link(elsewhere, DatabaseFile::rewriteCopyOf(dbPath)));
    try {
        DatabaseFile::rewrite(dbPath, dbPassword, QString());
    } catch (const AppError&) {
        // Refusing is as good as replacing the link: what matters is where the copy went.
    }
    EXPECT_FALSE(QFileInfo::exists(elsewhere));
    EXPECT_FALSE(QFileInfo(dbPath).isSymLink());
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(dbPath).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
    EXPECT_TRUE(DatabaseFile::opensWith(dbPath, dbPassword) ||
                DatabaseFile::opensWith(dbPath, QString()));
}
