#pragma once

// The administrator's words for what the spreadsheet exchange found: why a file could not be
// read or written, and the summary shown before an import replaces the timetable. The window and
// qvctl show the same lines. No Qt here.

#include "SheetError.h"
#include "StringTable.h"
#include "schedule/ScheduleSheetImport.h"

#include <cstdint>
#include <string>

namespace qv::schedule {

// What went wrong in the administrator's language, then the file's own detail.
std::string sheetErrorText(const sheet::SheetError& error, Language language);

// One line per finding: schedules found, rows skipped by reason, values outside their ranges,
// IDs cut, and the appliance's schedule limit when the timetable exceeds it.
std::string importSummaryText(const ScheduleSheet& sheet, int32_t scheduleLimit, Language language);

// The string's "%1" replaced by `value`.
std::string withArgument(std::string_view text, std::string_view value);

} // namespace qv::schedule
