// qvctl admin against qvsim over loopback: the administrator page's checks and messages, the
// appliance's credentials afterwards, and a logon with the new pair.

#include "core/access/AdminRules.h"
#include "res/StringTable.h"
#include "sim/SimServer.h"
#include "sim/SimState.h"

#include "tests/support/QvctlRun.h"
#include "tests/support/RunningSim.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace admin = qv::admin;
using qv::StringId;

namespace {

using Outcome = qvtest::QvctlResult;

class AdminCommand : public ::testing::Test {
protected:
    void SetUp() override {
        sim = std::make_unique<qv::simtest::RunningSim>(qv::sim::ServerOptions{},
                                                        qv::sim::seededState());
        ASSERT_TRUE(sim->started());
        server = &sim->server();
        scratch = ::testing::TempDir() + "qvctl-admin-" + std::to_string(::getpid());
    }
    void TearDown() override {
        sim.reset();
        for (const char* end : {".out", ".err", ".pw"})
            std::remove((scratch + end).c_str());
    }

    // Runs qvctl with `args`, logging on as `user` with `password`; the new password, when
    // given, comes through QVCTL_NEW_PASSWORD. Standard input is not a terminal.
    Outcome qvctl(const std::vector<std::string>& args, const char* newPassword = nullptr,
                  const std::string& user = "admin", const std::string& password = "admin",
                  const std::optional<std::string>& codePage = std::nullopt) {
        std::vector<std::string> all{"--server", "127.0.0.1:" + std::to_string(server->port()),
                                     "--user", user};
        all.insert(all.end(), args.begin(), args.end());
        return qvtest::runQvctl(
            all, {{"LANG", std::string("C")},
                  {"QVCTL_PASSWORD", password},
                  {"QVSETTING_CODEPAGE", codePage},
                  {"QVCTL_NEW_PASSWORD",
                   newPassword ? std::optional<std::string>(newPassword) : std::nullopt}});
    }
    static std::string english(StringId id) {
        return std::string(qv::uiString(id, qv::Language::English));
    }

    std::unique_ptr<qv::simtest::RunningSim> sim;
    qv::sim::SimServer* server = nullptr;
    std::string scratch;
};

TEST_F(AdminCommand, RefusalsUseThePageMessagesAndChangeNothing) {
    const qv::sim::SimState before = server->snapshot();
    const struct {
        const char* what;
        std::vector<std::string> args;
        const char* newPassword;
        std::string message;
    } cases[] = {
        {"empty ID", {"admin", ""}, "pw", english(StringId::AdminInputId)},
        {"empty password", {"admin", "chief"}, "", english(StringId::AdminInputNewPassword)},
        {"ID of 32 bytes",
         {"admin", std::string(32, 'i')},
         "pw",
         english(StringId::AdminIdTooLong)},
        {"password of 32 bytes",
         {"admin", "chief"},
         "0123456789abcdef0123456789abcdef",
         english(StringId::AdminPasswordTooLong)},
        {"Hangul outside code page 1252",
         {"admin", "관리자"},
         "pw",
         english(StringId::IdNotConvertible)},
        {"no new password anywhere", {"admin", "chief"}, nullptr, "no new password"},
        {"two IDs", {"admin", "a", "b"}, "pw", "one new administrator ID"},
        {"unknown option", {"admin", "a", "--frobnicate"}, "pw", "unknown option"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Outcome r = qvctl(c.args, c.newPassword);
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty()) << r.out;
    }
    EXPECT_EQ(server->snapshot(), before);
}

TEST_F(AdminCommand, ChangesTheCredentialsAndTheNewPairLogsOn) {
    // The new password from a file; its line end is not part of it.
    {
        std::ofstream file(scratch + ".pw");
        file << "N3w Secret\n";
    }
    Outcome r = qvctl({"admin", "chief", "--new-password-file", scratch + ".pw"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, english(StringId::AdminChanged) + "\n");
    qv::sim::SimState state = server->snapshot();
    EXPECT_EQ(state.adminId, "chief");
    EXPECT_EQ(state.adminPassword, "N3w Secret");

    // The old pair is refused now; the new one logs on.
    r = qvctl({"summary"});
    EXPECT_EQ(r.status, 4) << r.err;
    r = qvctl({"summary"}, nullptr, "chief", "N3w Secret");
    EXPECT_EQ(r.status, 0) << r.err;

    // A Korean ID travels in code page 949; JSON reports the message.
    r = qvctl({"admin", "관리자", "--json"}, "비밀", "chief", "N3w Secret", "949");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"message\": \"" + english(StringId::AdminChanged) + "\""),
              std::string::npos)
        << r.out;
    state = server->snapshot();
    EXPECT_EQ(state.adminId, "\xB0\xFC\xB8\xAE\xC0\xDA");
    EXPECT_EQ(state.adminPassword, "\xBA\xF1\xB9\xD0");
}

} // namespace
