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
