#include "gui/lists/ListModel.h"

#include "core/db/JetDialect.h"

#include <algorithm>
#include <cmath>
#include <numeric>

int ListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows();
}

int ListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_headers.size());
}

QVariant ListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid()) {
        return {};
    }
    return text(index.row(), index.column());
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= m_headers.size()) {
        return {};
    }
    return m_headers.at(section);
}

QString ListModel::text(int row, int column) const {
    if (row < 0 || row >= rows() || column < 0 || column >= m_headers.size()) {
        return {};
    }
    return shown(row, column).toString();
}

void ListModel::clear() {
    beginResetModel();
    m_headers.clear();
    m_cells = {};
    m_order.clear();
    m_dateKeys.clear();
    endResetModel();
}

void ListModel::setHeaders(const QStringList& headers) {
    beginResetModel();
    m_headers = headers;
    m_cells = {};
    m_order.clear();
    m_dateKeys.clear();
    endResetModel();
}

void ListModel::setCells(ListCells cells, DateKeys dateKeys) {
    beginResetModel();
    // Cells laid out for other headers are not shown.
    m_cells = cells.columnCount() == m_headers.size() ? std::move(cells) : ListCells();
    m_dateKeys = std::move(dateKeys);
    m_order.resize(static_cast<size_t>(m_cells.rowCount()));
    std::iota(m_order.begin(), m_order.end(), 0);
    endResetModel();
}

bool ListModel::sortByDate(int column, Qt::SortOrder order, std::vector<int>& sorted) const {
    const auto keys = m_dateKeys.find(column);
    if (keys == m_dateKeys.end() ||
        keys->second.size() != static_cast<size_t>(m_cells.rowCount())) {
        return false;
    }
    // Dates sort as dates whatever the locale writes them as; empty cells come first.
    const std::vector<double>& day = keys->second;
    const auto key = [&](int given) { return std::isnan(day[given]) ? -1e300 : day[given]; };
    sorted = m_order;
    std::stable_sort(sorted.begin(), sorted.end(), [&](int a, int b) {
        return order == Qt::AscendingOrder ? key(a) < key(b) : key(b) < key(a);
    });
    return true;
}

template <typename Before>
bool ListModel::sortAfterOrderedPart(std::vector<int>& positions, const Before& before) {
    auto ordered = positions.begin() + (positions.empty() ? 0 : 1);
    while (ordered != positions.end() && !before(*ordered, *(ordered - 1))) {
        ++ordered;
    }
    if (ordered == positions.end()) {
        return false;
    }
    // Both stable, the rows of the ordered part first among equals: a stable sort in all.
    std::stable_sort(ordered, positions.end(), before);
    std::inplace_merge(positions.begin(), ordered, positions.end(), before);
    return true;
}

void ListModel::sortRows(int column, Qt::SortOrder order) {
    if (column < 0 || column >= m_headers.size() || m_order.size() < 2) {
        return;
    }
    std::vector<int> byDate;
    if (sortByDate(column, order, byDate)) {
        beginResetModel();
        m_order = std::move(byDate);
        endResetModel();
        return;
    }
    const auto before = [&](int a, int b) {
        const int c = JetDialect::compareText(shown(a, column), shown(b, column));
        return order == Qt::AscendingOrder ? c < 0 : c > 0;
    };
    // Rows usually arrive in order already (by record number): nothing to do then, and when only
    // the last few are out of place (record 100000 after 99999), only those are sorted and merged.
    bool inOrder = true;
    for (int r = 1; r < rows() && inOrder; ++r) {
        inOrder = !before(r, r - 1);
    }
    if (inOrder) {
        return;
    }
    std::vector<int> positions(m_order.size());
    std::iota(positions.begin(), positions.end(), 0);
    bool ascii = true;
    for (int r = 0; r < rows() && ascii; ++r) {
        ascii = JetDialect::isAsciiText(shown(r, column));
    }
    if (ascii) {
        if (!sortAfterOrderedPart(positions, before)) {
            return;
        }
    } else {
        // Accented texts compare through keys built once.
        std::vector<QString> keys(m_order.size());
        for (size_t r = 0; r < m_order.size(); ++r) {
            keys[r] = JetDialect::sortKey(shown(static_cast<int>(r), column));
        }
        const auto byKey = [&](int a, int b) {
            return order == Qt::AscendingOrder ? keys[a] < keys[b] : keys[b] < keys[a];
        };
        if (!sortAfterOrderedPart(positions, byKey)) {
            return;
        }
    }
    std::vector<int> sorted(m_order.size());
    for (size_t i = 0; i < positions.size(); ++i) {
        sorted[i] = m_order[positions[i]];
    }
    beginResetModel();
    m_order = std::move(sorted);
    endResetModel();
}
