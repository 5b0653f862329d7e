#pragma once

// Reads and clicks a list the way an operator sees it: the texts the view shows, its columns,
// and a click on a row's cell.

#include <QAbstractItemModel>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

namespace qvtest {

class ListProbe {
public:
    explicit ListProbe(QTableView* view) : m_view(view) {}

    QTableView* view() const { return m_view; }
    int rowCount() const { return m_view->model()->rowCount(); }
    int columnCount() const { return m_view->model()->columnCount(); }
    int columnWidth(int column) const { return m_view->columnWidth(column); }
    QString header(int column) const {
        return m_view->model()->headerData(column, Qt::Horizontal).toString();
    }
    QString cell(int row, int column) const {
        return m_view->model()->index(row, column).data().toString();
    }
    int currentRow() const { return m_view->currentIndex().row(); }
    // The rows selected now, in ascending order.
    QList<int> selectedRows() const {
        QList<int> rows;
        for (const QModelIndex& index : m_view->selectionModel()->selectedRows())
            rows.append(index.row());
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    // Clicks the cell in column 1 of `row` (scrolled into view first), with `modifiers` held.
    void click(int row, Qt::KeyboardModifiers modifiers = {}) const {
        const QModelIndex index = m_view->model()->index(row, 1);
        m_view->scrollTo(index);
        const QRect cell = m_view->visualRect(index);
        QTest::mouseClick(m_view->viewport(), Qt::LeftButton, modifiers, cell.center());
    }

private:
    QTableView* m_view;
};

// A column has the appliance's width, or more when its caption needs more; no width stays none.
inline void expectWidth(const QTableView* view, int column, int width) {
    if (width == 0) {
        EXPECT_EQ(view->columnWidth(column), 0) << column;
        return;
    }
    // The caption's own width, without the sort arrow's room.
    QHeaderView* header = view->horizontalHeader();
    const bool arrow = header->isSortIndicatorShown();
    header->setSortIndicatorShown(false);
    const int needed = header->sectionSizeHint(column);
    header->setSortIndicatorShown(arrow);
    EXPECT_EQ(view->columnWidth(column), std::max(width, needed)) << column;
}

} // namespace qvtest
