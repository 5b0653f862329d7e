#pragma once

// The administrator's words for what the spreadsheet exchange found: why a file could not be
// read or written, and the summary shown before an import replaces the timetable. The window and
// qvctl show the same lines. No Qt here.

#include "core/schedule/ScheduleSheetImport.h"
#include "res/Message.h"
#include "res/StringTable.h"
#include "sheet/SheetError.h"

#include <cstdint>
#include <initializer_list>
#include <string>

namespace qv::schedule {

// What went wrong in the administrator's language, then the file's own detail.
std::string sheetErrorText(const sheet::SheetError& error, Language language);

// One line per finding: schedules found, rows skipped by reason, values outside their ranges,
// IDs cut, and the appliance's schedule limit when the timetable exceeds it.
std::string importSummaryText(const ScheduleSheet& sheet, int32_t scheduleLimit, Language language);

// What the administrator is told before an export of `count` entries is written: the entries
// the import will not read back; empty when it reads back all of them.
std::string exportNotReadBackText(int32_t count, Language language);

} // namespace qv::schedule
