// The timetable as a spreadsheet file from the command line, with the window's rules: the same
// sheet, the same import summary, and a question before the appliance's timetable is replaced.

#include "cli/ScheduleSheetCommands.h"

#include "cli/CommandLine.h"
#include "cli/ExitCodes.h"
#include "cli/TimetableSession.h"
#include "core/schedule/ScheduleRules.h"
#include "core/schedule/ScheduleSheetExport.h"
#include "core/schedule/ScheduleSheetImport.h"
#include "core/schedule/ScheduleSheetMessages.h"
#include "link/CodePage.h"
#include "sheet/FileSpreadsheetApplication.h"

#include <iostream>
#include <string>

namespace qvctl {
namespace {

using qv::StringId;
namespace sched = qv::schedule;

int refuse(CommandContext& context, const std::string& message) {
    context.err() << "qvctl " << context.options().command << ": " << message << "\n";
    return kExitUsage;
}

std::string fileError(const std::string& path, const qv::sheet::SheetError& error) {
    return path + ": " + sched::sheetErrorText(error, qv::systemLanguage()) + "\n" +
           std::string(qv::uiString(StringId::SheetNotRead));
}

} // namespace

int runScheduleExport(CommandContext& context, const std::string& path) {
    if (const int status = fetchTimetable(context, nullptr, false); status != kExitOk)
        return status;
    const qv::CGlobalData& store = context.session().store();
    if (sched::nothingToExport(store.scheduleCount))
        return refuse(context, std::string(qv::uiString(StringId::ScheduleNothingToExport)));
    // Said before the file is written; the file is still written whole.
    const std::string notReadBack =
        sched::exportNotReadBackText(store.scheduleCount, qv::systemLanguage());
    if (!notReadBack.empty())
        context.err() << "qvctl " << context.options().command << ": " << notReadBack << "\n";
    // Handed to the user means written where the command line says.
    qv::sheet::FileSpreadsheetApplication application(
        [&](qv::sheet::Workbook& book) { return book.saveAs(path); });
    const qv::sheet::SheetStatus status = sched::exportSchedules(
        application, *store.scheduleTable, store.scheduleCount, qv::systemCodePage());
    if (!status)
        return refuse(context, std::string(qv::uiString(StringId::ExcelLoadError)) + "\n" +
                                   sched::sheetErrorText(status.error(), qv::systemLanguage()));
    const std::string count = std::to_string(sched::usedSchedules(store.scheduleCount));
    context.out() << sched::withArguments(qv::uiString(StringId::ExportWritten), {count, path})
                  << "\n";
    return kExitOk;
}

int runScheduleImport(CommandContext& context, const std::string& path, bool yes) {
    // The file is read before the appliance is asked anything: a bad file changes nothing.
    qv::sheet::FileSpreadsheetApplication application;
    const auto block = sched::readScheduleBlock(application, path);
    if (!block)
        return refuse(context, fileError(path, block.error()));
    const sched::ScheduleSheet sheet =
        sched::readScheduleSheet(block.value(), qv::systemCodePage());
    if (!sheet.captionFound)
        return refuse(context, std::string(qv::uiString(StringId::ScheduleNotSchedulerFile)));

    qv::LinkEvent summary;
    if (const int status = fetchTimetable(context, &summary, false); status != kExitOk)
        return status;
    // With --json the summary goes to the error stream, so that the output stays JSON.
    std::ostream& report = context.options().json ? context.err() : context.out();
    report << sched::importSummaryText(sheet, limitOf(summary), qv::systemLanguage());
    if (!yes && !askYes(std::string(qv::uiString(StringId::ImportReplaceOnAppliance)))) {
        report << qv::uiString(StringId::SheetNotRead) << "\n";
        return kExitDeclined;
    }
    qv::CGlobalData& store = context.session().store();
    sched::replaceSchedules(*store.scheduleTable, store.scheduleCount, sheet.entries);
    return sendTimetable(context);
}

} // namespace qvctl
