// qvctl centerid against qvsim over loopback: the same rules and messages as the page, in the
// terminal's language, and the appliance's table afterwards.

#include "core/access/CenterIdRules.h"
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

namespace cid = qv::centerid;
using qv::StringId;

namespace {

using Outcome = qvtest::QvctlResult;

class CenterIdCommand : public ::testing::Test {
protected:
    void SetUp() override {
        sim = std::make_unique<qv::simtest::RunningSim>(qv::sim::ServerOptions{},
                                                        qv::sim::seededState());
        ASSERT_TRUE(sim->started());
        server = &sim->server();
    }
    void TearDown() override { sim.reset(); }

    // Runs qvctl with `args` in the given language; the center ID's password, when given,
    // comes through QVCTL_CENTER_PASSWORD. Standard input is not a terminal.
    Outcome qvctl(const std::vector<std::string>& args, const std::string& lang = "C",
                  const char* centerPassword = nullptr) {
        std::vector<std::string> all{"--server", "127.0.0.1:" + std::to_string(server->port())};
        all.insert(all.end(), args.begin(), args.end());
        return qvtest::runQvctl(
            all, {{"LANG", lang},
                  {"QVCTL_CENTER_PASSWORD",
                   centerPassword ? std::optional<std::string>(centerPassword) : std::nullopt}});
    }
    qv::sim::SimState state() const { return server->snapshot(); }
    int rowOf(const std::string& id) {
        const qv::sim::SimState s = state();
        return cid::findDuplicate(s.centerIds, s.centerIdCount, id);
    }
    static std::string english(StringId id) {
        return std::string(qv::uiString(id, qv::Language::English));
    }

    std::unique_ptr<qv::simtest::RunningSim> sim;
    qv::sim::SimServer* server = nullptr;
};

TEST_F(CenterIdCommand, AddEditDeleteThroughTheAppliance) {
    const int32_t seeded = state().centerIdCount;

    // Options stand anywhere after the command's name, before the operands too.
    Outcome r = qvctl({"centerid", "--group", "4", "add", "--name", "New Operator", "newop",
                       "--super-user", "--prohibit-log-deletion"},
                      "C", "secret");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, english(StringId::CenterIdSet) + "\n");
    ASSERT_EQ(state().centerIdCount, seeded + 1);
    int row = rowOf("newop");
    ASSERT_EQ(row, seeded);
    qv::CenterIdEntry e = state().centerIds.entry(static_cast<size_t>(row));
    EXPECT_EQ(e.password(), "secret");
    EXPECT_EQ(e.name(), "New Operator");
    EXPECT_EQ(e.group(), 4);
    EXPECT_EQ(e.superUser(), "1");
    EXPECT_TRUE(e.logDeletionProhibited());
    EXPECT_FALSE(e.fileTransferProhibited());

    // Edit changes only what was asked for: a password left in the environment is not read
    // without --change-password.
    r = qvctl({"centerid", "edit", "newop", "--name", "Renamed", "--no-super-user",
               "--prohibit-file-transfer"},
              "C", "leftover");
    ASSERT_EQ(r.status, 0) << r.err;
    e = state().centerIds.entry(static_cast<size_t>(row));
    EXPECT_EQ(e.name(), "Renamed");
    EXPECT_EQ(e.password(), "secret");
    EXPECT_EQ(e.group(), 4);
    EXPECT_EQ(e.superUser(), "0");
    EXPECT_TRUE(e.logDeletionProhibited());
    EXPECT_TRUE(e.fileTransferProhibited());
    r = qvctl({"centerid", "edit", "newop", "--change-password"}, "C", "changed");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(state().centerIds.entry(static_cast<size_t>(row)).password(), "changed");

