#pragma once

#include "gui/lists/ListCells.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <map>
#include <vector>

// Day numbers of the cells of the date columns, by column, in the order the rows were given.
using DateKeys = std::map<int, std::vector<double>>;

// The rows of a result list, as texts, and the order in which the rows are shown.
class ListModel : public QAbstractTableModel {
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void clear();
    void setHeaders(const QStringList& headers);
    // One column of cells per header; a date column may come with the day number of each of its
    // cells (NaN where empty), by which it then sorts.
    void setCells(ListCells cells, DateKeys dateKeys = {});
    const QStringList& headers() const { return m_headers; }
    int rows() const { return static_cast<int>(m_order.size()); }
    // Every cell, rows in the order they were given; a copy that shares the texts.
    ListCells cells() const { return m_cells; }
    // The text of a shown row, "" outside the list.
    QString text(int row, int column) const;

    // Orders the rows by one column's text, letter case and accents aside, or by date.
    void sortRows(int column, Qt::SortOrder order);

private:
    bool sortByDate(int column, Qt::SortOrder order, std::vector<int>& positions) const;
    // Sorts positions, given in order, by `before`; false when they were in order already.
    template <typename Before>
    static bool sortAfterOrderedPart(std::vector<int>& positions, const Before& before);
    QStringView shown(int row, int column) const {
        return m_cells.view(m_order[static_cast<size_t>(row)], column);
    }

    QStringList m_headers;
    ListCells m_cells;
    std::vector<int> m_order;
    DateKeys m_dateKeys;
};
