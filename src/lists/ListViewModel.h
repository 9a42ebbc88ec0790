#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <vector>

// The rows of a result list: texts only, one string list per row, the first being the item's.
class ListViewModel : public QAbstractTableModel {
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void clear();
    void setHeaders(const QStringList& headers);
    void setRows(std::vector<QStringList> rows);
    const QStringList& headers() const { return m_headers; }
    const std::vector<QStringList>& rows() const { return m_rows; }
    QString text(int row, int column) const;

    // Orders the rows by one column's text, letter case and accents aside.
    void sortRows(int column, Qt::SortOrder order);

private:
    QStringList m_headers;
    std::vector<QStringList> m_rows;
};
