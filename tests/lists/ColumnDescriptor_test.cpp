#include "lists/clsListViewBoolean.h"
#include "lists/clsListViewByte.h"
#include "lists/clsListViewHeader.h"
#include "lists/clsListViewString.h"

#include "TestSupport.h"

using namespace Qt::StringLiterals;

TEST(ColumnDescriptor, EachKindTurnsValuesIntoCellTexts) {
    clsListViewHeader plain;
    plain.Constructor(u"NAME"_s, u"Domaine"_s);
    clsListViewString formatted;
    formatted.Constructor(u"ID"_s, u"No"_s, u"#####00000"_s);
    clsListViewBoolean yesNo; // never constructed: "True" and "False"
    clsListViewBoolean french;
    french.Constructor(u"Actif"_s, u"Actif"_s, u"Oui"_s, u"Non"_s);
    clsListViewByte level;
    level.Constructor(u"Type"_s, u"Type"_s, 0,
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
        EXPECT_EQ(c.descriptor.sReturnValue(c.value), c.expected) << c.value;
    }
    EXPECT_EQ(level.sSourceFieldName(), u"Type"_s);
    EXPECT_EQ(plain.sDisplayName(), u"Domaine"_s);
}

TEST(ColumnDescriptor, ByteTableIsTheDescriptorsOwnCopy) {
    QStringList table = {u"a"_s, u"b"_s};
    clsListViewByte d;
    d.Constructor(u"Type"_s, u"Type"_s, 1, table);
    table[0] = u"changé"_s;
    EXPECT_EQ(d.sReturnValue(u"1"_s), u"a"_s);
    EXPECT_EQ(d.sReturnValue(u"0"_s), u""_s);
}
