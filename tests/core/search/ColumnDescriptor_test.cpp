#include "core/search/BooleanColumn.h"
#include "core/search/CodedColumn.h"
#include "core/search/FormattedColumn.h"
#include "core/search/TextColumn.h"

#include "core/TestSupport.h"

using namespace Qt::StringLiterals;

TEST(ColumnDescriptor, EachKindTurnsValuesIntoCellTexts) {
    TextColumn plain;
    plain.define(u"NAME"_s, u"Domaine"_s);
    FormattedColumn formatted;
    formatted.define(u"ID"_s, u"No"_s, u"#####00000"_s);
    BooleanColumn yesNo; // never constructed: "True" and "False"
    BooleanColumn french;
    french.define(u"Actif"_s, u"Actif"_s, u"Oui"_s, u"Non"_s);
    CodedColumn level;
    level.define(u"Type"_s, u"Type"_s, 0,
                 {u"Administrateur"_s, u"Gestionnaire"_s, u"Propriétaire"_s});

    const struct {
        const ColumnDescriptor& descriptor;
        QString value;
        QString expected;
    } cases[] = {
        {plain, u""_s, u""_s},
        {plain, u"l'« Électricité »"_s, u"l'« Électricité »"_s},
        {formatted, u"42"_s, u"00042"_s},
        {formatted, u"1234567"_s, u"1234567"_s},
        {formatted, u"abc"_s, u"abc"_s},
        {yesNo, u"-1"_s, u"True"_s},
        {yesNo, u"True"_s, u"True"_s},
        {yesNo, u"0"_s, u"False"_s},
        {yesNo, u"False"_s, u"False"_s},
        {french, u"1"_s, u"Oui"_s},
        {french, u""_s, u"Non"_s},
        {level, u"0"_s, u"Administrateur"_s},
        {level, u"2"_s, u"Propriétaire"_s},
        {level, u"3"_s, u""_s},
        {level, u"x"_s, u""_s},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.descriptor.displayValue(c.value), c.expected) << c.value;
    }
    EXPECT_EQ(level.sourceField(), u"Type"_s);
    EXPECT_EQ(plain.displayName(), u"Domaine"_s);
}

TEST(ColumnDescriptor, ByteTableIsTheDescriptorsOwnCopy) {
    QStringList table = {u"a"_s, u"b"_s};
    CodedColumn d;
    d.define(u"Type"_s, u"Type"_s, 1, table);
    table[0] = u"changé"_s;
    EXPECT_EQ(d.displayValue(u"1"_s), u"a"_s);
    EXPECT_EQ(d.displayValue(u"0"_s), u""_s);
}
