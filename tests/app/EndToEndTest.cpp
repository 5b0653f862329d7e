// The window against the simulated appliance, in-process on a free loopback port.

#include "AppTestSupport.h"
#include "CInfoDlg.h"
#include "CMySocket.h"
#include "SimServer.h"
#include "SimState.h"

#include <gtest/gtest.h>

#include <thread>

namespace qvtest {
namespace {

using namespace std::chrono_literals;

class Simulator {
public:
    Simulator() {
        qv::sim::ServerOptions options;
        options.port = 0;
        options.rebootPause = 200ms;
        m_server = std::make_unique<qv::sim::SimServer>(options, qv::sim::seededState());
        std::string error;
        m_started = m_server->start(error);
        if (m_started)
            m_thread = std::thread([this] { m_server->run(); });
    }
    ~Simulator() {
        if (m_started) {
            m_server->stop();
            m_thread.join();
        }
    }
    bool started() const { return m_started; }
    QString address() const { return QStringLiteral("127.0.0.1:%1").arg(m_server->port()); }

private:
    std::unique_ptr<qv::sim::SimServer> m_server;
    bool m_started = false;
    std::thread m_thread;
};

TEST(EndToEnd, LogonFetchesTheSummaryAndRebootReturnsToLogon) {
    Simulator sim;
    ASSERT_TRUE(sim.started());
    Window w(sim.address());
    w.typeLogon(QStringLiteral("admin"), QStringLiteral("admin"));
    w.clickLogin();
    ASSERT_TRUE(waitUntil([&] { return w.store.PageIndex == 1; }));
    EXPECT_EQ(w.currentPage(), w.window->page(1));
    ASSERT_TRUE(waitUntil([&] { return w.window->infoPage()->record().has_value(); }));
    EXPECT_FALSE(w.window->infoPage()->record()->companyUtf8().empty());
    EXPECT_GE(w.store.maxScheduleCount, 10);
    EXPECT_EQ(w.control<QPushButton>(1010)->isVisible(), w.store.ioScheduleEnabled == 1);
    EXPECT_TRUE(w.prompt.shown.empty());

    // Reboot: the appliance answers and goes away; the empty logon page comes back.
    w.prompt.answers = {true};
    w.clickLink(1008);
    ASSERT_TRUE(waitUntil([&] { return w.store.PageIndex == 0 && !w.store.isConnected(); }));
    EXPECT_EQ(w.prompt.questions().size(), 1);
    EXPECT_TRUE(w.prompt.notices().isEmpty());
    EXPECT_TRUE(w.pageControl<QLineEdit>(0, 1001)->text().isEmpty());
    EXPECT_EQ(w.pageControl<QLineEdit>(0, 1004)->text(), sim.address());
}

TEST(EndToEnd, WrongPasswordIsRefusedInBothLanguages) {
    Simulator sim;
    ASSERT_TRUE(sim.started());
    for (bool korean : {false, true}) {
        LanguageScope language(korean);
        Window w(sim.address());
        w.typeLogon(QStringLiteral("admin"), QStringLiteral("nimda"));
        w.clickLogin();
        ASSERT_TRUE(waitUntil([&] { return !w.prompt.notices().isEmpty(); }));
        EXPECT_EQ(w.prompt.notices().front(),
                  korean
                      ? QStringLiteral("로그인 오류입니다. 관리자 아이디와 비밀번호를 확인하세요.")
                      : QStringLiteral("Login error. Please check admin ID and password."));
        EXPECT_EQ(w.store.PageIndex, 0);
        EXPECT_EQ(w.pageControl<QLineEdit>(0, 1002)->text(), QStringLiteral("nimda"));
    }
}

} // namespace
} // namespace qvtest
