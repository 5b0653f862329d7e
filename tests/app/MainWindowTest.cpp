// The main window and the logon page, driven through their controls against a scripted
// appliance on loopback.

#include "app/CAboutDlg.h"
#include "link/CMySocket.h"
#include "link/Commands.h"
#include "link/Requests.h"
#include "link/TextRequestPayload.h"
#include "pages/access/CAdminDlg.h"
#include "pages/schedule/CIoschDlg.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/ScriptedAppliance.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QRegularExpression>

#include <gtest/gtest.h>

#include <cstring>

namespace qvtest {
namespace {

using namespace std::chrono_literals;

qv::Frame reply(qv::Command cmd, int32_t value) {
    return qv::Frame{cmd, value, {}, true};
}

// An appliance that admits every logon with a center ID limit of 20.
ScriptedAppliance::Responder admitting() {
    return [](const qv::Frame& request) -> std::vector<qv::Frame> {
        if (request.cmd == qv::CMD_LOGIN_MSG)
            return {reply(qv::CMD_LOGIN_MSG, 120)};
        return {};
    };
}

qv::TextRequestPayload payloadOf(const qv::Frame& frame) {
    qv::TextRequestPayload payload;
    std::memcpy(payload.data(), frame.payload.data(),
                std::min(frame.payload.size(), payload.size()));
    return payload;
}

// A closed loopback port: bound, then released.
std::string refusedAddress() {
    const qv::SocketHandle s = qv::listenTcp("127.0.0.1", 0);
    const int port = qv::localPort(s);
    qv::closeSocket(s);
    return "127.0.0.1:" + std::to_string(port);
}

void logOn(Window& w, ScriptedAppliance& appliance) {
    ASSERT_TRUE(w.logOnAsAdmin());
    ASSERT_TRUE(waitForRequests(appliance, 2));
}

TEST(MainWindow, LinksPagesAndAccessibleNames) {
    Window w;
    const std::vector<std::pair<int, QString>> links{
        {1000, QStringLiteral("Product Summary ")},
        {1002, QStringLiteral("Change ID/Password ")},
        {1001, QStringLiteral("Center ID Management ")},
        {1003, QStringLiteral("Wake On Lan ")},
        {1004, QStringLiteral("Network/DDNS Setting ")},
        {1005, QStringLiteral("Quorvel Update ")},
        {1006, QStringLiteral("Company Logo Upload ")},
        {1007, QStringLiteral("Active-X page Upload ")},
        {1011, QStringLiteral("Web page Upload ")},
        {1012, QStringLiteral("Blacklist IP")},
        {1010, QStringLiteral("IO Schedule")},
        {1008, QStringLiteral("Reboot ")},
    };
    int previousY = -1;
    for (const auto& [id, caption] : links) {
        auto* link = w.control<QPushButton>(id);
        ASSERT_NE(link, nullptr) << id;
        EXPECT_EQ(link->text(), caption);
        // IO Schedule shows only with an IO scheduler; Blacklist IP like the others.
        EXPECT_EQ(link->isVisible(), id != 1010) << id;
        if (link->isVisible()) {
            EXPECT_GT(link->y(), previousY) << "links stand one under another, Reboot lowest";
            previousY = link->y();
        }
    }
    EXPECT_EQ(w.window->windowTitle(), QStringLiteral("QVSetting"));
    EXPECT_FALSE(w.window->windowIcon().isNull());
    ASSERT_NE(w.control<QPushButton>(1009), nullptr);

    const QStringList titles{
        QStringLiteral("Admin Logon"),           QStringLiteral("Product Summary"),
        QStringLiteral("Change Admin Password"), QStringLiteral("Center ID Management"),
        QStringLiteral("Wake On Lan"),           QStringLiteral("Network/DDNS Setting"),
        QStringLiteral("Quorvel Update"),        QStringLiteral("Company Logo Upload"),
        QStringLiteral("ActiveX Page Upload"),   QStringLiteral("Web Page Upload"),
        QStringLiteral("Blacklist IP")};
    for (int i = 0; i < titles.size(); ++i)
        EXPECT_EQ(w.window->page(static_cast<Page>(i))->title(), titles[i]);
    EXPECT_TRUE(w.window->page(Page::IoSchedule)->isWindow());
    EXPECT_FALSE(w.window->page(Page::IoSchedule)->isVisible());

    // Every control a user can reach has a name for screen readers.
    QList<QWidget*> all = w.window->findChildren<QWidget*>();
    all += w.window->page(Page::IoSchedule)->findChildren<QWidget*>();
    int named = 0;
    for (QWidget* widget : all) {
        if (qv::controlId(widget) < 0)
            continue;
        EXPECT_FALSE(widget->accessibleName().trimmed().isEmpty()) << qv::controlId(widget);
        ++named;
    }
    EXPECT_GT(named, 30);

    // The about box: "About QVSetting" in the window's menu, version line of this build.
    const QList<QAction*> actions = w.window->actions();
    ASSERT_FALSE(actions.isEmpty());
    EXPECT_EQ(actions.front()->text(), QStringLiteral("About QVSetting"));
    CAboutDlg about;
    auto* version = qv::findControl<QLabel>(&about, CAboutDlg::kVersion);
    ASSERT_NE(version, nullptr);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^QVSetting, Version \\d{4}\\.\\d{2}\\.\\d{2}$"))
                    .match(version->text())
                    .hasMatch())
        << version->text().toStdString();
}

// The first frame already holds the logon page: nothing waits on a start-up timer.
TEST(MainWindow, FirstShowPutsTheLogonPageInTheFrame) {
    qv::CGlobalData store;
    ScriptedPrompt prompt;
    CQVSettingDlg window(store, prompt);
    window.show();
    EXPECT_TRUE(window.logonPage()->isVisible());
}

// Building the window opens no window but itself: a control shown before it has a parent
// would flash on the desktop as a window of its own.
TEST(MainWindow, BuildingOpensNoWindowOfItsOwnForAControl) {
    struct ShownWindows : QObject {
        QStringList names;
        bool eventFilter(QObject* watched, QEvent* event) override {
            auto* widget = qobject_cast<QWidget*>(watched);
            if (event->type() == QEvent::Show && widget && widget->isWindow())
                names << QString::fromLatin1(widget->metaObject()->className());
            return false;
        }
    } shown;
    qApp->installEventFilter(&shown);
    qv::CGlobalData store;
    ScriptedPrompt prompt;
    CQVSettingDlg window(store, prompt);
    qApp->removeEventFilter(&shown);
    EXPECT_EQ(shown.names.join(QStringLiteral(", ")).toStdString(), "");
}

TEST(MainWindow, CommandLineAddressFillsTheAddressBox) {
    Window w(QStringLiteral("10.1.2.3:12345"));
    EXPECT_EQ(w.pageControl<QLineEdit>(Page::Logon, CLogonDlg::kServerAddress)->text(),
              QStringLiteral("10.1.2.3:12345"));
    EXPECT_EQ(w.store.PageIndex, 0);
    // With the address given, the ID box waits for typing.
    EXPECT_EQ(QApplication::focusWidget(),
              w.pageControl<QLineEdit>(Page::Logon, CLogonDlg::kAdminId));
}

TEST(MainWindow, LinksBeforeLogonDoNothingAndRebootAsksButSendsNothing) {
    ScriptedAppliance appliance;
    Window w(QString::fromStdString(appliance.address()));
    for (int id : {1000, 1002, 1001, 1003, 1004, 1005, 1006, 1007, 1011}) {
        w.clickLink(id);
        EXPECT_EQ(w.store.PageIndex, 0);
        EXPECT_EQ(w.currentPage(), w.window->page(Page::Logon)) << id;
    }
    w.prompt.answers = {true};
    w.clickLink(1008);
    EXPECT_EQ(w.prompt.questions(),
              QStringList{QStringLiteral("Are you sure to reboot Quorvel MY server?")});
    settle();
    EXPECT_EQ(appliance.connections(), 0);
    EXPECT_FALSE(w.store.link);
}

TEST(Logon, AcceptedShowsTheSummaryPageAndAsksForTheSummary) {
    ScriptedAppliance appliance(admitting());
    Window w(QString::fromStdString(appliance.address()));
    logOn(w, appliance);
    EXPECT_EQ(w.currentPage(), w.window->page(Page::Summary));
    EXPECT_EQ(w.store.maxCenterIdCount, 20);
    const auto requests = appliance.requests();
    ASSERT_GE(requests.size(), 2u);
    EXPECT_EQ(requests[0].frame.cmd, qv::CMD_LOGIN_MSG);
    EXPECT_EQ(requests[0].frame.dwCount, 100);
    EXPECT_EQ(payloadOf(requests[0].frame).firstText(), "admin");
    EXPECT_EQ(payloadOf(requests[0].frame).secondText(), "admin");
    EXPECT_EQ(requests[1].frame.cmd, qv::CMD_GET_INFO_MSG);
    EXPECT_TRUE(w.prompt.shown.empty());

    // Now the links work: the center ID page asks for its table.
    w.clickLink(1001);
    EXPECT_EQ(w.store.PageIndex, 3);
    EXPECT_EQ(w.currentPage(), w.window->page(Page::CenterIds));
    ASSERT_TRUE(waitForRequests(appliance, 3));
    EXPECT_EQ(appliance.commands().back(), qv::CMD_GET_CENTERID_MSG);

    // Pages that show no appliance data send nothing.
    for (int id : {1006, 1007, 1011})
        w.clickLink(id);
    settle();
    EXPECT_EQ(appliance.requests().size(), 3u);

    // The administrator page always opens with empty boxes.
    w.clickLink(1002);
    for (int id : {CAdminDlg::kNewId, CAdminDlg::kNewPassword, CAdminDlg::kRetype})
        w.pageControl<QLineEdit>(Page::Admin, id)->setText(QStringLiteral("typed"));
    w.clickLink(1000);
    w.clickLink(1002);
    for (int id : {CAdminDlg::kNewId, CAdminDlg::kNewPassword, CAdminDlg::kRetype})
        EXPECT_TRUE(w.pageControl<QLineEdit>(Page::Admin, id)->text().isEmpty()) << id;
}

TEST(Logon, RefusedKeepsIdAndLinkForgetsThePasswordAndTheNextLoginReusesTheConnection) {
    ScriptedAppliance appliance([](const qv::Frame& request) -> std::vector<qv::Frame> {
        if (request.cmd == qv::CMD_LOGIN_MSG)
            return {reply(qv::CMD_LOGIN_MSG, 250)};
        return {};
    });
    Window w(QString::fromStdString(appliance.address()));
    w.typeLogon(QStringLiteral("admin"), QStringLiteral("wrong"));
    w.clickLogin();
    ASSERT_TRUE(waitUntil([&] { return !w.prompt.notices().isEmpty(); }));
    EXPECT_EQ(w.prompt.notices(),
              QStringList{QStringLiteral("Login error. Please check admin ID and password.")});
    EXPECT_EQ(w.store.PageIndex, 0);
    EXPECT_EQ(w.pageControl<QLineEdit>(Page::Logon, CLogonDlg::kAdminId)->text(),
              QStringLiteral("admin"));
    // The password is not kept once the appliance has answered.
    EXPECT_TRUE(w.pageControl<QLineEdit>(Page::Logon, CLogonDlg::kPassword)->text().isEmpty());
    EXPECT_TRUE(w.store.isConnected());

    w.typeLogon(QStringLiteral("admin"), QStringLiteral("again"));
    w.clickLogin();
    ASSERT_TRUE(waitUntil([&] { return w.prompt.notices().size() == 2; }));
    EXPECT_EQ(appliance.connections(), 1);
    EXPECT_EQ(appliance.commands(),
              (std::vector<qv::Command>{qv::CMD_LOGIN_MSG, qv::CMD_LOGIN_MSG}));
}

TEST(Logon, LoginTwiceWhileConnectedSendsTwoLogonsOnOneConnection) {
    ScriptedAppliance appliance; // never answers
    Window w(QString::fromStdString(appliance.address()));
    w.typeLogon(QStringLiteral("admin"), QStringLiteral("admin"));
    auto* login = w.pageControl<QPushButton>(Page::Logon, CLogonDlg::kLogin);
    w.clickLogin();
    ASSERT_TRUE(waitForRequests(appliance, 1));
    ASSERT_TRUE(waitUntil([&] { return login->isEnabled(); }));
    w.clickLogin();
    ASSERT_TRUE(waitForRequests(appliance, 2));
    settle();
    EXPECT_EQ(appliance.connections(), 1);
    EXPECT_EQ(appliance.commands(),
              (std::vector<qv::Command>{qv::CMD_LOGIN_MSG, qv::CMD_LOGIN_MSG}));
}

TEST(Logon, ConnectFailureMessageInBothLanguages) {
    for (bool korean : {false, true}) {
        LanguageScope language(korean);
        const std::string address = refusedAddress();
        Window w(QString::fromStdString(address));
        w.typeLogon(QStringLiteral("admin"), QStringLiteral("admin"));
        w.clickLogin();
        ASSERT_TRUE(waitUntil([&] { return !w.prompt.notices().isEmpty(); }));
        const QString a = QString::fromStdString(address);
        EXPECT_EQ(w.prompt.notices().front(),
                  korean ? QStringLiteral("서버 ") + a + QStringLiteral(" 에 연결할 수 없습니다.")
                         : QStringLiteral("Server ") + a + QStringLiteral(" connection failed."));
        EXPECT_EQ(w.store.PageIndex, 0);
        EXPECT_FALSE(w.store.isConnected());
        EXPECT_TRUE(w.pageControl<QPushButton>(Page::Logon, CLogonDlg::kLogin)->isEnabled());
        EXPECT_EQ(w.pageControl<QLineEdit>(Page::Logon, CLogonDlg::kAdminId)->text(),
                  QStringLiteral("admin"));
        EXPECT_EQ(w.pageControl<QLineEdit>(Page::Logon, CLogonDlg::kPassword)->text(),
                  QStringLiteral("admin"));
        // The page's labels follow the language.
        EXPECT_EQ(w.pageControl<QLabel>(Page::Logon, CLogonDlg::kServerAddressLabel)->text(),
                  korean ? QStringLiteral("서버 주소") : QStringLiteral("Server Address"));
    }
}

TEST(Logon, LongIdAndPasswordAreCutToTheirFields) {
    {
        LanguageScope language(false);
        ScriptedAppliance appliance;
        Window w(QString::fromStdString(appliance.address()));
        w.typeLogon(QString(40, QLatin1Char('i')), QString(70, QLatin1Char('p')));
        w.clickLogin();
        ASSERT_TRUE(waitForRequests(appliance, 1));
        const qv::Frame frame = appliance.requests()[0].frame;
        ASSERT_EQ(frame.payload.size(), 100u);
        EXPECT_EQ(payloadOf(frame).firstText(), std::string(31, 'i'));
        EXPECT_EQ(payloadOf(frame).secondText(), std::string(63, 'p'));
        EXPECT_EQ(frame.payload[35], 0);
        EXPECT_EQ(frame.payload[99], 0);
    }
    {
        // In code page 949 a Hangul syllable takes two bytes; none is split.
        LanguageScope language(true);
        ScriptedAppliance appliance;
        Window w(QString::fromStdString(appliance.address()));
        w.typeLogon(QString(20, QChar(0xD55C)), QStringLiteral("pw"));
        w.clickLogin();
        ASSERT_TRUE(waitForRequests(appliance, 1));
        EXPECT_EQ(payloadOf(appliance.requests()[0].frame).firstText().size(), 30u);
    }
}

TEST(Logon, EnterAndEscapeOnThePage) {
    ScriptedAppliance appliance(admitting());
    Window w(QString::fromStdString(appliance.address()));
    auto* address = w.pageControl<QLineEdit>(Page::Logon, CLogonDlg::kServerAddress);
    auto* id = w.pageControl<QLineEdit>(Page::Logon, CLogonDlg::kAdminId);
    auto* password = w.pageControl<QLineEdit>(Page::Logon, CLogonDlg::kPassword);
    w.typeLogon(QStringLiteral("admin"), QStringLiteral("admin"));

    // Enter in the address box and Escape anywhere do nothing, and never close the window.
    address->setFocus();
    QTest::keyClick(address, Qt::Key_Return);
    QTest::keyClick(address, Qt::Key_Escape);
    QTest::keyClick(password, Qt::Key_Escape);
    settle();
    EXPECT_TRUE(w.window->isVisible());
    EXPECT_EQ(appliance.connections(), 0);

    // Enter in the ID box moves on to the password; Enter there logs on.
    id->setFocus();
    QTest::keyClick(id, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), password);
    QTest::keyClick(password, Qt::Key_Enter);
    ASSERT_TRUE(waitUntil([&] { return w.store.PageIndex == 1; }));
    EXPECT_TRUE(w.window->isVisible());
}

