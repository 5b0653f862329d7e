// The window against the simulated appliance, in-process on a free loopback port.

#include "AppTestSupport.h"
#include "CMySocket.h"
#include "RunningSim.h"
#include "SimServer.h"
#include "SimState.h"
#include "network/CInfoDlg.h"

#include <gtest/gtest.h>

#include <thread>

namespace qvtest {
namespace {

using namespace std::chrono_literals;

// qvsim in this process on a free loopback port, with the window's address form.
class Simulator : public qv::simtest::RunningSim {
public:
    QString address() const { return QString::fromStdString(qv::simtest::RunningSim::address()); }
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
