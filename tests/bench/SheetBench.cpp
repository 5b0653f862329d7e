// Writes and reads the full timetable sheet (rows 7 to 2046, 8 columns) through the spreadsheet
// backend, then has openpyxl do the same work on the same file in the same run, and prints both
// times and their ratio. Not a test: run it with scripts/bench-sheet.sh.

#include "sheet/CellAddress.h"
#include "sheet/FileSpreadsheetApplication.h"
#include "sheet/SheetLimits.h"
#include "sheet/ZipArchive.h"

#include <expat.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <time.h>
#include <vector>

namespace {

using namespace qv::sheet;
constexpr int kFirstRow = 7;
constexpr int kRows = 2040;
constexpr int kRounds = 7;

// The same entries openpyxl_sheet.py writes, as the texts the export hands over.
std::vector<std::string> entry(int i) {
    const bool exception = i % 3 == 0;
    return {std::to_string(exception ? 50 + i % 4 : i % 4),
            std::to_string(exception ? 1 + i % 12 : 0),
            std::to_string(exception ? 0 : 1 + i % 7),
            std::to_string(exception ? 1 + i % 28 : 0),
            std::to_string(i % 24),
            std::to_string(i % 60),
            std::to_string(1 + i % 4),
            "dev-" + std::to_string(i)};
}

bool ok(const SheetStatus& status) {
    if (!status)
        std::fprintf(stderr, "%s\n", describe(status.error()).c_str());
    return status.ok();
}

bool writeSheet(const std::string& path) {
    FileSpreadsheetApplication app;
    Workbook& book = *app.workbooks().add().value();
    Worksheet& ws = *book.worksheets().item(1).value();
    const char* notes[] = {"normal", "exception", "weekday"};
    for (int n = 2; n <= 4; ++n) {
        auto row = std::move(ws.range("A" + std::to_string(n) + ":H" + std::to_string(n)).value());
        if (!ok(row->merge(true)) || !ok(row->setShrinkToFit(true)) ||
            !ok(ws.range("A" + std::to_string(n)).value()->setValue2(std::string(notes[n - 2]))))
            return false;
    }
    for (uint32_t c = 1; c <= 8; ++c) {
        auto cell = std::move(ws.range(columnName(c) + "6").value());
        if (!ok(cell->setValue2("caption " + std::to_string(c))) || !ok(cell->setColumnWidth(10)))
            return false;
    }
    for (int i = 0; i < kRows; ++i) {
        const auto texts = entry(i);
        for (uint32_t c = 0; c < 8; ++c) {
            auto cell =
                std::move(ws.range(columnName(c + 1) + std::to_string(kFirstRow + i)).value());
            if (!ok(cell->setShrinkToFit(true)) || !ok(cell->setValue2(texts[c])))
                return false;
        }
    }
    return ok(book.saveAs(path));
}

bool readSheet(const std::string& path) {
    FileSpreadsheetApplication app;
    auto book = app.workbooks().open(path);
    if (!book)
        return ok(book.error());
    const std::string last = "H" + std::to_string(kFirstRow + kRows - 1);
    const auto grid =
        book.value()->worksheets().item(1).value()->range("A1", last).value()->value2();
    if (!grid)
        return ok(grid.error());
    size_t filled = 0;
    for (uint32_t r = 0; r < grid->rows(); ++r)
        for (uint32_t c = 0; c < grid->columns(); ++c)
            filled += !std::holds_alternative<std::monostate>(grid->at(r, c));
    return filled == 3 + 8 + 8 * kRows;
}

// The sheet's part as the file holds it, inflated; empty when it cannot be read.
std::string sheetPart(const std::string& path) {
    auto archive = ZipArchive::openFile(path);
    InflateBudget budget(kMaxInflatedBytes);
    auto part = archive ? archive->readPart("xl/worksheets/sheet1.xml", kMaxPartBytes, budget)
                        : SheetResult<std::string>(archive.error());
    return part ? std::move(part.value()) : std::string();
}

// libexpat alone over the sheet's part, with no handler at all: the floor under any reader
// built on that parser, whatever it does with the events.
bool parseOnly(const std::string& xml) {
    XML_Parser parser = XML_ParserCreate("UTF-8");
    const bool parsed =
        parser && XML_Parse(parser, xml.data(), static_cast<int>(xml.size()), 1) == XML_STATUS_OK;
    if (parser)
        XML_ParserFree(parser);
    return parsed;
}

// Milliseconds of one round: elapsed, and processor time used. On a busy machine the elapsed
// times of both sides stretch with the load; the processor times do not.
struct Timing {
    double elapsed = -1;
    double cpu = -1;
    bool ok() const { return elapsed >= 0 && cpu >= 0; }
};

double cpuMs() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Median of kRounds rounds of `work`; not ok when a round failed.
Timing medianMs(const std::function<bool()>& work) {
    std::vector<double> elapsed, cpu;
    for (int i = 0; i < kRounds; ++i) {
        const auto start = std::chrono::steady_clock::now();
        const double cpuStart = cpuMs();
        if (!work())
            return {};
        cpu.push_back(cpuMs() - cpuStart);
        elapsed.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    return {median(elapsed), median(cpu)};
}

Timing openpyxlMs(const char* work, const std::string& path) {
    const std::string command = std::string(QV_PYTHON3) + " " + QV_OPENPYXL_SCRIPT + " " + work +
                                " '" + path + "' " + std::to_string(kRounds);
    FILE* pipe = popen(command.c_str(), "r");
    Timing timing;
    if (!pipe || std::fscanf(pipe, "%lf %lf", &timing.elapsed, &timing.cpu) != 2)
        timing = {};
    if (pipe && pclose(pipe) != 0)
        timing = {};
    return timing;
}

void printRow(const char* work, const Timing& ours, const Timing& theirs) {
    std::printf("%-36s %8.1fms %8.1fms %6.1fx %8.1fms %8.1fms %6.1fx\n", work, ours.elapsed,
                theirs.elapsed, theirs.elapsed / ours.elapsed, ours.cpu, theirs.cpu,
                theirs.cpu / ours.cpu);
}

} // namespace

int main() {
    const auto folder = std::filesystem::temp_directory_path() / "qvsheet-bench";
    std::filesystem::create_directories(folder);
    const std::string ours = (folder / "qvsheet.xlsx").string();
    const std::string theirs = (folder / "openpyxl.xlsx").string();

    const Timing write = medianMs([&] { return writeSheet(ours); });
    const Timing read = medianMs([&] { return readSheet(ours); });
    const Timing pyWrite = openpyxlMs("write", theirs);
    const Timing pyRead = openpyxlMs("read", ours); // the same file both read
    const Timing readTheirs = medianMs([&] { return readSheet(theirs); });
    const std::string xml = sheetPart(ours);
    const Timing parse = medianMs([&] { return !xml.empty() && parseOnly(xml); });
    std::filesystem::remove_all(folder);
    if (!write.ok() || !read.ok() || !pyWrite.ok() || !pyRead.ok() || !readTheirs.ok() ||
        !parse.ok()) {
        std::fprintf(stderr, "a round failed\n");
        return 1;
    }
    std::printf("timetable sheet: rows %d to %d, 8 columns; median of %d rounds\n", kFirstRow,
                kFirstRow + kRows - 1, kRounds);
    std::printf("%-36s %10s %10s %7s %10s %10s %7s\n", "", "elapsed", "", "", "processor", "", "");
    std::printf("%-36s %10s %10s %7s %10s %10s %7s\n", "work", "qvsheet", "openpyxl", "ratio",
                "qvsheet", "openpyxl", "ratio");
    printRow("write (automation calls + save)", write, pyWrite);
    printRow("read A1:H2046 of the qvsheet file", read, pyRead);
    std::printf("%-36s %8.1fms %10s %7s %8.1fms\n", "read A1:H2046 of the openpyxl file",
                readTheirs.elapsed, "", "", readTheirs.cpu);
    printRow("libexpat alone on its sheet part", parse, pyRead);
    return 0;
}
