#include "core/interchange/JetFileReader.h"

#include "core/AppError.h"
#include "core/TestSupport.h"

#include <QDateTime>
#include <QFile>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

QString fixture(const QString& name) {
    return QStringLiteral(LEXIVAR_LEGACY_FIXTURES "/") + name;
}

QList<LegacyRow> rowsOf(const QString& file, const QString& table, std::size_t bindSize = 16384) {
    JetFileReader reader(fixture(file), bindSize);
    QList<LegacyRow> rows;
    reader.readTable(table, [&](const LegacyRow& r) { rows << r; });
    return rows;
}

} // namespace

class JetFileReaderTest : public LexivarTest {};

// The database password of a Jet 4 file only hides its header: the rows read without it.
TEST_F(JetFileReaderTest, ReadsAPasswordProtectedFileWithoutItsPassword) {
    const auto rows = rowsOf(u"password-protected-v2000.mdb"_s, u"table1"_s);
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0].value(u"ID"_s), QVariant(1));
    EXPECT_EQ(rows[0].value(u"Data"_s), QVariant(u"One"_s));
    EXPECT_EQ(rows[2].value(u"ID"_s), QVariant(3));
    EXPECT_EQ(rows[2].value(u"Data"_s), QVariant(u"Three"_s));
}

TEST_F(JetFileReaderTest, GivesEachKindOfColumnItsValue) {
    JetFileReader reader(fixture(u"types-v2000.mdb"_s));
    EXPECT_EQ(reader.tables(), (QStringList{u"Table1"_s, u"Table2"_s, u"Table3"_s, u"Table4"_s}));
    EXPECT_EQ(reader.rowCount(u"Table1"_s), 2);
    QList<LegacyRow> rows;
    reader.readTable(u"Table1"_s, [&](const LegacyRow& r) { rows << r; });
    ASSERT_EQ(rows.size(), 2);
    const LegacyRow& r = rows[0];
    EXPECT_EQ(r.value(u"A"_s), QVariant(u"abcdefg"_s));
    EXPECT_EQ(r.value(u"B"_s), QVariant(u"hijklmnop"_s));
    EXPECT_EQ(r.value(u"C"_s), QVariant(2));
    EXPECT_EQ(r.value(u"D"_s), QVariant(222));
    EXPECT_EQ(r.value(u"E"_s), QVariant(333333333));
    EXPECT_EQ(r.value(u"F"_s), QVariant(444.555));
    EXPECT_EQ(r.value(u"G"_s), QVariant(QDateTime(QDate(1974, 9, 21), QTime(0, 0))));
    EXPECT_EQ(r.value(u"H"_s).toString(), u"3.5000"_s);
    EXPECT_EQ(r.value(u"I"_s), QVariant(true));
    EXPECT_EQ(rows[1].value(u"I"_s), QVariant(false));
    EXPECT_EQ(rows[1].value(u"G"_s), QVariant(QDateTime(QDate(1981, 12, 12), QTime(0, 0))));
}

TEST_F(JetFileReaderTest, DecodesCompressedUnicodeText) {
    const auto rows = rowsOf(u"unicode-compressed-v2003.mdb"_s, u"Table"_s);
    ASSERT_GE(rows.size(), 5);
    EXPECT_EQ(rows[1].value(u"Unicode"_s), QVariant(u"ääkkösiä"_s));
    EXPECT_EQ(rows[2].value(u"Unicode"_s), QVariant(u"Мир"_s));
    // Polytonic Greek as stored: oxia accents (U+1F79, U+1F7B), not the tonos of modern Greek.
    EXPECT_EQ(rows[3].value(u"Unicode"_s),
              QVariant(u"\u03F0\u03B1\u1F76 \u03C4\u1F79\u03C4' \u1F10\u03B3\u1F7C "
                       u"\u039A\u1F7B\u03F0\u03BB\u03C9\u03C0\u03B1"_s));
    EXPECT_EQ(rows[4].value(u"Unicode"_s), QVariant(u"漢字仮名交じり文"_s));
}

// libmdb cuts memo text at its bind size; the reader raises it for each memo, so a memo comes
// whole even when the starting size is far smaller than the text.
TEST_F(JetFileReaderTest, ReadsMemosWholeWhateverTheBindSize) {
    const auto wide = rowsOf(u"memo-v2000.mdb"_s, u"MSP_PROJECTS"_s);
    const auto narrow = rowsOf(u"memo-v2000.mdb"_s, u"MSP_PROJECTS"_s, 32);
    ASSERT_EQ(wide.size(), 1);
    ASSERT_EQ(narrow.size(), 1);
    const QString author = wide[0].value(u"PROJ_PROP_AUTHOR"_s).toString();
    EXPECT_TRUE(author.startsWith(u"Jon Iles this is a a vawesrasoih"_s));
    EXPECT_TRUE(author.endsWith(u"jflksjadf as"_s));
    EXPECT_EQ(author.size(), 348); // far beyond the 32 bytes libmdb would keep
    EXPECT_EQ(narrow[0].value(u"PROJ_PROP_AUTHOR"_s).toString(), author);
    EXPECT_EQ(narrow[0].value(u"PROJ_NAME"_s), QVariant(u"Project1"_s));
}