    // Delete: the entry goes and the count falls back.
    r = qvctl({"centerid", "del", "newop"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(state().centerIdCount, seeded);
    EXPECT_EQ(rowOf("newop"), -1);
}

struct RefusedCase {
    const char* what;
    std::vector<std::string> args;
    const char* password;
    std::string message;
};

TEST_F(CenterIdCommand, RefusalsUseThePageMessagesAndChangeNothing) {
    const qv::sim::SimState before = state();
    const std::string existing = before.centerIds.entry(0).id();
    std::string other = before.centerIds.entry(1).id();
    const RefusedCase cases[] = {
        {"no group", {"centerid", "add", "x1"}, "pw", english(StringId::CenterIdSelectGroup)},
        {"'_' before the missing password",
         {"centerid", "add", "a_b", "--group", "1"},
         nullptr,
         english(StringId::CenterIdUnderscore)},
        {"no password",
         {"centerid", "add", "x1", "--group", "1"},
         nullptr,
         english(StringId::CenterIdInputPassword)},
        {"ID of 31 bytes",
         {"centerid", "add", std::string(31, 'i'), "--group", "1"},
         "pw",
         english(StringId::CenterIdTooLong)},
        {"password of 16 bytes",
         {"centerid", "add", "x1", "--group", "1"},
         "0123456789abcdef",
         english(StringId::CenterIdPasswordTooLong)},
        {"name of 32 bytes",
         {"centerid", "add", "x1", "--group", "1", "--name", std::string(32, 'n')},
         "pw",
         english(StringId::NameTooLong)},
        {"duplicate",
         {"centerid", "add", existing, "--group", "1"},
         "pw",
         english(StringId::CenterIdDuplicated)},
        {"edit to another entry's ID",
         {"centerid", "edit", existing, "--id", other},
         nullptr,
         english(StringId::CenterIdDuplicated)},
        {"trailing '$'",
         {"centerid", "add", "x1", "--group", "1"},
         "pw$",
         english(StringId::CenterIdPasswordDollar)},
        {"Hangul outside code page 1252",
         {"centerid", "add", "x1", "--group", "1", "--name", "김철수"},
         "pw",
         english(StringId::NameNotConvertible)},
        {"unknown ID", {"centerid", "del", "nobody"}, nullptr, english(StringId::CenterIdNotFound)},
    };
    for (const RefusedCase& c : cases) {
        SCOPED_TRACE(c.what);
        const Outcome r = qvctl(c.args, "C", c.password);
        EXPECT_EQ(r.status, 2);
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        EXPECT_TRUE(r.out.empty()) << r.out;
    }
    EXPECT_EQ(state(), before);

    // Usage mistakes are caught before anything is asked of the appliance.
    for (const std::vector<std::string>& args : {std::vector<std::string>{"centerid"},
                                                 {"centerid", "rename", "x"},
                                                 {"centerid", "add", "x", "--group", "51"},
                                                 {"centerid", "add", "x", "--bogus"}}) {
        const Outcome r = qvctl(args, "C", "pw");
        EXPECT_EQ(r.status, 2) << r.err;
    }
}

TEST_F(CenterIdCommand, KoreanTerminalCarriesCodePage949AndKoreanMessages) {
    Outcome r =
        qvctl({"centerid", "add", "kim", "--group", "2", "--name", "김철수"}, "ko_KR.UTF-8", "pw");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, std::string(qv::uiString(StringId::CenterIdSet, qv::Language::Korean)) + "\n");
    const int row = rowOf("kim");
    ASSERT_GE(row, 0);
    EXPECT_EQ(state().centerIds.entry(static_cast<size_t>(row)).name(), "\xB1\xE8\xC3\xB6\xBC\xF6");

    // The listing reads it back in Korean; a refusal is worded in Korean.
    r = qvctl({"centerids"}, "ko_KR.UTF-8");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("김철수"), std::string::npos) << r.out;
    r = qvctl({"centerid", "add", "kim", "--group", "2"}, "ko_KR.UTF-8", "pw");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(
        r.err.find(std::string(qv::uiString(StringId::CenterIdDuplicated, qv::Language::Korean))),
        std::string::npos)
        << r.err;
}

TEST_F(CenterIdCommand, AnApplianceRefusalIsReportedAsOne) {
    // The appliance takes as many center IDs as its licence allows and refuses a longer table.
    const int32_t limit = state().maxCenterIds;
    for (int32_t i = state().centerIdCount; i < limit; ++i)
        ASSERT_EQ(
            qvctl({"centerid", "add", "op" + std::to_string(i), "--group", "1"}, "C", "pw").status,
            0);
    const qv::sim::SimState full = state();
    ASSERT_EQ(full.centerIdCount, limit);
    const Outcome r = qvctl({"centerid", "add", "one-more", "--group", "1"}, "C", "pw");
    EXPECT_EQ(r.status, 6);
    EXPECT_NE(r.err.find(english(StringId::CenterIdApplyRefused)), std::string::npos) << r.err;
    EXPECT_EQ(r.out.find(english(StringId::CenterIdSet)), std::string::npos) << r.out;
    EXPECT_EQ(state(), full);
}

} // namespace
