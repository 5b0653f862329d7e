// The IO schedule window's To Excel File and From Excel File buttons in a build without the
// spreadsheet libraries (the Windows build): they stay where they are and say why they do
// nothing, so no one takes an unwritten file for a saved one or a kept timetable for an import.
#include "pages/schedule/CIoschDlg.h"

#include "pages/Prompt.h"
#include "pages/QtText.h"

namespace {

void sayNotInThisBuild(qv::Prompt& prompt) {
    prompt.notice(qv::uiText(qv::StringId::SheetButtonsNotInThisBuild));
}

} // namespace

void CIoschDlg::onExport() {
    sayNotInThisBuild(prompt());
}

void CIoschDlg::onImport() {
    sayNotInThisBuild(prompt());
}
