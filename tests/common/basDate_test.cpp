#include "common/basDate.h"

#include "TestSupport.h"

#include <QLocale>

using namespace Qt::StringLiterals;

TEST(sGetDateFormat, FollowsTheUsersLocale) {
    const QLocale saved;
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    EXPECT_EQ(sGetDateFormat(), u"dd/MM/yyyy"_s);
    QLocale::setDefault(QLocale(QLocale::French, QLocale::Canada));
    EXPECT_EQ(sGetDateFormat(), u"yyyy-MM-dd"_s);
    QLocale::setDefault(saved);
}
