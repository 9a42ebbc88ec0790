#include "gui/lists/ListFiller.h"

#include "gui/lists/ListView.h"
#include "core/session/Session.h"
#include "core/AppError.h"
#include "gui/dialogs/ErrorBox.h"
#include "core/text/FieldText.h"
#include "core/text/RecordNumber.h"
#include "gui/widgets/ProgressWindow.h"
#include "core/db/Connection.h"
#include "core/db/JetDate.h"
#include "core/db/Recordset.h"

#include <QFontMetrics>
#include <QHash>
#include <QWidget>
#include <algorithm>
#include <array>
#include <cmath>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

// 250 twips at 15 twips a pixel.
constexpr int kColumnPadding = 17;
// Widths are first estimated from per-character advances; only the widest few are measured.
constexpr size_t kMeasuredCandidates = 64;

std::vector<int> fieldMap(const Recordset& rs, const ColumnList* colDisplay) {
    std::vector<int> map(rs.fieldCount(), -1);
    if (!colDisplay) {
        return map;
    }
    for (int i = 0; i < rs.fieldCount(); ++i) {
        const QString name = rs.fieldName(i);
        for (size_t d = 0; d < colDisplay->size(); ++d) {
            if ((*colDisplay)[d]->sourceField().compare(name, Qt::CaseInsensitive) == 0) {
                map[i] = static_cast<int>(d);
                break;
            }
        }
    }
    return map;
}

QStringList headers(const Recordset& rs, const std::vector<int>& map,
                    const ColumnList* colDisplay) {
    QStringList out;
    for (int i = 0; i < rs.fieldCount(); ++i) {
        out << (map[i] >= 0 ? (*colDisplay)[map[i]]->displayName() : rs.fieldName(i));
    }
    return out;
}

// Widths are first estimated from per-character advances read once, so estimating touches no
// font code and may run beside the sorting; only the widest few are then measured exactly.
class WidthMeter {
public:
    explicit WidthMeter(const QFont& font) : m_metrics(font), m_other(m_metrics.maxWidth()) {
        for (char16_t u = 0; u < kCached; ++u) {
            m_latin[u] = m_metrics.horizontalAdvance(QChar(u));
        }
    }

    int estimate(const QString& text) const {
        int w = 0;
        for (QChar c : text) {
            w += c.unicode() < kCached ? m_latin[c.unicode()] : m_other;
        }
        return w;
    }
    int exact(const QString& text) const { return m_metrics.horizontalAdvance(text); }

private:
    static constexpr char16_t kCached = 0x250;
    QFontMetrics m_metrics;
    int m_other;
    std::array<int, kCached> m_latin{};
};

// For each column, the cells (by position in `cells`) most likely to be the widest.
std::vector<std::vector<size_t>> widestCandidates(const WidthMeter& meter,
                                                  const std::vector<QString>& cells, int columns) {
    std::vector<std::vector<size_t>> out(columns);
    const size_t rows = columns > 0 ? cells.size() / columns : 0;
    std::vector<std::pair<int, size_t>> estimates(rows);
    for (int c = 0; c < columns; ++c) {
        for (size_t r = 0; r < rows; ++r) {
            const size_t at = r * columns + c;
            estimates[r] = {meter.estimate(cells[at]), at};
        }
        const size_t n = std::min(kMeasuredCandidates, rows);
        std::partial_sort(estimates.begin(), estimates.begin() + static_cast<long>(n),
                          estimates.end(),
                          [](const auto& a, const auto& b) { return a.first > b.first; });
        for (size_t i = 0; i < n; ++i) {
            out[c].push_back(estimates[i].second);
        }
    }
    return out;
}

void applyWidths(ListView& list, const WidthMeter& meter,
                 const std::vector<std::vector<size_t>>& candidates) {
    const std::vector<QString>& cells = list.cells();
    for (int c = 0; c < list.columnHeaderCount(); ++c) {
        int widest = meter.exact(list.columnHeaderText(c));
        for (size_t at : candidates[c]) {
            widest = std::max(widest, meter.exact(cells[at]));
        }
        list.setColumnWidth(c, widest + kColumnPadding);
    }
}