// libmdb gives "" for a NULL cell as for an empty text; the reader keeps NULL apart, in text,
// memo, number and date columns alike, and every column is there.
TEST_F(JetFileReaderTest, KeepsNullApartFromText) {
    const auto rows = rowsOf(u"memo-v2000.mdb"_s, u"MSP_PROJECTS"_s);
    ASSERT_EQ(rows.size(), 1);
    const LegacyRow& r = rows[0];
    EXPECT_EQ(r.size(), 74);
    for (const QString& column : {u"PROJ_PROP_CATEGORY"_s, u"PROJ_MACHINE_ID"_s, u"PROJ_PROJECT"_s,
                                  u"PROJ_TYPE"_s, u"PROJ_INFO_STATUS_DATE"_s}) {
        EXPECT_TRUE(r.contains(column)) << column;
        EXPECT_TRUE(r.value(column).isNull()) << column;
    }
    EXPECT_EQ(r.value(u"PROJ_PROP_COMPANY"_s), QVariant(u"T"_s));
    EXPECT_EQ(r.value(u"PROJ_READ_ONLY"_s), QVariant(u"0"_s));
    EXPECT_EQ(r.value(u"PROJ_OPT_CURRENCY_SYMBOL"_s), QVariant(u"£"_s));
    EXPECT_EQ(r.value(u"PROJ_DATA_SOURCE"_s), QVariant(u"Z:\\temp\\Project1.mpd"_s));
}

// Dates with their time of day, from the stored day number.
TEST_F(JetFileReaderTest, ReadsDatesWithTheirTimeOfDay) {
    const auto rows = rowsOf(u"memo-v2000.mdb"_s, u"MSP_PROJECTS"_s);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(rows[0].value(u"PROJ_CREATION_DATE_EX"_s),
              QVariant(QDateTime(QDate(2006, 2, 3), QTime(22, 11, 5))));
    EXPECT_EQ(rows[0].value(u"PROJ_OPT_DEF_FINISH_TIME"_s),
              QVariant(QDateTime(QDate(2006, 2, 3), QTime(17, 0))));
}

// libmdb's text of a date is empty before 1900; the day number is read instead, Jet's way: the
// whole part counts days from 30 December 1899 (negative before it), the fraction is the time of
// day counted forward from midnight whatever the sign.
TEST_F(JetFileReaderTest, TurnsDayNumbersIntoDatesBefore1900Too) {
    struct Case {
        double day;
        QDateTime expected;
    };
    const Case cases[] = {
        {-1.25, QDateTime(QDate(1899, 12, 29), QTime(6, 0))},
        {-0.5, QDateTime(QDate(1899, 12, 30), QTime(12, 0))},
        {-36522.75, QDateTime(QDate(1800, 1, 1), QTime(18, 0))},
        {-657434.0, QDateTime(QDate(100, 1, 1), QTime(0, 0))},
        {2.0, QDateTime(QDate(1900, 1, 1), QTime(0, 0))},
        {38718.5, QDateTime(QDate(2006, 1, 1), QTime(12, 0))},
        {2958465.0, QDateTime(QDate(9999, 12, 31), QTime(0, 0))},
        {-657435.0, QDateTime()},
        {2958466.0, QDateTime()},
        {std::nan(""), QDateTime()},
        {1e300, QDateTime()},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(JetFileReader::dateOfDayNumber(c.day), c.expected) << c.day;
    }
}

TEST_F(JetFileReaderTest, TellsJetFilesFromOthers) {
    EXPECT_TRUE(JetFileReader::isJetFile(fixture(u"memo-v2000.mdb"_s)));
    EXPECT_TRUE(JetFileReader::isJetFile(fixture(u"unicode-compressed-v2003.mdb"_s)));
    writeFile(path(u"text.mdb"_s), "Standard Jet DB but not at the right place");
    writeFile(path(u"sqlite.mdb"_s), QByteArray("SQLite format 3\0", 16) + QByteArray(4080, 0));
    EXPECT_FALSE(JetFileReader::isJetFile(path(u"text.mdb"_s)));
    EXPECT_FALSE(JetFileReader::isJetFile(path(u"sqlite.mdb"_s)));
    EXPECT_FALSE(JetFileReader::isJetFile(path(u"missing.mdb"_s)));
    EXPECT_THROW(JetFileReader(path(u"sqlite.mdb"_s)), AppError);
}

TEST_F(JetFileReaderTest, RefusesATableTheFileLacks) {
    JetFileReader reader(fixture(u"password-protected-v2000.mdb"_s));
    try {
        reader.readTable(u"Files"_s, [](const LegacyRow&) {});
        FAIL() << "no error";
    } catch (const AppError& e) {
        EXPECT_TRUE(e.description().startsWith(u"La table « Files » est absente"_s))
            << e.description();
    }
}

// A file cut short mid-page must fail cleanly, never crash or hang.
TEST_F(JetFileReaderTest, SurvivesATruncatedFile) {
    const QByteArray whole = readFile(fixture(u"memo-v2000.mdb"_s));
    writeFile(path(u"cut.mdb"_s), whole.left(whole.size() / 3));
    try {
        JetFileReader reader(path(u"cut.mdb"_s));
        for (const QString& t : reader.tables()) {
            reader.readTable(t, [](const LegacyRow&) {});
        }
    } catch (const AppError&) {
    }
    SUCCEED();
}
