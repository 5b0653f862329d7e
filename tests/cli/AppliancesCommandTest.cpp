// qvctl's address book: the same file and checks as the window's, and --appliance taking the
// address, ID and code page from it.

#include "cli/ExitCodes.h"
#include "tests/sim/SimTestSupport.h"
#include "tests/support/QvctlRun.h"
#include "tests/support/TestPlatform.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace {

using qvtest::runQvctl;

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

class QvctlAppliances : public ::testing::Test {
protected:
    void TearDown() override { std::filesystem::remove_all(config); }
    qvtest::QvctlResult qvctl(const std::vector<std::string>& args) {
        // No keyring in reach: the saved password is never the one used here.
        return runQvctl(args,
                        {{"XDG_CONFIG_HOME", config},
                         {"DBUS_SESSION_BUS_ADDRESS", std::string("unix:path=/nonexistent")}});
    }

    std::string config =
        (std::filesystem::temp_directory_path() / ("qvctl-book-" + std::to_string(::getpid())))
            .string();
    qv::simtest::RunningSim sim;
};

TEST_F(QvctlAppliances, BookCommandsCheckKeepAndList) {
    struct Step {
        std::vector<std::string> args;
        int exit;
        std::string says; // on standard output, or on standard error when it failed
    } const steps[] = {
        {{"appliances"}, qvctl::kExitOk, "The address book is empty."},
        {{"appliances", "add", "office", sim.address(), "--group", "Seoul", "--codepage", "949"},
         qvctl::kExitOk,
         ""},
        {{"appliances", "add", "Office", "127.0.0.1:1"}, qvctl::kExitUsage, "already"},
        {{"appliances", "add", "depot", "nowhere:99999"}, qvctl::kExitUsage, "host:port"},
        {{"appliances", "add", "depot", "127.0.0.1:1", "--codepage", "437"},
         qvctl::kExitUsage,
         "437"},
        {{"appliances", "add", "depot", "127.0.0.1:1"}, qvctl::kExitOk, ""},
        {{"appliances", "edit", "depot", "--note", "basement"}, qvctl::kExitOk, ""},
        {{"appliances", "edit", "attic", "--note", "x"}, qvctl::kExitUsage, "attic"},
        {{"appliances", "remove", "depot"}, qvctl::kExitOk, ""},
        {{"appliances", "--json"}, qvctl::kExitOk, "\"codePage\": 949"},
    };
    for (const Step& step : steps) {
        const auto r = qvctl(step.args);
        EXPECT_EQ(r.status, step.exit) << step.args[1] << r.err;
        EXPECT_TRUE(contains(step.exit == qvctl::kExitOk ? r.out : r.err, step.says))
            << r.out << r.err;
    }
    // Only its owner may read it (Windows has no file modes: it takes its folder's rights).
    if (const auto mode = qvtest::posixFileMode(config + "/QVSetting/appliances.json")) {
        EXPECT_EQ(*mode, 0600u);
    }
}

// --appliance: the book's address and code page (the English terminal reads the Korean center
// ID name), an explicit --server wins, and an unknown name is a usage error.
TEST_F(QvctlAppliances, ApplianceOptionTakesAddressAndCodePageFromTheBook) {
    ASSERT_EQ(qvctl({"appliances", "add", "office", sim.address(), "--codepage", "949"}).status,
              qvctl::kExitOk);
    auto r = qvctl({"--appliance", "office", "centerids"});
    EXPECT_EQ(r.status, qvctl::kExitOk) << r.err;
    EXPECT_TRUE(contains(r.out, "관제센터")) << r.out;

    r = qvctl({"--appliance", "office", "--server", "127.0.0.1:1", "summary"});
    EXPECT_EQ(r.status, qvctl::kExitConnectFailed);
    r = qvctl({"--appliance", "attic", "summary"});
    EXPECT_EQ(r.status, qvctl::kExitUsage);
    r = qvctl({"--save-password", "summary"});
    EXPECT_EQ(r.status, qvctl::kExitUsage);
}

} // namespace
