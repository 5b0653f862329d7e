// The IO schedule window's To Excel File with a timetable longer than From Excel File reads
// back: the administrator is asked before anything is written.

#include "link/CGlobalData.h"
#include "pages/ControlIds.h"
#include "pages/schedule/CIoschDlg.h"
#include "tests/support/ScriptedPrompt.h"

#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

TEST(ScheduleSheetPage, ExportOfAFullTimetableAsksFirst) {
    qv::CGlobalData store;
    qvtest::ScriptedPrompt prompt;
    store.scheduleCount = 2040; // blank entries: what they hold does not matter here
    CIoschDlg page(store, prompt);
    page.setOpenInDesktop([](const QString&) { return true; });
    page.show();
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("full.xlsx"));
    for (const bool yes : {false, true}) {
        prompt.clear();
        prompt.answers = {yes};
        prompt.saveAnswers = {path};
        QTest::mouseClick(qv::findControl<QPushButton>(&page, CIoschDlg::kToExcel), Qt::LeftButton);
        ASSERT_EQ(prompt.shown.size(), yes ? 2u : 1u);
        EXPECT_TRUE(prompt.questions().value(0).startsWith(QStringLiteral("6 of the 2040")));
        EXPECT_EQ(QFileInfo::exists(path), yes);
    }
}
