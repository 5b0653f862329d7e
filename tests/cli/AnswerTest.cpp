// qvctl against an appliance that answers what qvsim never does: every answer value means what
// it means in the window, a stage may outlast --timeout, a peer that stops reading ends the
// command, and a table changed by someone else between write and read back is reported.

#include "link/Commands.h"
#include "link/Frame.h"
#include "res/StringTable.h"
#include "sim/SimHandler.h"
#include "sim/SimState.h"

#include "tests/support/QvctlRun.h"
#include "tests/support/ScriptedAppliance.h"
#include "tests/support/TestPlatform.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <thread>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

using namespace std::chrono_literals;
using qv::StringId;
using qvtest::QvctlResult;

std::string english(StringId id) {
    return std::string(qv::uiString(id, qv::Language::English));
}

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// The demonstration appliance, except for the requests `answer` takes over (it returns their
// replies, or nothing to leave a request to the demonstration).
class Appliance {
public:
    using Override =
        std::function<std::optional<std::vector<qv::Frame>>(Appliance&, const qv::Frame&)>;
    explicit Appliance(Override answer = {})
        : m_state(*qv::sim::seededState()),
          m_appliance([this, answer = std::move(answer)](const qv::Frame& request) {
              auto replies = answer ? answer(*this, request) : std::nullopt;
              return replies ? *replies : serve(request);
          }) {}
    std::vector<qv::Frame> serve(const qv::Frame& request) {
        return qv::sim::handleRequest(m_state, m_session, request, {}).replies;
    }
    QvctlResult qvctl(std::vector<std::string> args) {
        args.insert(args.begin(), {"--server", m_appliance.address(), "--timeout", "1"});
        return qvtest::runQvctl(args);
    }
    qvtest::ScriptedAppliance& scripted() { return m_appliance; }
    qv::sim::SimState& state() { return m_state; }

private:
    qv::sim::SimState m_state;
    qv::sim::Session m_session;
    qvtest::ScriptedAppliance m_appliance;
};

TEST(QvctlAnswers, AutoUpdateAndRebootReadEveryValueAsTheWindowDoes) {
    const std::string rebooting = english(StringId::CliRebooting);
    const std::string privilege = english(StringId::SchedulePrivilegeChanged);
    struct Case {
        std::vector<std::string> args;
        qv::Command cmd;
        std::vector<int32_t> values;
        int status;
        std::vector<std::string> printed;
    };
    for (const Case& c : {
             // The automatic-update answer carries nothing: any value means done.
             Case{{"autoupdate", "on"}, qv::CMD_SET_AUTOUPDATE_MSG, {0}, 0, {"on"}},
             Case{{"autoupdate", "off"}, qv::CMD_SET_AUTOUPDATE_MSG, {7}, 0, {"off"}},
             // 1 to 99: accepted with a new center ID limit; notices before it are notices.
             Case{{"reboot", "--yes"}, qv::CMD_SET_REBOOT_MSG, {50}, 0, {rebooting}},
             Case{{"reboot", "--yes"},
                  qv::CMD_SET_REBOOT_MSG,
                  {6500, 1200, 101},
                  0,
                  {"standby limit is now 500", privilege, rebooting}},
             Case{{"reboot", "--yes"}, qv::CMD_SET_REBOOT_MSG, {0}, 6, {}},
             Case{{"reboot", "--yes"}, qv::CMD_SET_REBOOT_MSG, {5500}, 6, {}},
         }) {
        SCOPED_TRACE(c.args[0] + " " + std::to_string(c.values[0]));
        Appliance appliance([&](Appliance&, const qv::Frame& request) {
            std::vector<qv::Frame> out;
            for (const int32_t value : c.values)
                out.push_back(qv::sim::replyFrame(c.cmd, value));
            return request.cmd == c.cmd ? std::optional(out) : std::nullopt;
        });
        const QvctlResult r = appliance.qvctl(c.args);
        EXPECT_EQ(r.status, c.status) << r.err;
        for (const std::string& text : c.printed)
            EXPECT_TRUE(contains(r.out, text)) << r.out;
    }
}

// A stage that takes longer than --timeout is waited for; --stage-timeout is its own limit.
TEST(QvctlAnswers, UpdateStagesHaveTheirOwnLimit) {
    for (const bool ownLimitOfOne : {false, true}) {
        Appliance appliance([](Appliance& self, const qv::Frame& request) {
            if (request.cmd != qv::CMD_SET_UPDATE_MSG)
                return std::optional<std::vector<qv::Frame>>();
            self.scripted().send(qv::sim::replyFrame(request.cmd, 0));
            std::this_thread::sleep_for(1500ms);
            return std::optional(std::vector{qv::sim::replyFrame(request.cmd, 8)});
        });
        std::vector<std::string> args{"update", "start"};
        if (ownLimitOfOne)
            args.insert(args.begin() + 1, {"--stage-timeout", "1"});
        const QvctlResult r = appliance.qvctl(args);
        EXPECT_EQ(r.status, ownLimitOfOne ? 5 : 0) << r.err;
        EXPECT_EQ(contains(r.out, english(StringId::UpdateFinished)), !ownLimitOfOne) << r.out;
    }
}