TEST(Logon, LinkLossBringsBackTheEmptyLogonPage) {
    ScriptedAppliance appliance(admitting());
    Window w(QString::fromStdString(appliance.address()));
    logOn(w, appliance);
    w.clickLink(1003);
    ASSERT_EQ(w.store.PageIndex, 4);

    appliance.closeClient();
    ASSERT_TRUE(waitUntil([&] { return w.store.PageIndex == 0; }));
    EXPECT_EQ(w.currentPage(), w.window->page(Page::Logon));
    EXPECT_TRUE(w.pageControl<QLineEdit>(Page::Logon, CLogonDlg::kAdminId)->text().isEmpty());
    EXPECT_TRUE(w.pageControl<QLineEdit>(Page::Logon, CLogonDlg::kPassword)->text().isEmpty());
    EXPECT_EQ(w.pageControl<QLineEdit>(Page::Logon, CLogonDlg::kServerAddress)->text(),
              QString::fromStdString(appliance.address()));
    EXPECT_EQ(QApplication::focusWidget(), w.control<QPushButton>(1000));
    EXPECT_TRUE(w.prompt.shown.empty()) << "link loss shows no message";
    EXPECT_FALSE(w.store.isConnected());
    ASSERT_TRUE(w.store.link) << "the link object stays for the next Login";

    // The next Login connects again.
    ASSERT_TRUE(w.logOnAsAdmin());
    EXPECT_EQ(appliance.connections(), 2);
}

