#include "core/interchange/TermExport.h"

#include "core/interchange/CsvReader.h"
#include "core/interchange/CsvWriter.h"
#include "core/interchange/TermImport.h"

#include "core/AppError.h"
#include "core/db/DatabaseFixture.h"
#include "core/db/Recordset.h"
#include "core/db/Schema.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QXmlStreamReader>

using namespace Qt::StringLiterals;

namespace {

const QString kAllFields =
    u"SELECT Files.ID, Domains.Name, English, French, AF, DEFINITION, OBSERVATION, \"Date\", "
    u"CreatedBy, DateModified, ModifiedBy FROM Files, Domains WHERE Domains.ID = Files.DomainID "
    u"ORDER BY Files.ID"_s;

// Every field of every record, as text; absent and empty texts read alike.
QStringList rows(const DatabaseLocation& location) {
    Connection c;
    c.open(location, Connection::Mode::Read);
    Recordset rs;
    rs.open(kAllFields, c);
    QStringList out;
    for (; !rs.atEnd(); rs.moveNext()) {
        QStringList fields;
        for (int i = 0; i < rs.fieldCount(); ++i) {
            const QVariant v = rs.value(i);
            fields << (v.typeId() == QMetaType::QDateTime ? v.toDateTime().toString(Qt::ISODate)
                                                          : v.toString());
        }
        out << fields.join(u" | "_s);
    }
    return out;
}

} // namespace

class TermExportTest : public OnBothBackends<DatabaseTest> {
protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        const qlonglong chemistry = addDomain(u"Chimie & « physique »"_s);
        const qlonglong law = addDomain(u"Droit <civil>"_s);
        insertRow(u"Files"_s,
                  {{u"English"_s, u"acid \"strong\""_s},
                   {u"French"_s, u"acide « fort » à l’œil"_s},
                   {u"AF"_s, u"Grand dictionnaire, p. 12 & 13"_s},
                   {u"DomainID"_s, chemistry},
                   {u"DEFINITION"_s, u"Première ligne\r\nDeuxième <ligne>\r\n\r\nfin"_s},
                   {u"OBSERVATION"_s, u"a < b && c > d; 'single' \"double\""_s},
                   {u"Date"_s, QDateTime(QDate(2004, 5, 6), QTime(7, 8, 9))},
                   {u"CreatedBy"_s, u"Émilie"_s},
                   {u"DateModified"_s, QDateTime(QDate(2010, 1, 2), QTime(0, 0))},
                   {u"ModifiedBy"_s, u"Zoé"_s}});
        // Empty and absent fields, and texts a spreadsheet would take for formulas.
        insertRow(u"Files"_s, {{u"English"_s, u"=HYPERLINK(\"http://x\")"_s},
                               {u"French"_s, u"-moins"_s},
                               {u"AF"_s, u"'=déjà protégé"_s},
                               {u"DomainID"_s, law},
                               {u"DEFINITION"_s, u"+1, @cell; 'quote"_s},
                               {u"OBSERVATION"_s, u""_s},
                               {u"Date"_s, QDateTime(QDate(1999, 12, 31), QTime(23, 59, 58))},
                               {u"CreatedBy"_s, u"admin"_s}});
        insertRow(u"Files"_s, {{u"English"_s, u"line\nfeed"_s},
                               {u"French"_s, u"retour\rchariot"_s},
                               {u"DomainID"_s, chemistry},
                               {u"Date"_s, QDateTime(QDate(2020, 2, 29), QTime(12, 0, 1))},
                               {u"CreatedBy"_s, u"admin"_s}});
    }

    DatabaseLocation source() const { return location(dbPassword); }

    // An empty base beside the test's.
    DatabaseLocation emptyBase(const QString& name) {
        const QString p = path(name);
        Schema::createDatabase(p, QString());
        return {p, QString()};
    }
};

INSTANTIATE_ON_BOTH_BACKENDS(TermExportTest);

TEST_P(TermExportTest, everyFieldComesBackFromEachFormat) {
    const QStringList before = rows(source());
    ASSERT_EQ(before.size(), 3);
    for (const auto& [format, name] :
         {std::pair{TermFormat::Tbx3, u"v3.tbx"_s}, std::pair{TermFormat::Tbx2, u"v2.tbx"_s},
          std::pair{TermFormat::Csv, u"fiches.csv"_s}}) {
        SCOPED_TRACE(name.toStdString());
        const QString file = path(name);
        EXPECT_EQ(exportTerms(source(), std::nullopt, file, format), 3);
        const DatabaseLocation target = emptyBase(u"vide-"_s + name + u".mdb"_s);
        const TermImportSummary summary = importTerms(target, file, u"autre"_s);
        EXPECT_EQ(summary.fileError, QString());
        EXPECT_EQ(summary.recordsAdded, 3);
        EXPECT_EQ(summary.domainsAdded, 2);
        EXPECT_TRUE(summary.refused.isEmpty());
        EXPECT_EQ(rows(target).join(u'\n'), before.join(u'\n'));
    }
}

