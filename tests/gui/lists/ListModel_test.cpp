#include "gui/lists/ListModel.h"

#include "core/db/JetDialect.h"

#include <QStringList>
#include <algorithm>
#include <gtest/gtest.h>
#include <numeric>

using namespace Qt::StringLiterals;

namespace {

// The texts of column 0 as shown, after sorting a model whose column 1 numbers the rows given.
QStringList sortedRows(const QStringList& texts, Qt::SortOrder order) {
    ListModel model;
    model.setHeaders({u"texte"_s, u"rang"_s});
    ListCells cells(2);
    for (int r = 0; r < texts.size(); ++r) {
        cells.append(0, texts[r]);
        cells.append(1, QString::number(r));
    }
    model.setCells(cells);
    model.sortRows(0, order);
    QStringList shown;
    for (int r = 0; r < model.rows(); ++r) {
        shown << model.text(r, 0) + u"#"_s + model.text(r, 1);
    }
    return shown;
}

// The same through a plain stable sort on the engine's text comparison.
QStringList expectedRows(const QStringList& texts, Qt::SortOrder order) {
    std::vector<int> rows(static_cast<size_t>(texts.size()));
    std::iota(rows.begin(), rows.end(), 0);
    std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) {
        const int c = JetDialect::compareText(texts[a], texts[b]);
        return order == Qt::AscendingOrder ? c < 0 : c > 0;
    });
    QStringList shown;
    for (int r : rows) {
        shown << texts[r] + u"#"_s + QString::number(r);
    }
    return shown;
}

} // namespace

// Rows in order but for a tail, rows in any order, equal texts (which keep the order they came
// in), accented texts: the list shows what a stable sort gives.
TEST(ListModel, SortsAsAStableSortWouldWhateverTheRowsStartFrom) {
    QStringList numbers;
    for (int i = 1; i <= 1200; ++i) {
        numbers << QString::number(i).rightJustified(3, u'0');
    }
    const QStringList cases[] = {
        numbers, // "1000" and on come after "100"
        {u"b"_s, u"a"_s, u"c"_s, u"a"_s, u"b"_s},
        {u"a"_s, u"b"_s, u"c"_s, u"a"_s},
        {u"eau"_s, u"Élan"_s, u"élan"_s, u"école"_s, u"zèbre"_s, u"ecole"_s},
        {u"x"_s, u"x"_s, u"x"_s},
    };
    for (const QStringList& texts : cases) {
        for (const Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
            EXPECT_EQ(sortedRows(texts, order), expectedRows(texts, order))
                << texts.first().toStdString() << " " << order;
        }
    }
}
