// The find box and the column sort over a store list, checked by Qt's model tester while the
// table changes, and the way back from what the operator sees to the store's slots.

#include "pages/ListFilter.h"
#include "pages/ControlFactory.h"
#include "pages/StoreTableModel.h"
#include "tests/support/ListProbe.h"

#include <QAbstractItemModelTester>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableView>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

struct Entry {
    QString number;
    QString name;
};

class ListFilterModel : public ::testing::Test {
protected:
    void SetUp() override {
        view.reset(qv::controls::listView(1, QStringLiteral("List"), "list"));
        find = new QLineEdit(view.get());
        model = new StoreTableModel(
            {{QStringLiteral("No."), 40}, {QStringLiteral("Name"), 120}},
            [this] { return static_cast<int>(entries.size()); },
            [this](int row) {
                const Entry& e = entries.at(static_cast<size_t>(row));
                return QStringList{e.number, e.name};
            },
            view.get());
        filter = ListFilter::attach(model, view.get(), find);
        view->setSelectionMode(QAbstractItemView::ExtendedSelection);
        tester = std::make_unique<QAbstractItemModelTester>(
            filter, QAbstractItemModelTester::FailureReportingMode::Fatal);
        view->resize(300, 400);
        view->show();
    }
    void set(std::vector<Entry> next) {
        entries = std::move(next);
        model->reload();
    }
    // The names in the order the view shows them.
    QStringList shown() const {
        QStringList names;
        for (int row = 0; row < filter->rowCount(); ++row)
            names.append(filter->index(row, 1).data().toString());
        return names;
    }
    void sortBy(int column, Qt::SortOrder order) {
        view->horizontalHeader()->setSortIndicator(column, order);
    }

    std::vector<Entry> entries;
    std::unique_ptr<QTableView> view;
    QLineEdit* find = nullptr;
    StoreTableModel* model = nullptr;
    ListFilter* filter = nullptr;
    std::unique_ptr<QAbstractItemModelTester> tester;
};

// "a|b|c" as the list of names it spells.
QStringList names(const char* spelled) {
    return QString::fromLatin1(spelled).split(QLatin1Char('|'), Qt::SkipEmptyParts);
}

const std::vector<Entry> kEntries{{QStringLiteral("10"), QStringLiteral("gate")},
                                  {QStringLiteral("9"), QStringLiteral("Lobby")},
                                  {QStringLiteral("-3"), QStringLiteral("pump 2")},
                                  {QStringLiteral("100"), QStringLiteral("pump 10")},
                                  {QStringLiteral("x1"), QStringLiteral("Attic")}};

TEST_F(ListFilterModel, SortsNumbersByValueAndTextsAsPeopleDoFilteringEveryColumn) {
    set(kEntries);
    // The store's order until a header is clicked.
    EXPECT_EQ(shown(), names("gate|Lobby|pump 2|pump 10|Attic"));

    struct Case {
        const char* find;
        int column;
        Qt::SortOrder order;
        const char* expected;
    };
    const std::vector<Case> cases{
        // Numbers by value, a text among them after them.
        {"", 0, Qt::AscendingOrder, "pump 2|Lobby|gate|pump 10|Attic"},
        {"", 0, Qt::DescendingOrder, "Attic|pump 10|gate|Lobby|pump 2"},
        // Texts without regard to case, the numbers inside them by value.
        {"", 1, Qt::AscendingOrder, "Attic|gate|Lobby|pump 2|pump 10"},
        // The find box matches any column, in any case, and keeps the order.
        {"PUMP", 1, Qt::AscendingOrder, "pump 2|pump 10"},
        {"10", 1, Qt::AscendingOrder, "gate|pump 10"},
        {"nothing", 1, Qt::AscendingOrder, ""},
    };
    for (const Case& c : cases) {
        find->setText(QString::fromLatin1(c.find));
        sortBy(c.column, c.order);
        EXPECT_EQ(shown(), names(c.expected)) << c.find << " " << c.column;
    }
}

TEST_F(ListFilterModel, WhatTheOperatorChoseNamesItsSlotThroughSortFilterAndChange) {
    set(kEntries);
    sortBy(1, Qt::AscendingOrder); // Attic, gate, Lobby, pump 2, pump 10
    qvtest::ListProbe list(view.get());
    EXPECT_EQ(qv::storeRow(view.get(), QModelIndex()), -1);
    EXPECT_EQ(qv::storeRow(view.get(), filter->index(0, 0)), 4);
    EXPECT_EQ(qv::selectedStoreRow(view.get()), -1);

    list.click(3); // pump 2
    EXPECT_EQ(qv::selectedStoreRow(view.get()), 2);
    list.click(0, Qt::ControlModifier); // and Attic
    EXPECT_EQ(qv::storeRows(view.get()), (std::vector<int>{2, 4}));
    // Several chosen: no single row.
    EXPECT_EQ(qv::selectedStoreRow(view.get()), -1);

    // Filtered, the rows still name their slots.
    find->setText(QStringLiteral("pump"));
    list.click(1); // pump 10
    EXPECT_EQ(qv::selectedStoreRow(view.get()), 3);

    // The table grows and shrinks under the filter; the model tester watches every step.
    std::vector<Entry> more = kEntries;
    more.push_back({QStringLiteral("7"), QStringLiteral("pump 7")});
    set(more);
    EXPECT_EQ(shown(), names("pump 2|pump 7|pump 10"));
    EXPECT_EQ(qv::storeRow(view.get(), filter->index(1, 0)), 5);
    set({kEntries[3]});
    EXPECT_EQ(shown(), names("pump 10"));
    EXPECT_EQ(qv::storeRow(view.get(), filter->index(0, 0)), 0);
    set({});
    EXPECT_EQ(filter->rowCount(), 0);
    EXPECT_TRUE(qv::storeRows(view.get()).empty());
}

TEST(FindBox, ItsClearButtonEmptiesIt) {
    const std::unique_ptr<QLineEdit> find(qv::controls::findBox(7, "find"));
    QTest::keyClicks(find.get(), QStringLiteral("10.0"));
    auto* clear = find->findChild<QToolButton*>();
    ASSERT_NE(clear, nullptr);
    clear->click();
    EXPECT_TRUE(find->text().isEmpty());
}

} // namespace
