// qvctl schedule export | import in a build without the spreadsheet files: a clear refusal,
// no file written and the appliance's timetable untouched.

#include "res/StringTable.h"
#include "sim/SimServer.h"
#include "sim/SimState.h"

#include "tests/support/QvctlRun.h"
#include "tests/support/RunningSim.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

TEST(ScheduleCommand, SpreadsheetFilesAreRefusedInThisBuild) {
    qv::simtest::RunningSim sim;
    ASSERT_TRUE(sim.started());
    const auto file = std::filesystem::temp_directory_path() /
                      ("qvctl-absent-" + std::to_string(sim.port()) + ".xlsx");
    const std::string refusal(
        qv::uiString(qv::StringId::SheetNotInThisBuild, qv::Language::English));
    const int32_t count = sim.server().snapshot().scheduleCount;
    for (const std::string command : {"export", "import"}) {
        // --yes answers the import's question; export asks none and refuses it.
        std::vector<std::string> args{"--server", sim.address(), "schedule", command,
                                      file.string()};
        if (command == "import")
            args.push_back("--yes");
        const auto r = qvtest::runQvctl(args);
        EXPECT_EQ(r.status, 2) << command;
        EXPECT_NE(r.err.find(refusal), std::string::npos) << command << ": " << r.err;
        EXPECT_FALSE(std::filesystem::exists(file)) << command;
    }
    EXPECT_EQ(sim.server().snapshot().scheduleCount, count);
}

} // namespace
