#include "core/db/JetDate.h"
#include "core/db/JetDialect.h"

#include "core/TestSupport.h"

using namespace Qt::StringLiterals;

TEST(JetDialect, RewritesDeleteStarOutsideLiterals) {
    EXPECT_EQ(JetDialect::translate(u"DELETE * FROM domains WHERE ID = 3;"_s),
              u"DELETE FROM domains WHERE ID = 3;"_s);
    EXPECT_EQ(JetDialect::translate(u"delete  *  from files WHERE ID = 1"_s),
              u"DELETE FROM files WHERE ID = 1"_s);
    EXPECT_EQ(JetDialect::translate(u"SELECT * FROM Files WHERE English = 'DELETE * FROM x'"_s),
              u"SELECT * FROM Files WHERE English = 'DELETE * FROM x'"_s);
}

TEST(JetDialect, LikeMatchesWithoutRegardToCase) {
    const struct {
        QString value;
        QString pattern;
        bool matches;
    } cases[] = {
        {u"Eau"_s, u"%eau%"_s, true},    {u"EAU"_s, u"%eau%"_s, true},
        {u"Bureau"_s, u"%eau%"_s, true}, {u"eaux"_s, u"eau"_s, false},
        {u"Été"_s, u"été"_s, true},      {u"Ete"_s, u"été"_s, false},
        {u"abc"_s, u"a_c"_s, true},      {u"ac"_s, u"a_c"_s, false},
        {u""_s, u"%"_s, true},           {u"a%b"_s, u"a%%b"_s, true},
        {u"xxaby"_s, u"%a%b%"_s, true},  {u"ba"_s, u"%a%b%"_s, false},
        {u"cœur"_s, u"%ŒUR"_s, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(JetDialect::likeMatch(c.value, c.pattern), c.matches)
            << c.value.toStdString() << " LIKE " << c.pattern.toStdString();
    }
    EXPECT_TRUE(JetDialect::likeMatch(u"100%"_s, u"100!%"_s, u'!'));
    EXPECT_FALSE(JetDialect::likeMatch(u"1000"_s, u"100!%"_s, u'!'));
}

TEST(JetDialect, OrdersAccentsAmongTheirLetters) {
    EXPECT_EQ(JetDialect::compareText(u"électricité", u"ÉLECTRICITÉ"), 0);
    EXPECT_LT(JetDialect::compareText(u"Électricité", u"Fer"), 0);
    EXPECT_LT(JetDialect::compareText(u"eau", u"Électricité"), 0);
    EXPECT_NE(JetDialect::compareText(u"e", u"é"), 0);
}

TEST(JetDate, DayNumbersRoundTrip) {
    EXPECT_EQ(JetDate::toDayNumber(QDate(2005, 12, 31)), 38717.0);
    EXPECT_EQ(JetDate::toDayNumber(QDate(1899, 12, 30)), 0.0);
    EXPECT_DOUBLE_EQ(JetDate::toDayNumber(QDateTime(QDate(1900, 1, 1), QTime(6, 0))), 2.25);
    EXPECT_EQ(JetDate::fromDayNumber(-1.25), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
    const QDateTime t(QDate(2026, 12, 10), QTime(23, 59, 59, 999));
    EXPECT_EQ(JetDate::fromDayNumber(JetDate::toDayNumber(t)), t);
}
