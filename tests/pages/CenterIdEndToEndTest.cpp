// The road of one request, whole: the real window logs on to qvsim over loopback, opens the
// center ID page, edits, applies, opens the page again and finds the appliance's table as
// expected, with a Korean name carried as code page 949 bytes.

#include "app/CQVSettingDlg.h"
#include "core/access/CenterIdRules.h"
#include "pages/QtText.h"
#include "pages/access/CCenteridDlg.h"
#include "tests/support/ListProbe.h"
#include "tests/support/WindowOnSim.h"

#include <QComboBox>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

namespace cid = qv::centerid;
using qv::StringId;

namespace {

class CenterIdEndToEnd : public qvtest::WindowOnSim {
protected:
    CCenteridDlg* page() { return static_cast<CCenteridDlg*>(window->page(Page::CenterIds)); }
    qvtest::ListProbe list() {
        return qvtest::ListProbe(in<QTableView>(page(), CCenteridDlg::kList));
    }
    void type(int id, const QString& text) { WindowOnSim::type(page(), id, text); }
    void click(int id) { WindowOnSim::click(page(), id); }
    void chooseGroup(int number) {
        QComboBox* combo = in<QComboBox>(page(), CCenteridDlg::kGroup);
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Home);
        for (int i = 1; i < number; ++i)
            QTest::keyClick(combo, Qt::Key_Down);
    }
    void selectRow(int row) { list().click(row); }
};

TEST_F(CenterIdEndToEnd, EditApplyAndReadBackFromTheAppliance) {
    const qv::sim::SimState seeded = simState();
    ASSERT_GE(seeded.centerIdCount, 2);

    openWindow();
    ASSERT_TRUE(logOn());

    // Open the center ID page: the appliance's table arrives and is listed.
    follow(1001);
    ASSERT_EQ(store.PageIndex, 3);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return list().rowCount() == seeded.centerIdCount; }, kWaitMs));

    // What the appliance should end with: the same operations on its table through the rules.
    qv::CenterIdTable expected = seeded.centerIds;
    int32_t expectedCount = seeded.centerIdCount;
    auto input = [](const char* id, const char* password, const std::string& name, int group) {
        cid::Input in;
        in.id = id;
        in.password = password;
        in.name = name;
        in.groupIndex = group - 1;
        return in;
    };
    const std::string kimCp949 = "\xB1\xE8\xC3\xB6\xBC\xF6"; // "김철수"

    // Add two entries, one with a Korean name.
    type(1016, QStringLiteral("kim"));
    type(1018, QStringLiteral("pw-kim"));
    type(1019, QStringLiteral("김철수"));
    chooseGroup(5);
    click(1014);
    cid::addEntry(expected, expectedCount, input("kim", "pw-kim", kimCp949, 5));
    type(1016, QStringLiteral("lee"));
    type(1018, QStringLiteral("pw-lee"));
    type(1019, QStringLiteral("Lee"));
    chooseGroup(6);
    click(1014);
    cid::addEntry(expected, expectedCount, input("lee", "pw-lee", "Lee", 6));
    ASSERT_EQ(list().rowCount(), expectedCount);

    // Edit the new "lee": another password and group.
    const int leeRow = expectedCount - 1;
    selectRow(leeRow);
    type(1018, QStringLiteral("new-pw"));
    chooseGroup(9);
    click(1020);
    cid::editEntry(expected, expectedCount, leeRow, input("lee", "new-pw", "Lee", 9));

    // Delete the first of the appliance's own entries.
    selectRow(0);
    click(1015);
    cid::deleteEntry(expected, expectedCount, 0);
    ASSERT_TRUE(prompt.notices().isEmpty())
        << prompt.notices().join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(page()->hasUnappliedChanges());

    // Apply: the appliance confirms with 164, and the page no longer counts edits as unapplied.
    click(1017);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return noticeShown(qv::uiText(StringId::CenterIdSet)); }, kWaitMs));
    EXPECT_FALSE(page()->hasUnappliedChanges());

    const qv::sim::SimState after = simState();
    ASSERT_EQ(after.centerIdCount, expectedCount);
    EXPECT_TRUE(cid::sameEntries(after.centerIds, after.centerIdCount, expected, expectedCount));
    const int kimRow = cid::findDuplicate(after.centerIds, after.centerIdCount, "kim");
    ASSERT_GE(kimRow, 0);
    EXPECT_EQ(after.centerIds.entry(static_cast<size_t>(kimRow)).name(), kimCp949);

    // Leave the page and come back: it asks nothing and shows the appliance's table afresh.
    follow(1000);
    ASSERT_EQ(store.PageIndex, 1);
    // Forget the table here, so that what the page shows next can only come from the appliance.
    store.centerIdTable = qv::CenterIdTable{};
    store.centerIdCount = 0;
    follow(1001);
    ASSERT_TRUE(QTest::qWaitFor([&] { return store.centerIdCount == expectedCount; }, kWaitMs));
    ASSERT_EQ(list().rowCount(), expectedCount);
    EXPECT_TRUE(prompt.questions().isEmpty());
    for (int row = 0; row < expectedCount; ++row) {
        const auto texts = cid::rowTexts(expected.entry(static_cast<size_t>(row)), row, 949);
        for (int column = 0; column < 8; ++column)
            EXPECT_EQ(list().cell(row, column), qv::fromUtf8(texts[static_cast<size_t>(column)]))
                << row << "," << column;
    }
    EXPECT_EQ(list().cell(kimRow, 3), QStringLiteral("김철수"));
}

