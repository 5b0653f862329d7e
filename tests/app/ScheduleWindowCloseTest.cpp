// The IO schedule window closed by the operator: edits that were not applied are applied,
// discarded or kept on the operator's word, and the main window shows a page again afterwards.

#include "AppTestSupport.h"
#include "NavLink.h"
#include "QtText.h"
#include "Requests.h"
#include "RunningSim.h"
#include "schedule/CIoschDlg.h"

#include <QTableView>

#include <gtest/gtest.h>

namespace {

using qv::StringId;

TEST(ScheduleWindowClose, AsksApplyDiscardOrKeepEditingAndShowsThePageItCameFrom) {
    qv::simtest::RunningSim sim;
    qvtest::Window w(QString::fromStdString(sim.address()));
    w.typeLogon(QStringLiteral("admin"), QStringLiteral("admin"));
    w.clickLogin();
    ASSERT_TRUE(qvtest::waitUntil([&] { return w.store.PageIndex == 1; }));
    ASSERT_TRUE(qvtest::waitUntil(
        [&] { return w.control<QPushButton>(CQVSettingDlg::kLinkIoSchedule)->isVisible(); }));
    w.prompt.defaultAnswer = true;
    CIoschDlg* iosch = w.window->ioSchedulePage();
    auto* schedules = qv::findControl<QTableView>(iosch, CIoschDlg::kSchedules);

    // Opens the window from the Wake-on-LAN page and deletes the first schedule shown.
    const auto openAndEdit = [&] {
        // The list fills again only when the appliance's timetable has arrived.
        w.store.scheduleCount = 0;
        iosch->SetScheduleData();
        w.clickLink(CQVSettingDlg::kLinkWol);
        w.clickLink(CQVSettingDlg::kLinkIoSchedule);
        ASSERT_TRUE(qvtest::waitUntil([&] { return schedules->model()->rowCount() > 0; }));
        ASSERT_TRUE(iosch->isVisible());
        schedules->selectRow(0);
        QTest::mouseClick(qv::findControl<QPushButton>(iosch, CIoschDlg::kDelete), Qt::LeftButton);
        ASSERT_TRUE(iosch->hasUnappliedChanges());
    };
    openAndEdit();
    const int appliedCount = w.store.scheduleCount + 1;

    // Keep editing, or the box closed without an answer: the window and its edits stay.
    for (const int answer : {2, -1}) {
        w.prompt.clear();
        w.prompt.choices = {answer};
        iosch->close();
        EXPECT_TRUE(iosch->isVisible()) << answer;
        EXPECT_TRUE(iosch->hasUnappliedChanges()) << answer;
        EXPECT_EQ(w.store.PageIndex, pageIndex(Page::IoSchedule));
    }
    ASSERT_EQ(w.prompt.questions().size() + w.prompt.notices().size(), 0u);
    ASSERT_EQ(w.prompt.texts(qvtest::ScriptedPrompt::Kind::Choice),
              QStringList{qv::uiText(StringId::ScheduleCloseQuestion)});
    EXPECT_EQ(w.prompt.choiceAnswers.back(),
              (QStringList{qv::uiText(StringId::EditsApply), qv::uiText(StringId::EditsDiscard),
                           qv::uiText(StringId::EditsKeepEditing)}));

    // Discard: the appliance's timetable is back, and the page the window came from shows.
    w.prompt.choices = {1};
    iosch->close();
    EXPECT_FALSE(iosch->isVisible());
    EXPECT_FALSE(iosch->clockTimerActive());
    EXPECT_FALSE(iosch->hasUnappliedChanges());
    EXPECT_EQ(w.store.scheduleCount, appliedCount);
    EXPECT_EQ(w.store.PageIndex, pageIndex(Page::Wol));
    EXPECT_EQ(w.currentPage(), w.window->page(Page::Wol));
    EXPECT_TRUE(w.control<NavLink>(CQVSettingDlg::kLinkWol)->isCurrent());
    EXPECT_FALSE(w.control<NavLink>(CQVSettingDlg::kLinkIoSchedule)->isCurrent());

    // Apply: the timetable goes to the appliance, which takes it.
    openAndEdit();
    w.prompt.clear();
    w.prompt.choices = {0};
    iosch->close();
    EXPECT_FALSE(iosch->isVisible());
    EXPECT_EQ(w.currentPage(), w.window->page(Page::Wol));
    ASSERT_TRUE(qvtest::waitUntil([&] { return !iosch->hasUnappliedChanges(); }));

    EXPECT_EQ(w.store.scheduleCount, appliedCount - 1);

    // Without edits, closing asks nothing.
    w.clickLink(CQVSettingDlg::kLinkIoSchedule);
    ASSERT_TRUE(iosch->isVisible());
    w.prompt.clear();
    iosch->close();
    EXPECT_FALSE(iosch->isVisible());
    EXPECT_TRUE(w.prompt.texts(qvtest::ScriptedPrompt::Kind::Choice).isEmpty());
    EXPECT_EQ(w.currentPage(), w.window->page(Page::Wol));
}

} // namespace