// What a date column sorts by: its day number, NaN when empty.
double dayNumberOf(const QVariant& value) {
    if (value.typeId() == QMetaType::Double) {
        return value.toDouble();
    }
    const QDateTime date = value.toDateTime();
    return date.isValid() ? JetDate::toDayNumber(date) : std::nan("");
}

} // namespace

std::int32_t ListFiller::fill(ListView& list, const DatabaseLocation& location,
                              const QString& query, QWidget& caller, const QString& title,
                              const ColumnList* colDisplay) {
    Connection connection;
    Recordset rs;
    try {
        connection.open(location, Connection::Mode::Read);
        rs.open(query, connection, Recordset::Static, Recordset::ReadOnlyLock);
    } catch (const AppError& e) {
        showErrorBox(u"lFillListViewADO"_s, e);
        list.clearAll();
        list.setVisible(true);
        return 0;
    }
    list.setVisible(false);
    const int sortKey = list.sortKey();
    const Qt::SortOrder sortOrder = list.sortOrder();
    list.setSortState(false, 0, Qt::AscendingOrder);
    list.clearAll();

    std::int32_t count = 0;
    if (rs.recordCount() > 0) {
        const std::vector<int> map = fieldMap(rs, colDisplay);
        list.setColumnHeaders(headers(rs, map, colDisplay));
        ProgressWindow::instance().start(1, rs.recordCount(), title, &caller);
        const int fields = rs.fieldCount();
        std::vector<QString> cells;
        cells.reserve(static_cast<size_t>(rs.recordCount()) * fields);
        const ShortDateFormatter dates;
        DateKeys dateKeys;
        std::vector<std::vector<double>*> dayNumbers(static_cast<size_t>(fields), nullptr);
        for (int i = 1; i < fields; ++i) {
            if (rs.isDateField(i)) {
                dayNumbers[i] = &dateKeys[i];
                dayNumbers[i]->reserve(static_cast<size_t>(rs.recordCount()));
            }
        }
        for (; !rs.atEnd(); rs.moveNext()) {
            cells.push_back(formatRecordNumber(rs.peek(0)));
            for (int i = 1; i < fields; ++i) {
                QVariant v = rs.take(i);
                if (dayNumbers[i]) {
                    dayNumbers[i]->push_back(dayNumberOf(v));
                }
                QString text;
                if (v.typeId() == QMetaType::QString) {
                    text = std::move(*static_cast<QString*>(v.data())); // no copy of the text
                } else if (rs.isDateField(i) && v.typeId() == QMetaType::Double) {
                    text = dates.dayNumberText(v.toDouble());
                } else {
                    text = fieldText(v);
                }
                cells.push_back(map[i] >= 0 ? (*colDisplay)[map[i]]->displayValue(text)
                                            : std::move(text));
            }
            ProgressWindow::instance().increment();
        }
        count = rs.recordCount();
        list.setItems(std::move(cells), std::move(dateKeys));
    }
    rs.close();
    connection.close();

    if (list.itemCount() > 0) {
        // The widths do not depend on the order: estimate them while the rows are sorted.
        const WidthMeter meter(caller.font());
        std::vector<std::vector<size_t>> candidates;
        std::thread estimating(
            [&] { candidates = widestCandidates(meter, list.cells(), list.columnHeaderCount()); });
        list.setSortState(true, sortKey, sortOrder);
        estimating.join();
        applyWidths(list, meter, candidates);
    } else {
        list.setSortState(true, sortKey, sortOrder);
    }
    list.setVisible(true);
    return count;
}

void ListFiller::resizeColumns(ListView& list, QWidget& caller) {
    if (list.itemCount() == 0) {
        return;
    }
    const WidthMeter meter(caller.font());
    applyWidths(list, meter, widestCandidates(meter, list.cells(), list.columnHeaderCount()));
}

void ListFiller::sortByColumn(ListView& list, std::int16_t column) {
    list.setSortState(true, column - 1,
                      list.sortOrder() == Qt::AscendingOrder ? Qt::DescendingOrder
                                                             : Qt::AscendingOrder);
}

void ListFiller::destroyColumns(std::unique_ptr<ColumnList>& list) {
    if (list) {
        while (!list->empty()) {
            list->pop_back();
        }
    }
    list.reset();
}
