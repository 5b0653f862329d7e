#pragma once

// Import of a timetable from a spreadsheet file: the block A1:H2040 of its first worksheet is
// read in one request, turned into texts, searched for the caption row, and every qualifying row
// becomes a schedule entry. Nothing is checked against the appliance's ranges, as the timetable
// has always been taken from files; what lies outside them is counted for the administrator to
// see before the timetable is replaced. Shared by the IO schedule window and qvctl. No Qt here.

#include "CellValue.h"
#include "ScheduleTables.h"
#include "SpreadsheetApplication.h"

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

    int outOfRangeTotal() const;
};

struct ScheduleSheet {
    bool captionFound = false; // false: not a timetable file (message 156)
    std::vector<ScheduleEntry> entries;
    ImportSummary summary;
};

// Opens `path` in `application`, reads the block A1:H2040 of its first worksheet, closes the
// workbook without saving and quits the application, whatever happened.
sheet::SheetResult<sheet::CellGrid> readScheduleBlock(sheet::SpreadsheetApplication& application,
                                                      const std::string& path);

// A cell as the import reads it: a number formatted "%1.0f" (rounded, no decimal point), a text
// as it stands (UTF-8), anything else empty.
std::string cellText(const sheet::CellValue& value);

// The block into entries. Texts become `codePage` bytes, the form in which the appliance keeps
// IDs.
ScheduleSheet readScheduleSheet(const sheet::CellGrid& block, int codePage);

// The whole timetable becomes `entries` (SEQ 0, as the appliance numbers them itself).
void replaceSchedules(ScheduleTable& table, int32_t& count,
                      const std::vector<ScheduleEntry>& entries);

} // namespace qv::schedule
