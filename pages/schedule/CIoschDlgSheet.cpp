// The IO schedule window's To Excel File and From Excel File buttons with the spreadsheet files:
// the timetable exported to a workbook the administrator saves, or read back from one. A build
// without the spreadsheet libraries takes CIoschDlgSheetAbsent.cpp instead.
#include "pages/schedule/CIoschDlg.h"

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

namespace {

std::string localPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString sheetFailure(StringId heading, const qv::sheet::SheetError& error) {
    return qv::uiText(heading) + QLatin1Char('\n') +
           qv::fromUtf8(sched::sheetErrorText(error, qv::systemLanguage()));
}

} // namespace

void CIoschDlg::onExport() {
    const qv::CGlobalData& s = store();
    if (sched::nothingToExport(s.scheduleCount))
        return prompt().notice(qv::uiText(StringId::ScheduleNothingToExport));
    const std::string notReadBack =
        sched::exportNotReadBackText(s.scheduleCount, qv::systemLanguage());
    if (!notReadBack.empty() && !prompt().question(qv::fromUtf8(notReadBack) + QLatin1Char('\n') +
                                                   qv::uiText(StringId::ExportAnyway)))
        return;
    // Handing the workbook to the user is where the portable application asks where to save it.
    QString saved;
    const QString defaultName = m_sheetFolder.isEmpty()
                                    ? QStringLiteral("schedule.xlsx")
                                    : QDir(m_sheetFolder).filePath(QStringLiteral("schedule.xlsx"));
    qv::sheet::FileSpreadsheetApplication application(
        [&](qv::sheet::Workbook& book) -> qv::sheet::SheetStatus {
            const std::optional<QString> chosen =
                prompt().saveFileName(qv::qtFileFilter(qv::uiText(StringId::SheetSaveFilter)),
                                      defaultName, qv::uiText(StringId::ChooseSheetExportTitle));
            if (!chosen || chosen->isEmpty())
                return {};
            QString path = *chosen;
            if (QFileInfo(path).suffix().isEmpty()) {
                path += QStringLiteral(".xlsx");
                // The chooser asked about the name as typed, not about this one.
                if (QFileInfo::exists(path) &&
                    !prompt().question(
                        qv::uiText(StringId::WolReplaceFile).arg(QDir::toNativeSeparators(path)),
                        qv::DefaultAnswer::No))
                    return {};
            }
            qv::sheet::SheetStatus status = book.saveAs(localPath(path));
            if (status) {
                saved = path;
                m_sheetFolder = QFileInfo(path).absolutePath();
            }
            return status;
        });
    const qv::sheet::SheetStatus status = sched::exportSchedules(
        application, *s.scheduleTable, s.scheduleCount, qv::systemCodePage());
    if (!status)
        return prompt().notice(sheetFailure(StringId::ExcelLoadError, status.error()));
    if (!saved.isEmpty())
        m_openInDesktop(saved);
}

void CIoschDlg::onImport() {
    const std::optional<QString> chosen =
        prompt().openFileName(qv::qtFileFilter(qv::uiText(StringId::SheetOpenFilter)),
                              qv::uiText(StringId::ChooseSheetImportTitle));
    if (!chosen || chosen->isEmpty())
        return;
    m_sheetFolder = QFileInfo(*chosen).absolutePath();
    qv::sheet::FileSpreadsheetApplication application;
    const auto block = sched::readScheduleBlock(application, localPath(*chosen));
    if (!block)
        return prompt().notice(sheetFailure(StringId::ExcelLoadError, block.error()) +
                               QLatin1Char('\n') + qv::uiText(StringId::SheetNotRead));
    const sched::ScheduleSheet sheet =
        sched::readScheduleSheet(block.value(), qv::systemCodePage());
    if (!sheet.captionFound)
        return prompt().notice(qv::uiText(StringId::ScheduleNotSchedulerFile));
    qv::CGlobalData& s = store();
    const QString summary = qv::fromUtf8(sched::importSummaryText(
        sheet, sched::scheduleLimit(s.maxScheduleCount), qv::systemLanguage()));
    if (!prompt().question(summary + qv::uiText(StringId::ImportReplaceQuestion),
                           qv::DefaultAnswer::No))
        return;
    // The list shows the imported timetable, even an empty one.
    sched::replaceSchedules(*s.scheduleTable, s.scheduleCount, sheet.entries);
    tableEdited();
}
