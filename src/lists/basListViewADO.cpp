#include "basListViewADO.h"

#include "ListView.h"
#include "app/Session.h"
#include "common/AppError.h"
#include "common/ErrorBox.h"
#include "common/FieldText.h"
#include "common/RecordNumber.h"
#include "common/frmProgressBar.h"
#include "storage/Connection.h"
#include "storage/Recordset.h"

#include <QFontMetrics>
#include <QHash>
#include <QWidget>
#include <algorithm>
#include <array>

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
            if ((*colDisplay)[d]->sSourceFieldName().compare(name, Qt::CaseInsensitive) == 0) {
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
        out << (map[i] >= 0 ? (*colDisplay)[map[i]]->sDisplayName() : rs.fieldName(i));
    }
    return out;
}

class WidthMeter {
public:
    explicit WidthMeter(const QFont& font) : m_metrics(font) {}

    int estimate(const QString& text) {
        int w = 0;
        for (QChar c : text) {
            const char16_t u = c.unicode();
            if (u < kCached) {
                if (m_latin[u] < 0) {
                    m_latin[u] = m_metrics.horizontalAdvance(c);
                }
                w += m_latin[u];
                continue;
            }
            auto it = m_advance.constFind(c);
            if (it == m_advance.constEnd()) {
                it = m_advance.insert(c, m_metrics.horizontalAdvance(c));
            }
            w += *it;
        }
        return w;
    }
    int exact(const QString& text) const { return m_metrics.horizontalAdvance(text); }

private:
    static constexpr char16_t kCached = 0x250;
    QFontMetrics m_metrics;
    std::array<int, kCached> m_latin = filled();
    QHash<QChar, int> m_advance;

    static std::array<int, kCached> filled() {
        std::array<int, kCached> a;
        a.fill(-1);
        return a;
    }
};

int widestText(WidthMeter& meter, const ListView& list, int column) {
    std::vector<std::pair<int, int>> estimates; // (estimate, row)
    estimates.reserve(list.itemCount());
    for (int r = 0; r < list.itemCount(); ++r) {
        estimates.emplace_back(meter.estimate(list.itemText(r, column)), r);
    }
    const size_t n = std::min(kMeasuredCandidates, estimates.size());
    std::partial_sort(estimates.begin(), estimates.begin() + static_cast<long>(n), estimates.end(),
                      [](const auto& a, const auto& b) { return a.first > b.first; });
    int widest = 0;
    for (size_t i = 0; i < n; ++i) {
        widest = std::max(widest, meter.exact(list.itemText(estimates[i].second, column)));
    }
    return widest;
}

} // namespace

std::int32_t lFillListViewADO(ListView& list, const QString& query, QWidget& caller,
                              const QString& title, const ColumnList* colDisplay) {
    ReloadDatabasePassword();
    Connection connection;
    Recordset rs;
    try {
        connection.Open(sListConnection());
        rs.Open(query, connection, Recordset::adOpenStatic, Recordset::adLockReadOnly);
    } catch (const AppError& e) {
        ShowErrorBox(u"lFillListViewADO"_s, e);
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
    if (rs.RecordCount() > 0) {
        const std::vector<int> map = fieldMap(rs, colDisplay);
        list.setColumnHeaders(headers(rs, map, colDisplay));
        frmProgressBar::instance().ProgressBarInitialize(1, rs.RecordCount(), title, &caller);
        const int fields = rs.fieldCount();
        std::vector<QString> cells;
        cells.reserve(static_cast<size_t>(rs.RecordCount()) * fields);
        const ShortDateFormatter dates;
        for (; !rs.isEOF(); rs.MoveNext()) {
            cells.push_back(sFormatRecordNumber(rs.peek(0)));
            for (int i = 1; i < fields; ++i) {
                const QVariant& v = rs.peek(i);
                QString text = rs.isDateField(i) && v.typeId() == QMetaType::Double
                                   ? dates.dayNumberText(v.toDouble())
                                   : sFieldText(v);
                cells.push_back(map[i] >= 0 ? (*colDisplay)[map[i]]->sReturnValue(text)
                                            : std::move(text));
            }
            frmProgressBar::instance().ProgressBarIncrement();
        }
        count = rs.RecordCount();
        list.setItems(std::move(cells));
    }
    rs.Close();
    connection.Close();

    list.setSortState(true, sortKey, sortOrder);
    ResizeColumns(list, caller);
    list.setVisible(true);
    return count;
}

void ResizeColumns(ListView& list, QWidget& caller) {
    if (list.itemCount() == 0) {
        return;
    }
    WidthMeter meter(caller.font());
    for (int c = 0; c < list.columnHeaderCount(); ++c) {
        const int header = meter.exact(list.columnHeaderText(c));
        list.setColumnWidth(c, std::max(header, widestText(meter, list, c)) + kColumnPadding);
    }
}

void SortListView(ListView& list, std::int16_t column) {
    list.setSortState(true, column - 1,
                      list.sortOrder() == Qt::AscendingOrder ? Qt::DescendingOrder
                                                             : Qt::AscendingOrder);
}

void DestroyCollection(std::unique_ptr<ColumnList>& list) {
    if (list) {
        while (!list->empty()) {
            list->pop_back();
        }
    }
    list.reset();
}
