#pragma once

#include "cli/Registry.h"

#include <string>

namespace qvctl {

// schedule export FILE: the appliance's timetable as an .xlsx file laid out as the IO schedule
// window writes it.
int runScheduleExport(CommandContext& context, const std::string& path);
// schedule import FILE [--yes]: a timetable file read as the window reads it; after its summary
// and the administrator's yes (or --yes), the appliance's timetable is replaced.
int runScheduleImport(CommandContext& context, const std::string& path, bool yes);

} // namespace qvctl
