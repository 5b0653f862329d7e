// schedule export and import in a build without the spreadsheet libraries (the Windows build):
// they say so and fail, so a script never takes the missing file for a written one.
#include "cli/ScheduleSheetCommands.h"

#include "cli/ExitCodes.h"
#include "res/StringTable.h"

#include <iostream>

namespace qvctl {
namespace {

int notInThisBuild(CommandContext& context) {
    std::cerr << "qvctl " << context.options().command << " " << context.options().args[0] << ": "
              << qv::uiString(qv::StringId::SheetNotInThisBuild) << "\n";
    return kExitUsage;
}

} // namespace

int runScheduleExport(CommandContext& context) {
    return notInThisBuild(context);
}

int runScheduleImport(CommandContext& context) {
    return notInThisBuild(context);
}

} // namespace qvctl
