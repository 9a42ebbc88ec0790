#include "core/text/Validation.h"

#include "core/TestSupport.h"

using namespace Qt::StringLiterals;

namespace {

struct HtmlCase {
    QString input;
    std::int32_t alignment;
    bool nbsp;
    bool noWrap;
    QString expected;
};

QString html(const QString& text, std::int32_t alignment = 0, bool nbsp = false,
             bool noWrap = false) {
    return validatedHtml(text, alignment, nbsp, noWrap);
}

} // namespace

TEST(validatedHtml, ConvertsEachCaseExactly) {
    const HtmlCase cases[] = {
        {u""_s, 0, false, true, u"<NOBR></NOBR>"_s},
        {u""_s, 2, false, true, u"<P ALIGN=\"center\"><NOBR></NOBR></P>"_s},
        {u"Été"_s, 0, false, false, u"&Eacute;t&eacute;"_s},
        {u"a<b>&c"_s, 0, false, false, u"a<b>&c"_s},
        {u"a   b"_s, 0, true, false, u"a &nbsp;&nbsp;b"_s},
        {u"a   b"_s, 0, false, false, u"a   b"_s},
        {u"un\r\ndeux"_s, 0, false, false, u"un<br>deux"_s},
        {u"<DD>un\r\n\r\n\r\ndeux</DD>"_s, 0, false, false, u"<DD>un</DD>\r\n<DD>deux</DD>"_s},
        {u"<DD>un\r\n \r\ndeux</DD>"_s, 0, false, false,
         u"<DD>un</DD>\r\n<DD> </DD>\r\n<DD>deux</DD>"_s},
        {u"un\ndeux"_s, 0, false, false, u"un\ndeux"_s},
        {u"un\rXdeux"_s, 0, false, false, u"un<br>deux"_s},
        {u"fin\r"_s, 0, false, false, u"fin<br>"_s},
        {u"cœur ãý"_s, 0, false, false, u"cœur ãý"_s},
        {u"x"_s, 1, false, false, u"<P ALIGN=\"left\">x</P>"_s},
        {u"x"_s, 3, false, false, u"<P ALIGN=\"right\">x</P>"_s},
        {u"x"_s, 4, false, true, u"<P ALIGN=\"justify\"><NOBR>x</NOBR></P>"_s},
        {u"x"_s, 5, false, false, u"x"_s},
    };
    for (const auto& c : cases) {
        std::int32_t alignment = c.alignment;
        EXPECT_EQ(validatedHtml(c.input, alignment, c.nbsp, c.noWrap), c.expected) << c.input;
        EXPECT_EQ(alignment, c.alignment);
    }
}

TEST(validatedHtml, ConvertsExactlyTheFortySevenTableLetters) {
    const QString letters = u"áàâäÁÀÂÄéèêëÉÈÊËíìîïÍÌÎÏóòôöõÓÒÔÖÕúùûüÚÙÛÜÿñÑçÇ"_s;
    ASSERT_EQ(letters.size(), 47);
    const QString expected =
        u"&aacute;&agrave;&acirc;&auml;&Aacute;&Agrave;&Acirc;&Auml;"
        "&eacute;&egrave;&ecirc;&euml;&Eacute;&Egrave;&Ecirc;&Euml;"
        "&iacute;&igrave;&icirc;&iuml;&Iacute;&Igrave;&Icirc;&Iuml;"
        "&oacute;&ograve;&ocirc;&ouml;&otilde;&Oacute;&Ograve;&Ocirc;&Ouml;&Otilde;"
        "&uacute;&ugrave;&ucirc;&uuml;&Uacute;&Ugrave;&Ucirc;&Uuml;"
        "&yuml;&ntilde;&Ntilde;&ccedil;&Ccedil;"_s;
    EXPECT_EQ(html(letters), expected);
    // Every other Latin-1 letter passes unchanged.
    for (char16_t u = 0xC0; u <= 0xFF; ++u) {
        if (!letters.contains(QChar(u))) {
            EXPECT_EQ(html(QString(QChar(u))), QString(QChar(u))) << int(u);
        }
    }
}

TEST(isValidFileName, RefusesEmptyAndForbiddenCharacters) {
    const struct {
        QString text;
        bool valid;
    } cases[] = {
        {u""_s, false},
        {u"C:\\data\\lexivar4.mdb"_s, true},
        {u"/home/équipe/Lexivar4.mdb"_s, true},
        {u"a|b"_s, false},
        {u"a*b"_s, false},
        {u"a?b"_s, false},
        {u"a<b"_s, false},
        {u"a>b"_s, false},
        {u"a\"b"_s, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(isValidFileName(c.text), c.valid) << c.text;
    }
}

TEST(KeyFilters, SwallowPerTheTwentySixBoundary) {
    const struct {
        std::int16_t key;
        bool textPasses;
        bool numberPasses;
    } cases[] = {
        {8, true, true},    {13, true, true},    {26, true, true},    {27, true, false},
        {31, true, false},  {'5', true, true},   {'a', true, false},  {'-', true, false},
        {',', true, false}, {'|', false, false}, {'*', false, false}, {'"', false, false},
        {'/', true, false}, {0xE9, true, false},
    };
    for (const auto& c : cases) {
        std::int16_t text = c.key;
        std::int16_t number = c.key;
        filterTextKey(text);
        filterNumberKey(number);
        EXPECT_EQ(text, c.textPasses ? c.key : 0) << c.key;
        EXPECT_EQ(number, c.numberPasses ? c.key : 0) << c.key;
    }
}

TEST(quotesDoubled, DoublesOnlyStraightSingleQuotes) {
    EXPECT_EQ(quotesDoubled(u"l'eau"_s), u"l''eau"_s);
    EXPECT_EQ(quotesDoubled(u"''"_s), u"''''"_s);
    EXPECT_EQ(quotesDoubled(u""_s), u""_s);
    EXPECT_EQ(quotesDoubled(u"l\u2019eau \"%*?|"_s), u"l\u2019eau \"%*?|"_s);
}
