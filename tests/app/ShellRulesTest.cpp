// The shell's rules without widgets: command line, version line, server time, string table.

#include "CMyCommandLineInfo.h"
#include "ShellTexts.h"
#include "StringTable.h"
#include "upload/UpdateSteps.h"

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

// Every string id the programs show, with both texts.
TEST(StringTable, EveryIdHasBothLanguages) {
    std::vector<int> ids{101};
    for (int id = 103; id <= 116; ++id)
        ids.push_back(id);
    for (int id = 122; id <= 136; ++id)
        ids.push_back(id);
    for (int id = 138; id <= 182; ++id)
        ids.push_back(id);
    for (int id = 184; id <= 200; ++id)
        ids.push_back(id);
    for (int id = 202; id <= 218; ++id)
        ids.push_back(id);
    for (int id : ids) {
        EXPECT_FALSE(qv::uiString(id, qv::Language::English).empty()) << id;
        EXPECT_FALSE(qv::uiString(id, qv::Language::Korean).empty()) << id;
    }
    EXPECT_TRUE(qv::uiString(137, qv::Language::English).empty());
    EXPECT_TRUE(qv::uiString(-1, qv::Language::Korean).empty());
    EXPECT_TRUE(qv::uiString(100000, qv::Language::Korean).empty());
}

TEST(StringTable, TextsAsTheApplianceShowsThem) {
    using qv::Language;
    EXPECT_EQ(qv::uiString(162, Language::English),
              "Login error. Please check admin ID and password.");
    EXPECT_EQ(qv::uiString(168, Language::English), "The MAC address is used by another. ");
    EXPECT_EQ(qv::uiString(149, Language::English), "Select IO's relay point, please. ");
    EXPECT_EQ(qv::uiString(109, Language::English), "(Default :      80)");
    EXPECT_EQ(qv::uiString(199, Language::English), "Server");
    EXPECT_EQ(qv::uiString(200, Language::English), "connection failed.");
    EXPECT_EQ(qv::uiString(199, Language::Korean), "서버 ");
    EXPECT_EQ(qv::uiString(200, Language::Korean), " 에 연결할 수 없습니다.");
    EXPECT_EQ(qv::uiString(208, Language::Korean), "일");
    EXPECT_EQ(qv::uiString(207, Language::Korean), "토");
    EXPECT_EQ(qv::uiString(161, Language::English),
              "If you change network configuration, server will reboot. \r\n Will you continue?");
}

TEST(StringTable, LanguageFollowsTheLocale) {
    struct Case {
        const char* lcAll;
        const char* lcMessages;
        const char* lang;
        qv::Language expected;
    };
    const Case cases[] = {
        {nullptr, nullptr, "ko_KR.UTF-8", qv::Language::Korean},
        {nullptr, nullptr, "en_US.UTF-8", qv::Language::English},
        {nullptr, nullptr, nullptr, qv::Language::English},
        {"C", nullptr, "ko_KR.UTF-8", qv::Language::English},
        {"", nullptr, "ko_KR.UTF-8", qv::Language::Korean},
        {nullptr, "ko_KR.EUC-KR", "en_US.UTF-8", qv::Language::Korean},
        {"ko", nullptr, nullptr, qv::Language::Korean},
    };
    const char* names[] = {"LC_ALL", "LC_MESSAGES", "LANG"};
    std::string saved[3];
    bool had[3];
    for (int i = 0; i < 3; ++i) {
        const char* v = std::getenv(names[i]);
        had[i] = v != nullptr;
        saved[i] = v ? v : "";
    }
    for (const Case& c : cases) {
        const char* values[] = {c.lcAll, c.lcMessages, c.lang};
        for (int i = 0; i < 3; ++i)
            values[i] ? setenv(names[i], values[i], 1) : unsetenv(names[i]);
        EXPECT_EQ(qv::systemLanguage(), c.expected)
            << (c.lcAll ? c.lcAll : "-") << " " << (c.lang ? c.lang : "-");
    }
    for (int i = 0; i < 3; ++i)
        had[i] ? setenv(names[i], saved[i].c_str(), 1) : unsetenv(names[i]);
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
        int message;
    };
    const std::optional<StepState> keep;
    const Case cases[] = {
        {0, {start, keep, keep, keep, keep, keep, keep, keep}, false, 0},
        {3, {done, done, done, start, keep, keep, keep, keep}, false, 0},
        {6, {done, done, done, done, done, done, start, keep}, false, 0},
        {7, {done, done, done, done, done, done, done, start}, false, 0},
        {8, {done, done, done, done, done, done, done, done}, true, 178},
        {99, {keep, keep, keep, keep, keep, keep, keep, keep}, true, 179},
        {9, {keep, keep, keep, keep, keep, keep, keep, keep}, false, 0},
        {-1, {keep, keep, keep, keep, keep, keep, keep, keep}, false, 0},
        {100, {keep, keep, keep, keep, keep, keep, keep, keep}, false, 0},
    };
    for (const Case& c : cases) {
        const qv::update::ProgressEffect effect = qv::update::progressEffect(c.value);
        EXPECT_EQ(effect.steps, c.steps) << c.value;
        EXPECT_EQ(effect.runEnded, c.runEnded) << c.value;
        EXPECT_EQ(effect.message, c.message) << c.value;
    }
}

} // namespace
