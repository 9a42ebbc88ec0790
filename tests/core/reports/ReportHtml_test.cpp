#include "core/reports/ReportHtml.h"

#include <QString>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

// The bytes a record's text becomes in a report line, for the texts where escaping, line breaks,
// entities and the file's character set meet.
TEST(appendReportHtml, WritesEachTextAsTheReportShowsIt) {
    const struct {
        QString text;
        std::int32_t alignment;
        QByteArray bytes;
    } cases[] = {
        {u""_s, 0, ""},
        {u""_s, 4, "<P ALIGN=\"justify\"></P>"},
        {u"Électricité"_s, 4, "<P ALIGN=\"justify\">&Eacute;lectricit&eacute;</P>"},
        {u"a<b & c>d \"e\""_s, 0, "a&lt;b &amp; c&gt;d \"e\""},
        {u"&eacute;"_s, 0, "&amp;eacute;"},
        {u"<DD>x</DD>"_s, 0, "&lt;DD&gt;x&lt;/DD&gt;"},
        {u"un\r\ndeux\ntrois\rquatre"_s, 0, "un<br>deux<br>trois<br>quatre"},
        {u"\n\r\r\n\r"_s, 0, "<br><br><br><br>"},
        {u"«ß» ÿ ñ"_s, 0, "\xab\xdf\xbb &yuml; &ntilde;"},
        {u"c\u0153ur \u2014 \u20ac"_s, 0, "c&#339;ur &#8212; &#8364;"},
        {QString::fromUcs4(U"\U0001F600!"), 0, "&#128512;!"},
        {QString(QChar(0xD800)) + u"x"_s, 0, "&#55296;x"},
        {u"deux  blancs"_s, 1, "<P ALIGN=\"left\">deux  blancs</P>"},
        {u"x"_s, 9, "x"},
    };
    for (const auto& c : cases) {
        QByteArray out = "avant|";
        appendReportHtml(out, c.text, c.alignment);
        EXPECT_EQ(out, "avant|" + c.bytes) << c.text.toStdString();
        // The same text as the engine hands it over, in UTF-8 (which has no lone surrogate).
        const QByteArray utf8 = c.text.toUtf8();
        if (QString::fromUtf8(utf8) != c.text) {
            continue;
        }
        out = "avant|";
        appendReportHtml(out, QUtf8StringView(utf8), c.alignment);
        EXPECT_EQ(out, "avant|" + c.bytes) << c.text.toStdString();
    }
}

// Bytes that are not well-formed UTF-8 print as the rest of the program reads them.
TEST(appendReportHtml, IllFormedUtf8PrintsAsTheProgramDecodesIt) {
    const QByteArray texts[] = {
        "\xc3",
        "a\xc3(b",
        "\xe9t\xe9",
        "\xc0\xaf",
        "\xed\xa0\x80",
        "\xf4\x90\x80\x80",
        "\xf8\x88\x80\x80\x80",
        "ok \xe2\x82",
        "\x80\r\n\xbf",
    };
    for (const QByteArray& bytes : texts) {
        QByteArray expected;
        appendReportHtml(expected, QString::fromUtf8(bytes), 4);
        QByteArray out;
        appendReportHtml(out, QUtf8StringView(bytes), 4);
        EXPECT_EQ(out, expected) << bytes.toHex().toStdString();
    }
}
