// qvctl wolentry against qvsim over loopback: the same rules and messages as the Wake-on-LAN
// page, the appliance's table afterwards with its bytes 0 to 3, and the CSV file both ways.

#include "core/network/WolRules.h"
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

namespace wol = qv::wol;
using qv::StringId;

namespace {

using Outcome = qvtest::QvctlResult;

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << bytes;
}

class WolEntryCommand : public ::testing::Test {
protected:
    void SetUp() override {
        sim = std::make_unique<qv::simtest::RunningSim>(qv::sim::ServerOptions{},
                                                        qv::sim::seededState());
        ASSERT_TRUE(sim->started());
        server = &sim->server();
        scratch = ::testing::TempDir() + "qvctl-wolentry-" + std::to_string(::getpid());
    }
    void TearDown() override {
        sim.reset();
        for (const char* suffix : {".out", ".err", ".csv", "-in.csv"})
            std::remove((scratch + suffix).c_str());
    }

    // Runs qvctl with `args`, in English, with code page 949 (or `codePage`) for the CSV file.
    Outcome qvctl(const std::vector<std::string>& args, const std::string& codePage = "949") {
        std::vector<std::string> all{"--server", "127.0.0.1:" + std::to_string(server->port())};
        all.insert(all.end(), args.begin(), args.end());
        return qvtest::runQvctl(all,
                                {{"LANG", std::string("C")}, {"QVSETTING_CODEPAGE", codePage}});
    }
    qv::sim::SimState state() const { return server->snapshot(); }
    static std::string english(StringId id) {
        return std::string(qv::uiString(id, qv::Language::English));
    }

    std::unique_ptr<qv::simtest::RunningSim> sim;
    qv::sim::SimServer* server = nullptr;
    std::string scratch;
};

TEST_F(WolEntryCommand, AddEditDeleteExportImportThroughTheAppliance) {
    const qv::sim::SimState seeded = state();
    qv::WolTable expected = seeded.wol;
    int32_t count = seeded.wolCount;

    Outcome r = qvctl({"wolentry", "add", "my pc", "aa-bb-cc-dd-ee-ff"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, english(StringId::WolSet) + "\n");
    wol::addEntry(expected, count, wol::Input{"my pc", "aa-bb-cc-dd-ee-ff"});

    r = qvctl({"wolentry", "edit", "1", "--name", "front desk"});
    ASSERT_EQ(r.status, 0) << r.err;
    wol::editEntry(expected, count, 0, wol::Input{"front desk", "00:1b:21:3a:4f:01"});

    r = qvctl({"wolentry", "del", "3"});
    ASSERT_EQ(r.status, 0) << r.err;
    wol::deleteEntry(expected, count, 2);
    ASSERT_EQ(state().wolCount, count);
    EXPECT_EQ(state().wol.bytes, expected.bytes);

    // Export writes the list in code page 949 with CR LF; import of that file is the same list.
    r = qvctl({"wolentry", "export", scratch + ".csv"});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string csv = readFile(scratch + ".csv");
    EXPECT_EQ(csv.substr(0, 35), "front desk, 00:1b:21:3a:4f:01\r\n\xBB\xE7\xB9\xAB");
    EXPECT_NE(csv.find("mypc, aa:bb:cc:dd:ee:ff\r\n"), std::string::npos);
    writeFile(scratch + "-in.csv", "lab, 10:20:30:40:50:60\r\n");
    r = qvctl({"wolentry", "import", scratch + "-in.csv"});
    ASSERT_EQ(r.status, 0) << r.err;
    wol::replaceEntries(expected, count, {{"lab", "10:20:30:40:50:60"}});
    ASSERT_EQ(state().wolCount, 1);
    EXPECT_EQ(state().wol.bytes, expected.bytes);
    r = qvctl({"wolentry", "import", scratch + ".csv"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(state().wolCount, seeded.wolCount);

    // The Korean names have no form in code page 1252: export refuses and names --utf8, which
    // writes UTF-8 with its mark; the import reads that back on the same system.
    std::remove((scratch + ".csv").c_str());
    r = qvctl({"wolentry", "export", scratch + ".csv"}, "1252");
    EXPECT_EQ(r.status, 2);
    EXPECT_NE(r.err.find("--utf8"), std::string::npos) << r.err;
    EXPECT_TRUE(readFile(scratch + ".csv").empty());
    // Options stand anywhere after the action.
    r = qvctl({"wolentry", "export", "--utf8", scratch + ".csv"}, "1252");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(readFile(scratch + ".csv").substr(0, 3), wol::kUtf8ByteOrderMark);
    const qv::WolTable before = state().wol;
    r = qvctl({"wolentry", "import", scratch + ".csv"}, "1252");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(state().wol.bytes, before.bytes);
}

TEST_F(WolEntryCommand, RefusalsChangeNothing) {
    const qv::sim::SimState seeded = state();
    writeFile(scratch + "-in.csv",
              "pc, ab:39:22:44:12:aa\n" + std::string(40, 'n') + ", ab:39:22:44:12:aa\n");
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string message;
    };
    const std::vector<Case> cases = {
        {{"wolentry", "add", "pc", "ab:39:22:44:12"}, 2, "Mac Address Format error."},
        {{"wolentry", "add", " ", "ab:39:22:44:12:aa"}, 2, english(StringId::WolInputName)},
        {{"wolentry", "add", std::string(32, 'n'), "ab:39:22:44:12:aa"},
         2,
         english(StringId::NameTooLong)},
        {{"wolentry", "edit", "99", "--name", "x"}, 2, english(StringId::WolEntryNotFound)},
        {{"wolentry", "del", "6"}, 2, english(StringId::WolEntryNotFound)},
        {{"wolentry", "import", scratch + "-in.csv"}, 2, "Line 2 of the file"},
        {{"wolentry", "import", scratch + "-missing.csv"}, 2, "could not be read"},
        {{"wolentry", "del", "zero"}, 2, "entry's number"},
    };
    for (const Case& c : cases) {
        const Outcome r = qvctl(c.args);
        EXPECT_EQ(r.status, c.status) << c.args[1] << ": " << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << c.args[1] << ": " << r.err;
        EXPECT_TRUE(r.out.empty()) << r.out;
    }
    EXPECT_EQ(state().wolCount, seeded.wolCount);
    EXPECT_EQ(state().wol.bytes, seeded.wol.bytes);
}

} // namespace
