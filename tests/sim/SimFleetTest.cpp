// qvsim serving several appliances from one process: each port its own state, identity and
// state file, and answers held back by the configured latency.

#include "sim/SimFleet.h"
#include "link/CMySocket.h"
#include "link/Catalogue.h"
#include "link/Requests.h"
#include "tests/sim/SimTestSupport.h"
#include "tests/support/TestPlatform.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <sstream>
#include <unistd.h>

namespace qv::simtest {
namespace {

// A link logged on with `id` and `password`; loggedOn tells whether the appliance took them.
struct Logon {
    Logon(int port, const std::string& id, const std::string& password) {
        if (link.Connect(&sink, "127.0.0.1:" + std::to_string(port)) &&
            link.Send(request::logon(id, password))) {
            const auto answer = sink.waitFor(ReplyEvent::LogonAnswered);
            loggedOn = answer && result::kLogonAccepted.holds(answer->value);
        }
    }
    QueueSink sink;
    CMySocket link;
    bool loggedOn = false;
};

// qvsim as a subprocess; ports() are those of its "listening on" lines, once all are printed.
class FleetProcess {
public:
    FleetProcess(std::vector<std::string> arguments, const std::string& output, size_t expected)
        : m_process(qvtest::ChildStart{withProgram(std::move(arguments)), {}, output, {}}) {
        eventually([&] {
            if (!m_process.started() || m_process.ended())
                return true;
            m_ports.clear();
            std::istringstream in(qvtest::readChildOutput(output));
            for (std::string line; std::getline(in, line);)
                if (line.rfind("qvsim listening on ", 0) == 0)
                    m_ports.push_back(std::stoi(line.substr(line.rfind(':') + 1)));
            return m_ports.size() == expected;
        });
    }
    int stop() { return m_process.stop(); }
    const std::vector<int>& ports() const { return m_ports; }

private:
    static std::vector<std::string> withProgram(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), QVSIM_PATH);
        return arguments;
    }
    qvtest::ChildProcess m_process;
    std::vector<int> m_ports;
};

TEST(QvsimFleet, EachPortIsAnApplianceOfItsOwnKeptInItsOwnFile) {
    const auto folder =
        std::filesystem::temp_directory_path() / ("qvsim-fleet-" + std::to_string(::getpid()));
    std::filesystem::remove_all(folder);
    const std::string log = (folder.string() + ".log");
    const std::vector<std::string> arguments{
        "--fleet", "3", "--port", "0", "--state-dir", (folder / "states").string()};
    {
        FleetProcess sim(arguments, log, 3);
        ASSERT_EQ(sim.ports().size(), 3u) << qvtest::readChildOutput(log);
        std::set<std::string> names;
        std::set<std::vector<uint8_t>> macs;
        for (int port : sim.ports()) {
            Logon client(port, "admin", "admin");
            ASSERT_TRUE(client.loggedOn) << port;
            ASSERT_TRUE(client.link.Send(request::readNetwork()));
            const auto record = client.sink.waitFor(ReplyEvent::NetworkArrived);
            ASSERT_TRUE(record);
            NetworkConfigRecord network;
            ASSERT_EQ(record->payload.size(), network.bytes.size());
            std::copy(record->payload.begin(), record->payload.end(), network.bytes.begin());
            names.insert(network.deviceName());
            const auto mac = network.mac();
            macs.insert({mac.begin(), mac.end()});
        }
        EXPECT_EQ(names,
                  (std::set<std::string>{"QV-MY2400-001", "QV-MY2400-002", "QV-MY2400-003"}));
        EXPECT_EQ(macs.size(), 3u);
        // A change on the second appliance stays there.
        Logon second(sim.ports()[1], "admin", "admin");
        ASSERT_TRUE(second.loggedOn);
        ASSERT_TRUE(second.link.Send(request::changeAdmin("second", "pw2")));
        const auto changed = second.sink.waitFor(ReplyEvent::AdminChangeAnswered);
        ASSERT_TRUE(changed);
        EXPECT_EQ(changed->value, result::kSuccess);
        second.link.Close();
        EXPECT_EQ(sim.stop(), 0);
    }
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(
            std::filesystem::is_regular_file(sim::fleetStatePath((folder / "states").string(), i)));
    {
        // Restarted, each appliance comes back from its own file.
        FleetProcess sim(arguments, log, 3);
        ASSERT_EQ(sim.ports().size(), 3u) << qvtest::readChildOutput(log);
        EXPECT_TRUE(Logon(sim.ports()[0], "admin", "admin").loggedOn);
        EXPECT_TRUE(Logon(sim.ports()[1], "second", "pw2").loggedOn);
        EXPECT_TRUE(Logon(sim.ports()[2], "admin", "admin").loggedOn);
        EXPECT_EQ(sim.stop(), 0);
    }
    std::filesystem::remove_all(folder);
    std::filesystem::remove(log);
}

TEST(QvsimFleet, RefusesFleetOptionsThatCannotHold) {
    const std::string log = (std::filesystem::temp_directory_path() /
                             ("qvsim-fleet-usage-" + std::to_string(::getpid())))
                                .string();
    for (const std::vector<std::string>& bad : {std::vector<std::string>{"--fleet", "0"},
                                                {"--fleet", "1001"},
                                                {"--fleet", "2", "--state", "one-file"},
                                                {"--state-dir", "states", "--state", "one-file"},
                                                {"--state-dir", ""},
                                                {"--latency", "-1"},
                                                {"--latency", "60001"},
                                                {"--port", "65535", "--fleet", "2"}}) {
        FleetProcess sim(bad, log, 1);
        EXPECT_TRUE(sim.ports().empty()) << bad[0];
        EXPECT_EQ(sim.stop(), 2) << bad[0] << " " << bad[1];
    }
    std::filesystem::remove(log);
}

TEST(SimServer, AnswersNoSoonerThanItsLatency) {
    sim::ServerOptions options;
    options.latency = 400ms;
    RunningSim sim(options);
    ASSERT_TRUE(sim.started());
    QueueSink sink;
    CMySocket link;
    ASSERT_TRUE(link.Connect(&sink, sim.address()));
    const std::pair<Frame, ReplyEvent> asked[] = {
        {request::logon("admin", "admin"), ReplyEvent::LogonAnswered},
        {request::readSummary(), ReplyEvent::SummaryArrived}};
    for (const auto& [request, reply] : asked) {
        const auto sent = std::chrono::steady_clock::now();
        ASSERT_TRUE(link.Send(request));
        const auto answer = sink.waitFor(reply);
        ASSERT_TRUE(answer);
        EXPECT_GE(std::chrono::steady_clock::now() - sent, options.latency);
    }
}

// A member whose port is taken fails the whole start.
TEST(SimFleet, DoesNotStartWhenOneOfItsPortsIsTaken) {
    RunningSim holder;
    sim::ServerOptions taken;
    taken.port = holder.port();
    sim::ServerOptions free;
    free.port = 0;
    std::vector<sim::SimFleet::Member> clash;
    clash.push_back({free, sim::seededState()});
    clash.push_back({taken, sim::seededState()});
    sim::SimFleet refused(std::move(clash));
    std::string error;
    EXPECT_FALSE(refused.start(error));
    EXPECT_NE(error.find(std::to_string(holder.port())), std::string::npos) << error;
}

} // namespace
} // namespace qv::simtest
