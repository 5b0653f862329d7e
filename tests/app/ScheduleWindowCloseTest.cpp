// The IO schedule window closed by the operator: edits that were not applied are applied,
// discarded or kept on the operator's word, and the main window shows a page again afterwards.

#include "app/NavLink.h"
#include "pages/QtText.h"
#include "pages/schedule/CIoschDlg.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/RunningSim.h"

#include <QTableView>

#include <gtest/gtest.h>

namespace {

using qv::StringId;

TEST(ScheduleWindowClose, AsksApplyDiscardOrKeepEditingAndShowsThePageItCameFrom) {
    qv::simtest::RunningSim sim;
    qvtest::Window w(QString::fromStdString(sim.address()));
    ASSERT_TRUE(w.logOnAsAdmin());
    w.prompt.defaultAnswer = true;
    CIoschDlg* iosch = w.window->ioSchedulePage();
    auto* schedules = qv::findControl<QTableView>(iosch, CIoschDlg::kSchedules);
    // From the Wake-on-LAN page, once the appliance's timetable is in: deletes a schedule.
    const auto openAndEdit = [&] {
        w.store.scheduleCount = 0;
        iosch->SetScheduleData();
        w.clickLink(CQVSettingDlg::kLinkWol);
        w.clickLink(CQVSettingDlg::kLinkIoSchedule);
        ASSERT_TRUE(qvtest::waitUntil([&] { return schedules->model()->rowCount() > 0; }));
        schedules->selectRow(0);
        QTest::mouseClick(qv::findControl<QPushButton>(iosch, CIoschDlg::kDelete), Qt::LeftButton);
        ASSERT_TRUE(iosch->hasUnappliedChanges());
    };
    openAndEdit();
    const int appliedCount = w.store.scheduleCount + 1;

    w.prompt.choices = {2}; // Keep editing
    iosch->close();
    EXPECT_TRUE(iosch->isVisible());
    EXPECT_TRUE(iosch->hasUnappliedChanges());
    EXPECT_EQ(w.prompt.choiceAnswers.back(),
              (QStringList{qv::uiText(StringId::EditsApply), qv::uiText(StringId::EditsDiscard),
                           qv::uiText(StringId::EditsKeepEditing)}));

    w.prompt.choices = {1}; // Discard
    iosch->close();
    EXPECT_FALSE(iosch->isVisible());
    EXPECT_FALSE(iosch->hasUnappliedChanges());
    EXPECT_EQ(w.store.scheduleCount, appliedCount);
    EXPECT_EQ(w.currentPage(), w.window->page(Page::Wol));
    EXPECT_TRUE(w.control<NavLink>(CQVSettingDlg::kLinkWol)->isCurrent());

    openAndEdit();
    w.prompt.choices = {0}; // Apply: the appliance takes the timetable
    iosch->close();
    EXPECT_FALSE(iosch->isVisible());
    EXPECT_EQ(w.currentPage(), w.window->page(Page::Wol));
    ASSERT_TRUE(qvtest::waitUntil([&] { return !iosch->hasUnappliedChanges(); }));
    EXPECT_EQ(w.prompt.texts(qvtest::ScriptedPrompt::Kind::Choice)
                  .count(qv::uiText(StringId::ScheduleCloseQuestion)),
              3);
}

} // namespace
