#include "gui/lists/ListCells.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

ListCells build(const std::vector<QStringList>& rows, int columns) {
    ListCells cells(columns);
    cells.reserve(static_cast<int>(rows.size()));
    for (const QStringList& row : rows) {
        for (int c = 0; c < columns; ++c) {
            cells.append(c, row.at(c));
        }
    }
    return cells;
}

} // namespace

TEST(ListCells, GivesBackEachTextWhereItWasPut) {
    const std::vector<QStringList> cases[] = {
        {},
        {{u""_s, u""_s}},
        {{u"00001"_s, u""_s}, {u""_s, u"défaut à la terre"_s}, {u"00003"_s, u"œuvre"_s}},
        // more text than the first buffer holds, so it grows between two cells of a column
        {{QString(700, u'é'), u"x"_s}, {QString(700, u'a'), u""_s}, {u"fin"_s, u"y"_s}},
    };
    for (const auto& rows : cases) {
        const ListCells cells = build(rows, 2);
        ASSERT_EQ(cells.rowCount(), static_cast<int>(rows.size()));
        for (size_t r = 0; r < rows.size(); ++r) {
            for (int c = 0; c < 2; ++c) {
                EXPECT_EQ(cells.text(static_cast<int>(r), c), rows[r].at(c)) << r << "," << c;
            }
        }
    }
}

TEST(ListCells, ACopyKeepsItsTextsWhenTheOriginalGrows) {
    ListCells original = build({{u"eau"_s}, {u"sol"_s}}, 1);
    const ListCells copy = original;
    for (int i = 0; i < 2000; ++i) { // enough to move the original's buffer
        original.append(0, u"réseau"_s);
    }
    EXPECT_EQ(copy.rowCount(), 2);
    EXPECT_EQ(copy.text(1, 0), u"sol"_s);
    EXPECT_EQ(original.rowCount(), 2002);
    EXPECT_EQ(original.text(2001, 0), u"réseau"_s);
    original = ListCells();
    EXPECT_EQ(copy.text(0, 0), u"eau"_s);
}

// Cells taken from UTF-8 read as QString::fromUtf8 reads the same bytes, whatever they hold.
TEST(ListCells, DecodesUtf8AsQtDoes) {
    const QByteArray cases[] = {
        "",
        "water",
        "d\xc3\xa9"
        "faut \xc3\xa0 la terre",                     // accents
        "\xc5\x93uvre \xe2\x82\xac \xf0\x9f\x98\x80", // œ, €, and a character beyond 16 bits
        "\xef\xbb\xbf"
        "eau", // a byte order mark at the start
        "\xf0\x9f\x98\x80\xef\xbb\xbf"
        "eau", // and further in
        "a\xff"
        "b\xc3",                            // bad and cut sequences
        "\xe0\x80\x80x\xed\xa0\x80",        // overlong, and a lone surrogate
        QByteArray(3000, 'x') + "\xc3\xa9", // past the first buffer
    };
    ListCells cells(2);
    for (const QByteArray& utf8 : cases) {
        cells.appendUtf8(0, utf8);
        cells.append(1, u"après"_s);
    }
    ASSERT_EQ(cells.rowCount(), static_cast<int>(std::size(cases)));
    for (int r = 0; r < cells.rowCount(); ++r) {
        EXPECT_EQ(cells.text(r, 0), QString::fromUtf8(cases[r])) << r;
        EXPECT_EQ(cells.text(r, 1), u"après"_s) << r;
    }
}
