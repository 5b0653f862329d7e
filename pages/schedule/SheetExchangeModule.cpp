// The spreadsheet exchange module: the timetable exported to a workbook the administrator
// saves, or read back from one. Loaded by the IO schedule window on first use.
#include "pages/schedule/SheetExchange.h"

#include "core/schedule/ScheduleRules.h"
#include "core/schedule/ScheduleSheetExport.h"
#include "core/schedule/ScheduleSheetImport.h"
#include "core/schedule/ScheduleSheetMessages.h"
#include "link/CGlobalData.h"
#include "pages/Prompt.h"
#include "pages/QtText.h"
#include "sheet/FileSpreadsheetApplication.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace sched = qv::schedule;
using qv::StringId;
using qv::sheetexchange::Context;

namespace {

std::string localPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString sheetFailure(StringId heading, const qv::sheet::SheetError& error) {
    return qv::uiText(heading) + QLatin1Char('\n') +
           qv::fromUtf8(sched::sheetErrorText(error, qv::systemLanguage()));
}

void exportSchedules(Context& c) {
    const qv::CGlobalData& s = c.store;
    if (sched::nothingToExport(s.scheduleCount))
        return c.prompt.notice(qv::uiText(StringId::ScheduleNothingToExport));
    const std::string notReadBack =
        sched::exportNotReadBackText(s.scheduleCount, qv::systemLanguage());
    if (!notReadBack.empty() && !c.prompt.question(qv::fromUtf8(notReadBack) + QLatin1Char('\n') +
                                                   qv::uiText(StringId::ExportAnyway)))
        return;
    // Handing the workbook to the user is where the portable application asks where to save it.
    QString saved;
    const QString defaultName = c.folder.isEmpty()
                                    ? QStringLiteral("schedule.xlsx")
                                    : QDir(c.folder).filePath(QStringLiteral("schedule.xlsx"));
    qv::sheet::FileSpreadsheetApplication application(
        [&](qv::sheet::Workbook& book) -> qv::sheet::SheetStatus {
            const std::optional<QString> chosen =
                c.prompt.saveFileName(qv::qtFileFilter(qv::uiText(StringId::SheetSaveFilter)),
                                      defaultName, qv::uiText(StringId::ChooseSheetExportTitle));
            if (!chosen || chosen->isEmpty())
                return {};
            QString path = *chosen;
            if (QFileInfo(path).suffix().isEmpty()) {
                path += QStringLiteral(".xlsx");
                // The chooser asked about the name as typed, not about this one.
                if (QFileInfo::exists(path) &&
                    !c.prompt.question(
                        qv::uiText(StringId::WolReplaceFile).arg(QDir::toNativeSeparators(path)),
                        qv::DefaultAnswer::No))
                    return {};
            }
            qv::sheet::SheetStatus status = book.saveAs(localPath(path));
            if (status) {
                saved = path;
                c.folder = QFileInfo(path).absolutePath();
            }
            return status;
        });
    const qv::sheet::SheetStatus status = sched::exportSchedules(
        application, *s.scheduleTable, s.scheduleCount, qv::systemCodePage());
    if (!status)
        return c.prompt.notice(sheetFailure(StringId::ExcelLoadError, status.error()));
    if (!saved.isEmpty() && c.openInDesktop)
        c.openInDesktop(saved);
}

void importSchedules(Context& c) {
    const std::optional<QString> chosen =
        c.prompt.openFileName(qv::qtFileFilter(qv::uiText(StringId::SheetOpenFilter)),
                              qv::uiText(StringId::ChooseSheetImportTitle));
    if (!chosen || chosen->isEmpty())
        return;
    c.folder = QFileInfo(*chosen).absolutePath();
    qv::sheet::FileSpreadsheetApplication application;
    const auto block = sched::readScheduleBlock(application, localPath(*chosen));
    if (!block)
        return c.prompt.notice(sheetFailure(StringId::ExcelLoadError, block.error()) +
                               QLatin1Char('\n') + qv::uiText(StringId::SheetNotRead));
    const sched::ScheduleSheet sheet =
        sched::readScheduleSheet(block.value(), qv::systemCodePage());
    if (!sheet.captionFound)
        return c.prompt.notice(qv::uiText(StringId::ScheduleNotSchedulerFile));
    qv::CGlobalData& s = c.store;
    const QString summary = qv::fromUtf8(sched::importSummaryText(
        sheet, sched::scheduleLimit(s.maxScheduleCount), qv::systemLanguage()));
    if (!c.prompt.question(summary + qv::uiText(StringId::ImportReplaceQuestion),
                           qv::DefaultAnswer::No))
        return;
    // The list shows the imported timetable, even an empty one.
    sched::replaceSchedules(*s.scheduleTable, s.scheduleCount, sheet.entries);
    if (c.tableEdited)
        c.tableEdited();
}

constexpr qv::sheetexchange::Entry kEntry{qv::sheetexchange::kVersion, exportSchedules,
                                          importSchedules};

} // namespace

extern "C" Q_DECL_EXPORT const qv::sheetexchange::Entry* qvSheetExchangeEntry() {
    return &kEntry;
}
