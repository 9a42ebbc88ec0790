#include "core/text/FieldText.h"

#include "core/TestSupport.h"

#include <QLocale>

using namespace Qt::StringLiterals;

TEST(FieldText, DatesFollowTheShortDateFormatWithTheTimeOnlyWhenThereIsOne) {
    const struct {
        QLocale locale;
        QString date;
    } cases[] = {
        {QLocale(QLocale::French, QLocale::Canada), u"2004-03-07"_s},
        {QLocale(QLocale::French, QLocale::France), u"07/03/2004"_s},
        {QLocale::c(), u"2004-03-07"_s}, // no preference stated: ISO
    };
    const double day = 38053; // 7 March 2004
    for (const auto& c : cases) {
        QLocale::setDefault(c.locale);
        EXPECT_EQ(dayNumberText(day), c.date);
        EXPECT_EQ(dayNumberText(day + 0.75), c.date + u" 18:00:00"_s);
        EXPECT_EQ(fieldText(QDateTime(QDate(2004, 3, 7), QTime(0, 0))), c.date);
        EXPECT_EQ(fieldText(QDateTime(QDate(2004, 3, 7), QTime(9, 5, 7))), c.date + u" 09:05:07"_s);
    }
    QLocale::setDefault(QLocale::system());
    EXPECT_EQ(fieldText(QVariant()), u""_s);
    EXPECT_EQ(fieldText(qlonglong(42)), u"42"_s);
    EXPECT_EQ(fieldText(u"l'été"_s), u"l'été"_s);
}
