// qvctl's command line: typed and bounded options with their own messages, options in any
// position, the help of a command from its declarations, and a command's output on the streams
// it is given.

#include "cli/CommandLine.h"
#include "cli/ExitCodes.h"
#include "cli/Registry.h"
#include "tests/support/QvctlRun.h"
#include "tests/support/RunningSim.h"

#include <gtest/gtest.h>

#include <sstream>

namespace qvctl {
namespace {

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// Refused before anything is asked of an appliance: none is running.
TEST(QvctlCommandLine, RefusesMisplacedOrOutOfRangeOptionsInItsOwnWords) {
    const struct {
        std::vector<std::string> args;
        const char* said;
    } cases[] = {
        {{"schedule", "add", "D", "--relay", "9"}, "--relay takes a relay number from 1 to 4"},
        {{"schedule", "add", "D", "--function", "blink"}, "--function takes on, off, push-on"},
        {{"schedule", "add", "D", "--time", "24:00"}, "--time takes HH:MM with an hour from 0"},
        {{"schedule", "D", "--relay", "1"}, "belong to add and edit"},
        {{"schedule", "D", "--yes"}, "--yes belongs to import"},
        {{"centerid", "add", "x", "--group"}, "option --group needs a value"},
        {{"centerid", "add", "x", "--group", "1", "--id", "y"}, "--id belongs to edit"},
        {{"centerid", "del", "x", "--name", "n"}, "del takes only the center ID"},
        {{"wolentry", "del", "1", "--utf8"}, "--utf8 belongs to export"},
        {{"wolentry", "add", "n", "00:11:22:33:44:55", "--mac", "x"}, "belong to edit"},
        {{"network", "--yes"}, "the options belong to network set"},
        {{"ddns", "check", "id", "--company", "c"}, "belong to register"},
        {{"summary", "--frob"}, "unknown option '--frob'"},
        {{"time", "now"}, "unexpected argument 'now'"},
        {{"update", "start", "--stage-timeout", "0"}, "--stage-timeout needs seconds from 1"},
        {{"time", "--timeout", "0"}, "--timeout needs seconds from 1 to 3600"},
    };
    for (const auto& c : cases) {
        const qvtest::QvctlResult r = qvtest::runQvctl(c.args);
        EXPECT_EQ(r.status, kExitUsage) << c.args[0] << " " << r.err;
        EXPECT_TRUE(contains(r.err, c.said)) << c.said << "\n" << r.err;
        EXPECT_TRUE(r.out.empty()) << r.out;
    }
}

// The options of every command stand anywhere, before, between or after its operands, and a
// word after the command is its operand even where it is another command's name.
TEST(QvctlCommandLine, TakesOptionsInAnyPosition) {
    qv::simtest::RunningSim sim;
    ASSERT_TRUE(sim.started());
    qvtest::QvctlResult r = qvtest::runQvctl(
        {"centerid", "add", "late", "--server", sim.address(), "--group", "3", "--timeout", "30"},
        {{"QVCTL_CENTER_PASSWORD", std::string("pw")}});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    r = qvtest::runQvctl({"centerids", "--server", sim.address(), "--json"});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_TRUE(contains(r.out, "\"id\": \"late\"")) << r.out;
    r = qvtest::runQvctl({"schedule", "time", "--json", "--server", sim.address()});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    EXPECT_TRUE(contains(r.out, "\"device\": \"time\"")) << r.out;
}

TEST(QvctlCommandLine, HelpOfACommandListsItsOptions) {
    const qvtest::QvctlResult r = qvtest::runQvctl({"centerid", "--group", "1", "--help"});
    ASSERT_EQ(r.status, kExitOk) << r.err;
    for (const char* line : {"Usage: qvctl [OPTIONS] centerid add ID --group N", "  --group N ",
                             "  --center-password-file FILE", "  --super-user|--no-super-user\n"})
        EXPECT_TRUE(contains(r.out, line)) << line << "\n" << r.out;
}

// A command writes to the streams it is given, never to the process's own, so that runs for
// several appliances can go on side by side.
TEST(QvctlCommandLine, ACommandWritesToTheStreamsItIsGiven) {
    qv::simtest::RunningSim sim;
    ASSERT_TRUE(sim.started());
    qvtest::setEnvironment("QVCTL_PASSWORD", std::string("wrong"));
    Options options;
    options.server = sim.address();
    options.command = "summary";
    std::ostringstream out, err;
    CommandContext context(options, out, err);
    EXPECT_EQ(context.logOn(), kExitLogonRefused);
    EXPECT_TRUE(contains(err.str(), "qvctl: logon refused")) << err.str();
    EXPECT_EQ(context.usageError("takes no arguments"), kExitUsage);
    EXPECT_TRUE(contains(err.str(), "qvctl summary: takes no arguments\n")) << err.str();
    Report report;
    report.fields = {{"n", "N", Value::of(int64_t{1})}};
    context.print(report);
    EXPECT_EQ(out.str(), "N: 1\n");
    qvtest::setEnvironment("QVCTL_PASSWORD", std::nullopt);
}

} // namespace
} // namespace qvctl
