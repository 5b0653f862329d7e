#pragma once

// Import of a timetable from a spreadsheet file: the block A1:H2040 of its first worksheet is
// read in one request, turned into texts, searched for the caption row, and every qualifying row
// becomes a schedule entry. Nothing is checked against the appliance's ranges, as the timetable
// has always been taken from files; what lies outside them is counted for the administrator to
// see before the timetable is replaced. Shared by the IO schedule window and qvctl. No Qt here.

#include "link/ScheduleTables.h"
#include "sheet/CellValue.h"
#include "sheet/SpreadsheetApplication.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace qv::schedule {

// The fields whose values are counted when they lie outside their ranges, in this order.
enum class RangedField { Weekday, Month, Date, Hour, Minute, Relay };
inline constexpr int kRangedFields = 6;

// What an import found, for the question before the timetable is replaced.
struct ImportSummary {
    int duplicates = 0;        // rows skipped because an entry taken earlier is the same
    int unknownFunctions = 0;  // rows whose function code is neither 0-3 nor 50-53
    int notes = 0;             // rows whose column A holds no function code (a note)
    int idsCut = 0;            // IDs longer than the field, cut at a character boundary
    int idsNotConvertible = 0; // IDs with characters the code page has no place for
    std::array<int, kRangedFields> outOfRange{};
    // The last row past 2040 with a value in columns A to H, none of which were read; 0: none.
    uint32_t lastRowNotRead = 0;

    int outOfRangeTotal() const;
};

struct ScheduleSheet {
    bool captionFound = false; // false: not a timetable file (message 156)
    std::vector<ScheduleEntry> entries;
    ImportSummary summary;
};

// What the import takes from a file: the block A1:H2040, and where the rows it leaves behind end.
struct ScheduleBlock {
    sheet::CellGrid cells;
    uint32_t lastRowNotRead = 0; // as in ImportSummary
};

// Opens `path` in `application`, reads the block A1:H2040 of its first worksheet and looks for
// values in columns A to H further down, closes the workbook without saving and quits the
// application, whatever happened.
sheet::SheetResult<ScheduleBlock> readScheduleBlock(sheet::SpreadsheetApplication& application,
                                                    const std::string& path);

// A cell as the import reads it: a number formatted "%1.0f" (rounded, no decimal point), a text
// as it stands (UTF-8), anything else empty.
std::string cellText(const sheet::CellValue& value);

// An ID cell: a text as it stands, a number in its shortest decimal form ("1.5", never rounded),
// anything else empty.
std::string idCellText(const sheet::CellValue& value);

// The block into entries. Texts become `codePage` bytes, the form in which the appliance keeps
// IDs.
ScheduleSheet readScheduleSheet(const sheet::CellGrid& block, int codePage);
ScheduleSheet readScheduleSheet(const ScheduleBlock& block, int codePage);

// The whole timetable becomes `entries` (SEQ 0, as the appliance numbers them itself).
void replaceSchedules(ScheduleTable& table, int32_t& count,
                      const std::vector<ScheduleEntry>& entries);

} // namespace qv::schedule