TEST(MainWindow, IoScheduleLinkSendsThreeRequestsAndRunsTheClock) {
    ScriptedAppliance appliance(admitting());
    Window w(QString::fromStdString(appliance.address()));
    logOn(w, appliance);
    qv::NetworkConfigRecord record;
    record.setIoScheduleEnabled(1);
    w.post(2, 0, {record.bytes.begin(), record.bytes.end()});
    ASSERT_TRUE(w.control<QPushButton>(1010)->isVisible());

    w.clickLink(1010);
    ASSERT_TRUE(waitForRequests(appliance, 5));
    const auto requests = appliance.requests();
    EXPECT_EQ(
        appliance.commands(),
        (std::vector<qv::Command>{qv::CMD_LOGIN_MSG, qv::CMD_GET_INFO_MSG, qv::CMD_GET_IOLIST_MSG,
                                  qv::CMD_GET_SCHEDULE_MSG, qv::CMD_GET_TIME_MSG}));
    EXPECT_EQ(requests[2].frame.dwCount, 101);
    EXPECT_EQ(requests[3].frame.dwCount, 101);
    EXPECT_EQ(w.store.PageIndex, 11);
    auto* iosch = w.window->ioSchedulePage();
    EXPECT_TRUE(iosch->isVisible());
    EXPECT_TRUE(iosch->clockTimerActive());
    // Timer 3999 asks for the time while the page is shown.
    ASSERT_TRUE(waitUntil([&] { return appliance.requests().size() >= 6; }));
    EXPECT_EQ(appliance.commands().back(), qv::CMD_GET_TIME_MSG);

    w.clickLink(1000);
    EXPECT_FALSE(iosch->isVisible());
    EXPECT_FALSE(iosch->clockTimerActive());
    EXPECT_EQ(w.currentPage(), w.window->page(Page::Summary));
}