TEST_P(TermExportTest, exportsTheChosenRecordsOnly) {
    const QString file = path(u"choix.csv"_s);
    EXPECT_EQ(exportTerms(source(), std::vector<std::int32_t>{3, 1}, file, TermFormat::Csv), 2);
    const TermFile read = readCsv(readFile(file));
    ASSERT_EQ(read.entries.size(), 2);
    EXPECT_EQ(read.entries.at(0).english, QStringList{u"acid \"strong\""_s});
    EXPECT_EQ(read.entries.at(1).english, QStringList{u"line\nfeed"_s});
}

TEST_P(TermExportTest, tbx3FollowsTheCoreStructure) {
    const QString file = path(u"v3.tbx"_s);
    exportTerms(source(), std::nullopt, file, TermFormat::Tbx3);
    QByteArray bytes = readFile(file);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QXmlStreamReader xml(&buffer);
    QStringList paths;
    QStringList stack;
    QStringList ids;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            EXPECT_EQ(xml.namespaceUri(), u"urn:iso:std:iso:30042:ed-2"_s);
            stack << xml.name().toString();
            const QString p = stack.join(u'/');
            if (!paths.contains(p)) {
                paths << p;
            }
            if (xml.name() == u"conceptEntry"_s) {
                ids << xml.attributes().value(u"id"_s).toString();
            }
            if (stack.size() == 1) {
                EXPECT_EQ(xml.attributes().value(u"style"_s), u"dca"_s);
                EXPECT_EQ(xml.attributes().value(u"type"_s), u"TBX-Basic"_s);
            }
        } else if (xml.isEndElement()) {
            stack.removeLast();
        }
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString();
    EXPECT_TRUE(paths.contains(u"tbx/tbxHeader/fileDesc/sourceDesc/p"_s));
    EXPECT_TRUE(paths.contains(u"tbx/text/body/conceptEntry/langSec/termSec/term"_s));
    EXPECT_TRUE(paths.contains(u"tbx/text/body/conceptEntry/descrip"_s));
    EXPECT_TRUE(paths.contains(u"tbx/text/body/conceptEntry/admin"_s));
    EXPECT_TRUE(paths.contains(u"tbx/text/body/conceptEntry/transacGrp/transac"_s));
    EXPECT_TRUE(paths.contains(u"tbx/text/body/conceptEntry/transacGrp/date"_s));
    EXPECT_EQ(ids, (QStringList{u"c1"_s, u"c2"_s, u"c3"_s}));
    // The first record's creation, as TBX writes dates and authors.
    EXPECT_TRUE(bytes.contains("<date>2004-05-06T07:08:09</date>"));
    EXPECT_TRUE(bytes.contains("<transacNote type=\"responsibility\">Émilie</transacNote>"));
    EXPECT_TRUE(bytes.contains("<date>2010-01-02</date>"));
}

TEST_P(TermExportTest, csvCellsNeverStartAFormula) {
    const QString file = path(u"fiches.csv"_s);
    exportTerms(source(), std::nullopt, file, TermFormat::Csv);
    const QByteArray bytes = readFile(file);
    EXPECT_TRUE(bytes.startsWith("\xEF\xBB\xBF\"Fiche\",\"Domaine\",\"Anglais\""));
    EXPECT_TRUE(bytes.contains("\"'=HYPERLINK(\"\"http://x\"\")\",\"'-moins\",\"''=déjà"));
    EXPECT_TRUE(bytes.contains("\"'+1, @cell; 'quote\""));
    for (const QByteArray& line : bytes.split('\n')) {
        for (const QByteArray& cell : line.split(',')) {
            if (cell.startsWith('"') && cell.size() > 1) {
                EXPECT_FALSE(QByteArray("=+-@").contains(cell.at(1))) << cell.toStdString();
            }
        }
    }
}

TEST(CsvProtection, takesOffExactlyWhatItPutOn) {
    for (const QString& text : {u""_s, u"'"_s, u"''"_s, u"'s-Hertogenbosch"_s, u"'=1"_s, u"''=1"_s,
                                u"=1"_s, u"-"_s, u"@x"_s, u"\tx"_s, u"plain"_s, u"'\r"_s}) {
        const QString cell = csvProtected(text);
        EXPECT_EQ(csvUnprotected(cell), text) << text;
        if (!cell.isEmpty()) {
            EXPECT_FALSE(u"=+-@\t\r"_s.contains(cell.at(0))) << text;
        }
    }
}

TEST_P(TermExportTest, aFailedWriteIsReportedAndLeavesNothingBehind) {
    // A folder in the way of the rename, and a folder that does not exist.
    const QString inTheWay = path(u"dossier.tbx"_s);
    QDir().mkpath(inTheWay + u"/contenu"_s);
    EXPECT_THROW(exportTerms(source(), std::nullopt, inTheWay, TermFormat::Tbx3), AppError);
    EXPECT_TRUE(QFileInfo(inTheWay + u"/contenu"_s).isDir());
    EXPECT_THROW(exportTerms(source(), std::nullopt, path(u"absent/fiches.csv"_s), TermFormat::Csv),
                 AppError);
    EXPECT_EQ(QDir(path(QString())).entryList(QDir::Files | QDir::Hidden).filter(u".tbx"_s),
              QStringList());
}
