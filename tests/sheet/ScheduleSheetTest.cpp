// The timetable's export and import rules on blocks of cells, through files written by this
// library, by openpyxl and by LibreOffice Calc.

#include "core/schedule/ScheduleSheetExport.h"
#include "core/schedule/ScheduleSheetImport.h"
#include "core/schedule/ScheduleSheetLayout.h"
#include "core/schedule/ScheduleSheetMessages.h"
#include "link/CodePage.h"
#include "sheet/CellAddress.h"
#include "sheet/FileSpreadsheetApplication.h"
#include "tests/sheet/SheetTestFiles.h"

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

Cells normal(double f, double weekday, double hour, double relay, std::string id = "A") {
    return {f, 0.0, weekday, 0.0, hour, 0.0, relay, std::move(id)};
}

Cells exception(double f, double month, double date, double hour, double minute) {
    return {f, month, 0.0, date, hour, minute, 1.0, std::string("A")};
}

// The caption row, `rows` under it.
std::vector<Cells> sheet(std::vector<Cells> rows) {
    rows.insert(rows.begin(), captions());
    return rows;
}

// The caption row, `blankRows` empty rows, one schedule.
std::vector<Cells> afterBlanks(int blankRows) {
    std::vector<Cells> rows = sheet(std::vector<Cells>(static_cast<size_t>(blankRows)));
    rows.push_back(normal(0, 1, 8, 1));
    return rows;
}

const std::string kKorean40 = "가나다라마바사아자차카타파하가나다라마바"; // 20 characters

TEST(ScheduleSheetImport, RowsAreTakenSkippedAndCountedByTheFileRules) {
    ASSERT_EQ(utf8ToAnsi(kKorean40, kKorean).size(), 40u);
    std::vector<Cells> full{captions()};
    for (int i = 0; i < kSheetLastRow; ++i) // rows 2 to 2041: the last is never read
        full.push_back({0.0, 0.0, 1.0, 0.0, i / 60 % 24 * 1.0, i % 60 * 1.0, 1.0 + i / 1440});
    struct Case {
        const char* what;
        std::vector<Cells> rows;
        bool captionFound;
        size_t entries;
        ImportSummary summary;
    };
    const Cells on = normal(0, 1, 8, 1);
    const std::vector<Case> cases{
        {"swapped captions", {captions("요일", "월"), on}, false, 0, {}},
        {"caption row only", sheet({}), true, 0, {}},
        {"codes 4, 49, 54",
         sheet({normal(4, 1, 8, 1), normal(49, 1, 8, 1), normal(54, 1, 8, 1), on}), true, 1,
         ImportSummary{0, 3}},
        {"weekday 3 after month 3",
         sheet({exception(51, 3, 9, 8, 0), normal(0, 3, 8, 1), normal(0, 3, 8, 2)}), true, 2,
         ImportSummary{1}},
        {"function not compared", sheet({on, normal(1, 1, 8, 1)}), true, 1, ImportSummary{1}},
        {"notes in column A",
         sheet({{std::string("메모: 점검")},
                {std::string("가")},
                {std::string("x")},
                {std::string("123")},
                on}),
         true, 1, ImportSummary{0, 0, 4}},
        {"ten blank rows go on", afterBlanks(10), true, 1, {}},
        {"eleven blank rows end the reading", afterBlanks(11), true, 0, {}},
        {"rows above the caption row count", {on, captions(), on}, true, 1, ImportSummary{1}},
        {"values out of range",
         sheet({{0.0, 0.0, 8.0, 0.0, 24.0, 60.0, 5.0}, exception(50, 13, 0, 8, 0)}), true, 2,
         ImportSummary{0, 0, 0, 0, 0, {1, 1, 1, 1, 1, 1}}},
        {"row 2041 is never read", full, true, 2039, {}},
        {"a 40-byte Korean ID", sheet({normal(0, 1, 8, 1, kKorean40)}), true, 1,
         ImportSummary{0, 0, 0, 1}},
        {"booleans read as empty", sheet({{true, 0.0, 1.0}}), true, 0, {}},
        {"an ID the code page cannot hold", sheet({normal(0, 1, 8, 1, "pump 🔥")}), true, 1,
         ImportSummary{0, 0, 0, 0, 1}},
    };
    for (const Case& c : cases) {
        const ScheduleSheet s = readScheduleSheet(block(c.rows), kKorean);
        EXPECT_EQ(s.captionFound, c.captionFound) << c.what;
        EXPECT_EQ(s.entries.size(), c.entries) << c.what;
        EXPECT_EQ(s.summary.duplicates, c.summary.duplicates) << c.what;
        EXPECT_EQ(s.summary.unknownFunctions, c.summary.unknownFunctions) << c.what;
        EXPECT_EQ(s.summary.notes, c.summary.notes) << c.what;
        EXPECT_EQ(s.summary.idsCut, c.summary.idsCut) << c.what;
        EXPECT_EQ(s.summary.idsNotConvertible, c.summary.idsNotConvertible) << c.what;
        EXPECT_EQ(s.summary.outOfRange, c.summary.outOfRange) << c.what;
    }
}

