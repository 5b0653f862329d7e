// The timetable's export and import rules on blocks of cells, through files written by this
// library and by openpyxl.

#include "CodePage.h"
#include "FileSpreadsheetApplication.h"
#include "SheetTestFiles.h"
#include "schedule/ScheduleSheetExport.h"
#include "schedule/ScheduleSheetImport.h"
#include "schedule/ScheduleSheetLayout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qv::schedule {
namespace {

using sheet::CellGrid;
using sheet::CellValue;
using Cells = std::vector<CellValue>;
constexpr int kKorean = 949;

Cells captions(const char* b = "월", const char* c = "요일") {
    return {std::string("동작구분"), std::string(b), std::string(c), std::string("일")};
}

// Rows from A1 down, in a block of at least A1:H2040.
CellGrid block(const std::vector<Cells>& rows) {
    CellGrid grid(std::max<uint32_t>(static_cast<uint32_t>(rows.size()), kSheetLastRow),
                  kSheetColumns);
    for (size_t r = 0; r < rows.size(); ++r)
        for (size_t c = 0; c < rows[r].size(); ++c)
            grid.at(static_cast<uint32_t>(r), static_cast<uint32_t>(c)) = rows[r][c];
    return grid;
}

Cells normal(double f, double weekday, double hour, double minute, double relay, std::string id) {
    return {f, 0.0, weekday, 0.0, hour, minute, relay, std::move(id)};
}

std::vector<Cells> blanks(int n) {
    return std::vector<Cells>(static_cast<size_t>(n), Cells{});
}

std::string korean40() {
    std::string id;
    for (int i = 0; i < 20; ++i)
        id += "가";
    return id;
}

std::vector<Cells> join(std::vector<std::vector<Cells>> parts) {
    std::vector<Cells> all;
    for (auto& p : parts)
        all.insert(all.end(), p.begin(), p.end());
    return all;
}

TEST(ScheduleSheetImport, RowsAreTakenSkippedAndCountedByTheFileRules) {
    ASSERT_EQ(utf8ToAnsi(korean40(), kKorean).size(), 40u);
    std::vector<Cells> full{captions()};
    for (int i = 0; i < kSheetLastRow; ++i) // rows 2 to 2041: the last is never read
        full.push_back(normal(0, 1, i / 60 % 24, i % 60, 1 + i / 1440, "P"));
    struct Case {
        const char* what;
        std::vector<Cells> rows;
        bool captionFound;
        size_t entries;
        ImportSummary summary;
    };
    const std::vector<Case> cases{
        {"swapped captions", {captions("요일", "월"), normal(0, 1, 8, 0, 1, "A")}, false, 0, {}},
        {"caption row only", {captions()}, true, 0, {}},
        {"codes 4, 49, 54",
         {captions(), normal(4, 1, 8, 0, 1, "A"), normal(49, 1, 8, 0, 1, "A"),
          normal(54, 1, 8, 0, 1, "A"), normal(3, 1, 8, 0, 1, "A")},
         true,
         1,
         ImportSummary{0, 3}},
        {"normal weekday 3 after exception month 3",
         {captions(),
          {51.0, 3.0, 0.0, 9.0, 8.0, 0.0, 1.0, std::string("A")},
          normal(0, 3, 8, 0, 1, "A"),
          normal(0, 3, 8, 0, 2, "A")},
         true,
         2,
         ImportSummary{1}},
        {"function not compared",
         {captions(), normal(0, 1, 8, 0, 1, "A"), normal(1, 1, 8, 0, 1, "A")},
         true,
         1,
         ImportSummary{1}},
        {"notes in column A, long or without digits",
         {captions(),
          {std::string("메모: 점검")},
          {std::string("가")},
          {std::string("x")},
          {std::string("123")},
          normal(0, 1, 8, 0, 1, "A")},
         true,
         1,
         ImportSummary{0, 0, 4}},
        {"ten blank rows go on",
         join({{captions()}, blanks(10), {normal(0, 1, 8, 0, 1, "A")}}),
         true,
         1,
         {}},
        {"eleven blank rows end the reading",
         join({{captions()}, blanks(11), {normal(0, 1, 8, 0, 1, "A")}}),
         true,
         0,
         {}},
        {"rows above the caption row count",
         {normal(0, 1, 8, 0, 1, "A"), captions(), normal(0, 1, 8, 0, 1, "A")},
         true,
         1,
         ImportSummary{1}},
        {"values outside their ranges are taken and counted",
         {captions(),
          normal(0, 8, 24, 60, 5, "A"),
          {50.0, 13.0, 0.0, 0.0, 8.0, 0.0, 1.0, std::string("A")}},
         true,
         2,
         ImportSummary{0, 0, 0, 0, {1, 1, 1, 1, 1, 1}}},
        {"row 2041 is never read", full, true, 2039, {}},
        {"a 40-byte Korean ID",
         {captions(), normal(0, 1, 8, 0, 1, korean40())},
         true,
         1,
         ImportSummary{0, 0, 0, 1}},
        {"booleans and errors read as empty", {captions(), {true, 0.0, 1.0}}, true, 0, {}},
    };
    for (const Case& c : cases) {
        const ScheduleSheet s = readScheduleSheet(block(c.rows), kKorean);
        EXPECT_EQ(s.captionFound, c.captionFound) << c.what;
        EXPECT_EQ(s.entries.size(), c.entries) << c.what;
        EXPECT_EQ(s.summary.duplicates, c.summary.duplicates) << c.what;
        EXPECT_EQ(s.summary.unknownFunctions, c.summary.unknownFunctions) << c.what;
        EXPECT_EQ(s.summary.notes, c.summary.notes) << c.what;
        EXPECT_EQ(s.summary.idsCut, c.summary.idsCut) << c.what;
        EXPECT_EQ(s.summary.outOfRange, c.summary.outOfRange) << c.what;
    }
}

TEST(ScheduleSheetImport, ValuesAreStoredAtTheirFieldWidths) {
    const ScheduleSheet s = readScheduleSheet(
        block({captions(),
               {1.4, 0.0, 2.6, 0.0, 65541.0, std::string(" 7x"), 260.0, korean40()},
               {std::string("52"), 12.0, 0.0, 31.0, 23.0, 59.0, 4.0, 1234.0}}),
        kKorean);
    ASSERT_EQ(s.entries.size(), 2u);
    const ScheduleEntry& n = s.entries[0];
    EXPECT_EQ(n.function(), 1);
    EXPECT_EQ(n.day(), 3);
    EXPECT_EQ(n.date(), 0);
    EXPECT_EQ(n.hour(), 5);
    EXPECT_EQ(n.minute(), 7);
    EXPECT_EQ(n.relay(), 4);
    EXPECT_EQ(n.seq(), 0);
    // Cut at a character boundary: 15 two-byte characters, not 31 bytes.
    EXPECT_EQ(ansiToUtf8(n.id(), kKorean), korean40().substr(0, 15 * 3));
    const ScheduleEntry& x = s.entries[1];
    EXPECT_EQ(x.function(), 52);
    EXPECT_EQ(x.day(), 12);
    EXPECT_EQ(x.date(), 31);
    EXPECT_EQ(x.id(), "1234");
}

ScheduleEntry entry(int function, int day, int date, int hour, int minute, int relay,
                    const std::string& id) {
    ScheduleEntry e;
    e.setFunction(static_cast<uint8_t>(function));
    e.setDay(static_cast<uint8_t>(day));
    e.setDate(static_cast<uint8_t>(date));
    e.setHour(static_cast<uint16_t>(hour));
    e.setMinute(static_cast<uint16_t>(minute));
    e.setRelay(static_cast<uint8_t>(relay));
    e.setSeq(77);
    e.setId(id);
    return e;
}

TEST(ScheduleSheetExport, ExportedTimetableImportsUnchanged) {
    EXPECT_TRUE(nothingToExport(0));
    EXPECT_TRUE(nothingToExport(-3));
    qvtest::TempFolder folder;
    const std::string path = folder.file("schedule.xlsx");
    ScheduleTable table;
    const std::vector<ScheduleEntry> entries{
        entry(0, 2, 0, 7, 30, 1, "GATE-01"), entry(53, 12, 25, 0, 0, 4, "007"),
        entry(2, 7, 0, 23, 59, 2, utf8ToAnsi("로비-1", kKorean)), entry(51, 1, 1, 9, 5, 3, "")};
    int32_t count = 0;
    replaceSchedules(table, count, entries);
    sheet::FileSpreadsheetApplication app([&](sheet::Workbook& book) { return book.saveAs(path); });
    ASSERT_TRUE(exportSchedules(app, table, count, kKorean));

    sheet::FileSpreadsheetApplication reader;
    const auto grid = readScheduleBlock(reader, path);
    ASSERT_TRUE(grid) << describe(grid.error());
    EXPECT_EQ(reader.workbooks().count(), 0);
    EXPECT_EQ(cellText(grid->at(1, 0)), std::string(kSheetNotes[0]));
    const ScheduleSheet back = readScheduleSheet(grid.value(), kKorean);
    ASSERT_EQ(back.entries.size(), entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        ScheduleEntry want = entries[i];
        want.setSeq(0);
        EXPECT_EQ(back.entries[i].bytes, want.bytes) << i;
    }

    // A hand-over that fails leaves no workbook behind and says why.
    sheet::FileSpreadsheetApplication failing(
        [&](sheet::Workbook& book) { return book.saveAs(folder.file("no/such/folder.xlsx")); });
    const sheet::SheetStatus failed = exportSchedules(failing, table, count, kKorean);
    ASSERT_FALSE(failed);
    EXPECT_EQ(failed.error().kind, sheet::SheetErrorKind::WriteFailed);
    EXPECT_EQ(failing.workbooks().count(), 0);
}

TEST(ScheduleSheetImport, TimetableWrittenByOpenpyxl) {
    qvtest::TempFolder folder;
    const std::string path = folder.file("openpyxl.xlsx");
    qvtest::runPython(
        "import openpyxl, sys\n"
        "wb = openpyxl.Workbook()\n"
        "ws = wb.active\n"
        "ws[\"A2\"] = \"a note above the captions\"\n"
        "ws.append([])\n"
        "ws.append([\"동작구분\", \"월\", \"요일\", \"일\", \"시간\", \"분\", \"접점\", \"ID\"])\n"
        "ws.append([1.4, 0, 2, 0, 8, 30, 1, 1001])\n"
        "ws.append([2.6, 0, \"5\", 0, 17, 0, 2, \"펌프\"])\n"
        "ws.append([\"52\", 3, 0, 1, 6, 0, 4, \"GATE\"])\n"
        "wb.save(sys.argv[1])\n",
        {path});
    sheet::FileSpreadsheetApplication app;
    const auto grid = readScheduleBlock(app, path);
    ASSERT_TRUE(grid) << describe(grid.error());
    const ScheduleSheet s = readScheduleSheet(grid.value(), kKorean);
    ASSERT_EQ(s.entries.size(), 3u);
    EXPECT_EQ(s.summary.notes, 0); // the note above the captions is the sheet's own
    EXPECT_EQ(s.entries[0].function(), 1);
    EXPECT_EQ(s.entries[0].id(), "1001");
    EXPECT_EQ(s.entries[1].function(), 3);
    EXPECT_EQ(s.entries[1].day(), 5);
    EXPECT_EQ(ansiToUtf8(s.entries[1].id(), kKorean), "펌프");
    EXPECT_EQ(s.entries[2].day(), 3);
    EXPECT_EQ(s.entries[2].date(), 1);

    // Files that are no timetable file at all say why and yield nothing.
    qvtest::writeFile(folder.file("text.xlsx"), "ID,function\n");
    EXPECT_EQ(readScheduleBlock(app, folder.file("text.xlsx")).error().kind,
              sheet::SheetErrorKind::NotSpreadsheet);
    EXPECT_EQ(readScheduleBlock(app, folder.file("missing.xlsx")).error().kind,
              sheet::SheetErrorKind::FileNotFound);
}

} // namespace
} // namespace qv::schedule
