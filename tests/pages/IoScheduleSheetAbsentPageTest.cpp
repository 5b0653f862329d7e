// The IO schedule window's To Excel File and From Excel File buttons in a build without the
// spreadsheet files: both stay, say so, and neither asks for a file nor touches the timetable.

#include "link/CGlobalData.h"
#include "pages/ControlIds.h"
#include "pages/QtText.h"
#include "pages/schedule/CIoschDlg.h"
#include "tests/support/ScriptedPrompt.h"

#include "tests/support/ListProbe.h"
#include <QFileInfo>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

TEST(IoScheduleSheetPage, ButtonsSayTheBuildHasNoSpreadsheetFiles) {
    qv::CGlobalData store;
    qvtest::ScriptedPrompt prompt;
    qv::IoListEntry device;
    device.setId("GATE");
    store.ioListTable->setEntry(0, device);
    store.ioDeviceCount = 1;
    store.maxScheduleCount = 10;
    qv::ScheduleEntry entry;
    entry.setId("GATE");
    entry.setRelay(1);
    entry.setDay(2);
    entry.setHour(8);
    store.scheduleTable->setEntry(0, entry);
    store.scheduleCount = 1;
    CIoschDlg page(store, prompt);
    page.show();
    page.tableArrived();
    qvtest::ListProbe list(qv::findControl<QTableView>(&page, CIoschDlg::kSchedules));
    ASSERT_EQ(list.rowCount(), 1);
    const auto tableBefore = store.scheduleTable->bytes;

    // Were a button to go on, its chooser would get this file and its question a yes.
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("timetable.xlsx"));
    prompt.defaultAnswer = true;
    for (const int id : {CIoschDlg::kToExcel, CIoschDlg::kFromExcel}) {
        SCOPED_TRACE(id);
        prompt.clear();
        prompt.saveAnswers = {file};
        prompt.openAnswers = {file};
        auto* button = qv::findControl<QPushButton>(&page, id);
        ASSERT_NE(button, nullptr);
        ASSERT_TRUE(button->isEnabled());
        QTest::mouseClick(button, Qt::LeftButton);
        ASSERT_EQ(prompt.shown.size(), 1u);
        EXPECT_EQ(prompt.notices(),
                  QStringList{qv::uiText(qv::StringId::SheetButtonsNotInThisBuild)});
        EXPECT_FALSE(QFileInfo::exists(file));
        EXPECT_EQ(store.scheduleCount, 1);
        EXPECT_EQ(store.scheduleTable->bytes, tableBefore);
        EXPECT_EQ(list.rowCount(), 1);
        EXPECT_FALSE(page.hasUnappliedChanges());
    }
}

} // namespace
