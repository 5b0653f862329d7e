// qvctl network set, ddns, mac and ntp against qvsim over loopback: the network page's checks
// and messages, exit statuses, nothing sent on a refusal or a No, and Save & Reboot applied.

#include "sim/SimServer.h"
#include "sim/SimState.h"

#include "tests/support/QvctlRun.h"
#include "tests/support/RunningSim.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

using namespace std::chrono_literals;

class NetworkCommand : public ::testing::Test {
protected:
    qvtest::QvctlResult qvctl(std::vector<std::string> args) {
        args.insert(args.begin(), {"--server", sim.address()});
        return qvtest::runQvctl(args);
    }
    qv::simtest::RunningSim sim;
};

TEST_F(NetworkCommand, RefusalsAndAnswersKeepThePageMessagesAndStatuses) {
    ASSERT_TRUE(sim.started());
    const std::string koreanCompany = "가나다라마바사아자차카"; // 33 bytes in UTF-8
    const struct {
        std::vector<std::string> args;
        int status;
        const char* said; // on standard output for 0, on standard error otherwise
    } cases[] = {
        {{"network", "set", "--web-port", "70000", "--yes"},
         2,
         "Web Server Port: a port number is at most 65535."},
        {{"network", "set", "--address", "1.2.3"}, 2, "--address needs a dotted address"},
        {{"network", "set", "--link-port", "0", "--web-port", "x", "--yes"},
         0,
         "The network settings are the appliance's current ones. Nothing was sent."},
        {{"network", "set", "--upnp"}, 1, "Nothing was sent."},
        {{"ddns", "check", "a-b"}, 2, "Only alphabets and numbers are permitted."},
        {{"ddns", "check", "a/b;"}, 2, "Not allowed character ';'"},
        {{"ddns", "check", "demo"}, 6, "The ID is used by another. (102)"},
        {{"ddns", "check", "free1"}, 0, "The ID is available."},
        {{"ddns", "register", "--company", koreanCompany},
         2,
         "Company is too long: the appliance keeps at most 31 bytes."},
        {{"mac", "register"}, 6, "The product was registrated already. (401)"},
        {{"ntp", "set", "time.example"}, 0, "NTP Server setting finished."},
    };
    for (const auto& c : cases) {
        const qvtest::QvctlResult r = qvctl(c.args);
        EXPECT_EQ(r.status, c.status) << c.args[1] << " " << r.err;
        EXPECT_NE((c.status == 0 ? r.out : r.err).find(c.said), std::string::npos)
            << c.said << "\n"
            << r.out << r.err;
    }
    const qv::sim::SimState state = sim.server().snapshot();
    EXPECT_FALSE(state.record.upnp());
    EXPECT_EQ(state.record.webPort(), 80);
    EXPECT_EQ(state.record.ntpServer(), "time.example");
}

TEST_F(NetworkCommand, UnanswerableAddressesAndAddressesUnderDhcpSendNothing) {
    auto dhcp = qv::sim::seededState();
    dhcp->record.setDhcp(1);
    qv::simtest::RunningSim dhcpSim({}, std::move(dhcp));
    ASSERT_TRUE(sim.started() && dhcpSim.started());
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{sim.address(), "--address", "0.0.0.0"}, "IP Address: 0.0.0.0 is not an address"},
        {{dhcpSim.address(), "--static", "--address", "192.168.10.30"},
         "--static on an appliance that takes its address by DHCP needs --address, --netmask"},
        {{dhcpSim.address(), "--address", "192.168.10.30"}, "--address has no effect while DHCP"},
    };
    for (const auto& [args, said] : cases) {
        std::vector<std::string> line{"--server", args[0], "network", "set", "--yes"};
        line.insert(line.end(), args.begin() + 1, args.end());
        const qvtest::QvctlResult r = qvtest::runQvctl(line);
        EXPECT_EQ(r.status, 2) << said;
        EXPECT_NE(r.err.find(said), std::string::npos) << said << "\n" << r.err;
    }
    EXPECT_EQ(dhcpSim.server().snapshot().record.dhcp(), 1);
}

TEST_F(NetworkCommand, SetSendsSaveAndRebootWithTheOptionsGivenOnly) {
    ASSERT_TRUE(sim.started());
    const qvtest::QvctlResult r =
        qvctl({"network", "set", "--web-port", "8080", "--upnp", "--yes"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("Web Server Port: 80 -> 8080\nUPNP: off -> on\n"), std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("Log on next at " + sim.address() + "."), std::string::npos) << r.out;
    // qvctl is gone once it sent the request; the appliance may take it a moment later.
    qv::NetworkConfigRecord record;
    for (int i = 0; i < 100 && record.webPort() != 8080; ++i) {
        std::this_thread::sleep_for(50ms);
        record = sim.server().snapshot().record;
    }
    EXPECT_EQ(record.webPort(), 8080);
    EXPECT_TRUE(record.upnp());
    EXPECT_EQ(record.linkPort(), 12301);
    EXPECT_EQ(record.ipAddress(), (std::array<uint8_t, 4>{192, 168, 10, 20}));
}

} // namespace
