#include "gui/lists/ListFiller.h"

#include "core/AppError.h"
#include "core/db/Connection.h"
#include "core/db/JetDate.h"
#include "core/db/Recordset.h"
#include "core/search/TextColumn.h"
#include "core/text/FieldText.h"
#include "core/text/RecordNumber.h"
#include "gui/dialogs/ErrorBox.h"
#include "gui/lists/ListView.h"
#include "gui/widgets/ProgressWindow.h"

#include <QFontMetrics>
#include <QHash>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <typeinfo>

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

// Widths are first estimated from per-character advances read once, without font code; only
// the widest few are then measured exactly.
class WidthMeter {
public:
    explicit WidthMeter(const QFont& font)
        : m_metrics(font), m_advance(0x10000, narrow(m_metrics.maxWidth())) {
        for (char16_t u = 0; u < kMeasured; ++u) {
            m_advance[u] = narrow(m_metrics.horizontalAdvance(QChar(u)));
        }
    }

    // One table look-up a character: a hundred thousand rows hold millions of them.
    int estimate(QStringView text) const {
        int w = 0;
        for (const char16_t *c = text.utf16(), *end = c + text.size(); c != end; ++c) {
            w += m_advance[*c];
        }
        return w;
    }
    int exact(const QString& text) const { return m_metrics.horizontalAdvance(text); }

private:
    // Latin letters with their accents; any other character counts as the widest.
    static constexpr char16_t kMeasured = 0x250;
    static std::uint8_t narrow(int advance) {
        return static_cast<std::uint8_t>(std::clamp(advance, 0, 255));
    }

    QFontMetrics m_metrics;
    std::vector<std::uint8_t> m_advance;
};

// Fits every column to its widest text, header included.
void fitColumns(ListView& list, const WidthMeter& meter) {
    const ListCells cells = list.cells();
    const int rows = cells.rowCount();
    std::vector<std::pair<int, int>> estimates(static_cast<size_t>(rows));
    for (int c = 0; c < cells.columnCount() && c < list.columnHeaderCount(); ++c) {
        for (int r = 0; r < rows; ++r) {
            estimates[static_cast<size_t>(r)] = {meter.estimate(cells.view(r, c)), r};
        }
        const auto measured =
            estimates.begin() + static_cast<long>(std::min(kMeasuredCandidates, estimates.size()));
        std::partial_sort(estimates.begin(), measured, estimates.end(),
                          [](const auto& a, const auto& b) { return a.first > b.first; });
        int widest = meter.exact(list.columnHeaderText(c));
        for (auto e = estimates.begin(); e != measured; ++e) {
            widest = std::max(widest, meter.exact(cells.text(e->second, c)));
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
        ListCells cells(fields);
        cells.reserve(static_cast<int>(rs.recordCount()));
        const ShortDateFormatter dates;
        DateKeys dateKeys;
        std::vector<std::vector<double>*> dayNumbers(static_cast<size_t>(fields), nullptr);
        for (int i = 1; i < fields; ++i) {
            if (rs.isDateField(i)) {
                dayNumbers[i] = &dateKeys[i];
                dayNumbers[i]->reserve(static_cast<size_t>(rs.recordCount()));
            }
        }
        // The descriptors that change what they show; plain text columns need no copy.
        std::vector<const ColumnDescriptor*> changing(static_cast<size_t>(fields), nullptr);
        for (int i = 1; i < fields; ++i) {
            const ColumnDescriptor* d = map[i] >= 0 ? (*colDisplay)[map[i]].get() : nullptr;
            changing[i] = d && typeid(*d) != typeid(TextColumn) ? d : nullptr;
        }
        for (; !rs.atEnd(); rs.moveNext()) {
            cells.append(0, formatRecordNumber(rs.peek(0)));
            for (int i = 1; i < fields; ++i) {
                // Taken, not copied: each text is freed once listed, which keeps the peak low.
                const QVariant v = rs.take(i);
                if (dayNumbers[i]) {
                    dayNumbers[i]->push_back(dayNumberOf(v));
                }
                if (v.typeId() == QMetaType::QString && !changing[i]) {
                    cells.append(i, *static_cast<const QString*>(v.constData()));
                    continue;
                }
                QString text;
                if (v.typeId() == QMetaType::QString) {
                    text = *static_cast<const QString*>(v.constData());
                } else if (rs.isDateField(i) && v.typeId() == QMetaType::Double) {
                    text = dates.dayNumberText(v.toDouble());
                } else {
                    text = fieldText(v);
                }
                cells.append(i, changing[i] ? changing[i]->displayValue(text) : text);
            }
            ProgressWindow::instance().increment();
        }
        count = rs.recordCount();
        list.setItems(std::move(cells), std::move(dateKeys));
    }
    rs.close();
    connection.close();

    list.setSortState(true, sortKey, sortOrder);
    if (list.itemCount() > 0) {
        fitColumns(list, WidthMeter(caller.font()));
    }
    list.setVisible(true);
    return count;
}

void ListFiller::resizeColumns(ListView& list, QWidget& caller) {
    if (list.itemCount() == 0) {
        return;
    }
    fitColumns(list, WidthMeter(caller.font()));
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
