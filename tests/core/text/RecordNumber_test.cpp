#include "core/text/RecordNumber.h"

#include "core/TestSupport.h"

using namespace Qt::StringLiterals;

TEST(formatRecordNumber, PadsToFiveDigitsAndLeavesOtherTextAlone) {
    const struct {
        QVariant value;
        QString expected;
    } cases[] = {
        {42, u"00042"_s},
        {0, u"00000"_s},
        {QVariant::fromValue<qlonglong>(1234567), u"1234567"_s},
        {99999, u"99999"_s},
        {u"42"_s, u"00042"_s},
        {u"00042"_s, u"00042"_s},
        {u"Électricité"_s, u"Électricité"_s},
        {u""_s, u""_s},
        {QVariant(), u""_s},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(formatRecordNumber(c.value), c.expected) << c.value.toString();
    }
}