TEST(ScheduleSheetImport, ValuesAreStoredAtTheirFieldWidths) {
    const ScheduleSheet s = readScheduleSheet(
        block({captions(),
               {1.4, 0.0, 2.6, 0.0, 65541.0, std::string(" 7x"), 260.0, kKorean40},
               {std::string("52"), 12.0, 0.0, 31.0, 23.0, 59.0, 4.0, 1234.0},
               {0.0, 0.0, 1.0, 0.0, 1.0, 0.0, 1.0, 0.25}}),
        kKorean);
    ASSERT_EQ(s.entries.size(), 3u);
    EXPECT_EQ(s.entries[2].id(), "0.25") << "an ID held as a number is not rounded";
    const ScheduleEntry& n = s.entries[0];
    EXPECT_EQ(n.function(), 1);
    EXPECT_EQ(n.day(), 3);
    EXPECT_EQ(n.date(), 0);
    EXPECT_EQ(n.hour(), 5);
    EXPECT_EQ(n.minute(), 7);
    EXPECT_EQ(n.relay(), 4);
    EXPECT_EQ(n.seq(), 0);
    // Cut at a character boundary: 15 two-byte characters, not 31 bytes.
    EXPECT_EQ(ansiToUtf8(n.id(), kKorean), kKorean40.substr(0, 15 * 3));
    const ScheduleEntry& x = s.entries[1];
    EXPECT_EQ(x.function(), 52);
    EXPECT_EQ(x.day(), 12);
    EXPECT_EQ(x.date(), 31);
    EXPECT_EQ(x.id(), "1234");
}

ScheduleEntry entry(int function, int day, int date, int minute, const std::string& id) {
    ScheduleEntry e;
    e.setFunction(static_cast<uint8_t>(function));
    e.setDay(static_cast<uint8_t>(day));
    e.setDate(static_cast<uint8_t>(date));
    e.setHour(23);
    e.setMinute(static_cast<uint16_t>(minute));
    e.setRelay(4);
    e.setSeq(77); // the appliance's numbering, never in the file
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
        entry(0, 2, 0, 30, "GATE-01"), entry(53, 12, 25, 0, "007"),
        entry(2, 7, 0, 59, utf8ToAnsi("로비-1", kKorean)), entry(51, 1, 1, 5, "")};
    int32_t count = 0;
    replaceSchedules(table, count, entries);
    sheet::FileSpreadsheetApplication app([&](sheet::Workbook& book) { return book.saveAs(path); });
    ASSERT_TRUE(exportSchedules(app, table, count, kKorean));

    sheet::FileSpreadsheetApplication reader;
    const auto grid = readScheduleBlock(reader, path);
    ASSERT_TRUE(grid) << describe(grid.error());
    EXPECT_EQ(reader.workbooks().count(), 0);
    EXPECT_EQ(cellText(grid->cells.at(1, 0)), std::string(kSheetNotes[0]));
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

