#include "core/interchange/TermImport.h"

#include "core/Clock.h"
#include "core/db/DatabaseFixture.h"
#include "core/db/Recordset.h"

#include <QDir>

using namespace Qt::StringLiterals;

namespace {

QString fixture(const QString& name) {
    return QDir(QStringLiteral(LEXIVAR_LEGACY_FIXTURES)).filePath(name);
}

struct Stored {
    QString domain, english, french, source, definition, observation, createdBy, modifiedBy;
    QDateTime created, modified;
};

} // namespace

class TermImportTest : public OnBothBackends<DatabaseTest> {
protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        Clock::setNow(QDateTime(QDate(2026, 12, 10), QTime(9, 0)));
    }

    TermImportSummary import(const QString& file) {
        return importTerms(location(dbPassword), file, u"gestion"_s);
    }

    std::vector<Stored> stored() {
        Connection c;
        open(c, true);
        Recordset rs;
        rs.open(u"SELECT Domains.Name, English, French, AF, DEFINITION, OBSERVATION, CreatedBy, "
                u"ModifiedBy, \"Date\", DateModified FROM Files, Domains "
                u"WHERE Domains.ID = Files.DomainID ORDER BY Files.ID"_s,
                c);
        std::vector<Stored> out;
        for (; !rs.atEnd(); rs.moveNext()) {
            out.push_back({rs.value(0).toString(), rs.value(1).toString(), rs.value(2).toString(),
                           rs.value(3).toString(), rs.value(4).toString(), rs.value(5).toString(),
                           rs.value(6).toString(), rs.value(7).toString(), rs.value(8).toDateTime(),
                           rs.value(9).toDateTime()});
        }
        return out;
    }

    QString labels(const QList<TermImportSummary::Item>& items) {
        QStringList out;
        for (const auto& item : items) {
            out << item.label + u": "_s + item.text;
        }
        return out.join(u'\n');
    }
};

INSTANTIATE_ON_BOTH_BACKENDS(TermImportTest);

TEST_P(TermImportTest, tbx2KeepsEveryFieldItCarries) {
    const TermImportSummary s = import(fixture(u"basic-v2.tbx"_s));
    EXPECT_EQ(s.fileError, QString());
    EXPECT_EQ(s.entriesRead, 2);
    EXPECT_EQ(s.recordsAdded, 1);
    EXPECT_EQ(s.domainsAdded, 1);
    EXPECT_EQ(labels(s.refused), u"eid-2: aucun terme français"_s);
    EXPECT_EQ(s.otherLanguages, QStringList{u"de"_s});
    const auto rows = stored();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].domain, u"Informatique"_s);
    EXPECT_EQ(rows[0].english, u"web application"_s);
    EXPECT_EQ(rows[0].french, u"application Web"_s);
    EXPECT_EQ(rows[0].definition, u"Software that runs in a web browser."_s);
    EXPECT_EQ(rows[0].source, u"OQLF"_s);
    EXPECT_EQ(rows[0].createdBy, u"jdupont"_s);
    EXPECT_EQ(rows[0].created, QDateTime(QDate(2019, 3, 14), QTime(0, 0)));
    EXPECT_FALSE(rows[0].modified.isValid());
}

TEST_P(TermImportTest, severalTermsGoToTheObservationAndDuplicatesAreSkipped) {
    const TermImportSummary s = import(fixture(u"several-terms-v3.tbx"_s));
    EXPECT_EQ(s.recordsAdded, 1);
    EXPECT_EQ(s.domainsAdded, 1);
    // Same terms in the same domain, letter case aside: skipped, not stored twice.
    EXPECT_EQ(labels(s.duplicates), u"c6: « Heart Attack » / « Crise cardiaque » (médecine)"_s);
    EXPECT_EQ(labels(s.refused), u"c7: section de langue sans langue connue"_s);
    ASSERT_EQ(s.notes.size(), 1);
    EXPECT_EQ(s.notes[0].label, u"c5"_s);
    const auto rows = stored();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].english, u"heart attack"_s);
    EXPECT_EQ(rows[0].french, u"crise cardiaque"_s);
    EXPECT_EQ(rows[0].observation,
              u"Usage courant.\r\nAutres termes anglais : myocardial infarction\r\n"
              u"Autres termes français : infarctus du myocarde ; infarctus"_s);
    // Nothing in the file says who or when: the importing user, now.
    EXPECT_EQ(rows[0].createdBy, u"gestion"_s);
    EXPECT_EQ(rows[0].created, QDateTime(QDate(2026, 12, 10), QTime(9, 0)));

    // Again: everything is already there, and the existing domain is reused.
    const TermImportSummary again = import(fixture(u"several-terms-v3.tbx"_s));
    EXPECT_EQ(again.recordsAdded, 0);
    EXPECT_EQ(again.domainsAdded, 0);
    EXPECT_EQ(again.duplicates.size(), 2);
    EXPECT_EQ(stored().size(), 1u);
}

