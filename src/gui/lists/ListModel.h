#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <map>
#include <vector>

// Day numbers of the cells of the date columns, by column, in the order the rows were given.
using DateKeys = std::map<int, std::vector<double>>;

// The rows of a result list, as texts: one flat run of cells, row after row, and the order in
// which the rows are shown.
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
    // Cells row after row, as many per row as there are headers; a date column may come with
    // the day number of each of its cells (NaN where empty), by which it then sorts.
    void setCells(std::vector<QString> cells, DateKeys dateKeys = {});
    const QStringList& headers() const { return m_headers; }
    int rows() const { return static_cast<int>(m_order.size()); }
    const std::vector<QString>& cells() const { return m_cells; }
    const QString& text(int row, int column) const;

    // Orders the rows by one column's text, letter case and accents aside, or by date.
    void sortRows(int column, Qt::SortOrder order);

private:
    bool sortByDate(int column, Qt::SortOrder order, std::vector<int>& positions) const;
    // Releases a former list's texts away from the window's thread.
    static void discard(std::vector<QString> cells);

    QStringList m_headers;
    std::vector<QString> m_cells;
    std::vector<int> m_order;
    DateKeys m_dateKeys;
};
