// The blacklist page against qvsim over loopback: the real window logs on, opens the page
// through its (hidden) link, edits the Block IP list with every operation, applies, reads the
// table back, and finds the appliance's table as expected byte for byte, lead and trailing
// bytes included. Then the blacklist is cleared and read again.

#include "CGlobalData.h"
#include "CLogonDlg.h"
#include "CQVSettingDlg.h"
#include "ControlIds.h"
#include "QtText.h"
#include "ScriptedPrompt.h"
#include "SimServer.h"
#include "SimState.h"
#include "access/BlacklistRules.h"
#include "access/CBlacklistDlg.h"

#include <QAbstractButton>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>

#include "RunningSim.h"
#include "Typing.h"

#include <gtest/gtest.h>

namespace bl = qv::blacklist;

namespace {

using qvtest::typeInto;

constexpr int kWaitMs = 10000;
const QString kBlockListChanged = QStringLiteral("Block Ip List 가 변경되었습니다.");
const QString kBlacklistCleared = QStringLiteral("Blacklist 목록이 클리어 되었습니다.");

class RunningSim : public qv::simtest::RunningSim {
public:
    QString address() const { return QString::fromStdString(qv::simtest::RunningSim::address()); }
    qv::sim::SimState state() { return server().snapshot(); }
};

class BlacklistEndToEnd : public ::testing::Test {
protected:
    void TearDown() override { window.reset(); }

    template <class T> T* in(QWidget* root, int id) {
        T* widget = qv::findControl<T>(root, id);
        EXPECT_NE(widget, nullptr) << "control " << id;
        return widget;
    }
    CBlacklistDlg* page() { return window->blacklistPage(); }
    QTableWidget* list(int id) { return in<QTableWidget>(page(), id); }
    void type(int id, const QString& text) {
        QLineEdit* field = in<QLineEdit>(page(), id);
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        typeInto(field, text);
    }
    void click(int id) { QTest::mouseClick(in<QAbstractButton>(page(), id), Qt::LeftButton); }
    void selectRow(int listId, int row, bool add = false) {
        QTableWidget* table = list(listId);
        table->scrollToItem(table->item(row, 1));
        const QRect rect = table->visualItemRect(table->item(row, 1));
        QTest::mouseClick(table->viewport(), Qt::LeftButton,
                          add ? Qt::ControlModifier : Qt::KeyboardModifiers{}, rect.center());
    }
    // The Blacklist IP link is hidden; it is followed the way a click would follow it.
    void followBlacklistLink() { in<QAbstractButton>(window.get(), 1012)->click(); }
    void follow(int linkId) {
        QTest::mouseClick(in<QAbstractButton>(window.get(), linkId), Qt::LeftButton);
    }
    bool logOn() {
        CLogonDlg* logon = window->logonPage();
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < kWaitMs) {
            QLineEdit* id = in<QLineEdit>(logon, 1001);
            QLineEdit* password = in<QLineEdit>(logon, 1002);
            id->clear();
            password->clear();
            QTest::keyClicks(id, QStringLiteral("admin"));
            QTest::keyClicks(password, QStringLiteral("admin"));
            QTest::mouseClick(in<QAbstractButton>(logon, 1003), Qt::LeftButton);
            if (QTest::qWaitFor([&] { return store.PageIndex == 1; }, 2000))
                return true;
        }
        return false;
    }
    void openWindow() {
        window = std::make_unique<CQVSettingDlg>(store, prompt, sim.address());
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->logonPage()->isVisible(); }, kWaitMs));
    }
    // Opens the page and waits until both lists show what the appliance holds.
    void openPage(int32_t blacklistCount, int32_t blockCount) {
        followBlacklistLink();
        ASSERT_EQ(store.PageIndex, 10);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return list(1090)->rowCount() == blacklistCount &&
                       list(1091)->rowCount() == blockCount && store.blockIpCount == blockCount;
            },
            kWaitMs));
    }
    int simReads(const std::string& what) {
        int n = 0;
        for (const std::string& line : sim.log())
            if (line.find(what) != std::string::npos)
                ++n;
        return n;
    }
    int noticeCount(const QString& text) { return static_cast<int>(prompt.notices().count(text)); }

    RunningSim sim;
    qv::CGlobalData store;
    qvtest::ScriptedPrompt prompt;
    std::unique_ptr<CQVSettingDlg> window;
};

TEST_F(BlacklistEndToEnd, EditApplyAndReadBackByteForByte) {
    const qv::sim::SimState seeded = sim.state();
    ASSERT_EQ(seeded.blacklistCount, 6);
    ASSERT_EQ(seeded.blockIpCount, 3);
    ASSERT_EQ(seeded.blockIps.address(0), "192.0.2.200");
    ASSERT_EQ(seeded.blacklist.entry(0).ip(), "203.0.113.45");

    openWindow();
    ASSERT_TRUE(logOn());
    openPage(6, 3);
    EXPECT_EQ(list(1090)->item(2, 1)->text(), QStringLiteral("192.0.2.200"));
    EXPECT_EQ(list(1091)->item(1, 1)->text(), QStringLiteral("203.0.113.45"));

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
    EXPECT_EQ(sim.state().blockIpCount, 3);

    click(1095);
    ASSERT_TRUE(QTest::qWaitFor([&] { return noticeCount(kBlockListChanged) == 1; }, kWaitMs));
    EXPECT_FALSE(page()->hasUnappliedChanges());

    // The appliance holds the table byte for byte, its own lead and trailing bytes included.
    const qv::sim::SimState after = sim.state();
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
        EXPECT_EQ(list(1091)->item(row, 0)->text(), QString::number(row + 1));
        EXPECT_EQ(list(1091)->item(row, 1)->text(),
                  QString::fromStdString(addresses[static_cast<size_t>(row)]));
    }
}

TEST_F(BlacklistEndToEnd, ClearAllEmptiesTheBlacklistAndAsksOnceAboutUnappliedEdits) {
    const qv::sim::SimState seeded = sim.state();
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
    EXPECT_EQ(sim.state().blacklistCount, 0);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !window->blacklistTimerActive() && list(1090)->rowCount() == 0; }, kWaitMs));
    // The page was opened once and the blacklist read three times after the clear, each read
    // followed by the Block IP list; let the last of them arrive.
    ASSERT_TRUE(QTest::qWaitFor([&] { return simReads("read block IPs") == 4; }, kWaitMs));
    QTest::qWait(300);
    EXPECT_EQ(prompt.questions(), QStringList({qv::fromUtf8(bl::kClearQuestionText),
                                               qv::uiText(bl::kKeepAfterReread)}));
    EXPECT_EQ(store.blockIpCount, seeded.blockIpCount + 1);
    EXPECT_EQ(list(1091)->rowCount(), seeded.blockIpCount + 1);
    EXPECT_TRUE(page()->hasUnappliedChanges());

    // Apply still sends the kept edits inside the firewall's own bytes.
    click(1095);
    ASSERT_TRUE(QTest::qWaitFor([&] { return noticeCount(kBlockListChanged) == 1; }, kWaitMs));
    qv::BlockIpTable expected = seeded.blockIps;
    int32_t expectedCount = seeded.blockIpCount;
    bl::addAddress(expected, expectedCount, "192.0.2.88");
    const qv::sim::SimState after = sim.state();
    EXPECT_EQ(after.blockIpCount, expectedCount);
    EXPECT_EQ(after.blockIps, expected);
}

} // namespace
