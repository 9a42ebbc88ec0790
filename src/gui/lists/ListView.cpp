#include "gui/lists/ListView.h"

#include "gui/lists/ListModel.h"

#include <QHeaderView>
#include <QItemSelectionModel>

ListView::ListView(QWidget* parent) : QTreeView(parent), m_model(new ListModel(this)) {
    setModel(m_model);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setSectionsClickable(true);
    header()->setSectionsMovable(false);
    header()->setStretchLastSection(false);
    connect(header(), &QHeaderView::sectionClicked, this,
            [this](int section) { emit columnClicked(section + 1); });
}

void ListView::setColumnHeaders(const QStringList& headers) {
    m_model->setHeaders(headers);
    showSortIndicator();
}

int ListView::columnHeaderCount() const {
    return static_cast<int>(m_model->headers().size());
}

QString ListView::columnHeaderText(int column) const {
    return m_model->headers().value(column);
}

void ListView::clearAll() {
    m_model->clear();
}

void ListView::setItems(ListCells cells, DateKeys dateKeys) {
    m_model->setCells(std::move(cells), std::move(dateKeys));
    resort();
}

int ListView::itemCount() const {
    return m_model->rows();
}

ListCells ListView::cells() const {
    return m_model->cells();
}

QString ListView::itemText(int row, int column) const {
    return m_model->text(row, column);
}

void ListView::setSortState(bool on, int column, Qt::SortOrder order) {
    m_sorted = on;
    m_sortKey = column;
    m_sortOrder = order;
    resort();
}

void ListView::resort() {
    if (m_sorted) {
        m_model->sortRows(m_sortKey, m_sortOrder);
    }
    showSortIndicator();
}

void ListView::showSortIndicator() {
    header()->setSortIndicatorShown(m_sorted && m_sortKey < columnHeaderCount());
    header()->setSortIndicator(m_sortKey, m_sortOrder);
}

int ListView::selectedRow() const {
    const QModelIndex current = selectionModel()->currentIndex();
    if (current.isValid() && selectionModel()->isRowSelected(current.row(), {})) {
        return current.row();
    }
    const std::vector<int> rows = selectedRows();
    return rows.empty() ? -1 : rows.front();
}

std::vector<int> ListView::selectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows()) {
        rows.push_back(index.row());
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

void ListView::selectRow(int row) {
    const QModelIndex index = m_model->index(row, 0);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                 QItemSelectionModel::Rows);
}

void ListView::selectRows(const std::vector<int>& rows) {
    QItemSelection selection;
    for (int row : rows) {
        selection.select(m_model->index(row, 0), m_model->index(row, 0));
    }
    selectionModel()->select(selection,
                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    if (!rows.empty()) {
        selectionModel()->setCurrentIndex(m_model->index(rows.front(), 0),
                                          QItemSelectionModel::NoUpdate);
    }
}

void ListView::setAllSelected(bool selected) {
    if (selected) {
        selectAll();
    } else {
        clearSelection();
    }
}
