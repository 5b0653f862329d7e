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

namespace {

bool isDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// The run of digits (or of other characters) that starts at `from`.
QStringView runAt(const QString& text, qsizetype from) {
    const bool digits = isDigit(text[from]);
    qsizetype end = from;
    while (end < text.size() && isDigit(text[end]) == digits)
        ++end;
    return QStringView(text).mid(from, end - from);
}

// Compares texts run by run: digits by their value, the rest as people sort words, so "pump 2"
// comes before "pump 10" and "10.0.0.9" before "10.0.0.10". The collator's own numeric mode is
// not relied on: not every platform's collation has one.
int naturalCompare(const QString& a, const QString& b) {
    static const QCollator collator = [] {
        QCollator c;
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        const QStringView runA = runAt(a, i);
        const QStringView runB = runAt(b, j);
        i += runA.size();
        j += runB.size();
        const bool digitsA = isDigit(runA.front());
        if (digitsA != isDigit(runB.front()))
            return digitsA ? -1 : 1; // numbers before words, as in the numbers' own column
        int order = 0;
        if (digitsA) {
            // Any number of digits: without leading zeros the longer is the larger.
            const auto significant = [](QStringView run) {
                while (run.size() > 1 && run.front() == QLatin1Char('0'))
                    run = run.mid(1);
                return run;
            };
            const QStringView valueA = significant(runA);
            const QStringView valueB = significant(runB);
            order = valueA.size() != valueB.size() ? (valueA.size() < valueB.size() ? -1 : 1)
                                                   : valueA.compare(valueB);
        } else {
            order = collator.compare(runA, runB);
        }
        if (order != 0)
            return order;
    }
    return (i < a.size() ? 1 : 0) - (j < b.size() ? 1 : 0);
}

} // namespace

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
    return naturalCompare(a, b) < 0;
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
