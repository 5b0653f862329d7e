// Running one job over many appliances at once: live qvsim servers in this process next to a
// dead address, one that refuses the logon and one that never answers; what each outcome holds,
// the output lines, the summary and the exit status, and Ctrl+C in the middle of a run.

#include "cli/ExitCodes.h"
#include "cli/Parallel.h"
#include "cli/Session.h"
#include "link/Requests.h"
#include "tests/support/QvctlRun.h"
#include "tests/support/RunningSim.h"
#include "tests/support/ScriptedAppliance.h"

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>

namespace qvctl {
namespace {

using namespace std::chrono_literals;

// A read command in miniature: logs on, reads the center ID table and prints its size as JSON.
// Its messages go to std::cerr as a command's do.
int readCenterIdCount(const InventoryEntry& appliance, std::ostream& out,
                      std::chrono::seconds timeout = 10s) {
    Options options;
    options.server = appliance.address;
    options.timeout = timeout;
    ApplianceSession session(options, std::cerr);
    if (const int status = session.logOn("admin"); status != kExitOk)
        return status;
    if (const int status =
            session.request(qv::request::readCenterIds(), qv::ReplyEvent::CenterIdsArrived);
        status != kExitOk)
        return status;
    out << "{\"centerIds\": " << session.store().centerIdCount << "}\n";
    return kExitOk;
}

std::unique_ptr<qv::sim::SimState> withPassword(const std::string& password) {
    auto state = qv::sim::seededState();
    state->adminPassword = password;
    return state;
}

TEST(ParallelRun, OneFailingApplianceNeverStopsTheOthers) {
    qv::simtest::RunningSim live1, live2, live3, refusing({}, withPassword("other"));
    qvtest::ScriptedAppliance dead(qvtest::ScriptedAppliance::kByHand);
    dead.stopListening();
    ASSERT_TRUE(live1.started() && live2.started() && live3.started() && refusing.started());
    const std::vector<InventoryEntry> fleet{{"live-1", live1.address(), 1},
                                            {"dead", dead.address(), 2},
                                            {"live-2", live2.address(), 3},
                                            {"refusing", refusing.address(), 4},
                                            {"live-3", live3.address(), 5}};
    ParallelRun run(fleet, 2);
    std::map<std::string, RunOutcome> outcomes;
    std::vector<std::string> order;
    const RunTotals totals =
        run.run([](const InventoryEntry& appliance,
                   std::ostream& out) { return readCenterIdCount(appliance, out); },
                [&](const RunOutcome& outcome) {
                    order.push_back(outcome.appliance.name);
                    outcomes[outcome.appliance.name] = outcome;
                });

    EXPECT_EQ(order.size(), fleet.size());
    EXPECT_EQ(totals.appliances, 5u);
    EXPECT_EQ(totals.finished, 5u);
    EXPECT_EQ(totals.failed, 2u);
    EXPECT_FALSE(totals.stopped);
    for (const char* name : {"live-1", "live-2", "live-3"}) {
        EXPECT_EQ(outcomes[name].exit, kExitOk) << name << outcomes[name].err;
        EXPECT_EQ(nlohmann::json::parse(outcomes[name].out)["centerIds"], 6) << name;
        EXPECT_EQ(outcomes[name].err, "") << name;
    }
    // Each appliance's messages are in its own outcome, and only there.
    EXPECT_EQ(outcomes["dead"].exit, kExitConnectFailed);
    EXPECT_EQ(outcomes["dead"].err, "qvctl: cannot connect to " + dead.address() + "\n");
    EXPECT_EQ(outcomes["refusing"].exit, kExitLogonRefused);
    EXPECT_NE(outcomes["refusing"].err.find("logon refused"), std::string::npos);
    EXPECT_EQ(outcomes["refusing"].err.find("cannot connect"), std::string::npos);
    EXPECT_EQ(outcomes["dead"].out, "");
    EXPECT_EQ(runExitCode(totals), kExitSeveralFailures);
    EXPECT_EQ(summaryLine(totals), "5 appliances: 3 succeeded, 2 failed\n");
}

TEST(ParallelRun, RunsAtMostParallelAtOnceAndEveryApplianceOnce) {
    std::vector<InventoryEntry> fleet;
    for (int i = 0; i < 40; ++i)
        fleet.push_back({"a" + std::to_string(i), "127.0.0.1:1", i + 1});
    for (const size_t parallel : {size_t{1}, size_t{3}, size_t{64}}) {
        std::atomic<int> running{0}, most{0};
        std::map<std::string, int> seen;
        ParallelRun run(fleet, parallel);
        const RunTotals totals = run.run(
            [&](const InventoryEntry& appliance, std::ostream& out) {
                const int now = ++running;
                for (int was = most.load(); now > was && !most.compare_exchange_weak(was, now);)
                    ;
                std::this_thread::yield();
                out << appliance.name;
                --running;
                return appliance.line % 7 == 0 ? kExitLinkLost : kExitOk;
            },
            [&](const RunOutcome& outcome) {
                ++seen[outcome.appliance.name];
                EXPECT_EQ(outcome.out, outcome.appliance.name);
            });
        EXPECT_LE(most.load(), static_cast<int>(parallel));
        EXPECT_EQ(seen.size(), fleet.size());
        for (const auto& [name, times] : seen)
            EXPECT_EQ(times, 1) << name;
        EXPECT_EQ(totals.finished, 40u);
        EXPECT_EQ(totals.failed, 5u);
        EXPECT_EQ(runExitCode(totals), kExitLinkLost);
    }
    EXPECT_EQ(runExitCode(RunTotals{}), kExitOk);
}

TEST(ParallelRun, InterruptCutsRunningLinksAndStartsNoMore) {
    // The first appliance takes the logon and never answers; the run takes one at a time.
    qvtest::ScriptedAppliance silent;
    qv::simtest::RunningSim live1, live2;
    ASSERT_TRUE(live1.started() && live2.started());
    const std::vector<InventoryEntry> fleet{{"silent", silent.address(), 1},
                                            {"live-1", live1.address(), 2},
                                            {"live-2", live2.address(), 3}};
    ParallelRun run(fleet, 1);
    std::thread interrupter([&] {
        ASSERT_TRUE(silent.waitForRequests(1));
        std::raise(SIGINT);
    });
    std::vector<RunOutcome> outcomes;
    // A time-out far longer than a cut takes: the link must end because it was cut.
    const RunTotals totals =
        run.run([](const InventoryEntry& appliance,
                   std::ostream& out) { return readCenterIdCount(appliance, out, 20s); },
                [&](const RunOutcome& outcome) { outcomes.push_back(outcome); });
    interrupter.join();

    ASSERT_EQ(outcomes.size(), 1u);
    EXPECT_EQ(outcomes[0].appliance.name, "silent");
    EXPECT_EQ(outcomes[0].exit, kExitLinkLost);
    EXPECT_NE(outcomes[0].err.find("ended before the answer came"), std::string::npos)
        << outcomes[0].err;
    EXPECT_TRUE(totals.stopped);
    EXPECT_EQ(totals.finished, 1u);
    EXPECT_EQ(totals.notStarted(), 2u);
    EXPECT_TRUE(live1.log().empty());
    EXPECT_EQ(runExitCode(totals), kExitInterrupted);
    EXPECT_EQ(summaryLine(totals),
              "stopped: 1 of 3 appliances finished (0 succeeded, 1 failed), 2 not started\n");
}

TEST(ParallelRun, OutputLines) {
    const std::vector<InventoryEntry> fleet{{"hq", "10.0.0.1:12300", 1},
                                            {"\xEC\xA7\x80\xEC\x82\xAC", "10.0.0.2:12300", 2}};
    EXPECT_EQ(nameColumnWidth(fleet), 9u); // "Appliance" is wider than both
    EXPECT_EQ(tableHeader(fleet), "Appliance       Time  Result\n");
    RunOutcome ok{fleet[1], 0, "Center IDs: 3\n\n  Limit: 100  \n", "", 1234ms};
    EXPECT_EQ(tableRow(ok, 9),
              "\xEC\xA7\x80\xEC\x82\xAC           1.2 s  Center IDs: 3; Limit: 100\n");
    RunOutcome quiet{fleet[0], 0, "", "", 50ms};
    EXPECT_EQ(tableRow(quiet, 9), "hq             0.1 s  ok\n");
    RunOutcome failed{fleet[0], 3, "", "qvctl: cannot connect to 10.0.0.1:12300\n", 10000ms};
    EXPECT_EQ(tableRow(failed, 9), "hq            10.0 s  cannot connect to 10.0.0.1:12300\n");

    EXPECT_EQ(jsonLine(failed), "{\"appliance\":\"hq\",\"address\":\"10.0.0.1:12300\",\"exit\":3,"
                                "\"ms\":10000,\"error\":\"cannot connect to 10.0.0.1:12300\"}\n");
    EXPECT_EQ(jsonLine(quiet), "{\"appliance\":\"hq\",\"address\":\"10.0.0.1:12300\",\"exit\":0,"
                               "\"ms\":50,\"result\":null}\n");
    RunOutcome text{fleet[0], 0, "not json \xFF", "", 5ms};
    EXPECT_EQ(jsonLine(text), "{\"appliance\":\"hq\",\"address\":\"10.0.0.1:12300\",\"exit\":0,"
                              "\"ms\":5,\"result\":\"not json \xEF\xBF\xBD\"}\n");
}

TEST(ParallelRun, QvctlOverAnInventory) {
    qv::simtest::RunningSim live1, live2, refusing({}, withPassword("other"));
    qvtest::ScriptedAppliance dead(qvtest::ScriptedAppliance::kByHand);
    dead.stopListening();
    const auto list = std::filesystem::temp_directory_path() /
                      ("qvctl-inventory-run-" + std::to_string(::getpid()) + ".txt");
    std::ofstream(list) << "live-1 " << live1.address() << "\n# gone\ndead " << dead.address()
                        << "\nlive-2 " << live2.address() << "\nrefusing " << refusing.address()
                        << "\n";
    const auto run = qvtest::runQvctl({"--inventory", list.string(), "--json", "time"});
    std::map<std::string, nlohmann::json> byName;
    std::istringstream lines(run.out);
    for (std::string line; std::getline(lines, line);) {
        const auto object = nlohmann::json::parse(line);
        byName[object["appliance"]] = object;
    }
    EXPECT_EQ(run.status, kExitSeveralFailures) << run.err;
    ASSERT_EQ(byName.size(), 4u) << run.out;
    EXPECT_TRUE(byName["live-2"]["result"].contains("serverTime"));
    EXPECT_EQ(byName["dead"]["exit"], kExitConnectFailed);
    EXPECT_EQ(byName["refusing"]["exit"], kExitLogonRefused);
    EXPECT_EQ(run.err, "4 appliances: 2 succeeded, 2 failed\n");
    // The table: its header first, the summary last, nothing on standard error.
    const auto table = qvtest::runQvctl({"--inventory", list.string(), "--parallel", "1", "time"});
    EXPECT_EQ(table.out.rfind("Appliance       Time  Result\n", 0), 0u) << table.out;
    EXPECT_NE(table.out.find("\n4 appliances: 2 succeeded, 2 failed\n"), std::string::npos);
    EXPECT_EQ(table.err, "");
    const auto refused = qvtest::runQvctl({"--inventory", list.string(), "reboot", "--yes"});
    EXPECT_EQ(refused.status, kExitUsage);
    EXPECT_EQ(refused.out, "");
    std::filesystem::remove(list);
}

} // namespace
} // namespace qvctl
