// The safe network change end to end: the window moves qvsim --follow-address from 127.0.0.1 to
// 127.0.0.2 with new ports, the logon page offers the new address and says when the appliance
// answers there, and qvctl reads the new settings back.

#include "pages/IpAddressEdit.h"
#include "pages/network/CNetworkDlg.h"
#include "tests/support/QvctlRun.h"
#include "tests/support/WindowOnSim.h"

#include <QLabel>

namespace {

using namespace std::chrono_literals;
using Page = CNetworkDlg;

class NetworkEndToEnd : public qvtest::WindowOnSim {
protected:
    NetworkEndToEnd() : WindowOnSim(followingOptions(), loopbackAppliance()) {}

    static qv::sim::ServerOptions followingOptions() {
        qv::sim::ServerOptions options;
        options.followAddress = true;
        // Long enough for the first knock, two seconds in, to find the appliance away.
        options.rebootPause = 3s;
        return options;
    }
    static std::unique_ptr<qv::sim::SimState> loopbackAppliance() {
        auto state = qv::sim::seededState();
        state->record.setIpAddress({127, 0, 0, 1});
        state->record.setNetMask({255, 0, 0, 0});
        return state;
    }
};

TEST_F(NetworkEndToEnd, NewAddressIsOfferedAtLogonAndAnswersThere) {
    openWindow();
    ASSERT_TRUE(logOn());
    follow(CQVSettingDlg::kLinkNetwork);
    Page* page = window->networkPage();
    ASSERT_TRUE(QTest::qWaitFor([&] { return page->record().has_value(); }, kWaitMs));

    QLineEdit* lastOctet = in<IpAddressEdit>(page, Page::kAddress)->field(3);
    lastOctet->selectAll();
    qvtest::typeInto(lastOctet, QStringLiteral("2"));
    type(page, Page::kLinkPort, QStringLiteral("13001"));
    type(page, Page::kDataPort, QStringLiteral("13002"));
    prompt.answers.push_back(true);
    click(page, Page::kSaveAndReboot);
    ASSERT_EQ(prompt.questions().size(), 1);
    EXPECT_TRUE(
        prompt.questions().first().contains(QStringLiteral("IP Address: 127.0.0.1 -> 127.0.0.2")));

    const QString next = QStringLiteral("127.0.0.2:%1").arg(sim.port());
    CLogonDlg* logon = window->logonPage();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return store.PageIndex == 0 && logon->isVisible(); }, kWaitMs));
    EXPECT_EQ(in<QLineEdit>(logon, CLogonDlg::kServerAddress)->text(), next);
    QLabel* status = in<QLabel>(logon, CLogonDlg::kReturnStatus);
    EXPECT_TRUE(status->text().startsWith(QStringLiteral("Waiting for the appliance at ") + next));
    const QString answered = qv::uiText(qv::StringId::ReturnAnswered).arg(next);
    ASSERT_TRUE(QTest::qWaitFor([&] { return status->text() == answered; }, 3 * kWaitMs));
    EXPECT_EQ(simLogCount("listening again on 127.0.0.2:"), 1);

    ASSERT_TRUE(logOn());
    EXPECT_TRUE(status->isHidden());
    const qvtest::QvctlResult read = qvtest::runQvctl({"--server", next.toStdString(), "network"});
    EXPECT_EQ(read.status, 0) << read.err;
    for (const char* line : {"IP Address:          127.0.0.2", "Quorvel Link Port:   13001",
                             "Quorvel Data Port:   13002"})
        EXPECT_NE(read.out.find(line), std::string::npos) << line << "\n" << read.out;
}

} // namespace
