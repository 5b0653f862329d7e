// The blacklist page driven through its controls, as an operator would: typing, choosing rows,
// clicking, with messages answered by the scripted prompt and requests read by a peer socket.

#include "core/access/BlacklistRules.h"
#include "link/CGlobalData.h"
#include "link/CMySocket.h"
#include "link/Frame.h"
#include "link/LinkEvent.h"
#include "link/Requests.h"
#include "link/SocketIo.h"
#include "pages/ControlIds.h"
#include "pages/QtText.h"
#include "pages/access/CBlacklistDlg.h"
#include "tests/support/PageFixture.h"
#include "tests/support/ScriptedPrompt.h"

#include "pages/KeyboardAccess.h"
#include "tests/support/ListProbe.h"
#include <QAbstractButton>
#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <algorithm>

#include "tests/support/Typing.h"

#include "tests/support/ScriptedAppliance.h"

#include <gtest/gtest.h>

#include <poll.h>

#include <string>
#include <vector>

namespace bl = qv::blacklist;
using qv::StringId;

namespace {

using qvtest::expectWidth;
using qvtest::typeInto;

using Id = CBlacklistDlg::ControlId;
constexpr int kBlacklist = Id::kBlacklist, kAddSelected = Id::kAddSelected,
              kClearAll = Id::kClearAll, kBlockList = Id::kBlockList, kAddText = Id::kAddAddress,
              kAdd = Id::kAdd, kEditText = Id::kEditAddress, kEdit = Id::kEdit,
              kDelete = Id::kDelete, kApply = Id::kApply;

struct Listed {
    const char* ip;
    int8_t quorvelIp;
};

class BlacklistPage : public qvtest::PageFixture<CBlacklistDlg> {
protected:
    void SetUp() override { open(800, 560); }

    qvtest::ListProbe list(int id) { return qvtest::ListProbe(control<QTableView>(id)); }
    QString cell(int listId, int row, int column) { return list(listId).cell(row, column); }
    // Clicks a row; with `add`, Ctrl+click adds it to the selection.
    void selectRow(int listId, int row, bool add = false) {
        list(listId).click(row, add ? Qt::ControlModifier : Qt::KeyboardModifiers{});
    }

