// A timetable sheet built through the automation calls, handed to the user, written as .xlsx
// and read back: by this library and, as a second opinion, by openpyxl.

#include "sheet/FileSpreadsheetApplication.h"
#include "sheet/XlsxWriter.h"
#include "tests/sheet/SheetTestFiles.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace qv::sheet {
namespace {

const std::array<std::string, 3> kNotes = {
    " 동작구분(정규스케줄) : ON(0), OFF(1), PUSH ON(2), PUSH OFF(3)",
    " 동작구분(예외스케줄) : ON(50), OFF(51), PUSH ON(52), PUSH OFF(53)",
    "요일 : 일(1), 월(2), 화(3), 수(4), 목(5), 금(6), 토(7),    시간 : 0 ~ 23,    분 : 0 ~ 59,    "
    "접점 : 1 ~ 4"};
const std::array<std::string, 8> kCaptions = {"동작구분", "월", "요일", "일",
                                              "시간",     "분", "접점", "ID"};
constexpr int kEntries = 2034; // rows 7 to 2040, the last row the import reads

// Row `i` of the timetable as texts, as the export hands every cell over. IDs with leading
// zeros must stay texts; plain numbers become numbers.
std::array<std::string, 8> entryTexts(int i) {
    const bool exception = i % 3 == 0;
    const std::string id = i % 5 == 0 ? "00" + std::to_string(i) : "dev-" + std::to_string(i);
    return {std::to_string(exception ? 50 + i % 4 : i % 4),
            std::to_string(exception ? 1 + i % 12 : 0),
            std::to_string(exception ? 0 : 1 + i % 7),
            std::to_string(exception ? 1 + i % 28 : 0),
            std::to_string(i % 24),
            std::to_string(i % 60),
            std::to_string(1 + i % 4),
            i % 7 == 0 ? std::to_string(i) : id};
}

void put(Worksheet& sheet, const std::string& cell, const std::string& text, bool shrink) {
    auto range = sheet.range(cell);
    ASSERT_TRUE(range) << cell;
    if (shrink) {
        ASSERT_TRUE(range.value()->setShrinkToFit(true));
    }
    ASSERT_TRUE(range.value()->setValue2(text)) << cell;
}

TEST(SheetRoundTrip, TimetableLayoutSurvivesWriteAndRead) {
    qvtest::TempFolder folder;
    const std::string path = folder.file("schedule.xlsx");
    int handedOver = 0;
    FileSpreadsheetApplication app([&](Workbook& book) {
        ++handedOver;
        return book.saveAs(path);
    });
    auto book = app.workbooks().add();
    ASSERT_TRUE(book);
    auto sheet = book.value()->worksheets().item(1);
    ASSERT_TRUE(sheet);
    Worksheet& ws = *sheet.value();
    for (int n = 2; n <= 4; ++n) {
        auto row = ws.range("A" + std::to_string(n) + ":H" + std::to_string(n));
        ASSERT_TRUE(row);
        ASSERT_TRUE(row.value()->select());
        ASSERT_TRUE(row.value()->merge(true));
        ASSERT_TRUE(row.value()->setShrinkToFit(true));
        put(ws, "A" + std::to_string(n), kNotes[static_cast<size_t>(n - 2)], false);
    }
    for (uint32_t c = 0; c < 8; ++c) {
        const std::string cell = columnName(c + 1) + "6";
        put(ws, cell, kCaptions[c], false);
        ASSERT_TRUE(ws.range(cell).value()->setColumnWidth(10));
    }
    for (int i = 0; i < kEntries; ++i) {
        const auto texts = entryTexts(i);
        for (uint32_t c = 0; c < 8; ++c)
            put(ws, columnName(c + 1) + std::to_string(7 + i), texts[c], true);
    }
    ASSERT_TRUE(ws.range("A1", "A1").value()->select());
    ASSERT_TRUE(app.setVisible(true));
    EXPECT_EQ(handedOver, 0) << "handed over before the user has control";
    ASSERT_TRUE(app.setUserControl(true));
    ASSERT_EQ(handedOver, 1);

    FileSpreadsheetApplication reader;
    auto opened = reader.workbooks().open(path);
    ASSERT_TRUE(opened) << describe(opened.error());
    auto grid =
        opened.value()->worksheets().item(1).value()->range("A1", "H2040").value()->value2();
    ASSERT_TRUE(grid) << describe(grid.error());
    const CellGrid& g = grid.value();
    ASSERT_EQ(g.rows(), 2040u);
    for (uint32_t c = 0; c < 8; ++c)
        EXPECT_EQ(g.at(0, c), CellValue{}) << "row 1 is empty";
    for (uint32_t n = 0; n < 3; ++n) {
        EXPECT_EQ(g.at(1 + n, 0), CellValue{kNotes[n]});
        EXPECT_EQ(g.at(1 + n, 1), CellValue{}) << "merged cells hold nothing";
    }
    for (uint32_t c = 0; c < 8; ++c)
        EXPECT_EQ(g.at(5, c), CellValue{kCaptions[c]});
    for (int i = 0; i < kEntries; ++i) {
        const auto texts = entryTexts(i);
        for (uint32_t c = 0; c < 8; ++c) {
            const CellValue& got = g.at(static_cast<uint32_t>(6 + i), c);
            const bool number = isPlainDecimal(texts[c]);
            const CellValue want = number ? CellValue{std::stod(texts[c])} : CellValue{texts[c]};
            ASSERT_EQ(got, want) << "row " << 7 + i << " column " << c + 1;
        }
    }

    // openpyxl sees the merges, widths, shrink-to-fit and cell types a spreadsheet program will.
    const std::string seen = qvtest::runPython(
        "import openpyxl, sys\n"
        "ws = openpyxl.load_workbook(sys.argv[1]).worksheets[0]\n"
        "print(sorted(str(r) for r in ws.merged_cells.ranges))\n"
        "print([round(ws.column_dimensions[c].width, 2) for c in \"ABCDEFGH\"])\n"
        "print(*(bool(ws[c].alignment.shrink_to_fit) for c in (\"A2\", \"H2040\", \"A6\")))\n"
        "print(type(ws[\"A7\"].value).__name__, repr(ws[\"H12\"].value), "
        "ws.sheet_view.selection[0].sqref)\n",
        {path});
    EXPECT_EQ(seen, "['A2:H2', 'A3:H3', 'A4:H4']\n"
                    "[10.71, 10.71, 10.71, 10.71, 10.71, 10.71, 10.71, 10.71]\n"
                    "True True False\n"
                    "int '005' A1\n");
}

TEST(SheetRoundTrip, InMemoryRangesBehaveLikeTheAutomation) {
    FileSpreadsheetApplication app;
    Workbook& book = *app.workbooks().add().value();
    Worksheet& ws = *book.worksheets().item(1).value();
    auto range = [&](const char* name) { return std::move(ws.range(name).value()); };
    const std::string x = "_x0078_"; // written as it stands, not as the escape of "x"
    ASSERT_TRUE(range("B2:C3")->setValue2(x));
    ASSERT_TRUE(range("A1:E5")->setShrinkToFit(true)); // merges with a format write their blanks
    ASSERT_TRUE(range("C3:D4")->merge(false));
    ASSERT_TRUE(range("B2:B3")->merge(false)) << "touches no merge";
    ASSERT_TRUE(range("A1:A2")->merge(false)) << "beside B2:B3, not over it";
    ASSERT_TRUE(range("D4:E5")->merge(false)) << "overlaps C3:D4, grows to C3:E5";
    const CellGrid g = range("B2:E5")->value2().value();
    EXPECT_EQ(g.at(0, 0), CellValue{x}) << "B2 keeps its value";
    EXPECT_EQ(g.at(1, 0), CellValue{}) << "B3 emptied by the B2:B3 merge";
    EXPECT_EQ(g.at(1, 1), CellValue{x}) << "C3 is the grown merge's first cell";
    EXPECT_EQ(g.at(0, 1), CellValue{x}) << "C2 outside every merge";
    EXPECT_EQ(range("A1:E5")->findLastValue().value(), (CellAddress{3, 3}));
    EXPECT_EQ(range("D4:E5")->findLastValue().value(), std::nullopt);
    // Merges over several rows cannot be written row by row; the file still holds what memory does.
    qvtest::TempFolder folder;
    ASSERT_TRUE(book.saveAs(folder.file("merged.xlsx")));
    FileSpreadsheetApplication reader;
    auto opened = reader.workbooks().open(folder.file("merged.xlsx"));
    ASSERT_TRUE(opened);
    const auto back =
        opened.value()->worksheets().item(1).value()->range("B2:E5").value()->value2();
    ASSERT_TRUE(back);
    for (uint32_t r = 0; r < g.rows(); ++r)
        for (uint32_t c = 0; c < g.columns(); ++c)
            EXPECT_EQ(back->at(r, c), g.at(r, c)) << r << ", " << c;

    const struct {
        const char* what;
        SheetStatus status;
        SheetErrorKind kind;
    } refusals[] = {
        {"width", range("A1")->setColumnWidth(256), SheetErrorKind::BadArgument},
        {"infinity", range("A1")->setValue2(1.0 / 0.0), SheetErrorKind::BadArgument},
        {"long text", range("A1")->setValue2(std::string(32768, 'x')),
         SheetErrorKind::LimitExceeded},
        {"whole sheet", range("A1:XFD1048576")->setValue2(1.0), SheetErrorKind::LimitExceeded},
    };
    for (const auto& r : refusals) {
        ASSERT_FALSE(r.status) << r.what;
        EXPECT_EQ(r.status.error().kind, r.kind) << r.what;
    }
    for (const char* bad : {"", "A0", "XFE1", "XFDA1", "A1048577", "A10485760", "1A", "A1:", "A01"})
        EXPECT_FALSE(ws.range(bad)) << bad;
    EXPECT_FALSE(app.workbooks().add().value()->worksheets().item(2));
    EXPECT_EQ(ws.range("$h$2040", "a1").value()->value2().value().rows(), 2040u);
}

TEST(SheetRoundTrip, OnlyTextsThatReadBackUnchangedBecomeNumbers) {
    for (const char* number : {"0", "7", "-3", "12.5", "0.05", "123456789012345", "-0.5"})
        EXPECT_TRUE(isPlainDecimal(number)) << number;
    for (const char* text : {"", "-", "007", "1.50", "-0", "1.", ".5", "1e5", " 1", "1 ", "+1",
                             "1234567890123456", "0x10", "12a"})
        EXPECT_FALSE(isPlainDecimal(text)) << text;
}

} // namespace
} // namespace qv::sheet