// After a write the table is read back: another administrator's write in between that dropped
// this change is reported; one that only added beside it is not.
TEST(QvctlAnswers, AChangeLostToAnotherAdministratorIsReported) {
    for (const bool otherKeepsIt : {false, true}) {
        SCOPED_TRACE(otherKeepsIt);
        Appliance appliance([&](Appliance& self, const qv::Frame& request) {
            if (request.cmd != qv::CMD_SET_WOL_MSG)
                return std::optional<std::vector<qv::Frame>>();
            qv::sim::SimState& state = self.state();
            const qv::sim::SimState asRead = state;
            const auto replies = self.serve(request);
            // Another administrator's write lands right after this one: a table they read
            // before it (this change is gone), or this one (it stays).
            if (!otherKeepsIt)
                state = asRead;
            qv::WolEntry theirs;
            theirs.setNameUtf8("theirs");
            state.wol.setEntry(static_cast<size_t>(state.wolCount++), theirs);
            return std::optional(replies);
        });
        const QvctlResult r = appliance.qvctl({"wolentry", "add", "mine", "00:00:00:00:00:02"});
        EXPECT_EQ(r.status, otherKeepsIt ? 0 : 7) << r.err;
        EXPECT_EQ(contains(r.err, "another administrator"), !otherKeepsIt) << r.err;
    }
}

// An appliance that takes the logon and then reads nothing more: the upload's send makes no
// progress, and --timeout ends it with status 5.
TEST(QvctlAnswers, ASendWithoutProgressEndsWithinTheTimeout) {
    qvtest::ScriptedAppliance appliance{qvtest::ScriptedAppliance::kByHand};
    std::atomic<bool> done{false};
    std::thread playing([&] {
        if (!appliance.accept())
            return;
        appliance.shrinkReceiveBuffer();
        if (appliance.read(qv::kHeaderSize + qv::TextRequestPayload::kSize).empty())
            return;
        appliance.send(qv::sim::replyFrame(qv::CMD_LOGIN_MSG, qv::result::kLogonLimitOffset + 20));
        // Reads nothing more; a client that never gives up is let go after a minute.
        for (int i = 0; i < 600 && !done; ++i)
            std::this_thread::sleep_for(100ms);
        appliance.closeClient();
    });
    const std::string zip = ::testing::TempDir() + "qvctl-stalled-" + std::to_string(::getpid());
    std::ofstream(zip, std::ios::binary) << std::string(16 * 1024 * 1024 - 1, 'z');
    const QvctlResult r =
        qvtest::runQvctl({"--server", appliance.address(), "--timeout", "1", "upload", "web", zip});
    done = true;
    playing.join();
    std::filesystem::remove(zip);
    EXPECT_EQ(r.status, 5);
    EXPECT_TRUE(contains(r.err, "took nothing for 1 s")) << r.err;
}

#ifndef _WIN32
// Files named on the command line are read with bounds: a FIFO is refused without waiting on
// it, and a password file larger than a password line is refused without being read whole.
TEST(QvctlAnswers, FilesAreReadWithBounds) {
    const std::string base = ::testing::TempDir() + "qvctl-files-" + std::to_string(::getpid());
    const std::string fifo = base + ".fifo", large = base + ".large";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::ofstream(large) << "admin\n" << std::string(1000, '#');
    // Were qvctl to wait on the FIFO, a writer that opens it and closes it at once lets it go
    // on, so the test fails instead of hanging.
    std::atomic<bool> done{false};
    std::thread writer([&] {
        while (!done) {
            const int fd = ::open(fifo.c_str(), O_WRONLY | O_NONBLOCK);
            if (fd >= 0)
                ::close(fd);
            std::this_thread::sleep_for(200ms);
        }
    });
    Appliance appliance;
    const std::string notRegular = "is not a regular file";
    struct Case {
        std::vector<std::string> args;
        std::string message;
    };
    for (const Case& c : {
             Case{{"--password-file", fifo, "summary"}, notRegular},
             Case{{"--password-file", large, "summary"}, "larger than a password file"},
             Case{{"restore", fifo}, notRegular},
             Case{{"wolentry", "import", fifo}, notRegular},
#ifdef QV_SCHEDULE_SHEET
             Case{{"schedule", "import", fifo}, notRegular},
#endif
         }) {
        SCOPED_TRACE(c.args[0] + " " + c.args[1]);
        const QvctlResult r = appliance.qvctl(c.args);
        EXPECT_EQ(r.status, 2);
        EXPECT_TRUE(contains(r.err, c.message)) << r.err;
    }
    done = true;
    writer.join();
    std::filesystem::remove(fifo);
    std::filesystem::remove(large);
}

// A question reads its answer from a pipe as from a terminal; No, or the end of the input, is
// status 1 for every command that asks, and nothing is sent.
TEST(QvctlAnswers, QuestionsTakeAPipedAnswerAndNoIsStatusOne) {
    const std::string out = ::testing::TempDir() + "qvctl-asked-" + std::to_string(::getpid());
    struct Case {
        std::string args;
        std::string answer;
        int status;
    };
    for (const Case& c : {
             Case{"reboot", "", 1},
             Case{"firmware update", "n", 1},
             Case{"reboot", "yes", 0},
             Case{"firmware update", "Y", 0},
         }) {
        SCOPED_TRACE(c.args + " <- " + c.answer);
        Appliance appliance;
        const std::string line = "printf '" + c.answer + "\\n' | '" + QVCTL_PATH + "' --server " +
                                 appliance.scripted().address() + " " + c.args;
        qvtest::ChildProcess asked({{"/bin/sh", "-c", line},
                                    {{"QVCTL_PASSWORD", std::string("admin")},
                                     {"LANG", std::string("C.UTF-8")},
                                     {"LC_ALL", std::nullopt}},
                                    out,
                                    {}});
        EXPECT_EQ(asked.wait(), c.status);
        const std::string printed = qvtest::readChildOutput(out);
        EXPECT_TRUE(contains(printed, "[y/N]")) << printed;
        EXPECT_EQ(appliance.scripted().connections(), c.status == 0 ? 1 : 0);
    }
    std::filesystem::remove(out);
}
#endif

} // namespace
