#pragma once

// What the operator sees of a store list: the rows that contain the text of the list's find box,
// in the order of the column header last clicked (the store's order until then). Every row it
// shows still names its slot in the store: storeRow() and storeRows() map back, so Edit and
// Delete act on the entry the operator chose, however the list is filtered or sorted.

#include <QModelIndex>
#include <QSortFilterProxyModel>

#include <vector>

class QLineEdit;
class QTableView;
class StoreTableModel;

class ListFilter : public QSortFilterProxyModel {
    Q_OBJECT
public:
    // Shows `model` in `view` through a new filter owned by the view; typing in `find` filters.
    static ListFilter* attach(StoreTableModel* model, QTableView* view, QLineEdit* find);

protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    explicit ListFilter(QObject* parent) : QSortFilterProxyModel(parent) {}
};

namespace qv {

// The store's row behind `index` of `view` (filtered or not); -1 for an invalid index.
int storeRow(const QTableView* view, const QModelIndex& index);
// The store's rows of the rows selected in `view`, ascending.
std::vector<int> storeRows(const QTableView* view);
// The store's row of the one row selected in `view`, or -1 when none (or several) is.
int selectedStoreRow(const QTableView* view);

} // namespace qv
