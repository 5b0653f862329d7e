// OnUserReplyMsg row by row: events posted as the receive thread posts them, effects read from
// the store, the pages' controls and the messages shown.

#include "link/CMySocket.h"
#include "link/Commands.h"
#include "link/NetworkConfigRecord.h"
#include "link/Requests.h"
#include "pages/access/CBlacklistDlg.h"
#include "pages/network/CInfoDlg.h"
#include "pages/network/CNetworkDlg.h"
#include "pages/schedule/CIoschDlg.h"
#include "pages/upload/CUpdateDlg.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/ScriptedAppliance.h"

#include <QCheckBox>
#include <QLabel>
#include <QTableView>

#include <gtest/gtest.h>

namespace qvtest {
namespace {

using namespace std::chrono_literals;

std::vector<uint8_t> bytesOf(const qv::NetworkConfigRecord& record) {
    return {record.bytes.begin(), record.bytes.end()};
}

// Puts the window in the logged-on state without a link (as after event 1).
void loggedOn(Window& w, Page page = Page::Summary) {
    w.post(1, 120);
    w.store.PageIndex = pageIndex(page);
    w.window->ShowPage(page);
}

struct MessageRow {
    int event;
    int32_t value;
    const char* english; // nullptr: no message
    const char* korean;
};

// Every row that answers with a message, and values next to them that show nothing.
const MessageRow kMessageRows[] = {
    {3, 101, "Admin ID and password were changed.", "관리자 아이디와 비밀번호가 변경되었습니다."},
    // A change the appliance refuses is said.
    {3, 100,
     "The appliance did not take the change (answer 100). Nothing was changed on the appliance; "
     "what you entered is kept.",
     "장비가 변경 내용을 받아들이지 않았습니다(응답 100). 장비에서는 아무것도 바뀌지 않았으며, "
     "입력한 내용은 그대로 남아 있습니다."},
    {5, 101, "Center ID was set.", "센터 아이디가 설정되었습니다."},
    // A change the appliance refuses is said.
    {5, 0,
     "The appliance did not take the change (answer 0). Nothing was changed on the appliance; what "
     "you entered is kept.",
     "장비가 변경 내용을 받아들이지 않았습니다(응답 0). 장비에서는 아무것도 바뀌지 않았으며, "
     "입력한 내용은 그대로 남아 있습니다."},
    {7, 101, "WOL was set.", "WOL이 설정되었습니다."},
    // A change the appliance refuses is said.
    {7, 102,
     "The appliance did not take the change (answer 102). Nothing was changed on the appliance; "
     "what you entered is kept.",
     "장비가 변경 내용을 받아들이지 않았습니다(응답 102). 장비에서는 아무것도 바뀌지 않았으며, "
     "입력한 내용은 그대로 남아 있습니다."},
    {9, 101, "The ID is available.", "사용할 수 있는 아이디입니다."},
    {9, 102, "The ID is used by another.", "다른 곳에서 사용 중인 아이디입니다."},
    {9, 103, "The MAC address is used by another. ", "다른 곳에서 사용 중인 MAC 주소입니다. "},
    {9, 104, "Unknow error. Please check it and retry.",
     "알 수 없는 오류입니다. 확인 후 다시 시도하세요."},
    {10, 101, "Product Registration success.", "제품 등록에 성공했습니다."},
    {10, 401, "The product was registrated already.", "이미 등록된 제품입니다."},
    {10, 0, "Product registration failed. Please check and retry.",
     "제품 등록에 실패했습니다. 확인 후 다시 시도하세요."},
    {11, 101, "DDNS registration success.", "DDNS 등록에 성공했습니다."},
    {11, 401, "The product was not registered. Please register it first.",
     "등록되지 않은 제품입니다. 먼저 제품을 등록하세요."},
    {11, 402, "The DDNS ID is occupied by another. Please use other.",
     "다른 곳에서 사용 중인 DDNS 아이디입니다. 다른 아이디를 사용하세요."},
    {11, 403, "The MAC address is already registered.", "이미 등록된 MAC 주소입니다."},
    {11, 404, "DDNS registration failed. Try again.", "DDNS 등록에 실패했습니다. 다시 시도하세요."},
    {13, 0, "Logo image was deleted.", "로고 이미지가 삭제되었습니다."},
    {13, 1, "Logo image upload finished.", "로고 이미지 업로드가 완료되었습니다."},
    {13, 2, nullptr, nullptr},
    {14, 7, "Active-X Page upload finished.", "Active-X 페이지 업로드가 완료되었습니다."},
    {15, 1001, "Schedule Previlege configuration was changed. After server reboot",
     "스케줄 권한 설정이 변경되었습니다. 서버를 재부팅하면 적용됩니다."},
    {15, 5499, "Schedule Previlege configuration was changed. After server reboot",
     "스케줄 권한 설정이 변경되었습니다. 서버를 재부팅하면 적용됩니다."},
    {15, 100, nullptr, nullptr},
    {15, 5500, nullptr, nullptr},
    {15, 6000, nullptr, nullptr},
    {15, 12001, nullptr, nullptr},
    {18, 99, "Connection error to Update server.", "업데이트 서버에 연결할 수 없습니다."},
    {18, 1, nullptr, nullptr},
    {19, 0, "NTP Server setting finished.", "NTP 서버 설정이 완료되었습니다."},
    {22, 101, "Scheduling finished. It will effect after quorvel server reboots.",
     "스케줄 설정이 완료되었습니다. Quorvel 서버를 재부팅하면 적용됩니다."},
    {22, 100, nullptr, nullptr},
    {24, 0, "HTML Page upload finished.", "HTML 페이지 업로드가 완료되었습니다."},
    // The firewall's answers are fixed Korean texts in both languages.
    {27, 101, "Block Ip List 가 변경되었습니다.", "Block Ip List 가 변경되었습니다."},
    // A change the appliance refuses is said.
    {27, 100,
     "The appliance did not take the change (answer 100). Nothing was changed on the appliance; "
     "what you entered is kept.",
     "장비가 변경 내용을 받아들이지 않았습니다(응답 100). 장비에서는 아무것도 바뀌지 않았으며, "
     "입력한 내용은 그대로 남아 있습니다."},
};

TEST(Dispatch, ResultMessagesInBothLanguages) {
    for (bool korean : {false, true}) {
        LanguageScope language(korean);
        Window w;
        loggedOn(w, Page::CenterIds);
        for (const MessageRow& row : kMessageRows) {
            w.prompt.clear();
            w.post(row.event, row.value);
            const char* expected = korean ? row.korean : row.english;
            if (expected)
                EXPECT_EQ(w.prompt.notices(), QStringList{QString::fromUtf8(expected)})
                    << row.event << "/" << row.value;
            else
                EXPECT_TRUE(w.prompt.shown.empty()) << row.event << "/" << row.value;
            EXPECT_EQ(w.store.PageIndex, 3) << row.event << "/" << row.value;
        }
    }
}

TEST(Dispatch, LogonAnswerLimits) {
    struct Case {
        int32_t value;
        int page;
        int32_t maxCenterIds;
    };
    const Case cases[] = {{101, 1, 1},  {150, 1, 50}, {200, 1, 100}, {249, 1, 100},
                          {100, 0, 10}, {250, 0, 10}, {-101, 0, 10}, {0, 0, 10}};
    for (const Case& c : cases) {
        Window w;
        w.post(1, c.value);
        EXPECT_EQ(w.store.PageIndex, c.page) << c.value;
        EXPECT_EQ(w.store.maxCenterIdCount, c.maxCenterIds) << c.value;
        EXPECT_EQ(w.currentPage(), w.window->page(static_cast<Page>(c.page))) << c.value;
        if (c.page == 0)
            EXPECT_EQ(w.prompt.notices(), QStringList{QStringLiteral(
                                              "Login error. Please check admin ID and password.")});
        else
            EXPECT_TRUE(w.prompt.shown.empty());
    }
}

TEST(Dispatch, SummaryRecordSetsLimitsAndTheIoScheduleLink) {
    Window w;
    loggedOn(w);
    auto* ioLink = w.control<QPushButton>(1010);
    struct Case {
        uint8_t ioByte;
        int32_t maxSchedules;
        uint16_t maxStandby;
        int32_t storedSchedules;
        bool linkShown;
    };
    const Case cases[] = {{1, 5, 7, 10, true},
                          {1, 3000, 0xFFFF, 2040, true},
                          {0, 500, 3, 500, false},
                          {1, -8, 0, 10, true},
                          {2, 2040, 1, 2040, false}};
    for (const Case& c : cases) {
        qv::NetworkConfigRecord record;
        record.setIoScheduleEnabled(c.ioByte);
        record.setMaxScheduleCount(c.maxSchedules);
        record.setMaxStandbyCount(c.maxStandby);
        record.setCompanyUtf8("퀀벨 주식회사");
        w.post(2, 0, bytesOf(record));
        EXPECT_EQ(w.store.ioScheduleEnabled, c.ioByte);
        EXPECT_EQ(w.store.maxScheduleCount, c.storedSchedules);
        EXPECT_EQ(w.store.maxStandbyCount, c.maxStandby);
        EXPECT_EQ(ioLink->isVisible(), c.linkShown) << int(c.ioByte);
        ASSERT_TRUE(summaryPage(*w.window)->record());
        EXPECT_EQ(*summaryPage(*w.window)->record(), record);
    }
    // The network page gets its record from event 8.
    qv::NetworkConfigRecord network;
    network.setDdnsId("myqv");
    w.post(8, 0, bytesOf(network));
    ASSERT_TRUE(w.window->networkPage()->record());
    EXPECT_EQ(w.window->networkPage()->record()->ddnsId(), "myqv");
    EXPECT_TRUE(w.prompt.shown.empty());
}

TEST(Dispatch, UpdateProgressLabelsButtonAndCheckBox) {
    Window w;
    loggedOn(w, Page::Update);
    auto status = [&](int row) {
        return w.pageControl<QLabel>(Page::Update, CUpdateDlg::kFirstStepStatus + row)->text();
    };
    auto* start = w.pageControl<QPushButton>(Page::Update, CUpdateDlg::kStart);
    auto* autoUpdate = w.pageControl<QCheckBox>(Page::Update, CUpdateDlg::kAutoUpdate);
    const QString s = QStringLiteral("Start");
    const QString f = QStringLiteral("Finished");

    w.post(12, 0);
    EXPECT_EQ(status(0), s);
    for (int i = 1; i < 8; ++i)
        EXPECT_TRUE(status(i).isEmpty());
    w.post(12, 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(status(i), f);
    EXPECT_EQ(status(6), s);
    // Value 3 rewrites rows 0..3 and leaves the rows after it as they were.
    w.post(12, 3);
    EXPECT_EQ(status(0), f);
    EXPECT_EQ(status(2), f);
    EXPECT_EQ(status(3), s);
    EXPECT_EQ(status(4), f);
    EXPECT_EQ(status(5), f);
    EXPECT_EQ(status(6), s);
    EXPECT_TRUE(status(7).isEmpty());
    EXPECT_TRUE(w.prompt.shown.empty());

    start->setEnabled(false);
    w.post(12, 9);
    w.post(12, -1);
    EXPECT_FALSE(start->isEnabled());
    EXPECT_TRUE(w.prompt.shown.empty());
    w.post(12, 99);
    EXPECT_TRUE(start->isEnabled());
    EXPECT_EQ(w.prompt.notices(),
              QStringList{QStringLiteral("Connection error to Update server.")});
    EXPECT_EQ(status(3), s);

    start->setEnabled(false);
    w.prompt.clear();
    w.post(12, 8);
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(status(i), f);
    EXPECT_TRUE(start->isEnabled());
    EXPECT_EQ(w.prompt.notices(), QStringList{QStringLiteral("Update finished.")});

    w.post(16, 1);
    EXPECT_TRUE(autoUpdate->isChecked());
    w.post(16, 2);
    EXPECT_FALSE(autoUpdate->isChecked());
}

TEST(Dispatch, RebootAnswerLimitsAndFallBack) {
    Window w;
    loggedOn(w, Page::Network);
    w.window->logonPage()->setServerAddress(QStringLiteral("10.0.0.9"));
    w.post(15, 6500);
    EXPECT_EQ(w.store.maxStandbyCount, 500);
    EXPECT_EQ(w.store.PageIndex, 5);
    w.post(15, 12000);
    EXPECT_EQ(w.store.maxStandbyCount, 6000);

    w.typeLogon(QStringLiteral("admin"), QStringLiteral("secret"));
    w.post(15, 50);
    EXPECT_EQ(w.store.maxCenterIdCount, 50);
    EXPECT_EQ(w.store.PageIndex, 0);
    EXPECT_EQ(w.currentPage(), w.window->page(Page::Logon));
    EXPECT_TRUE(w.pageControl<QLineEdit>(Page::Logon, CLogonDlg::kAdminId)->text().isEmpty());
    EXPECT_TRUE(w.pageControl<QLineEdit>(Page::Logon, CLogonDlg::kPassword)->text().isEmpty());
    EXPECT_EQ(w.pageControl<QLineEdit>(Page::Logon, CLogonDlg::kServerAddress)->text(),
              QStringLiteral("10.0.0.9"));

    loggedOn(w, Page::Wol);
    w.typeLogon(QStringLiteral("admin"), QStringLiteral("secret"));
    w.post(15, 101);
    EXPECT_EQ(w.store.PageIndex, 0);
    EXPECT_EQ(w.store.maxCenterIdCount, 20) << "101 only reboots";
    EXPECT_TRUE(w.pageControl<QLineEdit>(Page::Logon, CLogonDlg::kPassword)->text().isEmpty());
    EXPECT_TRUE(w.prompt.shown.empty());
}

TEST(Dispatch, FirmwareFinishedShowsItsMessageBeforeTheLogonPage) {
    for (bool korean : {false, true}) {
        LanguageScope language(korean);
        Window w;
        loggedOn(w, Page::Update);
        w.typeLogon(QStringLiteral("admin"), QStringLiteral("secret"));
        int pageWhileShown = -1;
        w.prompt.whileShown = [&](const ScriptedPrompt::Shown&) {
            pageWhileShown = w.store.PageIndex;
        };
        w.post(18, 0);
        EXPECT_EQ(w.prompt.notices(),
                  QStringList{korean ? QStringLiteral("펌웨어 업데이트가 완료되었습니다.")
                                     : QStringLiteral("Firmware update finished.")});
        EXPECT_EQ(pageWhileShown, 6);
        EXPECT_EQ(w.store.PageIndex, 0);
        EXPECT_EQ(w.currentPage(), w.window->page(Page::Logon));
        EXPECT_TRUE(w.pageControl<QLineEdit>(Page::Logon, CLogonDlg::kAdminId)->text().isEmpty());
    }
}

TEST(Dispatch, IoScheduleRows) {
    setenv("TZ", "UTC", 1);
    tzset();
    Window w;
    loggedOn(w);
    auto* iosch = w.window->ioSchedulePage();
    w.store.ioBusy = 1;
    iosch->refreshButton()->setEnabled(false);
    w.post(20, 0);
    EXPECT_EQ(w.store.ioBusy, 0);
    EXPECT_TRUE(iosch->refreshButton()->isEnabled());

    w.store.ioBusy = 1;
    iosch->ioDeviceList()->setEnabled(false);
    w.post(21, 0);
    EXPECT_EQ(w.store.ioBusy, 0);
    EXPECT_TRUE(iosch->ioDeviceList()->isEnabled());

    w.store.ioBusy = 1;
    w.post(22, 5);
    EXPECT_EQ(w.store.ioBusy, 0);
    EXPECT_TRUE(w.prompt.shown.empty());

    auto* clock = qv::findControl<QWidget>(iosch, CIoschDlg::kClock);
    ASSERT_NE(clock, nullptr);
    w.post(23, 1617283845);
    EXPECT_EQ(clock->accessibleDescription(), QStringLiteral("2021-04-01 13:30:45"));
    w.post(23, -86400);
    EXPECT_EQ(clock->accessibleDescription(), QStringLiteral("1969-12-31 00:00:00"));
    unsetenv("TZ");
    tzset();
}

TEST(Dispatch, TablesGoIntoTheStoreBeforeThePageIsCalled) {
    Window w;
    loggedOn(w);
    std::vector<uint8_t> wol(qv::WolTable::kSize, 0);
    wol[10] = 0x5A;
    w.post(6, 3, wol);
    EXPECT_EQ(w.store.wolCount, 3);
    EXPECT_EQ(w.store.wolTable.bytes[10], 0x5A);
    w.post(26, 500, std::vector<uint8_t>(qv::BlockIpTable::kSize, 0));
    EXPECT_EQ(w.store.blockIpCount, 100) << "counts never index past a table";
    w.post(4, -3);
    EXPECT_EQ(w.store.centerIdCount, 0);
}

TEST(Dispatch, UnknownEventsAndValuesChangeNothing) {
    Window w;
    loggedOn(w, Page::Wol);
    w.store.ioBusy = 1;
    const auto snapshot = [&] {
        return std::vector<int32_t>{w.store.PageIndex,        w.store.ioBusy,
                                    w.store.maxCenterIdCount, w.store.maxScheduleCount,
                                    w.store.maxStandbyCount,  w.store.ioScheduleEnabled,
                                    w.store.wolCount,         w.store.centerIdCount};
    };
    const auto before = snapshot();
    for (const auto& [code, value] : std::vector<std::pair<int, int32_t>>{{17, 101},
                                                                          {0, 0},
                                                                          {29, 101},
                                                                          {30, 101},
                                                                          {31, 101},
                                                                          {99, 1},
                                                                          {254, 0},
                                                                          {256, 0},
                                                                          {-1, 0},
                                                                          {1000, 101},
                                                                          {28, 100},
                                                                          {13, 5},
                                                                          {18, 2}}) {
        w.post(code, value);
        EXPECT_EQ(snapshot(), before) << code;
        EXPECT_EQ(w.currentPage(), w.window->page(Page::Wol)) << code;
    }
    EXPECT_TRUE(w.prompt.shown.empty());
    EXPECT_FALSE(w.window->blacklistRereadActive());
}

// After a cleared blacklist the blacklist page comes up and the entries are read three times,
// 1200 ms apart; each answer brings a request for the Block IP list.
TEST(Dispatch, ClearedBlacklistIsReadThreeTimes) {
    for (bool korean : {false, true}) {
        LanguageScope language(korean);
        ScriptedAppliance appliance([](const qv::Frame& request) -> std::vector<qv::Frame> {
            switch (request.cmd) {
            case qv::CMD_LOGIN_MSG:
                return {qv::Frame{qv::CMD_LOGIN_MSG, 120, {}, true}};
            case qv::CMD_GET_BLACKLIST_MSG:
                return {qv::Frame{qv::CMD_GET_BLACKLIST_MSG, 0, {}, false}};
            case qv::CMD_GET_BLOCKIP_MSG:
                return {qv::Frame{qv::CMD_GET_BLOCKIP_MSG, 0,
                                  std::vector<uint8_t>(qv::BlockIpTable::kSize), true}};
            case qv::CMD_CLEAR_BLACKLIST_MSG:
                return {qv::Frame{qv::CMD_CLEAR_BLACKLIST_MSG, 101, {}, true}};
            default:
                return {};
            }
        });
        Window w(QString::fromStdString(appliance.address()));
        ASSERT_TRUE(w.logOnAsAdmin());
        ASSERT_TRUE(waitForRequests(appliance, 2));

        w.store.send(qv::request::clearBlacklist());
        ASSERT_TRUE(waitUntil([&] { return appliance.requests().size() >= 9; }, 15s));
        settle(1500ms);
        const auto requests = appliance.requests();
        EXPECT_EQ(appliance.commands(),
                  (std::vector<qv::Command>{qv::CMD_LOGIN_MSG, qv::CMD_GET_INFO_MSG,
                                            qv::CMD_CLEAR_BLACKLIST_MSG, qv::CMD_GET_BLACKLIST_MSG,
                                            qv::CMD_GET_BLOCKIP_MSG, qv::CMD_GET_BLACKLIST_MSG,
                                            qv::CMD_GET_BLOCKIP_MSG, qv::CMD_GET_BLACKLIST_MSG,
                                            qv::CMD_GET_BLOCKIP_MSG}));
        EXPECT_EQ(w.prompt.notices(),
                  QStringList{QStringLiteral("Blacklist 목록이 클리어 되었습니다.")});
        EXPECT_EQ(w.store.PageIndex, 10);
        EXPECT_EQ(w.currentPage(), w.window->page(Page::Blacklist));
        EXPECT_FALSE(w.window->blacklistRereadActive());
        // The timer never fires early: the re-reads are at least 1.2 s apart (less a coarse
        // timer's slack).
        for (size_t i : {5u, 7u})
            EXPECT_GE(requests[i].at - requests[i - 2].at, 1100ms) << i;
        EXPECT_GE(requests[3].at - requests[2].at, 1100ms);
    }
}

// The link ends while the blacklist is being read again after a clear: the rereads stop, and
// the logon page stays so the administrator can log on again.
TEST(Dispatch, LinkEndedStopsTheBlacklistRereads) {
    Window w;
    loggedOn(w, Page::Blacklist);
    w.post(static_cast<int>(qv::ReplyEvent::BlacklistCleared), qv::result::kSuccess);
    ASSERT_TRUE(w.window->blacklistRereadActive());
    w.post(static_cast<int>(qv::ReplyEvent::LinkEnded), 0);
    EXPECT_FALSE(w.window->blacklistRereadActive());
    settle(std::chrono::milliseconds(CQVSettingDlg::kBlacklistRereadMs + 300));
    EXPECT_EQ(w.store.PageIndex, pageIndex(Page::Logon));
    EXPECT_EQ(w.currentPage(), w.window->page(Page::Logon));
}

} // namespace
} // namespace qvtest