TEST(MainWindow, CloseEndsTheLinkAndForgetsIt) {
    ScriptedAppliance appliance(admitting());
    Window w(QString::fromStdString(appliance.address()));
    logOn(w, appliance);
    QTest::mouseClick(w.control<QPushButton>(1009), Qt::LeftButton);
    EXPECT_FALSE(w.store.link);
    EXPECT_FALSE(w.window->isVisible());
}

// A page is built when it is first shown or when a reply concerns it, not with the window: at
// start the window holds the logon page alone, each link builds its own page and no other, a
// reply builds the page it fills, and the window has the size it would have with every page.
TEST(MainWindow, BuildsEachPageOnItsFirstVisit) {
    Window w;
    const auto built = [&] { return w.window->findChildren<CPageDlg*>().size(); };
    const QSize atStart = w.window->size();
    EXPECT_EQ(built(), 1);
    w.post(static_cast<int>(qv::ReplyEvent::LogonAnswered), 120);
    ASSERT_EQ(w.store.PageIndex, pageIndex(Page::Summary));
    EXPECT_EQ(built(), 2);

    struct Visit {
        int link;
        Page page;
        qsizetype builtAfter;
    };
    const Visit visits[] = {
        {1002, Page::Admin, 3},    {1001, Page::CenterIds, 4}, {1003, Page::Wol, 5},
        {1004, Page::Network, 6},  {1005, Page::Update, 7},    {1006, Page::Logo, 8},
        {1007, Page::ActiveX, 9},  {1011, Page::WebPage, 10},  {1012, Page::Blacklist, 11},
        {1000, Page::Summary, 11}, {1002, Page::Admin, 11},
    };
    for (const Visit& visit : visits) {
        w.clickLink(visit.link);
        ASSERT_EQ(w.store.PageIndex, pageIndex(visit.page)) << visit.link;
        EXPECT_EQ(built(), visit.builtAfter) << visit.link;
        EXPECT_EQ(w.currentPage(), w.window->page(visit.page)) << visit.link;
        EXPECT_TRUE(w.currentPage()->isVisible()) << visit.link;
    }

    // The IO device list builds the IO schedule window, which stays hidden.
    w.post(static_cast<int>(qv::ReplyEvent::IoListArrived), 0);
    EXPECT_EQ(built(), 12);
    EXPECT_FALSE(w.window->page(Page::IoSchedule)->isVisible());
    EXPECT_EQ(w.store.PageIndex, pageIndex(Page::Admin));
    // With every page built the window asks for no other size than it took at start.
    EXPECT_EQ(w.window->size(), atStart);
    EXPECT_EQ(w.window->sizeHint(), atStart);
}

