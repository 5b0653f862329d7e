// The page operations the shell relies on: the update page's buttons, the IO schedule window's
// Refresh and clock, Qt's own Korean texts, and a logon that has to wait for its connection.

#include "app/CQVSettingApp.h"
#include "link/CMySocket.h"
#include "link/Commands.h"
#include "pages/schedule/CIoschDlg.h"
#include "pages/upload/CUpdateDlg.h"
#include "tests/app/AppTestSupport.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QTranslator>

#include <gtest/gtest.h>

namespace qvtest {
namespace {

using namespace std::chrono_literals;

ScriptedAppliance::Responder admitting() {
    return [](const qv::Frame& request) -> std::vector<qv::Frame> {
        if (request.cmd == qv::CMD_LOGIN_MSG)
            return {qv::Frame{qv::CMD_LOGIN_MSG, 120, {}, true}};
        return {};
    };
}

void logOn(Window& w, ScriptedAppliance& appliance) {
    ASSERT_TRUE(w.logOnAsAdmin());
    ASSERT_TRUE(waitForRequests(appliance, 2));
}

TEST(UpdatePage, ButtonsSendTheirRequestsOnlyWhileConnected) {
    ScriptedAppliance appliance(admitting());
    Window w(QString::fromStdString(appliance.address()));
    auto* start = w.pageControl<QPushButton>(Page::Update, CUpdateDlg::kStart);
    auto* firmware = w.pageControl<QPushButton>(Page::Update, CUpdateDlg::kFirmware);
    auto* autoUpdate = w.pageControl<QCheckBox>(Page::Update, CUpdateDlg::kAutoUpdate);
    auto* relayRow = w.pageControl<QLabel>(Page::Update, CUpdateDlg::kFirstStepStatus);

    // Without a link object Update start does nothing at all.
    relayRow->setText(QStringLiteral("Finished"));
    start->click();
    EXPECT_TRUE(start->isEnabled());
    EXPECT_EQ(relayRow->text(), QStringLiteral("Finished"));

    logOn(w, appliance);
    w.clickLink(1005);
    ASSERT_TRUE(waitForRequests(appliance, 3));
    EXPECT_EQ(appliance.commands().back(), qv::CMD_GET_AUTOUPDATE_MSG);

    start->click();
    EXPECT_FALSE(start->isEnabled());
    EXPECT_TRUE(relayRow->text().isEmpty());
    ASSERT_TRUE(waitForRequests(appliance, 4));
    EXPECT_EQ(appliance.commands().back(), qv::CMD_SET_UPDATE_MSG);

    w.prompt.answers = {false, true};
    firmware->click();
    settle();
    EXPECT_EQ(appliance.requests().size(), 4u);
    firmware->click();
    ASSERT_TRUE(waitForRequests(appliance, 5));
    EXPECT_EQ(appliance.commands().back(), qv::CMD_SET_FIRMWARE_MSG);
    EXPECT_EQ(w.prompt.questions(),
              QStringList(2, QStringLiteral("After firmware update, \r\n Quorvel Server will "
                                            "reboot automatically.")));

    autoUpdate->click();
    ASSERT_TRUE(waitForRequests(appliance, 6));
    EXPECT_EQ(appliance.requests().back().frame.cmd, qv::CMD_SET_AUTOUPDATE_MSG);
    EXPECT_EQ(appliance.requests().back().frame.dwCount, 1);
    autoUpdate->click();
    ASSERT_TRUE(waitForRequests(appliance, 7));
    EXPECT_EQ(appliance.requests().back().frame.dwCount, 0);

    // Not connected: Update start sends nothing, keeps the rows and stays usable.
    w.store.link->Close();
    waitUntil([&] { return w.store.PageIndex == 0; });
    relayRow->setText(QStringLiteral("Start"));
    start->click();
    EXPECT_TRUE(start->isEnabled());
    EXPECT_EQ(relayRow->text(), QStringLiteral("Start"));
    settle();
    EXPECT_EQ(appliance.requests().size(), 7u);
}

TEST(IoSchedulePage, RefreshAndClockRespectTheBusyFlag) {
    ScriptedAppliance appliance(admitting());
    Window w(QString::fromStdString(appliance.address()));
    logOn(w, appliance);
    auto* iosch = w.window->ioSchedulePage();

    iosch->refreshButton()->click();
    EXPECT_FALSE(iosch->refreshButton()->isEnabled());
    EXPECT_EQ(w.store.ioBusy, 1);
    ASSERT_TRUE(waitForRequests(appliance, 3));
    EXPECT_EQ(appliance.requests().back().frame.cmd, qv::CMD_GET_IOLIST_MSG);
    EXPECT_EQ(appliance.requests().back().frame.dwCount, 101);

    // While the IO list is awaited the clock asks nothing.
    iosch->startClockTimer();
    settle(1500ms);
    EXPECT_EQ(appliance.requests().size(), 3u);
    w.post(20, 0);
    EXPECT_TRUE(iosch->refreshButton()->isEnabled());
    ASSERT_TRUE(waitForRequests(appliance, 4));
    EXPECT_EQ(appliance.requests().back().frame.cmd, qv::CMD_GET_TIME_MSG);
    iosch->stopClockTimer();

    // Closing the window only hides it.
    w.store.PageIndex = 11;
    w.window->ShowPage(Page::IoSchedule);
    EXPECT_TRUE(iosch->isVisible());
    iosch->close();
    EXPECT_FALSE(iosch->isVisible());
    EXPECT_NE(w.window->ioSchedulePage(), nullptr);
}

TEST(QtTexts, StandardButtonsReadKoreanInKorean) {
    EXPECT_EQ(loadQtTranslations(qv::Language::English), nullptr);
    const auto korean = loadQtTranslations(qv::Language::Korean);
    ASSERT_NE(korean, nullptr) << "Qt's Korean translations are installed with the set-up";
    EXPECT_TRUE(korean->translate("QPlatformTheme", "&Yes").startsWith(QStringLiteral("예")));
    EXPECT_TRUE(korean->translate("QPlatformTheme", "&No").startsWith(QStringLiteral("아니요")));
}

// An address that never answers the handshake: a listener whose accept queue is full.
struct UnansweredAddress {
    UnansweredAddress() {
        const int port = qv::localPort(listening);
        filler = qv::connectTcp({"127.0.0.1", port}, 2000ms);
        text = QStringLiteral("127.0.0.1:%1").arg(port);
    }
    ~UnansweredAddress() {
        qv::closeSocket(filler);
        qv::closeSocket(listening);
    }
    const qv::SocketHandle listening = qv::listenTcp("127.0.0.1", 0, 0);
    qv::SocketHandle filler = qv::kInvalidSocket;
    QString text;
};

// The logon waits for the link's whole time-out: the window keeps handling events meanwhile.
TEST(Logon, ConnectingKeepsTheWindowResponsive) {
    const UnansweredAddress unanswered;
    ASSERT_NE(unanswered.filler, qv::kInvalidSocket);
    const QString& address = unanswered.text;
    Window w(address);
    auto* login = w.pageControl<QPushButton>(Page::Logon, CLogonDlg::kLogin);
    w.typeLogon(QStringLiteral("admin"), QStringLiteral("admin"));
    w.clickLogin();
    EXPECT_FALSE(login->isEnabled());
    EXPECT_TRUE(w.window->logonPage()->connecting());
    // Enter in the password box does not start a second attempt.
    QTest::keyClick(w.pageControl<QLineEdit>(Page::Logon, CLogonDlg::kPassword), Qt::Key_Return);

    // Events are handled while the connection is pending.
    w.post(3, 101);
    EXPECT_EQ(w.prompt.notices(),
              QStringList{QStringLiteral("Admin ID and password were changed.")});

    ASSERT_TRUE(waitUntil([&] { return w.prompt.notices().size() == 2; }, 20000ms));
    EXPECT_EQ(w.prompt.notices().back(),
              QStringLiteral("Server ") + address + QStringLiteral(" connection failed."));
    EXPECT_TRUE(login->isEnabled());
    EXPECT_FALSE(w.window->logonPage()->connecting());
}

// Closing the window gives up an attempt still waiting for the handshake instead of sitting out
// the link's ten-second time-out, and shows nothing of it afterwards.
TEST(Logon, ClosingWhileConnectingGivesTheAttemptUp) {
    const UnansweredAddress unanswered;
    ASSERT_NE(unanswered.filler, qv::kInvalidSocket);
    Window w(unanswered.text);
    w.typeLogon(QStringLiteral("admin"), QStringLiteral("admin"));
    w.clickLogin();
    ASSERT_TRUE(w.window->logonPage()->connecting());
    QElapsedTimer closing;
    closing.start();
    QTest::mouseClick(w.control<QPushButton>(CQVSettingDlg::kClose), Qt::LeftButton);
    EXPECT_LT(closing.elapsed(), qv::CMySocket::kConnectTimeout.count() / 2);
    EXPECT_FALSE(w.window->isVisible());
    settle(300ms);
    EXPECT_TRUE(w.prompt.notices().isEmpty());
}

} // namespace
} // namespace qvtest