    // The appliance's blacklist arriving as event 25, as the dispatcher hands it over.
    void receiveBlacklist(const std::vector<Listed>& entries) {
        std::vector<uint8_t> payload;
        for (size_t i = 0; i < entries.size(); ++i) {
            qv::BlacklistEntry e;
            e.setIp(entries[i].ip);
            e.setQuorvelIp(entries[i].quorvelIp);
            for (int c = 0; c < 8; ++c)
                e.setCounter(c, static_cast<uint16_t>(i * 10 + static_cast<size_t>(c)));
            payload.insert(payload.end(), e.bytes.begin(), e.bytes.end());
        }
        qv::applyReplyToStore(store, {qv::ReplyEvent::BlacklistArrived,
                                      static_cast<int32_t>(entries.size()), payload});
        page->blacklistArrived();
    }
    // The firewall's table as the appliance sends it, with lead and trailing bytes of its own.
    static qv::BlockIpTable firewallTable(const std::vector<std::string>& addresses,
                                          uint8_t mark = 0x51) {
        qv::BlockIpTable table;
        for (size_t i = 0; i < 4; ++i)
            table.bytes[i] = static_cast<uint8_t>(mark + i);
        for (size_t i = 0; i < 96; ++i)
            table.bytes[qv::BlockIpTable::kSize - 96 + i] = static_cast<uint8_t>(mark ^ i);
        for (size_t i = 0; i < addresses.size(); ++i)
            table.setAddress(i, addresses[i]);
        return table;
    }
    void receiveBlockList(const std::vector<std::string>& addresses, uint8_t mark = 0x51) {
        const qv::BlockIpTable table = firewallTable(addresses, mark);
        qv::applyReplyToStore(
            store, {qv::ReplyEvent::BlockIpsArrived, static_cast<int32_t>(addresses.size()),
                    std::vector<uint8_t>(table.bytes.begin(), table.bytes.end())});
        page->tableArrived();
    }
    static std::vector<std::string> numbered(int n) {
        std::vector<std::string> out;
        for (int i = 0; i < n; ++i)
            out.push_back("10.0.0." + std::to_string(i));
        return out;
    }
    std::vector<std::string> storedAddresses() {
        std::vector<std::string> out;
        for (int32_t i = 0; i < store.blockIpCount; ++i)
            out.push_back(store.blockIpTable.address(static_cast<size_t>(i)));
        return out;
    }
};

const std::vector<Listed> kSixListed{{"203.0.113.45", 0}, {"198.51.100.7", 1},
                                     {"192.0.2.200", 0},  {"203.0.113.9", 0},
                                     {"100.64.12.34", 1}, {"198.51.100.23", -1}};

TEST_F(BlacklistPage, LayoutColumnsAndSelection) {
    const char* captions[] = {"No.",    "IP",     "Day 1",   "Day 2",   "-Day 1",    "-Day 2",
                              "Week 1", "Week 2", "-Week 1", "-Week 2", "Quorvel IP"};
    const int widths[] = {50, 110, 60, 60, 60, 60, 62, 62, 63, 63, 65};
    ASSERT_EQ(list(kBlacklist).columnCount(), 11);
    for (int c = 0; c < 11; ++c) {
        EXPECT_EQ(list(kBlacklist).header(c), QString::fromLatin1(captions[c]));
        expectWidth(list(kBlacklist).view(), c, widths[c]);
    }
    ASSERT_EQ(list(kBlockList).columnCount(), 2);
    EXPECT_EQ(list(kBlockList).header(0), QStringLiteral("No."));
    EXPECT_EQ(list(kBlockList).header(1), QStringLiteral("IP"));
    expectWidth(list(kBlockList).view(), 0, 80);
    expectWidth(list(kBlockList).view(), 1, 180);
    for (int id : {kBlacklist, kBlockList}) {
        EXPECT_EQ(list(id).view()->selectionMode(), QAbstractItemView::ExtendedSelection);
        EXPECT_EQ(list(id).view()->selectionBehavior(), QAbstractItemView::SelectRows);
        EXPECT_TRUE(list(id).view()->showGrid());
        EXPECT_EQ(list(id).view()->verticalHeader()->defaultSectionSize(), 15);
    }
    const std::pair<int, const char*> buttons[] = {
        {kAddSelected, "Add Selected Items to Block IP List"},
        {kClearAll, "Clear All"},
        {kAdd, "Add"},
        {kEdit, "Edit"},
        {kDelete, "Delete"},
        {kApply, "Apply"}};
    for (const auto& [id, caption] : buttons)
        EXPECT_EQ(qv::controls::withoutMnemonic(control<QPushButton>(id)->text()),
                  QString::fromLatin1(caption))
            << id;
    EXPECT_NE(edit(kAddText), nullptr);
    EXPECT_NE(edit(kEditText), nullptr);
    // Both boxes have a visible label; the Block IP list's Find box stands right above it.
    for (int id : {kAddText, kEditText}) {
        const auto labels = page->findChildren<QLabel*>();
        EXPECT_TRUE(std::any_of(labels.begin(), labels.end(), [&](const QLabel* l) {
            return l->buddy() == edit(id);
        })) << id;
    }
    const QWidget* find = page->findChild<QWidget*>(QStringLiteral("blockListFind"));
    ASSERT_NE(find, nullptr);
    const QRect findBox = find->geometry(), listBox = list(kBlockList).view()->geometry();
    EXPECT_LE(findBox.bottom(), listBox.top());
    EXPECT_LT(findBox.left(), listBox.center().x());
    EXPECT_FALSE(marker()->isVisible());
    EXPECT_EQ(page->title(), QStringLiteral("Blacklist IP"));
}

TEST_F(BlacklistPage, BlacklistRowsAndTheirAddressGoToTheAddBox) {
    receiveBlacklist(kSixListed);
    ASSERT_EQ(list(kBlacklist).rowCount(), 6);
    const QStringList row5{QStringLiteral("6"),  QStringLiteral("198.51.100.23"),
                           QStringLiteral("50"), QStringLiteral("51"),
                           QStringLiteral("52"), QStringLiteral("53"),
                           QStringLiteral("54"), QStringLiteral("55"),
                           QStringLiteral("56"), QStringLiteral("57"),
                           QStringLiteral("-1")};
    for (int c = 0; c < 11; ++c)
        EXPECT_EQ(cell(kBlacklist, 5, c), row5[c]) << c;
    EXPECT_EQ(cell(kBlacklist, 1, 10), QStringLiteral("1"));

    selectRow(kBlacklist, 2);
    EXPECT_EQ(edit(kAddText)->text(), QStringLiteral("192.0.2.200"));
    selectRow(kBlacklist, 4);
    EXPECT_EQ(edit(kAddText)->text(), QStringLiteral("100.64.12.34"));

    // An empty reply empties the list; the operator's text stays.
    receiveBlacklist({});
    EXPECT_EQ(list(kBlacklist).rowCount(), 0);
    EXPECT_EQ(edit(kAddText)->text(), QStringLiteral("100.64.12.34"));
    EXPECT_TRUE(prompt.shown.empty());
}

TEST_F(BlacklistPage, AddChecksInOrderAndWritesTheStoreAtOnce) {
    qputenv("QVSETTING_CODEPAGE", "1252");
    receiveBlockList({"192.0.2.1", "abcd"});
    struct Case {
        const char* what;
        QString text;
        QString message;
    };
    const Case refusals[] = {
        {"3 bytes", QStringLiteral("1.2"), qv::uiText(StringId::BlockIpEnterExactly)},
        {"empty", QString(), qv::uiText(StringId::BlockIpEnterExactly)},
        {"100 bytes", QString(100, QLatin1Char('9')), qv::uiText(StringId::BlockIpAddressTooLong)},
        {"outside the code page", QStringLiteral("김철수네"),
         qv::uiText(StringId::BlockIpAddressNotConvertible)},
        {"already listed", QStringLiteral("192.0.2.1"), qv::uiText(StringId::BlockIpExists)},
    };
    for (const Case& c : refusals) {
        SCOPED_TRACE(c.what);
        prompt.clear();
        type(kAddText, c.text);
        const qv::BlockIpTable before = store.blockIpTable;
        click(kAdd);
        ASSERT_EQ(prompt.notices().size(), 1);
        EXPECT_EQ(lastNotice(), c.message);
        EXPECT_EQ(store.blockIpCount, 2);
        EXPECT_EQ(store.blockIpTable, before);
        EXPECT_EQ(edit(kAddText)->text(), c.text);
    }
    qunsetenv("QVSETTING_CODEPAGE");
    prompt.clear();
    // Four bytes of anything, other letter case, and 99 bytes are taken.
    for (const QString& text :
         {QStringLiteral("zz z"), QStringLiteral("ABCD"), QString(99, QLatin1Char('9'))}) {
        type(kAddText, text);
        click(kAdd);
    }
    EXPECT_TRUE(prompt.notices().isEmpty()) << lastNotice().toStdString();
    EXPECT_TRUE(edit(kAddText)->text().isEmpty()) << "an address added stays in the box";
    EXPECT_EQ(storedAddresses(), (std::vector<std::string>{"192.0.2.1", "abcd", "zz z", "ABCD",
                                                           std::string(99, '9')}));
    ASSERT_EQ(list(kBlockList).rowCount(), 5);
    EXPECT_EQ(cell(kBlockList, 3, 0), QStringLiteral("4"));
    EXPECT_EQ(cell(kBlockList, 3, 1), QStringLiteral("ABCD"));
    EXPECT_TRUE(marker()->isVisible());
}

TEST_F(BlacklistPage, NinetySevenEntriesAreTheLimit) {
    receiveBlockList(numbered(96));
    type(kAddText, QStringLiteral("192.0.2.96"));
    click(kAdd);
    EXPECT_TRUE(prompt.notices().isEmpty());
    EXPECT_EQ(store.blockIpCount, 97);
    type(kAddText, QStringLiteral("192.0.2.97"));
    click(kAdd);
    EXPECT_EQ(lastNotice(), qv::uiText(StringId::BlockIpTooMany));
    EXPECT_EQ(store.blockIpCount, 97);

    // With 97 entries Add Selected does nothing at all and says nothing.
    prompt.clear();
    receiveBlacklist(kSixListed);
    selectRow(kBlacklist, 0);
    const qv::BlockIpTable before = store.blockIpTable;
    click(kAddSelected);
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_EQ(store.blockIpCount, 97);
    EXPECT_EQ(store.blockIpTable, before);
}

TEST_F(BlacklistPage, AddSelectedAppendsSelectedRowsAndSkipsListedOnesSilently) {
    receiveBlacklist(kSixListed);
    receiveBlockList({"203.0.113.9"});
    selectRow(kBlacklist, 1);
    selectRow(kBlacklist, 3, true);
    selectRow(kBlacklist, 5, true);
    click(kAddSelected);
    EXPECT_TRUE(prompt.shown.empty());
    EXPECT_EQ(storedAddresses(),
              (std::vector<std::string>{"203.0.113.9", "198.51.100.7", "198.51.100.23"}));
    EXPECT_EQ(list(kBlockList).rowCount(), 3);
    EXPECT_EQ(cell(kBlockList, 2, 1), QStringLiteral("198.51.100.23"));

    // From 95 entries, the visit stops once the count passes 96.
    receiveBlockList(numbered(95));
    prompt.clear();
    for (int row = 0; row < 6; ++row)
        selectRow(kBlacklist, row, row > 0);
    click(kAddSelected);
    EXPECT_EQ(store.blockIpCount, 97);
    EXPECT_EQ(store.blockIpTable.address(95), "203.0.113.45");
    EXPECT_EQ(store.blockIpTable.address(96), "198.51.100.7");
}

TEST_F(BlacklistPage, EditNeedsAChosenRowAndAnAddress) {
    receiveBlockList({"192.0.2.1", "10.1.1.1", "abcd"});
    type(kEditText, QStringLiteral("10.2.2.2"));
    click(kEdit);
    EXPECT_EQ(lastNotice(), qv::uiText(StringId::BlockIpSelectToEdit));

    selectRow(kBlockList, 1);
    EXPECT_EQ(edit(kEditText)->text(), QStringLiteral("10.1.1.1"));
    type(kEditText, QStringLiteral("abcd"));
    click(kEdit);
    EXPECT_EQ(lastNotice(), qv::uiText(StringId::BlockIpExists));
    // An empty address would leave an empty slot in the firewall's list.
    type(kEditText, QString());
    click(kEdit);
    EXPECT_EQ(lastNotice(), qv::uiText(StringId::BlockIpEnterAddress));
    type(kEditText, QString(100, QLatin1Char('1')));
    click(kEdit);
    EXPECT_EQ(lastNotice(), qv::uiText(StringId::BlockIpAddressTooLong));
    EXPECT_EQ(storedAddresses(), (std::vector<std::string>{"192.0.2.1", "10.1.1.1", "abcd"}));
    EXPECT_FALSE(marker()->isVisible());

    // A short text is any text to Edit; the row keeps its place.
    prompt.clear();
    type(kEditText, QStringLiteral("x"));
    click(kEdit);
    EXPECT_TRUE(prompt.notices().isEmpty()) << lastNotice().toStdString();
    EXPECT_EQ(storedAddresses(), (std::vector<std::string>{"192.0.2.1", "x", "abcd"}));
    EXPECT_EQ(cell(kBlockList, 1, 1), QStringLiteral("x"));
    EXPECT_TRUE(marker()->isVisible());
    // After the list was redrawn nothing is chosen any more.
    type(kEditText, QStringLiteral("y.y.y.y"));
    click(kEdit);
    EXPECT_EQ(lastNotice(), qv::uiText(StringId::BlockIpSelectToEdit));
}

TEST_F(BlacklistPage, DeleteRemovesEverySelectedRowAfterAsking) {
    // An empty list: nothing happens, nothing is said.
    receiveBlockList({});
    click(kDelete);
    EXPECT_TRUE(prompt.shown.empty());

    receiveBlockList({"a.a.a.a", "b.b.b.b", "c.c.c.c", "d.d.d.d", "e.e.e.e"});
    click(kDelete);
    EXPECT_EQ(lastNotice(), qv::uiText(StringId::BlockIpSelectToDelete));
    EXPECT_TRUE(prompt.questions().isEmpty());

    selectRow(kBlockList, 0);
    selectRow(kBlockList, 2, true);
    selectRow(kBlockList, 3, true);
    // No removes none.
    prompt.answers.push_back(false);
    click(kDelete);
    ASSERT_EQ(prompt.questions().size(), 1);
    EXPECT_EQ(prompt.questions().last(), qv::uiText(StringId::BlockIpDeleteQuestion));
    // Enter on the question does not delete.
    EXPECT_EQ(prompt.shown.back().preselected, qv::DefaultAnswer::No);
    EXPECT_EQ(store.blockIpCount, 5);
    // Yes removes all three in one step.
    prompt.answers.push_back(true);
    click(kDelete);
    EXPECT_EQ(storedAddresses(), (std::vector<std::string>{"b.b.b.b", "e.e.e.e"}));
    ASSERT_EQ(list(kBlockList).rowCount(), 2);
    EXPECT_EQ(cell(kBlockList, 1, 0), QStringLiteral("2"));
    EXPECT_EQ(cell(kBlockList, 1, 1), QStringLiteral("e.e.e.e"));
    EXPECT_EQ(store.blockIpTable.address(2), "");
}

TEST_F(BlacklistPage, DeleteDoesNotRemoveRowsOfATableThatArrivedWhileAsking) {
    receiveBlockList({"a.a.a.a", "b.b.b.b", "c.c.c.c"});
    selectRow(kBlockList, 0);
    // A real box runs the event loop: the appliance's table is read again meanwhile.
    prompt.whileShown = [&](const qvtest::ScriptedPrompt::Shown& shown) {
        if (shown.kind == qvtest::ScriptedPrompt::Kind::Question)
            receiveBlockList({"x.x.x.x", "a.a.a.a"});
    };
    prompt.answers.push_back(true);
    click(kDelete);
    EXPECT_EQ(prompt.questions().size(), 1);
    EXPECT_EQ(storedAddresses(), (std::vector<std::string>{"x.x.x.x", "a.a.a.a"}));
    EXPECT_EQ(list(kBlockList).rowCount(), 2);
    EXPECT_FALSE(marker()->isVisible());
}

// The address this client is on the link from (loopback here) is asked about, No first.
TEST_F(BlacklistPage, BlockingTheClientsOwnAddressAsksFirst) {
    receiveBlockList({"203.0.113.9"});
    type(kAddText, QStringLiteral("127.0.0.1"));
    click(kAdd);
    EXPECT_TRUE(prompt.questions().isEmpty()); // no link: no address of its own
    receiveBlockList({"203.0.113.9"});
    connectPeer();
    for (const bool yes : {false, true}) {
        prompt.clear();
        prompt.answers = {yes};
        type(kAddText, QStringLiteral("127.0.0.1")); // an address added leaves the box empty
        click(kAdd);
        ASSERT_EQ(
            prompt.questions(),
            QStringList{qv::uiText(StringId::BlockIpLocksOut).arg(QStringLiteral("127.0.0.1"))});
        EXPECT_EQ(prompt.shown.back().preselected, qv::DefaultAnswer::No);
        const std::vector<std::string> expected =
            yes ? std::vector<std::string>{"203.0.113.9", "127.0.0.1"}
                : std::vector<std::string>{"203.0.113.9"};
        EXPECT_EQ(storedAddresses(), expected);
    }
}

TEST_F(BlacklistPage, ApplySendsTheWholeTableWithTheFirewallsOwnBytes) {
    receiveBlockList({"192.0.2.1", "10.1.1.1"}, 0xC7);
    type(kAddText, QStringLiteral("198.51.100.77"));
    click(kAdd);
    // Not connected: nothing happens and nothing is said.
    click(kApply);
    EXPECT_TRUE(prompt.shown.empty());

    connectPeer();
    click(kApply);
    qv::BlockIpTable expected = firewallTable({"192.0.2.1", "10.1.1.1", "198.51.100.77"}, 0xC7);
    const std::vector<uint8_t> wire = qv::encodeFrame(qv::request::writeBlockIps(3, expected));
    ASSERT_EQ(wire.size(), 8u + 10100u);
    EXPECT_EQ(readPeer(wire.size()), wire);
    const qv::FrameHeader header = qv::decodeHeader(wire.data());
    EXPECT_EQ(header.cmd, qv::CMD_SET_BLOCKIP_MSG);
    EXPECT_EQ(header.dwCount, 3);
    EXPECT_EQ(store.blockIpTable, expected);

    // A refusal keeps the marker; the appliance's 101 clears it.
    page->applyAnswered(0);
    EXPECT_TRUE(marker()->isVisible());
    click(kApply);
    readPeer(wire.size());
    page->applyAnswered(101);
    EXPECT_FALSE(marker()->isVisible());
    EXPECT_TRUE(page->confirmLeave());
    EXPECT_TRUE(prompt.questions().isEmpty());
}

TEST_F(BlacklistPage, ClearAllAsksAndSendsOnlyWhenConnected) {
    receiveBlacklist(kSixListed);
    prompt.answers = {false, true};
    click(kClearAll); // No
    click(kClearAll); // Yes, but disconnected
    EXPECT_EQ(prompt.questions(), QStringList({qv::uiText(StringId::BlacklistClearQuestion),
                                               qv::uiText(StringId::BlacklistClearQuestion)}));
    EXPECT_TRUE(prompt.notices().isEmpty());

    connectPeer();
    prompt.answers = {false};
    click(kClearAll);
    EXPECT_FALSE(peerHasData(200));
    prompt.answers = {true};
    click(kClearAll);
    EXPECT_EQ(readPeer(8), qv::encodeFrame(qv::request::clearBlacklist()));
    const std::vector<uint8_t> header = qv::encodeFrame(qv::request::clearBlacklist());
    EXPECT_EQ(qv::decodeHeader(header.data()).cmd, qv::CMD_CLEAR_BLACKLIST_MSG);
    EXPECT_EQ(qv::decodeHeader(header.data()).dwCount, 101);
    EXPECT_FALSE(peerHasData(200));
    // The page changes nothing itself: the appliance's answer and the re-reads do.
    EXPECT_EQ(list(kBlacklist).rowCount(), 6);
}

TEST_F(BlacklistPage, LeavingWithUnappliedEditsAsksFirst) {
    receiveBlockList({"192.0.2.1"});
    type(kAddText, QStringLiteral("10.1.1.1"));
    click(kAdd);
    prompt.answers.push_back(false);
    EXPECT_FALSE(page->confirmLeave());
    EXPECT_EQ(prompt.questions().last(), qv::uiText(qv::StringId::BlockIpDiscardOnLeave));
    EXPECT_EQ(prompt.shown.back().preselected, qv::DefaultAnswer::No);
    EXPECT_EQ(store.blockIpCount, 2);
    prompt.answers.push_back(true);
    EXPECT_TRUE(page->confirmLeave());
    EXPECT_EQ(store.blockIpCount, 1);
    EXPECT_EQ(list(kBlockList).rowCount(), 1);
    EXPECT_FALSE(marker()->isVisible());
    // Removing an addition by hand gives the appliance's table back: no marker, no question.
    type(kAddText, QStringLiteral("10.1.1.1"));
    click(kAdd);
    selectRow(kBlockList, 1);
    prompt.answers.push_back(true);
    click(kDelete);
    EXPECT_FALSE(marker()->isVisible());
    EXPECT_TRUE(page->confirmLeave());
}

TEST_F(BlacklistPage, ReReadsAfterAClearAskOnceAboutUnappliedEdits) {
    receiveBlockList({"192.0.2.1"}, 0x10);
    type(kAddText, QStringLiteral("10.1.1.1"));
    click(kAdd);

    // The clear sequence reads the Block IP list three times; Yes once keeps the edits for all.
    prompt.answers.push_back(true);
    for (int i = 0; i < 3; ++i)
        receiveBlockList({"192.0.2.1"}, 0x20);
    ASSERT_EQ(prompt.questions().size(), 1);
    EXPECT_EQ(prompt.questions().last(), qv::uiText(StringId::BlockIpKeepAfterReread));
    EXPECT_EQ(storedAddresses(), (std::vector<std::string>{"192.0.2.1", "10.1.1.1"}));
    EXPECT_TRUE(marker()->isVisible());
    // Kept edits go back inside the firewall's latest lead and trailing bytes.
    EXPECT_EQ(store.blockIpTable.bytes[0], 0x20);
    EXPECT_EQ(store.blockIpTable.bytes[qv::BlockIpTable::kSize - 1], 0x20 ^ 95);

    // A different table from the appliance is a new question; No shows the appliance's table.
    prompt.answers.push_back(false);
    receiveBlockList({"192.0.2.1", "192.0.2.2"}, 0x30);
    ASSERT_EQ(prompt.questions().size(), 2);
    EXPECT_EQ(storedAddresses(), (std::vector<std::string>{"192.0.2.1", "192.0.2.2"}));
    EXPECT_EQ(store.blockIpTable, firewallTable({"192.0.2.1", "192.0.2.2"}, 0x30));
    EXPECT_FALSE(marker()->isVisible());
    receiveBlockList({"192.0.2.1"});
    EXPECT_EQ(prompt.questions().size(), 2);
}

TEST_F(BlacklistPage, ATableArrivingWhileTheQuestionIsOpenIsNotAskedAboutAgain) {
    receiveBlockList({"192.0.2.1"});
    type(kAddText, QStringLiteral("10.1.1.1"));
    click(kAdd);
    // A real box runs the event loop: the next re-read arrives while the first is asked about.
    bool nested = false;
    prompt.whileShown = [&](const qvtest::ScriptedPrompt::Shown& shown) {
        if (shown.kind != qvtest::ScriptedPrompt::Kind::Question || nested)
            return;
        nested = true;
        receiveBlockList({"192.0.2.1"}, 0x40);
    };
    prompt.answers.push_back(true);
    receiveBlockList({"192.0.2.1"});
    EXPECT_TRUE(nested);
    EXPECT_EQ(prompt.questions().size(), 1);
    EXPECT_EQ(storedAddresses(), (std::vector<std::string>{"192.0.2.1", "10.1.1.1"}));
    EXPECT_EQ(store.blockIpTable.bytes[0], 0x40);
    EXPECT_EQ(list(kBlockList).rowCount(), 2);
}

TEST_F(BlacklistPage, EditsSurviveTheEndOfTheLinkUntilTheOperatorDecides) {
    receiveBlockList({"192.0.2.1"});
    type(kAddText, QStringLiteral("10.1.1.1"));
    click(kAdd);
    page->linkEnded();
    EXPECT_EQ(store.blockIpCount, 2);
    EXPECT_TRUE(prompt.questions().isEmpty());
    prompt.answers.push_back(true);
    receiveBlockList({"192.0.2.1"});
    ASSERT_EQ(prompt.questions().size(), 1);
    EXPECT_EQ(prompt.questions().last(), qv::uiText(StringId::BlockIpKeepAfterLogon));
    EXPECT_EQ(storedAddresses(), (std::vector<std::string>{"192.0.2.1", "10.1.1.1"}));
}

} // namespace