// A reply for a page never shown builds that page alone and leaves the shown page in front;
// the end of the link and Close pass over the pages never built.
TEST(MainWindow, ReplyBuildsOnlyThePageItConcerns) {
    Window w;
    const auto built = [&] { return w.window->findChildren<CPageDlg*>().size(); };
    ASSERT_EQ(built(), 1);
    const std::pair<qv::ReplyEvent, qsizetype> replies[] = {{qv::ReplyEvent::CenterIdsArrived, 2},
                                                            {qv::ReplyEvent::WolArrived, 3},
                                                            {qv::ReplyEvent::BlockIpsArrived, 4},
                                                            {qv::ReplyEvent::LinkEnded, 4}};
    for (const auto& [event, builtAfter] : replies) {
        w.post(static_cast<int>(event), 0);
        EXPECT_EQ(built(), builtAfter) << static_cast<int>(event);
        EXPECT_EQ(w.currentPage(), w.window->logonPage()) << static_cast<int>(event);
        EXPECT_EQ(w.store.PageIndex, pageIndex(Page::Logon));
    }
    EXPECT_FALSE(w.window->page(Page::CenterIds)->isVisible());
    w.window->OnClose();
    EXPECT_FALSE(w.window->isVisible());
    EXPECT_EQ(built(), 4);
}

} // namespace
} // namespace qvtest
