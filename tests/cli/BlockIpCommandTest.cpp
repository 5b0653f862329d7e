// qvctl blockip against qvsim over loopback: the blacklist page's rules and messages, and the
// firewall's table afterwards, byte for byte with its own lead and trailing bytes.

#include "core/access/BlacklistRules.h"
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

namespace bl = qv::blacklist;
using qv::StringId;

namespace {

using Outcome = qvtest::QvctlResult;

class BlockIpCommand : public ::testing::Test {
protected:
    void start(std::unique_ptr<qv::sim::SimState> state = qv::sim::seededState()) {
        sim = std::make_unique<qv::simtest::RunningSim>(qv::sim::ServerOptions{}, std::move(state));
        ASSERT_TRUE(sim->started());
        server = &sim->server();
    }
    void TearDown() override { sim.reset(); }

    Outcome qvctl(const std::vector<std::string>& args) {
        std::vector<std::string> all{"--server", "127.0.0.1:" + std::to_string(server->port())};
        all.insert(all.end(), args.begin(), args.end());
        return qvtest::runQvctl(all, {{"LANG", std::string("C")}});
    }
    qv::sim::SimState state() const { return server->snapshot(); }
    static std::string refusal(std::string_view text) {
        return "qvctl blockip: " + std::string(text) + "\n";
    }
    static std::string refusal(StringId id) {
        return refusal(qv::uiString(id, qv::Language::English));
    }

    std::unique_ptr<qv::simtest::RunningSim> sim;
    qv::sim::SimServer* server = nullptr;
};

TEST_F(BlockIpCommand, AddEditDeleteThroughTheAppliance) {
    start();
    const qv::sim::SimState seeded = state();
    qv::BlockIpTable expected = seeded.blockIps;
    int32_t count = seeded.blockIpCount;

    Outcome r = qvctl({"blockip", "add", "192.0.2.77"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out,
              std::string(qv::uiString(StringId::BlockIpListChanged, qv::Language::English)) +
                  "\n");
    bl::addAddress(expected, count, "192.0.2.77");

    r = qvctl({"blockip", "edit", "198.51.100.0", "198.51.100.1"});
    ASSERT_EQ(r.status, 0) << r.err;
    bl::editAddress(expected, count, 2, "198.51.100.1");

    r = qvctl({"blockip", "del", "192.0.2.200", "192.0.2.77"});
    ASSERT_EQ(r.status, 0) << r.err;
    bl::deleteRows(expected, count, {0, 3});

    const qv::sim::SimState after = state();
    ASSERT_EQ(after.blockIpCount, 2);
    EXPECT_EQ(after.blockIpCount, count);
    EXPECT_EQ(after.blockIps, expected);
    EXPECT_EQ(after.blockIps.address(0), "203.0.113.45");
    EXPECT_EQ(after.blockIps.address(1), "198.51.100.1");
    EXPECT_TRUE(std::equal(after.blockIps.bytes.begin(), after.blockIps.bytes.begin() + 4,
                           seeded.blockIps.bytes.begin()));
    EXPECT_TRUE(std::equal(after.blockIps.bytes.end() - 96, after.blockIps.bytes.end(),
                           seeded.blockIps.bytes.end() - 96));
}

TEST_F(BlockIpCommand, RefusalsChangeNothing) {
    start();
    const qv::sim::SimState seeded = state();
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string err;
    };
    const std::vector<Case> cases{
        {{"blockip", "add", "203.0.113.45"}, 2, refusal(StringId::BlockIpExists)},
        {{"blockip", "add", "1.2"}, 2, refusal(StringId::BlockIpEnterExactly)},
        {{"blockip", "add", std::string(100, '1')}, 2, refusal(StringId::BlockIpAddressTooLong)},
        {{"blockip", "add", "김철수네"}, 2, refusal(StringId::BlockIpAddressNotConvertible)},
        {{"blockip", "edit", "192.0.2.200", "203.0.113.45"}, 2, refusal(StringId::BlockIpExists)},
        {{"blockip", "edit", "192.0.2.200", ""}, 2, refusal(StringId::BlockIpEnterAddress)},
        {{"blockip", "edit", "10.9.9.9", "10.9.9.8"}, 2, refusal(StringId::BlockIpNotListed)},
        {{"blockip", "del", "192.0.2.200", "10.9.9.9"}, 2, refusal(StringId::BlockIpNotListed)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[1] + " " + c.args[2]);
        const Outcome r = qvctl(c.args);
        EXPECT_EQ(r.status, c.status);
        EXPECT_EQ(r.err, c.err);
        EXPECT_TRUE(r.out.empty());
    }
    for (const std::vector<std::string>& bad : {std::vector<std::string>{"blockip"},
                                                {"blockip", "move", "x"},
                                                {"blockip", "add"},
                                                {"blockip", "add", "a.b.c.d", "e.f.g.h"},
                                                {"blockip", "edit", "a.b.c.d"},
                                                {"blockip", "del"}})
        EXPECT_EQ(qvctl(bad).status, 2);
    const qv::sim::SimState after = state();
    EXPECT_EQ(after.blockIpCount, seeded.blockIpCount);
    EXPECT_EQ(after.blockIps, seeded.blockIps);
}

TEST_F(BlockIpCommand, NinetySevenAddressesAreTheLimit) {
    auto seeded = qv::sim::seededState();
    for (size_t i = 0; i < 96; ++i)
        seeded->blockIps.setAddress(i, "10.0.0." + std::to_string(i));
    seeded->blockIpCount = 96;
    start(std::move(seeded));
    EXPECT_EQ(qvctl({"blockip", "add", "192.0.2.96"}).status, 0);
    const Outcome r = qvctl({"blockip", "add", "192.0.2.97"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err, refusal(StringId::BlockIpTooMany));
    EXPECT_EQ(state().blockIpCount, 97);
}

// qvctl reaches the simulator from 127.0.0.1: blocking that needs --yes, for add and edit alike.
TEST_F(BlockIpCommand, BlockingItsOwnAddressNeedsYes) {
    start();
    const qv::sim::SimState seeded = state();
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"blockip", "add", "127.0.0.1"},
          {"blockip", "edit", "192.0.2.200", " 127.0.0.1"}}) {
        const Outcome r = qvctl(args);
        EXPECT_EQ(r.status, 2) << args[1];
        EXPECT_NE(r.err.find("127.0.0.1"), std::string::npos) << r.err;
        EXPECT_NE(r.err.find("--yes"), std::string::npos) << r.err;
    }
    EXPECT_EQ(state().blockIps, seeded.blockIps);
    EXPECT_EQ(qvctl({"blockip", "del", "192.0.2.200", "--yes"}).status, 2);
    EXPECT_EQ(qvctl({"blockip", "add", "127.0.0.1", "--yes"}).status, 0);
    EXPECT_EQ(state().blockIps.address(static_cast<size_t>(seeded.blockIpCount)), "127.0.0.1");
}

} // namespace
