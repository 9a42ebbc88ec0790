#include "core/db/Connection.h"
#include "core/db/Recordset.h"
#include "core/interchange/LegacyImport.h"
#include "core/interchange/MemoryReader.h"
#include "core/reports/ReportWriter.h"
#include "core/search/SearchStatement.h"
#include "core/session/SessionFixture.h"
#include "gui/TestSupport.h"

#include <QDateTime>
#include <QLocale>

using namespace Qt::StringLiterals;

// An old base imported, then read back through the search window's own statement and printed as
// a full listing: the same as from a base where the program itself stored the same records.
class LegacyRoundTripTest : public SessionTest {
protected:
    void SetUp() override {
        SessionTest::SetUp();
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    }
    void TearDown() override {
        QLocale::setDefault(QLocale::system());
        SessionTest::TearDown();
    }

    // Every cell of every row the search window's "all records" statement finds, in ID order.
    QList<QVariantList> searched(const DatabaseLocation& where) {
        const QString sql = SearchStatement::newSearchStatement(2, QString(), QDate(2000, 1, 1),
                                                                QDate(2000, 1, 1), false) +
                            u" ORDER BY Files.ID"_s;
        Connection c;
        c.open(where, Connection::Mode::Read);
        Recordset rs;
        rs.open(sql, c);
        QList<QVariantList> rows;
        for (; !rs.atEnd(); rs.moveNext()) {
            QVariantList row;
            for (int i = 0; i < rs.fieldCount(); ++i) {
                row << rs.value(i);
            }
            rows << row;
        }
        return rows;
    }
    QByteArray listing(const DatabaseLocation& where, const IdentifierList& ids) {
        const QString spool = path(u"spool.html"_s);
        QFile::remove(spool);
        EXPECT_TRUE(writeFullListing(where, ids, spool, u"essai, 10:00:00"_s));
        return readFile(spool);
    }
};

TEST_F(LegacyRoundTripTest, SearchAndFullListingShowWhatTheOldBaseHeld) {
    const QString memo =
        QString(u"Définition — « œuvre » & <balise>\r\nsuite\r\n"_s).repeated(1800);
    const std::vector<std::vector<std::pair<QString, QVariant>>> records = {
        {{u"English"_s, u"heart"_s},
         {u"French"_s, u"cœur"_s},
         {u"AF"_s, u""_s},
         {u"DomainID"_s, 1},
         {u"DEFINITION"_s, memo},
         {u"OBSERVATION"_s, u"ligne 1\r\nligne 2"_s},
         {u"Date"_s, QDateTime(QDate(1887, 3, 14), QTime(15, 9, 26))},
         {u"CreatedBy"_s, u"Éloïse Côté"_s},
         {u"DateModified"_s, QDateTime(QDate(2019, 12, 31), QTime(23, 59, 58))},
         {u"ModifiedBy"_s, u"Jean-François"_s}},
        {{u"English"_s, u"bill"_s},
         {u"French"_s, u"projet de loi"_s},
         {u"AF"_s, QVariant()},
         {u"DomainID"_s, 2},
         {u"DEFINITION"_s, QVariant()},
         {u"OBSERVATION"_s, QVariant()},
         {u"Date"_s, QDateTime(QDate(2004, 2, 3), QTime(8, 0))},
         {u"CreatedBy"_s, u"admin"_s},
         {u"DateModified"_s, QVariant()},
         {u"ModifiedBy"_s, QVariant()}},
    };
    // The reference: the same domains and records stored by the program's own layer.
    ASSERT_EQ(addDomain(u"Médecine"_s), 1);
    ASSERT_EQ(addDomain(u"Droit"_s), 2);
    MemoryReader old;
    old.tablesByName[u"Domains"_s] = {{{u"ID"_s, 1}, {u"Name"_s, u"Médecine"_s}},
                                      {{u"ID"_s, 2}, {u"Name"_s, u"Droit"_s}}};
    old.tablesByName[u"Passwords"_s] = {};
    qlonglong expectedId = 1;
    for (const auto& values : records) {
        ASSERT_EQ(insertRow(u"Files"_s, values), expectedId);
        LegacyRow row{{u"ID"_s, expectedId++}};
        for (const auto& [column, value] : values) {
            row.insert(column, value);
        }
        old.tablesByName[u"Files"_s] << row;
    }

    const DatabaseLocation imported{path(u"Importee.mdb"_s), u"mot du groupe"_s};
    const auto summary = importLegacyDatabase(old, imported.path, imported.password);
    ASSERT_TRUE(summary.skipped.isEmpty());

    const auto rows = searched(imported);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows, searched(location(dbPassword)));
    EXPECT_EQ(rows[0][5], QVariant(QDateTime(QDate(1887, 3, 14), QTime(15, 9, 26))));
    EXPECT_EQ(rows[0][4], QVariant(u"Médecine"_s));
    EXPECT_TRUE(rows[1][3].isNull());

    const QByteArray printed = listing(imported, {1, 2});
    EXPECT_EQ(printed, listing(location(dbPassword), {1, 2}));
    EXPECT_TRUE(printed.contains("c&#339;ur"));
    EXPECT_TRUE(printed.contains("&lt;balise&gt;<br>suite<br>"));
    EXPECT_TRUE(printed.contains("14/03/1887"));
    EXPECT_EQ(printed.count("&#339;uvre"), 1800);
}
