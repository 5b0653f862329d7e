// qvctl schedule add | edit | del against qvsim over loopback: the same rules and messages as
// the IO schedule window, and the appliance's timetable afterwards.

#include "res/StringTable.h"
#include "sim/SimServer.h"
#include "sim/SimState.h"

#include "tests/support/QvctlRun.h"
#include "tests/support/RunningSim.h"

#include <gtest/gtest.h>

#include <filesystem>

#include <optional>
#include <string>
#include <vector>

using qv::StringId;

namespace {

TEST(ScheduleCommand, ChangesPassTheWindowsRulesInTurn) {
    qv::simtest::RunningSim sim(qv::sim::ServerOptions{}, qv::sim::seededState());
    ASSERT_TRUE(sim.started());
    const auto qvctl = [&](std::vector<std::string> args) {
        args.insert(args.begin(),
                    {"--server", "127.0.0.1:" + std::to_string(sim.server().port()), "schedule"});
        return qvtest::runQvctl(args, {{"LANG", "C"}});
    };
    // GATE-01 lists Mon 07:30 ON, Mon 19:00 OFF, Tue 07:30 ON, Tue 19:00 OFF on relay 1, then
    // the exceptions 12/25 and 1/1; the added normal schedule becomes row 5, 1/1 row 7.
    struct Case {
        std::vector<std::string> args;
        int status;
        std::optional<StringId> message;
        int32_t countAfter;
    };
    const std::vector<std::string> mon0730{"--relay", "1", "--weekday", "mon", "--time", "07:30"};
    const auto with = [](std::vector<std::string> head, const std::vector<std::string>& tail) {
        head.insert(head.end(), tail.begin(), tail.end());
        return head;
    };
    const std::vector<Case> cases{
        {with({"add", "GATE-01", "--function", "off"}, mon0730), 2,
         StringId::ScheduleDuplicatedSetting, 24},
        {with({"add", "NO-SUCH", "--function", "off"}, mon0730), 2, StringId::ScheduleSelectIo, 24},
        {with({"add", "GATE-01"}, mon0730), 2, StringId::ScheduleSelectFunction, 24},
        {{"add", "GATE-01", "--function", "on", "--relay", "1", "--exception", "2/32", "--time",
          "08:00"},
         2,
         StringId::ScheduleWrongExceptionDate,
         24},
        {{"add", "GATE-01", "--function", "on", "--relay", "2", "--weekday", "mon", "--time",
          "07:75"},
         0,
         std::nullopt,
         25},
        {{"edit", "GATE-01", "1"}, 0, std::nullopt, 25},
        {{"edit", "GATE-01", "1", "--time", "19:00"}, 2, StringId::ScheduleDuplicated, 25},
        {{"edit", "GATE-01", "9"}, 2, StringId::ScheduleSelectToModify, 25},
        {{"del", "GATE-01", "7"}, 0, std::nullopt, 24},
        {{"del", "GATE-01", "9"}, 2, StringId::ScheduleSelectToDelete, 24},
        {{"add", "GATE-01", "--function", "dim"}, 2, std::nullopt, 24},
    };
    for (const Case& c : cases) {
        const std::string what = c.args[0] + " " + c.args.back();
        const auto r = qvctl(c.args);
        EXPECT_EQ(r.status, c.status) << what << ": " << r.err;
        const std::string message =
            c.message ? std::string(qv::uiString(*c.message, qv::Language::English)) : "";
        EXPECT_NE(r.err.find(message), std::string::npos) << what << ": " << r.err;
        EXPECT_EQ(sim.server().snapshot().scheduleCount, c.countAfter) << what;
    }
    // The added schedule's minute was held to 59; the deleted one (GATE-01's 1/1) is gone.
    const qv::sim::SimState s = sim.server().snapshot();
    EXPECT_EQ(s.schedule.entry(23).minute(), 59);
    EXPECT_EQ(s.schedule.entry(23).relay(), 2);
    for (int32_t i = 0; i < s.scheduleCount; ++i)
        EXPECT_FALSE(s.schedule.entry(static_cast<size_t>(i)).id() == "GATE-01" &&
                     s.schedule.entry(static_cast<size_t>(i)).day() == 1)
            << i;
}

} // namespace
