// The list model over a store table, checked by Qt's model tester while the table grows,
// shrinks and empties, and as a view sees it: texts from the store, selections kept by row.

#include "pages/StoreTableModel.h"
#include "pages/ControlFactory.h"
#include "tests/support/ListProbe.h"

#include <QAbstractItemModelTester>
#include <QColor>
#include <QTableView>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

// A stand-in for one of the store's tables: its rows and a count that may lag behind them.
struct Rows {
    std::vector<QString> names;
    int count = 0;
};

StoreTableModel* modelOver(Rows& rows) {
    return new StoreTableModel(
        {{QStringLiteral("No."), 40}, {QStringLiteral("Name"), 120}},
        [&rows] { return rows.count; },
        [&rows](int row) {
            return QStringList{QString::number(row + 1), rows.names.at(row)};
        });
}

TEST(StoreTableModel, FollowsTheStoreThroughEveryChangeAndKeepsTheChosenRow) {
    Rows rows;
    const std::unique_ptr<QTableView> owner(
        qv::controls::listView(1, QStringLiteral("List"), "list"));
    QTableView& view = *owner;
    StoreTableModel* model = modelOver(rows);
    model->setParent(&view);
    QAbstractItemModelTester tester(model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    model->attach(&view);
    view.resize(300, 400);
    view.show();
    qvtest::ListProbe list(&view);

    EXPECT_EQ(list.header(1), QStringLiteral("Name"));
    EXPECT_EQ(list.columnWidth(1), 120);
    EXPECT_EQ(list.rowCount(), 0);

    struct Step {
        int count;
        int expectedRows;
    };
    // Grow to the largest list, shrink, empty and grow again.
    const std::vector<Step> steps{{3, 3}, {2048, 2048}, {5, 5}, {0, 0}, {4, 4}};
    for (const Step& step : steps) {
        rows.names.clear();
        for (int i = 0; i < step.count; ++i)
            rows.names.push_back(QStringLiteral("pc-%1").arg(i));
        rows.count = step.count;
        model->reload();
        ASSERT_EQ(list.rowCount(), step.expectedRows) << step.count;
        if (step.count > 0) {
            EXPECT_EQ(list.cell(step.count - 1, 1), QStringLiteral("pc-%1").arg(step.count - 1));
        }
    }

    // A chosen row stays chosen while it exists; an edit shows at once.
    list.click(2);
    ASSERT_EQ(list.selectedRows(), QList<int>{2});
    rows.names[2] = QStringLiteral("renamed");
    model->reload();
    EXPECT_EQ(list.selectedRows(), QList<int>{2});
    EXPECT_EQ(list.cell(2, 1), QStringLiteral("renamed"));
}

TEST(StoreTableModel, RowsTheStoreNoLongerHoldsReadEmptyUntilReload) {
    Rows rows{{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}, 3};
    StoreTableModel model(
        {{QStringLiteral("No."), 40}, {QStringLiteral("Name"), 80}}, [&rows] { return rows.count; },
        [&rows](int row) {
            return QStringList{QString::number(row + 1), rows.names.at(row)};
        });
    ASSERT_EQ(model.rowCount(), 3);
    // The store shrank while a question ran the event loop; the view may still paint row 2.
    rows.names.resize(1);
    rows.count = 1;
    EXPECT_EQ(model.index(2, 1).data().toString(), QString());
    EXPECT_EQ(model.index(0, 1).data().toString(), QStringLiteral("a"));
    model.reload();
    EXPECT_EQ(model.rowCount(), 1);
}

} // namespace

namespace {

TEST(StoreTableModel, ARowsOwnRolesComeFromItsEntryTheRestFromTheModel) {
    // Rows marked in the stand-in table are styled, whatever their texts say.
    Rows rows{{QStringLiteral("plain"), QStringLiteral("marked"), QStringLiteral("marked")}, 3};
    const std::vector<bool> marked{false, true, false};
    std::unique_ptr<StoreTableModel> model(modelOver(rows));
    QAbstractItemModelTester tester(model.get(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal);
    model->setRowRole([&marked](int row, int role) -> QVariant {
        if (role == Qt::BackgroundRole)
            return marked.at(static_cast<size_t>(row)) ? QColor(Qt::red) : QColor(Qt::white);
        return {};
    });
    struct Case {
        int row;
        int role;
        QVariant expected;
    };
    const std::vector<Case> cases{
        {0, Qt::BackgroundRole, QColor(Qt::white)},
        {1, Qt::BackgroundRole, QColor(Qt::red)},
        {2, Qt::BackgroundRole, QColor(Qt::white)},
        // The texts are the rows' own, never the hook's.
        {1, Qt::DisplayRole, QStringLiteral("marked")},
        // A role the hook leaves alone keeps the model's answer.
        {1, Qt::TextAlignmentRole,
         QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter))},
    };
    for (const Case& c : cases)
        EXPECT_EQ(model->index(c.row, 1).data(c.role), c.expected) << c.row << " " << c.role;

    // A row the store no longer holds is not asked about until reload.
    rows.count = 1;
    EXPECT_FALSE(model->index(2, 1).data(Qt::BackgroundRole).isValid());
}

} // namespace
