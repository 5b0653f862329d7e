#include "core/schedule/ScheduleSheetExport.h"

#include "core/schedule/ScheduleRules.h"
#include "core/schedule/ScheduleSheetLayout.h"
#include "link/CodePage.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace qv::schedule {
namespace {

using sheet::CellValue;
using sheet::SheetStatus;

// "A7": the cell name built from the column letter and the row number.
std::string cellName(int column, int row) {
    char name[16];
    std::snprintf(name, sizeof name, "%c%d", 'A' + column, row);
    return name;
}

// The text of one column of an entry's row: numbers in plain decimal, the ID unchanged. The
// spreadsheet application decides how to store a text; the import reads numbers and texts alike.
std::string columnText(const ScheduleEntry& e, int column, int codePage) {
    const bool exception = e.isException();
    switch (column) {
    case kSheetFunction:
        return std::to_string(e.function());
    case kSheetMonth:
        return std::to_string(exception ? e.day() : 0);
    case kSheetWeekday:
        return std::to_string(exception ? 0 : e.day());
    case kSheetDate:
        return std::to_string(exception ? e.date() : 0);
    case kSheetHour:
        return std::to_string(e.hour());
    case kSheetMinute:
        return std::to_string(e.minute());
    case kSheetRelay:
        return std::to_string(e.relay());
    default:
        return ansiToUtf8(e.id(), codePage);
    }
}

// Runs the calls in order and stops at the first that fails.
class SheetFiller {
public:
    explicit SheetFiller(sheet::Worksheet& sheet) : m_sheet(sheet) {}

    SheetStatus notes() {
        for (int i = 0; i < static_cast<int>(kSheetNotes.size()); ++i) {
            const int row = 2 + i;
            auto range = m_sheet.range(cellName(0, row), cellName(kSheetColumns - 1, row));
            if (!range)
                return range.error();
            sheet::Range& merged = *range.value();
            if (SheetStatus s = merged.select(); !s)
                return s;
            if (SheetStatus s = merged.merge(true); !s)
                return s;
            if (SheetStatus s = merged.setShrinkToFit(true); !s)
                return s;
            if (SheetStatus s = put(cellName(0, row), std::string(kSheetNotes[i]), false); !s)
                return s;
        }
        return {};
    }

    SheetStatus captions() {
        for (int column = 0; column < kSheetColumns; ++column) {
            auto cell = m_sheet.range(cellName(column, kSheetCaptionRow));
            if (!cell)
                return cell.error();
            if (SheetStatus s = cell.value()->setValue2(std::string(kSheetCaptions[column])); !s)
                return s;
            if (SheetStatus s = cell.value()->setColumnWidth(kSheetColumnWidth); !s)
                return s;
        }
        return {};
    }

    SheetStatus entries(const ScheduleTable& table, int32_t count, int codePage) {
        for (int32_t i = 0; i < count; ++i) {
            const ScheduleEntry e = table.entry(static_cast<size_t>(i));
            for (int column = 0; column < kSheetColumns; ++column)
                if (SheetStatus s = put(cellName(column, kSheetFirstEntryRow + i),
                                        columnText(e, column, codePage), true, column == kSheetId);
                    !s)
                    return s;
        }
        return {};
    }

    SheetStatus selectFirstCell() {
        auto cell = m_sheet.range("A1", "A1");
        return cell ? cell.value()->select() : SheetStatus(cell.error());
    }

private:
    // `asText`: an ID such as "1.5" or "0.25" would otherwise be stored as a number and come
    // back from the import rounded, naming a device that does not exist.
    SheetStatus put(const std::string& name, const CellValue& value, bool shrink,
                    bool asText = false) {
        auto cell = m_sheet.range(name);
        if (!cell)
            return cell.error();
        if (shrink)
            if (SheetStatus s = cell.value()->setShrinkToFit(true); !s)
                return s;
        if (asText)
            if (SheetStatus s = cell.value()->setNumberFormat("@"); !s)
                return s;
        return cell.value()->setValue2(value);
    }

    sheet::Worksheet& m_sheet;
};

SheetStatus fill(sheet::SpreadsheetApplication& application, sheet::Workbook& book,
                 const ScheduleTable& table, int32_t count, int codePage) {
    auto first = book.worksheets().item(1);
    if (!first)
        return first.error();
    SheetFiller filler(*first.value());
    if (SheetStatus s = filler.notes(); !s)
        return s;
    if (SheetStatus s = filler.captions(); !s)
        return s;
    if (SheetStatus s = filler.entries(table, count, codePage); !s)
        return s;
    if (SheetStatus s = filler.selectFirstCell(); !s)
        return s;
    if (SheetStatus s = application.setVisible(true); !s)
        return s;
    return application.setUserControl(true);
}

} // namespace

bool nothingToExport(int32_t count) {
    return usedSchedules(count) == 0;
}

int32_t entriesNotReadBack(int32_t count) {
    return std::max(usedSchedules(count) - kSheetEntriesReadBack, 0);
}

SheetStatus exportSchedules(sheet::SpreadsheetApplication& application, const ScheduleTable& table,
                            int32_t count, int codePage) {
    auto book = application.workbooks().add();
    if (!book) {
        application.quit();
        return book.error();
    }
    const SheetStatus status =
        fill(application, *book.value(), table, usedSchedules(count), codePage);
    if (!status) {
        book.value()->close();
        application.quit();
    }
    return status;
}

} // namespace qv::schedule
