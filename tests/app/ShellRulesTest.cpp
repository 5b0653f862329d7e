// The shell's rules without widgets: command line, version line, server time, update progress.

#include "app/CMyCommandLineInfo.h"
#include "app/ShellTexts.h"
#include "core/schedule/ServerTime.h"
#include "core/upload/UpdateSteps.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

namespace {

struct CommandLineCase {
    std::vector<const char*> args;
    std::string address;
    int flags;
};

TEST(CommandLine, FirstFlagParameterIsTheServerAddress) {
    const std::vector<CommandLineCase> cases{
        {{}, "", 0},
        {{"-192.168.0.10"}, "192.168.0.10", 1},
        {{"/qv.example.net:12301"}, "qv.example.net:12301", 1},
        {{"-10.0.0.1", "-10.0.0.2"}, "10.0.0.1", 2},
        {{"-", "/", "-10.0.0.3"}, "10.0.0.3", 1},
        {{"10.0.0.4"}, "", 0},
        {{"10.0.0.4", "/10.0.0.5"}, "10.0.0.5", 1},
        {{"--10.0.0.6"}, "-10.0.0.6", 1},
    };
    for (const CommandLineCase& c : cases) {
        std::vector<const char*> argv{"QVSetting"};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        const CMyCommandLineInfo info =
            CMyCommandLineInfo::parse(static_cast<int>(argv.size()), argv.data());
        EXPECT_EQ(info.serverAddress(), c.address) << c.args.size();
        EXPECT_EQ(info.flagCount(), c.flags);
    }
}

TEST(ShellTexts, VersionLineFromBuildDate) {
    EXPECT_EQ(qv::versionLine("Apr  1 2021"), "QVSetting, Version 2021.04.01");
    EXPECT_EQ(qv::versionLine("Dec 31 1999"), "QVSetting, Version 1999.12.31");
    EXPECT_EQ(qv::versionLine("Jan 10 2030"), "QVSetting, Version 2030.01.10");
    // The month is compared exactly.
    EXPECT_EQ(qv::versionLine("apr  1 2021"), "QVSetting, Version 2021.00.01");
    EXPECT_EQ(qv::versionLine(""), "QVSetting, Version 0000.00.00");
    EXPECT_EQ(qv::versionLine(nullptr), "QVSetting, Version 0000.00.00");
}

TEST(ShellTexts, ServerTimeInLocalTime) {
    const char* saved = std::getenv("TZ");
    const std::string previous = saved ? saved : "";
    setenv("TZ", "UTC", 1);
    tzset();
    EXPECT_EQ(qv::formatServerTime(0), "1970-01-01 00:00:00");
    EXPECT_EQ(qv::formatServerTime(1617235200), "2021-04-01 00:00:00");
    EXPECT_EQ(qv::formatServerTime(-1), "1969-12-31 23:59:59");
    EXPECT_EQ(qv::formatServerTime(INT32_MAX), "2038-01-19 03:14:07");
    EXPECT_EQ(qv::formatServerTime(INT32_MIN), "1901-12-13 20:45:52");
    setenv("TZ", "Asia/Seoul", 1);
    tzset();
    EXPECT_EQ(qv::formatServerTime(0), "1970-01-01 09:00:00");
    if (saved)
        setenv("TZ", previous.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}

} // namespace

namespace {

TEST(UpdateSteps, ProgressValues) {
    using qv::update::StepState;
    const auto start = StepState::Start;
    const auto done = StepState::Finished;
    // value -> expected states of the eight stages (nullopt: unchanged), run end, message
    struct Case {
        int32_t value;
        std::array<std::optional<StepState>, 8> steps;
        bool runEnded;
        std::optional<qv::StringId> message;
    };
    const std::optional<StepState> keep;
    const Case cases[] = {
        {0, {start, keep, keep, keep, keep, keep, keep, keep}, false, {}},
        {3, {done, done, done, start, keep, keep, keep, keep}, false, {}},
        {6, {done, done, done, done, done, done, start, keep}, false, {}},
        {7, {done, done, done, done, done, done, done, start}, false, {}},
        {8, {done, done, done, done, done, done, done, done}, true, qv::StringId::UpdateFinished},
        {99,
         {keep, keep, keep, keep, keep, keep, keep, keep},
         true,
         qv::StringId::UpdateServerUnreachable},
        {9, {keep, keep, keep, keep, keep, keep, keep, keep}, false, {}},
        {-1, {keep, keep, keep, keep, keep, keep, keep, keep}, false, {}},
        {100, {keep, keep, keep, keep, keep, keep, keep, keep}, false, {}},
    };
    for (const Case& c : cases) {
        const qv::update::ProgressEffect effect = qv::update::progressEffect(c.value);
        EXPECT_EQ(effect.steps, c.steps) << c.value;
        EXPECT_EQ(effect.runEnded, c.runEnded) << c.value;
        EXPECT_EQ(effect.message, c.message) << c.value;
    }
}

} // namespace
