// The blacklist page against qvsim over loopback: the real window logs on, opens the page
// through its (hidden) link, edits the Block IP list with every operation, applies, reads the
// table back, and finds the appliance's table as expected byte for byte, lead and trailing
// bytes included. Then the blacklist is cleared and read again.

#include "app/CQVSettingDlg.h"
#include "core/access/BlacklistRules.h"
#include "pages/QtText.h"
#include "pages/access/CBlacklistDlg.h"
#include "tests/support/ListProbe.h"
#include "tests/support/WindowOnSim.h"

#include <QAbstractButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

namespace bl = qv::blacklist;
using qv::StringId;

namespace {

const QString kBlockListChanged = QStringLiteral("Block Ip List 가 변경되었습니다.");
const QString kBlacklistCleared = QStringLiteral("Blacklist 목록이 클리어 되었습니다.");

class BlacklistEndToEnd : public qvtest::WindowOnSim {
protected:
    CBlacklistDlg* page() { return window->blacklistPage(); }
    qvtest::ListProbe list(int id) { return qvtest::ListProbe(in<QTableView>(page(), id)); }
    void type(int id, const QString& text) { WindowOnSim::type(page(), id, text); }
    void click(int id) { WindowOnSim::click(page(), id); }
    void selectRow(int listId, int row, bool add = false) {
        list(listId).click(row, add ? Qt::ControlModifier : Qt::KeyboardModifiers{});
    }
    // The Blacklist IP link is hidden; it is followed the way a click would follow it.
    void followBlacklistLink() { in<QAbstractButton>(window.get(), 1012)->click(); }
    // Opens the page and waits until both lists show what the appliance holds.
    void openPage(int32_t blacklistCount, int32_t blockCount) {
        followBlacklistLink();
        ASSERT_EQ(store.PageIndex, 10);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return list(CBlacklistDlg::kBlacklist).rowCount() == blacklistCount &&
                       list(CBlacklistDlg::kBlockList).rowCount() == blockCount &&
                       store.blockIpCount == blockCount;
            },
            kWaitMs));
    }
    int noticeCount(const QString& text) { return static_cast<int>(prompt.notices().count(text)); }
};

TEST_F(BlacklistEndToEnd, EditApplyAndReadBackByteForByte) {
    const qv::sim::SimState seeded = simState();
    ASSERT_EQ(seeded.blacklistCount, 6);
    ASSERT_EQ(seeded.blockIpCount, 3);
    ASSERT_EQ(seeded.blockIps.address(0), "192.0.2.200");
    ASSERT_EQ(seeded.blacklist.entry(0).ip(), "203.0.113.45");

    openWindow();
    ASSERT_TRUE(logOn());
    openPage(6, 3);
    EXPECT_EQ(list(CBlacklistDlg::kBlacklist).cell(2, 1), QStringLiteral("192.0.2.200"));
    EXPECT_EQ(list(CBlacklistDlg::kBlockList).cell(1, 1), QStringLiteral("203.0.113.45"));

    // What the appliance should end with: the same operations on its own table.
    qv::BlockIpTable expected = seeded.blockIps;
    int32_t expectedCount = seeded.blockIpCount;

    // Add an address typed by hand.
    type(1092, QStringLiteral("192.0.2.77"));
    click(1093);
    bl::addAddress(expected, expectedCount, "192.0.2.77");

    // Edit the third: choosing the row puts its address in the edit box.
    selectRow(1091, 2);
    ASSERT_EQ(in<QLineEdit>(page(), 1096)->text(), QStringLiteral("198.51.100.0"));
    type(1096, QStringLiteral("198.51.100.1"));
    click(1097);
    bl::editAddress(expected, expectedCount, 2, "198.51.100.1");

    // Delete the first and the fourth at once.
    selectRow(1091, 0);
    selectRow(1091, 3, true);
    prompt.answers.push_back(true);
    click(1094);
    bl::deleteRows(expected, expectedCount, {0, 3});

    // Add three blacklist rows: one is listed already and is skipped.
    selectRow(1090, 0); // 203.0.113.45, listed
    selectRow(1090, 1, true);
    selectRow(1090, 2, true);
    click(1099);
    bl::addSelected(expected, expectedCount, {"203.0.113.45", "198.51.100.7", "192.0.2.200"});
    ASSERT_EQ(expectedCount, 4);
    ASSERT_EQ(prompt.notices().size(), 0) << prompt.notices().join(QLatin1Char('|')).toStdString();
    ASSERT_EQ(prompt.questions().size(), 1);
    EXPECT_TRUE(page()->hasUnappliedChanges());
    EXPECT_EQ(simState().blockIpCount, 3);

    click(1095);
    ASSERT_TRUE(QTest::qWaitFor([&] { return noticeCount(kBlockListChanged) == 1; }, kWaitMs));
    EXPECT_FALSE(page()->hasUnappliedChanges());

    // The appliance holds the table byte for byte, its own lead and trailing bytes included.
    const qv::sim::SimState after = simState();
    ASSERT_EQ(after.blockIpCount, expectedCount);
    EXPECT_EQ(after.blockIps, expected);
    const std::vector<std::string> addresses{"203.0.113.45", "198.51.100.1", "198.51.100.7",
                                             "192.0.2.200"};
    for (size_t i = 0; i < addresses.size(); ++i)
        EXPECT_EQ(after.blockIps.address(i), addresses[i]) << i;
    EXPECT_TRUE(std::equal(after.blockIps.bytes.begin(), after.blockIps.bytes.begin() + 4,
                           seeded.blockIps.bytes.begin()));
    EXPECT_TRUE(std::equal(after.blockIps.bytes.end() - 96, after.blockIps.bytes.end(),
                           seeded.blockIps.bytes.end() - 96));
    EXPECT_EQ(after.blockIps.bytes[0], 0x51);
    EXPECT_EQ(after.blockIps.bytes[qv::BlockIpTable::kSize - 1], 0xF0 ^ 95);

    // Leave and come back: nothing is asked, and the lists come from the appliance afresh.
    follow(1000);
    ASSERT_EQ(store.PageIndex, 1);
    store.blockIpTable = qv::BlockIpTable{};
    store.blockIpCount = 0;
    openPage(6, expectedCount);
    EXPECT_TRUE(prompt.questions().size() == 1);
    EXPECT_EQ(store.blockIpTable, expected);
    for (int row = 0; row < expectedCount; ++row) {
        EXPECT_EQ(list(CBlacklistDlg::kBlockList).cell(row, 0), QString::number(row + 1));
        EXPECT_EQ(list(CBlacklistDlg::kBlockList).cell(row, 1),
                  QString::fromStdString(addresses[static_cast<size_t>(row)]));
    }
}

