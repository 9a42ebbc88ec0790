#include "ListViewModel.h"

#include "storage/JetDialect.h"

#include <algorithm>
#include <numeric>

int ListViewModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int ListViewModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_headers.size());
}

QVariant ListViewModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid()) {
        return {};
    }
    return text(index.row(), index.column());
}

QVariant ListViewModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= m_headers.size()) {
        return {};
    }
    return m_headers.at(section);
}

QString ListViewModel::text(int row, int column) const {
    if (row < 0 || row >= static_cast<int>(m_rows.size())) {
        return {};
    }
    return m_rows[row].value(column);
}

void ListViewModel::clear() {
    beginResetModel();
    m_headers.clear();
    m_rows.clear();
    endResetModel();
}

void ListViewModel::setHeaders(const QStringList& headers) {
    beginResetModel();
    m_headers = headers;
    endResetModel();
}

void ListViewModel::setRows(std::vector<QStringList> rows) {
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

void ListViewModel::sortRows(int column, Qt::SortOrder order) {
    if (column < 0 || column >= m_headers.size() || m_rows.size() < 2) {
        return;
    }
    std::vector<QString> keys(m_rows.size());
    for (size_t i = 0; i < m_rows.size(); ++i) {
        keys[i] = JetDialect::sortKey(m_rows[i].value(column));
    }
    std::vector<size_t> order_(m_rows.size());
    std::iota(order_.begin(), order_.end(), 0);
    std::stable_sort(order_.begin(), order_.end(), [&](size_t a, size_t b) {
        return order == Qt::AscendingOrder ? keys[a] < keys[b] : keys[b] < keys[a];
    });
    std::vector<QStringList> sorted;
    sorted.reserve(m_rows.size());
    for (size_t i : order_) {
        sorted.push_back(std::move(m_rows[i]));
    }
    beginResetModel();
    m_rows = std::move(sorted);
    endResetModel();
}
