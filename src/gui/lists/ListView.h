#pragma once

#include "gui/lists/ListModel.h"

#include <QTreeView>
#include <vector>

// A list in report view: column headers with widths, rows of texts, and a sort state (automatic
// sorting on or off, a sort column counted from 0, a direction). A header click is reported,
// not acted on, so the window decides how to sort.
class ListView : public QTreeView {
    Q_OBJECT

public:
    explicit ListView(QWidget* parent = nullptr);

    // Column headers.
    void setColumnHeaders(const QStringList& headers);
    int columnHeaderCount() const;
    QString columnHeaderText(int column) const;

    // Items: the first text of each row is the item's, the others its sub items.
    void clearAll();
    // One column of cells per column header; date columns may bring their day numbers, by which
    // they sort.
    void setItems(ListCells cells, DateKeys dateKeys = {});
    int itemCount() const;
    // The text of a shown row; a copy, still valid after the list is refilled.
    QString itemText(int row, int column) const;
    // Every cell, rows in the order they were given (not the shown order); a copy that shares
    // the texts, still valid after the list is refilled.
    ListCells cells() const;

    // Sort state: automatic sorting on or off, the column, the direction. Setting it with sorting
    // on re-sorts the rows once.
    bool sorted() const { return m_sorted; }
    int sortKey() const { return m_sortKey; }
    Qt::SortOrder sortOrder() const { return m_sortOrder; }
    void setSortState(bool on, int column, Qt::SortOrder order);

    // Selection.
    int selectedRow() const;
    std::vector<int> selectedRows() const;
    void selectRow(int row);
    // Selects exactly these rows; the first becomes the current row.
    void selectRows(const std::vector<int>& rows);
    void setAllSelected(bool selected);

signals:
    // A header was clicked; its position counted from 1.
    void columnClicked(int position);

private:
    void resort();
    void showSortIndicator();

    ListModel* m_model;
    bool m_sorted = false;
    int m_sortKey = 0;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
};