TEST_F(CenterIdEndToEnd, EditsSurviveALostLinkAndAreAppliedAfterLoggingOnAgain) {
    const qv::sim::SimState seeded = simState();
    openWindow();
    ASSERT_TRUE(logOn());
    follow(1001);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return list().rowCount() == seeded.centerIdCount; }, kWaitMs));

    type(1016, QStringLiteral("late"));
    type(1018, QStringLiteral("pw"));
    chooseGroup(2);
    click(1014);
    ASSERT_EQ(list().rowCount(), seeded.centerIdCount + 1);
    ASSERT_TRUE(page()->hasUnappliedChanges());

    // The appliance reboots before Apply: the link ends and the logon page comes back.
    prompt.answers.push_back(true); // "Are you sure to reboot?"
    follow(1008);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return store.PageIndex == 0 && !store.isConnected(); }, kWaitMs));
    EXPECT_EQ(store.centerIdCount, seeded.centerIdCount + 1);
    const int questionsBefore = static_cast<int>(prompt.questions().size());

    // Logged on again, the page asks whether to keep the edits; Yes keeps them over the fresh
    // table, and Apply sends them.
    ASSERT_TRUE(logOn());
    prompt.answers.push_back(true);
    follow(1001);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return static_cast<int>(prompt.questions().size()) == questionsBefore + 1; },
        kWaitMs));
    EXPECT_EQ(prompt.questions().last(), qv::uiText(qv::StringId::CenterIdKeepAfterLogon));
    ASSERT_EQ(list().rowCount(), seeded.centerIdCount + 1);
    EXPECT_EQ(list().cell(seeded.centerIdCount, 1), QStringLiteral("late"));
    EXPECT_TRUE(page()->hasUnappliedChanges());
    EXPECT_EQ(simState().centerIdCount, seeded.centerIdCount);

    click(1017);
    ASSERT_TRUE(QTest::qWaitFor([&] { return noticeShown(qv::uiText(qv::StringId::CenterIdSet)); },
                                kWaitMs));
    const qv::sim::SimState after = simState();
    ASSERT_EQ(after.centerIdCount, seeded.centerIdCount + 1);
    EXPECT_EQ(after.centerIds.entry(static_cast<size_t>(seeded.centerIdCount)).id(), "late");
    EXPECT_FALSE(page()->hasUnappliedChanges());
}

TEST_F(CenterIdEndToEnd, ClosingTheWindowWithUnappliedEditsAsksFirst) {
    openWindow();
    ASSERT_TRUE(logOn());
    follow(1001);
    const int32_t seededCount = simState().centerIdCount;
    ASSERT_TRUE(QTest::qWaitFor([&] { return list().rowCount() == seededCount; }, kWaitMs));
    type(1016, QStringLiteral("pending"));
    type(1018, QStringLiteral("pw"));
    chooseGroup(1);
    click(1014);

    // Another page: asked, No stays on the center ID page with the edits.
    prompt.answers.push_back(false);
    follow(1000);
    EXPECT_EQ(store.PageIndex, 3);
    ASSERT_EQ(prompt.questions().size(), 1u);
    EXPECT_EQ(prompt.questions().last(), qv::uiText(StringId::CenterIdDiscardOnLeave));

    // Close: asked too; No keeps the window, Yes ends it.
    prompt.answers.push_back(false);
    QTest::mouseClick(in<QAbstractButton>(window.get(), 1009), Qt::LeftButton);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(prompt.questions().size(), 2u);
    EXPECT_EQ(store.centerIdCount, seededCount + 1);
    prompt.answers.push_back(true);
    QTest::mouseClick(in<QAbstractButton>(window.get(), 1009), Qt::LeftButton);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(prompt.questions().size(), 3u);
    // Nothing reached the appliance.
    EXPECT_EQ(simState().centerIdCount, seededCount);
}

} // namespace