TEST(ScheduleSheetExport, AFullTimetableComesBackAsTypedUpToRow2040) {
    for (const auto& [count, notReadBack] : std::vector<std::pair<int32_t, int32_t>>{
             {-1, 0}, {2034, 0}, {2035, 1}, {2048, 14}, {9999, 14}})
        EXPECT_EQ(entriesNotReadBack(count), notReadBack) << count;
    EXPECT_EQ(exportNotReadBackText(2034, Language::English), "");
    EXPECT_EQ(exportNotReadBackText(2040, Language::English).substr(0, 23),
              "6 of the 2040 schedules");

    // IDs a spreadsheet takes for numbers, and IDs that look like the file's own escapes.
    const std::vector<std::string> ids{"1.5",     "0.25",     "007",     "12",
                                       "-0",      "1e5",      "_x0041_", "a_x005F_b",
                                       "_x00e9_", "x_X0041_", "_x0041",  "_x004G_"};
    ScheduleTable table;
    for (int i = 0; i < 2040; ++i)
        table.setEntry(static_cast<size_t>(i), entry(0, 1 + i % 7, 0, i / 7 % 60, ids[i / 170]));
    qvtest::TempFolder folder;
    const std::string path = folder.file("full.xlsx");
    sheet::FileSpreadsheetApplication app([&](sheet::Workbook& book) { return book.saveAs(path); });
    ASSERT_TRUE(exportSchedules(app, table, 2040, kKorean));
    sheet::FileSpreadsheetApplication reader;
    const auto block = readScheduleBlock(reader, path);
    ASSERT_TRUE(block) << describe(block.error());
    EXPECT_EQ(block->cells.at(6, 7), CellValue{std::string("1.5")}) << "a text cell, no number";
    const ScheduleSheet back = readScheduleSheet(block.value(), kKorean);
    ASSERT_EQ(back.entries.size(), 2034u);
    for (size_t i = 0; i < back.entries.size(); ++i)
        ASSERT_EQ(back.entries[i].id(), ids[i / 170]) << i;
    EXPECT_EQ(back.summary.lastRowNotRead, 2046u);
    EXPECT_NE(importSummaryText(back, 2040, Language::English).find("down to row 2046"),
              std::string::npos);
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
}

TEST(ScheduleSheetImport, TimetableSavedByLibreOfficeCalc) {
    // Written by this library in the window's layout (a merged note row, captions in row 6, an
    // empty row among the entries); Calc opens it and saves it again as .xlsx and as .xls.
    qvtest::TempFolder folder;
    const std::string source = folder.file("timetable.xlsx");
    sheet::FileSpreadsheetApplication writer;
    sheet::Workbook& book = *writer.workbooks().add().value();
    sheet::Worksheet& ws = *book.worksheets().item(1).value();
    ASSERT_TRUE(ws.range("A2:H2").value()->merge(true));
    ASSERT_TRUE(ws.range("A2:H2").value()->setShrinkToFit(true));
    ASSERT_TRUE(ws.range("A2").value()->setValue2(std::string("a note")));
    const std::vector<Cells> rows =
        sheet({normal(0, 2, 8, 1, "펌프-1"),
               {2.6, 0.0, std::string("5"), 0.0, 17.0, 0.0, 2.0, 1001.0},
               {},
               exception(52, 3, 1, 6, 59)});
    for (size_t r = 0; r < rows.size(); ++r)
        for (size_t c = 0; c < rows[r].size(); ++c)
            ASSERT_TRUE(ws.range(sheet::cellName({static_cast<uint32_t>(kSheetCaptionRow + r),
                                                  static_cast<uint32_t>(c + 1)}))
                            .value()
                            ->setValue2(rows[r][c]));
    ASSERT_TRUE(book.saveAs(source));
    // What Calc saved reads as the rows themselves do.
    const ScheduleSheet want = readScheduleSheet(block(rows), kKorean);
    ASSERT_EQ(want.entries.size(), 3u);
    for (const std::string format : {"xlsx", "xls"}) {
        sheet::FileSpreadsheetApplication app;
        const auto grid = readScheduleBlock(app, qvtest::saveWithCalc(folder, source, format));
        ASSERT_TRUE(grid) << format << ": " << describe(grid.error());
        EXPECT_EQ(cellText(grid->cells.at(1, 0)), "a note") << format;
        const ScheduleSheet got = readScheduleSheet(grid.value(), kKorean);
        EXPECT_EQ(got.summary.notes, 0) << format;
        ASSERT_EQ(got.entries.size(), want.entries.size()) << format;
        for (size_t i = 0; i < want.entries.size(); ++i)
            EXPECT_EQ(got.entries[i].bytes, want.entries[i].bytes) << format << " entry " << i;
    }
}

} // namespace
} // namespace qv::schedule
