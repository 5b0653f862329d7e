// The IO schedule window's To Excel File and From Excel File buttons, with file choosers and the
// import's question answered by the scripted prompt.

#include "link/CGlobalData.h"
#include "pages/ControlIds.h"
#include "pages/QtText.h"
#include "pages/schedule/CIoschDlg.h"
#include "sheet/FileSpreadsheetApplication.h"
#include "tests/support/ScriptedPrompt.h"

#include "tests/support/ListProbe.h"
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using qv::StringId;

namespace {

// A workbook with the caption row and nothing under it.
void writeCaptionOnly(const std::string& path) {
    qv::sheet::FileSpreadsheetApplication app;
    qv::sheet::Workbook& book = *app.workbooks().add().value();
    qv::sheet::Worksheet& sheet = *book.worksheets().item(1).value();
    const char* captions[] = {"동작구분", "월", "요일"};
    for (int c = 0; c < 3; ++c)
        ASSERT_TRUE(sheet.range(std::string(1, static_cast<char>('A' + c)) + "6")
                        .value()
                        ->setValue2(std::string(captions[c])));
    ASSERT_TRUE(book.saveAs(path));
}

TEST(IoScheduleSheetPage, ExportThenImportAsksBeforeReplacing) {
    qv::CGlobalData store;
    qvtest::ScriptedPrompt prompt;
    qv::IoListEntry device;
    device.setId("GATE");
    store.ioListTable->setEntry(0, device);
    store.ioDeviceCount = 1;
    store.maxScheduleCount = 10;
    CIoschDlg page(store, prompt);
    QStringList opened;
    page.setOpenInDesktop([&](const QString& path) {
        opened << path;
        return true;
    });
    page.show();
    const auto click = [&](int id) {
        QTest::mouseClick(qv::findControl<QPushButton>(&page, id), Qt::LeftButton);
    };
    qvtest::ListProbe list(qv::findControl<QTableView>(&page, CIoschDlg::kSchedules));

    click(CIoschDlg::kToExcel);
    EXPECT_EQ(prompt.notices(), QStringList{qv::uiText(StringId::ScheduleNothingToExport)});
    EXPECT_TRUE(prompt.texts(qvtest::ScriptedPrompt::Kind::SaveFile).isEmpty());

    for (int i = 0; i < 2; ++i) {
        qv::ScheduleEntry e;
        e.setId("GATE");
        e.setFunction(static_cast<uint8_t>(i));
        e.setRelay(1);
        e.setDay(2);
        e.setHour(static_cast<uint16_t>(8 + i));
        store.scheduleTable->setEntry(static_cast<size_t>(i), e);
    }
    store.scheduleCount = 2;
    page.tableArrived();
    ASSERT_EQ(list.rowCount(), 2);

    // Saved where the administrator chose, with the extension added, then opened.
    QTemporaryDir folder;
    const QString exported = folder.filePath(QStringLiteral("timetable.xlsx"));
    prompt.saveAnswers = {folder.filePath(QStringLiteral("timetable"))};
    click(CIoschDlg::kToExcel);
    EXPECT_EQ(prompt.shown.back().defaultName, QStringLiteral("schedule.xlsx"));
    EXPECT_EQ(opened, QStringList{exported});
    prompt.saveAnswers = {folder.filePath(QStringLiteral("no/such/folder.xlsx"))};
    click(CIoschDlg::kToExcel);
    EXPECT_TRUE(prompt.notices().last().startsWith(qv::uiText(StringId::ExcelLoadError)));
    EXPECT_EQ(prompt.shown[prompt.shown.size() - 2].defaultName,
              folder.filePath(QStringLiteral("schedule.xlsx")));

    // A file that is no spreadsheet, or no timetable, changes nothing.
    const QString empty = folder.filePath(QStringLiteral("empty.xlsx"));
    writeCaptionOnly(QFile::encodeName(empty).toStdString());
    QFile text(folder.filePath(QStringLiteral("notes.xlsx")));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly) && text.write("ID;function\n") > 0);
    text.close();
    struct Step {
        QString file;
        bool answer;
        QString notice; // empty: the summary question is asked instead
        int32_t countAfter;
        bool unapplied;
    };
    const std::vector<Step> steps{
        {text.fileName(), true, qv::uiText(StringId::SheetNotSpreadsheet), 2, false},
        {exported, false, {}, 2, false},
        {empty, true, {}, 0, true},
        // The appliance's own timetable again: nothing left to apply.
        {exported, true, {}, 2, false},
    };
    for (const Step& step : steps) {
        prompt.clear();
        prompt.openAnswers = {step.file};
        prompt.answers = {step.answer};
        click(CIoschDlg::kFromExcel);
        if (step.notice.isEmpty())
            EXPECT_EQ(prompt.questions().size(), 1) << step.file.toStdString();
        else
            EXPECT_TRUE(prompt.notices().value(0).contains(step.notice)) << step.file.toStdString();
        EXPECT_EQ(store.scheduleCount, step.countAfter) << step.file.toStdString();
        EXPECT_EQ(list.rowCount(), step.countAfter) << step.file.toStdString();
        EXPECT_EQ(page.hasUnappliedChanges(), step.unapplied) << step.file.toStdString();
    }
    EXPECT_TRUE(prompt.questions().value(0).startsWith(QStringLiteral("2 schedules")));
    EXPECT_EQ(store.scheduleTable->entry(1).hour(), 9);
}

} // namespace
