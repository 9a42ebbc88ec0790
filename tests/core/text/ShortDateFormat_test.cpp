#include "core/text/ShortDateFormat.h"

#include "core/TestSupport.h"

#include <QLocale>

using namespace Qt::StringLiterals;

TEST(shortDateFormat, FollowsTheUsersLocale) {
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    EXPECT_EQ(shortDateFormat(), u"dd/MM/yyyy"_s);
    QLocale::setDefault(QLocale(QLocale::French, QLocale::Canada));
    EXPECT_EQ(shortDateFormat(), u"yyyy-MM-dd"_s);
    QLocale::setDefault(saved);
}
