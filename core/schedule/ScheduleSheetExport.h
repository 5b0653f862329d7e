#pragma once

// Export of the whole timetable, every device's schedules, through a spreadsheet application:
// the calls a spreadsheet program's automation takes, ending with the workbook handed to the
// user (the portable application asks where to save it and opens it). Shared by the IO schedule
// window and qvctl. No Qt here.

#include "link/ScheduleTables.h"
#include "sheet/SpreadsheetApplication.h"

#include <cstdint>

namespace qv::schedule {

// True when there is nothing to export (message 155; the application is not started).
bool nothingToExport(int32_t count);

// Entries of a timetable of `count` that the export writes past row 2040, which the import does
// not read: the administrator is told before the file is written.
int32_t entriesNotReadBack(int32_t count);

// Fills a new workbook with the notes, the captions and one row per entry, then makes the
// application visible and hands it to the user. IDs are converted from `codePage` to the
// sheet's Unicode and kept as texts, however much they read like numbers. On failure the workbook
// is closed without saving and the application quits.
sheet::SheetStatus exportSchedules(sheet::SpreadsheetApplication& application,
                                   const ScheduleTable& table, int32_t count, int codePage);

} // namespace qv::schedule
