// What the window loads at start: no second network stack beside the link's, the spreadsheet
// libraries only with the exchange module, when a file is read or written, and the keyring's
// library only when a password is saved or looked up.

#include "pages/QtText.h"
#include "pages/schedule/CIoschDlg.h"
#include "tests/app/AppTestSupport.h"

#include <QFile>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

bool mapped(const char* library) {
    QFile maps(QStringLiteral("/proc/self/maps"));
    return maps.open(QIODevice::ReadOnly) && maps.readAll().contains(library);
}

// Read before main(): what the program's own links pulled in.
const bool kNetworkAtStart = mapped("libQt6Network");
const bool kSpreadsheetAtStart = mapped("libxlsxwriter");
const bool kKeyringAtStart = mapped("libsecret");

TEST(StartupLoad, KeyringLibraryWaitsForItsFirstUse) {
    EXPECT_FALSE(kKeyringAtStart);
}

#ifdef QV_SHEET_MODULE_BUILT
TEST(StartupLoad, SpreadsheetLibrariesComeWithTheModuleOnFirstUse) {
    EXPECT_FALSE(kNetworkAtStart);
    EXPECT_FALSE(kSpreadsheetAtStart);
    qv::CGlobalData store;
    qvtest::ScriptedPrompt prompt;
    CIoschDlg window(store, prompt);
    // A missing module: the buttons say so, as in a build without the libraries.
    setenv("QVSETTING_SHEET_MODULE", "/nonexistent/qvsetting-sheet", 1);
    qv::findControl<QPushButton>(&window, CIoschDlg::kFromExcel)->click();
    EXPECT_EQ(prompt.notices(), QStringList{qv::uiText(qv::StringId::SheetButtonsNotInThisBuild)});
    unsetenv("QVSETTING_SHEET_MODULE");
    qv::findControl<QPushButton>(&window, CIoschDlg::kFromExcel)->click();
    EXPECT_EQ(prompt.fileTitles, QStringList{qv::uiText(qv::StringId::ChooseSheetImportTitle)});
    EXPECT_TRUE(mapped("libxlsxwriter"));
}
#endif

} // namespace