TEST_P(TermImportTest, dctNamesDataCategoriesByElement) {
    const TermImportSummary s = import(fixture(u"dct-v3.tbx"_s));
    EXPECT_EQ(s.recordsAdded, 1);
    const auto rows = stored();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].domain, u"Droit"_s);
    EXPECT_EQ(rows[0].definition, u"A binding agreement."_s);
    EXPECT_EQ(rows[0].source, u"Black's"_s);
    EXPECT_EQ(rows[0].modifiedBy, u"mtremblay"_s);
    EXPECT_EQ(rows[0].modified, QDateTime(QDate(2021, 6, 1), QTime(10, 20, 30)));
}

TEST_P(TermImportTest, aMalformedFileAddsNothingAndGivesItsLine) {
    const TermImportSummary s = import(fixture(u"malformed-v3.tbx"_s));
    EXPECT_TRUE(s.fileError.startsWith(u"Ligne 11 : XML mal formé"_s)) << s.fileError;
    EXPECT_EQ(s.recordsAdded, 0);
    EXPECT_TRUE(stored().empty());
    EXPECT_TRUE(termImportText(s, u"/tmp/malformed-v3.tbx"_s)
                    .contains(u"Le fichier est refusé ; aucune fiche n’a été ajoutée."_s));
}

TEST_P(TermImportTest, entityTricksAreRefused) {
    const std::pair<const char*, const char*> cases[] = {
        {"laughs",
         "<?xml version=\"1.0\"?><!DOCTYPE tbx [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b "
         "\"&a;&a;&a;&a;&a;&a;&a;&a;\">]><tbx><text><body><conceptEntry><langSec "
         "xml:lang=\"en\"><termSec><term>&b;</term></termSec></langSec></conceptEntry></body>"
         "</text></tbx>"},
        {"external",
         "<?xml version=\"1.0\"?><!DOCTYPE tbx [<!ENTITY x SYSTEM \"file:///etc/passwd\">]>"
         "<tbx><text><body><conceptEntry><langSec xml:lang=\"en\"><termSec><term>&x;</term>"
         "</termSec></langSec></conceptEntry></body></text></tbx>"},
        {"undeclared",
         "<?xml version=\"1.0\"?><!DOCTYPE tbx SYSTEM \"tbx.dtd\"><tbx><text><body>"
         "<conceptEntry><langSec xml:lang=\"en\"><termSec><term>&x;</term></termSec></langSec>"
         "</conceptEntry></body></text></tbx>"},
        {"not tbx", "<?xml version=\"1.0\"?><html><body/></html>"},
    };
    for (const auto& [name, xml] : cases) {
        SCOPED_TRACE(name);
        const QString file = path(QString::fromLatin1(name) + u".tbx"_s);
        writeFile(file, xml);
        const TermImportSummary s = import(file);
        EXPECT_FALSE(s.fileError.isEmpty());
        EXPECT_TRUE(stored().empty());
    }
}

TEST_P(TermImportTest, csvWithFrenchHeadersBomSemicolonsAndQuotes) {
    const TermImportSummary s = import(fixture(u"french-headers.csv"_s));
    EXPECT_EQ(s.fileError, QString());
    EXPECT_EQ(s.recordsAdded, 2);
    EXPECT_EQ(labels(s.refused), u"ligne 4: aucun terme français"_s);
    const auto rows = stored();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].domain, u"Chimie"_s);
    EXPECT_EQ(rows[0].english, u"acid"_s);
    EXPECT_EQ(rows[0].definition, u"A \"sour\" substance;\r\nsecond line"_s);
    EXPECT_EQ(rows[0].created, QDateTime(QDate(2020, 1, 2), QTime(3, 4, 5)));
    EXPECT_EQ(rows[0].createdBy, u"lfortin"_s);
    // The apostrophe that kept a spreadsheet from running it is taken off again.
    EXPECT_EQ(rows[1].english, u"=SUM(A1)"_s);
}

TEST_P(TermImportTest, csvWithEnglishHeadersFindsTheDomainAsTheSearchDoes) {
    addDomain(u"CUISINE"_s);
    const TermImportSummary s = import(fixture(u"english-headers.csv"_s));
    EXPECT_EQ(s.recordsAdded, 2);
    EXPECT_EQ(s.domainsAdded, 0);
    const auto rows = stored();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].domain, u"CUISINE"_s);
    EXPECT_EQ(rows[0].observation, u"fine, \"table\" salt"_s);
    EXPECT_EQ(rows[0].createdBy, u"cook"_s);
    EXPECT_EQ(rows[1].domain, u"CUISINE"_s);
    EXPECT_EQ(rows[1].createdBy, u"gestion"_s);
}