TEST_F(BlacklistEndToEnd, ClearAllEmptiesTheBlacklistAndAsksOnceAboutUnappliedEdits) {
    const qv::sim::SimState seeded = simState();
    openWindow();
    ASSERT_TRUE(logOn());
    openPage(seeded.blacklistCount, seeded.blockIpCount);

    // An unapplied addition, then Clear All: the re-reads bring the Block IP list three more
    // times; the operator is asked once and keeps the addition.
    type(1092, QStringLiteral("192.0.2.88"));
    click(1093);
    prompt.answers = {true, true}; // clear the blacklist; keep the edits
    click(1098);
    ASSERT_TRUE(QTest::qWaitFor([&] { return noticeCount(kBlacklistCleared) == 1; }, kWaitMs));
    EXPECT_EQ(simState().blacklistCount, 0);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return !window->blacklistRereadActive() &&
                   list(CBlacklistDlg::kBlacklist).rowCount() == 0;
        },
        kWaitMs));
    // The page was opened once and the blacklist read three times after the clear, each read
    // followed by the Block IP list; let the last of them arrive.
    ASSERT_TRUE(QTest::qWaitFor([&] { return simLogCount("read block IPs") == 4; }, kWaitMs));
    QTest::qWait(300);
    EXPECT_EQ(prompt.questions(), QStringList({qv::uiText(StringId::BlacklistClearQuestion),
                                               qv::uiText(StringId::BlockIpKeepAfterReread)}));
    EXPECT_EQ(store.blockIpCount, seeded.blockIpCount + 1);
    EXPECT_EQ(list(CBlacklistDlg::kBlockList).rowCount(), seeded.blockIpCount + 1);
    EXPECT_TRUE(page()->hasUnappliedChanges());

    // Apply still sends the kept edits inside the firewall's own bytes.
    click(1095);
    ASSERT_TRUE(QTest::qWaitFor([&] { return noticeCount(kBlockListChanged) == 1; }, kWaitMs));
    qv::BlockIpTable expected = seeded.blockIps;
    int32_t expectedCount = seeded.blockIpCount;
    bl::addAddress(expected, expectedCount, "192.0.2.88");
    const qv::sim::SimState after = simState();
    EXPECT_EQ(after.blockIpCount, expectedCount);
    EXPECT_EQ(after.blockIps, expected);
}

} // namespace
