#include "core/search/SearchStatement.h"

#include "core/AppError.h"
#include "core/TestSupport.h"

using namespace Qt::StringLiterals;

namespace {

const QString kPrefix =
    u"SELECT Files.ID, Files.English, Files.French, Files.AF, Domains.Name, Files.Date, "
    "Files.CreatedBy, Files.DateModified, Files.ModifiedBy FROM Files, Domains WHERE "
    "files.domainid = domains.id AND "_s;

const QString kUnion =
    u"0 UNION SELECT ID, Login, Pass, Name, Name, 0, Name, 0, Type FROM Passwords --"_s;

} // namespace

TEST(SearchStatements, AreTheWindowsExactTexts) {
    const QDate start(2005, 1, 1);
    const QDate end(2005, 12, 31);
    EXPECT_EQ(SearchStatement::newSearchStatement(0, u"42"_s, start, end, false),
              kPrefix + u"Files.ID = 42"_s);
    EXPECT_EQ(SearchStatement::newSearchStatement(2, u""_s, start, end, false),
              u"SELECT Files.ID, Files.English, Files.French, Files.AF, Domains.name, "
              "Files.Date, Files.CreatedBy, Files.DateModified, Files.ModifiedBy FROM Files, "
              "Domains WHERE files.domainid = domains.id "_s);
    EXPECT_EQ(SearchStatement::newSearchStatement(3, u"l'eau"_s, start, end, false),
              kPrefix + u"FRENCH LIKE '%l''eau%'"_s);
    EXPECT_EQ(SearchStatement::newSearchStatement(7, u"ignoré"_s, start, end, true),
              kPrefix + u"DATE <= 38717 and DATE >= 38353"_s);
    EXPECT_EQ(SearchStatement::condition(9, u""_s, start, end, true),
              u"DATEMODIFIED <= 38717 and DATEMODIFIED >= 38353"_s);
    EXPECT_EQ(SearchStatement::condition(1, u"é"_s, start, end, false), u"NAME LIKE '%é%'"_s);
}

TEST(SearchStatements, AnIdCriterionThatIsNoNumberBuildsNoStatement) {
    for (const QString& text : {kUnion, u"1 OR 1=1"_s, u"4;"_s}) {
        EXPECT_FALSE(SearchStatement::isValidCriterion(SearchStatement::kIdField, text)) << text;
        EXPECT_THROW(SearchStatement::condition(0, text, {}, {}, false), AppError);
    }
    EXPECT_TRUE(SearchStatement::isValidCriterion(2, kUnion));
}