TEST_P(TermImportTest, csvFilesRefusedWhole) {
    const std::pair<const char*, const char*> cases[] = {
        {"unclosed", "Anglais,Français\nok,bien\n\"never closed,x\n"},
        {"no french column", "English,Spanish\ncat,gato\n"},
    };
    for (const auto& [name, csv] : cases) {
        SCOPED_TRACE(name);
        const QString file = path(QString::fromLatin1(name) + u".csv"_s);
        writeFile(file, csv);
        const TermImportSummary s = import(file);
        EXPECT_FALSE(s.fileError.isEmpty());
        EXPECT_TRUE(stored().empty());
    }
    writeFile(path(u"u.csv"_s), "Anglais,Français\nok,bien\n\"never closed,x\n");
    EXPECT_EQ(import(path(u"u.csv"_s)).fileError,
              u"Ligne 3 : un guillemet ouvert n’est jamais fermé."_s);
}

TEST_P(TermImportTest, windows1252CsvIsReadAsSuch) {
    writeFile(path(u"cp1252.csv"_s), "Anglais;Fran\xE7"
                                     "ais;Domaine\nheart;c\x9Cur;M\xE9"
                                     "decine\n");
    EXPECT_EQ(import(path(u"cp1252.csv"_s)).recordsAdded, 1);
    const auto rows = stored();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].french, u"cœur"_s);
    EXPECT_EQ(rows[0].domain, u"Médecine"_s);
}

TEST_P(TermImportTest, aFailedInsertLeavesTheBaseAsItWas) {
    addDomain(u"Avant"_s);
    // The second insert fails: the first record and the new domain go back out too.
    writeFile(path(u"t.csv"_s), "Anglais,Français,Domaine\na,b,Nouveau\nc,d,Nouveau\n");
    Connection c;
    open(c);
    c.execute(onServer() ? u"ALTER TABLE Files ADD CONSTRAINT stop CHECK (English <> 'c')"_s
                         : u"CREATE TRIGGER stop BEFORE INSERT ON Files WHEN NEW.English = 'c' "
                           u"BEGIN SELECT RAISE(ABORT, 'no'); END"_s);
    c.close();
    EXPECT_ANY_THROW(import(path(u"t.csv"_s)));
    EXPECT_TRUE(stored().empty());
    EXPECT_EQ(count(u"SELECT * FROM Domains"_s), 1);
}

TEST_P(TermImportTest, reportsProgressAndSkipsDuplicatesWithinTheFile) {
    QByteArray csv = "Anglais,Français,Domaine\n";
    for (int i = 0; i < 450; ++i) {
        // Every third row repeats the one before it, in other letter case.
        const QByteArray n = QByteArray::number(i - (i % 3 == 2 ? 1 : 0));
        csv += (i % 3 == 2 ? "TERM " : "term ") + n + ",terme " + n + ",Test\n";
    }
    writeFile(path(u"many.csv"_s), csv);
    std::vector<std::pair<qint64, qint64>> calls;
    const TermImportSummary s =
        importTerms(location(dbPassword), path(u"many.csv"_s), u"gestion"_s,
                    [&](qint64 done, qint64 total) { calls.emplace_back(done, total); });
    EXPECT_EQ(s.recordsAdded, 300);
    EXPECT_EQ(s.duplicates.size(), 150);
    EXPECT_EQ(count(u"SELECT * FROM Files"_s), 300);
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.back(), (std::pair<qint64, qint64>{450, 450}));
    EXPECT_EQ(calls.front(), (std::pair<qint64, qint64>{200, 450}));
}

TEST_P(TermImportTest, aSectionWithoutLanguageIsNamedInTheReport) {
    writeFile(path(u"sans-langue.tbx"_s),
              "<tbx xmlns=\"urn:iso:std:iso:30042:ed-2\"><text><body><conceptEntry id=\"k1\">"
              "<langSec xml:lang=\"en\"><termSec><term>key</term></termSec></langSec>"
              "<langSec xml:lang=\"fr\"><termSec><term>clé</term></termSec></langSec>"
              "<langSec><termSec><term>Schlüssel</term></termSec></langSec>"
              "</conceptEntry></body></text></tbx>");
    const TermImportSummary s = import(path(u"sans-langue.tbx"_s));
    EXPECT_EQ(s.recordsAdded, 1);
    EXPECT_EQ(labels(s.notes),
              u"k1: une section de langue sans langue connue a été laissée de côté"_s);
}
