#include "pages/ListFilter.h"

#include "pages/StoreTableModel.h"

#include <QCollator>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QTableView>

#include <algorithm>

ListFilter* ListFilter::attach(StoreTableModel* model, QTableView* view, QLineEdit* find) {
    auto* filter = new ListFilter(view);
    filter->setSourceModel(model);
    filter->setFilterKeyColumn(-1);
    filter->setFilterCaseSensitivity(Qt::CaseInsensitive);
    model->attach(view, filter);
    // The store's order until a header is clicked.
    view->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    view->setSortingEnabled(true);
    QObject::connect(find, &QLineEdit::textChanged, filter,
                     [filter](const QString& text) { filter->setFilterFixedString(text); });
    return filter;
}

bool ListFilter::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    // Numbers in their numeric order ("9" before "10"), texts as people sort them.
    const QString a = left.data().toString();
    const QString b = right.data().toString();
    bool aIsNumber = false;
    bool bIsNumber = false;
    const qlonglong aNumber = a.toLongLong(&aIsNumber);
    const qlonglong bNumber = b.toLongLong(&bIsNumber);
    if (aIsNumber && bIsNumber)
        return aNumber < bNumber;
    static const QCollator collator = [] {
        QCollator c;
        c.setNumericMode(true);
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return collator.compare(a, b) < 0;
}

namespace qv {

int storeRow(const QTableView* view, const QModelIndex& index) {
    if (!index.isValid())
        return -1;
    if (const auto* proxy = qobject_cast<const QAbstractProxyModel*>(view->model()))
        return proxy->mapToSource(index).row();
    return index.row();
}

std::vector<int> storeRows(const QTableView* view) {
    std::vector<int> rows;
    for (const QModelIndex& index : view->selectionModel()->selectedRows())
        rows.push_back(storeRow(view, index));
    std::sort(rows.begin(), rows.end());
    return rows;
}

int selectedStoreRow(const QTableView* view) {
    const QModelIndexList selected = view->selectionModel()->selectedRows();
    return selected.size() == 1 ? storeRow(view, selected.first()) : -1;
}

} // namespace qv
