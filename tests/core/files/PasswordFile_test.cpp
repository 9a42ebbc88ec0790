#include "core/files/PasswordFile.h"

#include "core/TestSupport.h"

#include <QtEndian>

using namespace Qt::StringLiterals;

class PasswordFileTest : public LexivarTest {
protected:
    QString file() const { return path(u"lexivar4.pws"_s); }
};

TEST_F(PasswordFileTest, WorkedExampleAndEmptyPasswordAreByteExact) {
    ASSERT_TRUE(writePasswordFile(file(), u"abc"_s));
    EXPECT_EQ(readFile(file()), QByteArray::fromHex("010000007399C905"));
    ASSERT_TRUE(writePasswordFile(file(), u""_s));
    EXPECT_EQ(readFile(file()), QByteArray(2, '\0'));
    QString password = u"avant"_s;
    ASSERT_TRUE(readPasswordFile(file(), password));
    EXPECT_EQ(password, u""_s);
}

TEST_F(PasswordFileTest, PasswordsSurviveAWriteAndARead) {
    const struct {
        QString password;
        qint32 n;
    } cases[] = {{u"a"_s, 1},       {u"ab"_s, 1},          {u"abc"_s, 1},
                 {u"abcd"_s, 2},    {u"abcdef"_s, 2},      {u"Mötdépassé€ÿ"_s, 4},
                 {u"a b'c;d"_s, 3}, {u"\u0081\u00ff"_s, 1}};
    for (const auto& c : cases) {
        ASSERT_TRUE(writePasswordFile(file(), c.password));
        const QByteArray bytes = readFile(file());
        EXPECT_EQ(bytes.size(), 4 + 4 * c.n) << c.password;
        EXPECT_EQ(qFromLittleEndian<qint32>(bytes.constData()), c.n);
        QString read;
        ASSERT_TRUE(readPasswordFile(file(), read));
        EXPECT_EQ(read, c.password);
    }
    // A shorter password over a longer one.
    ASSERT_TRUE(writePasswordFile(file(), u"xy"_s));
    QString read;
    ASSERT_TRUE(readPasswordFile(file(), read));
    EXPECT_EQ(read, u"xy"_s);
    EXPECT_TRUE(reported->errors.empty());
}

TEST_F(PasswordFileTest, MissingFileLeavesThePasswordAlone) {
    QString password = u"inchangé"_s;
    EXPECT_FALSE(readPasswordFile(path(u"absent.pws"_s), password));
    EXPECT_EQ(password, u"inchangé"_s);
    EXPECT_TRUE(reported->errors.empty());
}

TEST_F(PasswordFileTest, ShortFilesReadAsTheEmptyPassword) {
    for (const QByteArray& bytes : {QByteArray(), QByteArray(1, '\0'), QByteArray(3, '\0')}) {
        writeFile(file(), bytes);
        QString password = u"x"_s;
        ASSERT_TRUE(readPasswordFile(file(), password));
        EXPECT_EQ(password, u""_s);
    }
}

TEST_F(PasswordFileTest, DamagedFilesAreReportedAndChangeNothing) {
    const QByteArray cases[] = {
        QByteArray::fromHex("020000007399C905"), // truncated
        QByteArray::fromHex("01000000FFFFFFFF"), // negative
        QByteArray::fromHex("FFFFFF7F00000000"), // huge N
        QByteArray::fromHex("01000000E7030000"), // code 999
        QByteArray::fromHex("0100000000000000"), // code 0
    };
    for (const QByteArray& bytes : cases) {
        writeFile(file(), bytes);
        QString password = u"avant"_s;
        EXPECT_FALSE(readPasswordFile(file(), password)) << bytes.toHex().constData();
        EXPECT_EQ(password, u"avant"_s);
    }
    ASSERT_EQ(reported->errors.size(), std::size(cases));
    for (const ReportedError& e : reported->errors) {
        EXPECT_EQ(e.procedure, u"bOpenEncriptPassword"_s);
        EXPECT_EQ(e.number, 62);
        EXPECT_EQ(e.wording, ErrorWording::Second) << e.description;
    }
}

TEST_F(PasswordFileTest, WritesThatCannotSucceedChangeNothing) {
    ASSERT_TRUE(writePasswordFile(file(), u"ancien"_s));
    const QByteArray before = readFile(file());
    EXPECT_FALSE(writePasswordFile(file(), u"mot\u0153\u2603"_s)); // œ fits, the snowman not
    EXPECT_EQ(readFile(file()), before);
    EXPECT_FALSE(writePasswordFile(path(u"absent/x.pws"_s), u"abc"_s));
    ASSERT_EQ(reported->errors.size(), 2u);
    for (const ReportedError& e : reported->errors) {
        EXPECT_EQ(e.procedure, u"bSaveEncriptPassword"_s);
        EXPECT_EQ(e.wording, ErrorWording::Second) << e.description;
    }
    EXPECT_TRUE(reported->errors[0].description.contains(u"\u2603"_s));
    EXPECT_EQ(reported->errors[1].number, 76);
}

TEST(passwordFileOf, ReplacesTheLastFourCharacters) {
    EXPECT_EQ(passwordFileOf(u"/data/lexivar4.mdb"_s), u"/data/lexivar4.pws"_s);
    EXPECT_EQ(passwordFileOf(u"/data/base"_s), u"/data/.pws"_s);
}
