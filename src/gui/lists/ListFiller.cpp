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
#include <optional>
#include <typeinfo>
#include <unordered_map>

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

// The descriptors that change what they show; plain text columns need no copy.
std::vector<const ColumnDescriptor*> changingDescriptors(const std::vector<int>& map,
                                                         const ColumnList* colDisplay) {
    std::vector<const ColumnDescriptor*> changing(map.size(), nullptr);
    for (size_t i = 1; i < map.size(); ++i) {
        const ColumnDescriptor* d = map[i] >= 0 ? (*colDisplay)[map[i]].get() : nullptr;
        changing[i] = d && typeid(*d) != typeid(TextColumn) ? d : nullptr;
    }
    return changing;
}

// A result as read before the list is built. Plain text columns are decoded straight into their
// cells as the statement is stepped, so no string is made and freed per cell; the record
// number, the dates and the columns a descriptor changes keep their values for the pass that
// shows progress.
struct ReadRows {
    ListCells cells;
    std::vector<int> later;
    std::vector<QVariant> laterValues; // row after row, one per column of `later`
    std::int32_t count = 0;
};

ReadRows readRows(Recordset& rs, const std::vector<const ColumnDescriptor*>& changing) {
    const int fields = rs.fieldCount();
    ReadRows read{ListCells(fields), {}, {}, 0};
    std::vector<int> plain;
    for (int i = 0; i < fields; ++i) {
        (i == 0 || rs.isDateField(i) || changing[i] ? read.later : plain).push_back(i);
    }
    for (; !rs.atEnd(); rs.moveNext()) {
        for (const int i : plain) {
            if (const std::optional<QUtf8StringView> text = rs.utf8Text(i)) {
                read.cells.appendUtf8(i, *text);
            } else {
                read.cells.append(i, fieldText(rs.rawValue(i)));
            }
        }
        for (const int i : read.later) {
            read.laterValues.push_back(rs.rawValue(i));
        }
        ++read.count;
    }
    return read;
}

// Day numbers as the list shows them. Dates repeat from record to record, so each is written
// out once, up to a bound: dates with a time of day seldom repeat.
class DayTexts {
public:
    const QString& text(double dayNumber) {
        if (const auto it = m_texts.find(dayNumber); it != m_texts.end()) {
            return it->second;
        }
        if (m_texts.size() >= kKept) {
            m_last = m_dates.dayNumberText(dayNumber);
            return m_last;
        }
        return m_texts.emplace(dayNumber, m_dates.dayNumberText(dayNumber)).first->second;
    }

private:
    static constexpr size_t kKept = 4096;
    const ShortDateFormatter m_dates;
    std::unordered_map<double, QString> m_texts;
    QString m_last;
};

// Writes the record numbers, dates and changed texts into the cells, one row a progress step.
DateKeys fillLaterColumns(ReadRows& read, const Recordset& rs,
                          const std::vector<const ColumnDescriptor*>& changing) {
    DayTexts dates;
    DateKeys dateKeys;
    for (const int i : read.later) {
        if (i > 0 && rs.isDateField(i)) {
            dateKeys[i].reserve(static_cast<size_t>(read.count));
        }
    }
    const size_t width = read.later.size();
    for (size_t row = 0; row < static_cast<size_t>(read.count); ++row) {
        for (size_t k = 0; k < width; ++k) {
            const int i = read.later[k];
            const QVariant v = std::move(read.laterValues[row * width + k]);
            if (i == 0) {
                read.cells.append(0, formatRecordNumber(v));
                continue;
            }
            const bool isDate = rs.isDateField(i);
            if (isDate) {
                dateKeys[i].push_back(dayNumberOf(v));
            }
            QString text;
            if (v.typeId() == QMetaType::QString) {
                text = *static_cast<const QString*>(v.constData());
            } else if (isDate && v.typeId() == QMetaType::Double) {
                text = dates.text(v.toDouble());
            } else {
                text = fieldText(v);
            }
            read.cells.append(i, changing[i] ? changing[i]->displayValue(text) : text);
        }
        ProgressWindow::instance().increment();
    }
    return dateKeys;
}

} // namespace

std::int32_t ListFiller::fill(ListView& list, const DatabaseLocation& location,
                              const QString& query, QWidget& caller, const QString& title,
                              const ColumnList* colDisplay) {
    Connection connection;
    Recordset rs;
    std::vector<int> map;
    std::vector<const ColumnDescriptor*> changing;
    ReadRows read;
    try {
        connection.open(location, Connection::Mode::Read);
        // Streamed: the rows go straight into the list's cells, never held twice.
        rs.open(query, connection, Recordset::ForwardOnly, Recordset::ReadOnlyLock);
        map = fieldMap(rs, colDisplay);
        changing = changingDescriptors(map, colDisplay);
        read = readRows(rs, changing);
    } catch (const AppError& e) {
        showErrorBox(u"lFillListViewADO"_s, e);
        list.clearAll();
        list.setVisible(true);
        return 0;
    }
    connection.close();
    list.setVisible(false);
    const int sortKey = list.sortKey();
    const Qt::SortOrder sortOrder = list.sortOrder();
    list.setSortState(false, 0, Qt::AscendingOrder);
    list.clearAll();

    if (read.count > 0) {
        list.setColumnHeaders(headers(rs, map, colDisplay));
        ProgressWindow::instance().start(1, read.count, title, &caller);
        DateKeys dateKeys = fillLaterColumns(read, rs, changing);
        read.laterValues = {};
        list.setItems(std::move(read.cells), std::move(dateKeys));
    }
    rs.close();

    list.setSortState(true, sortKey, sortOrder);
    if (list.itemCount() > 0) {
        fitColumns(list, WidthMeter(caller.font()));
    }
    list.setVisible(true);
    return read.count;
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
