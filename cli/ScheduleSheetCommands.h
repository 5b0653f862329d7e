#pragma once

#include "cli/Registry.h"

namespace qvctl {

// schedule export FILE: the appliance's timetable as an .xlsx file laid out as the IO schedule
// window writes it.
int runScheduleExport(CommandContext& context);
// schedule import FILE [--yes]: a timetable file read as the window reads it; after its summary
// and the administrator's yes (or --yes), the appliance's timetable is replaced.
int runScheduleImport(CommandContext& context);

} // namespace qvctl
