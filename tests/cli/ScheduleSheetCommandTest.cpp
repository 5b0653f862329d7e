// qvctl schedule export | import against qvsim over loopback: the same rules and messages as the
// IO schedule window, and the appliance's timetable afterwards.

#include "res/StringTable.h"
#include "sheet/FileSpreadsheetApplication.h"
#include "sim/SimServer.h"
#include "sim/SimState.h"

#include "tests/support/QvctlRun.h"
#include "tests/support/RunningSim.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

using qv::StringId;

namespace {

TEST(ScheduleCommand, ExportAndImportTheTimetableAsASpreadsheet) {
    qv::simtest::RunningSim sim(qv::sim::ServerOptions{}, qv::sim::seededState());
    ASSERT_TRUE(sim.started());
    const auto folder = std::filesystem::temp_directory_path() /
                        ("qvctl-sheet-" + std::to_string(sim.server().port()));
    std::filesystem::create_directories(folder);
    const std::string exported = (folder / "schedule.xlsx").string();
    const std::string captionOnly = (folder / "captions.xlsx").string();
    {
        // A timetable file with the caption row and nothing under it.
        qv::sheet::FileSpreadsheetApplication app(
            [&](qv::sheet::Workbook& book) { return book.saveAs(captionOnly); });
        qv::sheet::Worksheet& sheet = *app.workbooks().add().value()->worksheets().item(1).value();
        for (const auto& [cell, text] : {std::pair{"A6", "동작구분"}, {"B6", "월"}, {"C6", "요일"}})
            ASSERT_TRUE(sheet.range(cell).value()->setValue2(std::string(text)));
        ASSERT_TRUE(app.setVisible(true) && app.setUserControl(true));
    }
    const qv::sim::SimState before = sim.server().snapshot();
    struct Case {
        std::vector<std::string> args;
        int status;
        std::optional<StringId> message;
        int32_t countAfter;
    };
    const std::vector<Case> cases{
        {{"export", exported}, 0, std::nullopt, 24},
        {{"import", exported}, 1, StringId::SheetNotRead, 24},
        {{"import", (folder / "missing.xlsx").string(), "--yes"},
         2,
         StringId::SheetFileNotFound,
         24},
        {{"import", captionOnly, "--yes"}, 0, StringId::ScheduleUploaded, 0},
        {{"export", (folder / "empty.xlsx").string()}, 2, StringId::ScheduleNothingToExport, 0},
        {{"import", exported, "--yes"}, 0, StringId::ImportTaken, 24},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args{
            "--server", "127.0.0.1:" + std::to_string(sim.server().port()), "schedule"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const auto r = qvtest::runQvctl(args);
        const std::string what = c.args[0] + " " + c.args[1];
        EXPECT_EQ(r.status, c.status) << what << ": " << r.err;
        if (c.message) {
            // The message's text before its first argument.
            std::string message(qv::uiString(*c.message, qv::Language::English));
            message = message.substr(0, message.find('%'));
            EXPECT_NE((r.out + r.err).find(message), std::string::npos) << what << ": " << r.err;
        }
        EXPECT_EQ(sim.server().snapshot().scheduleCount, c.countAfter) << what;
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "empty.xlsx"));
    // Back as it was, in the same order; the appliance numbers the entries itself.
    const qv::sim::SimState after = sim.server().snapshot();
    for (size_t i = 0; i < 24; ++i) {
        qv::ScheduleEntry want = before.schedule.entry(i);
        qv::ScheduleEntry got = after.schedule.entry(i);
        want.setSeq(0);
        got.setSeq(0);
        EXPECT_EQ(got.bytes, want.bytes) << i;
    }
    std::filesystem::remove_all(folder);
}

TEST(ScheduleCommand, ExportOfAFullTimetableWarnsBeforeWriting) {
    auto state = qv::sim::seededState();
    qv::sim::seedLargePlant(*state, 12, 2040);
    qv::simtest::RunningSim sim(qv::sim::ServerOptions{}, std::move(state));
    ASSERT_TRUE(sim.started());
    const auto path = std::filesystem::temp_directory_path() /
                      ("qvctl-full-" + std::to_string(sim.server().port()) + ".xlsx");
    const auto r = qvtest::runQvctl({"--server", "127.0.0.1:" + std::to_string(sim.server().port()),
                                     "schedule", "export", path.string()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("6 of the 2040 schedules"), std::string::npos) << r.err;
    EXPECT_TRUE(std::filesystem::remove(path));
}

} // namespace
