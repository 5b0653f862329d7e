// schedule export and import in a build without the spreadsheet libraries (the Windows build):
// they say so and fail, so a script never takes the missing file for a written one.
#include "cli/ScheduleSheetCommands.h"

#include "cli/ExitCodes.h"
#include "res/StringTable.h"

#include <ostream>

namespace qvctl {
namespace {

int notInThisBuild(CommandContext& context, const char* action) {
    context.err() << "qvctl " << context.options().command << " " << action << ": "
                  << qv::uiString(qv::StringId::SheetNotInThisBuild) << "\n";
    return kExitUsage;
}

} // namespace

int runScheduleExport(CommandContext& context, const std::string&) {
    return notInThisBuild(context, "export");
}

int runScheduleImport(CommandContext& context, const std::string&, bool) {
    return notInThisBuild(context, "import");
}

} // namespace qvctl
