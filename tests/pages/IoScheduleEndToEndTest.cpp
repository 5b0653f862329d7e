// The IO schedule window on a full plant: the real window logs on to qvsim seeded with 1024 IO
// devices and 2040 schedules, opens the schedule window through its link, and shows a device's
// schedules, the count line and the device's week.

#include "app/CQVSettingDlg.h"
#include "pages/schedule/CIoschDlg.h"
#include "pages/schedule/WeekPanel.h"
#include "pages/schedule/WeekView.h"
#include "tests/support/ListProbe.h"
#include "tests/support/WindowOnSim.h"

#include <QLineEdit>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

namespace {

std::unique_ptr<qv::sim::SimState> fullPlant() {
    auto state = qv::sim::seededState();
    qv::sim::seedLargePlant(*state, 1024, 2040);
    return state;
}

class IoScheduleEndToEnd : public qvtest::WindowOnSim {
protected:
    IoScheduleEndToEnd() : WindowOnSim(fullPlant()) {}
    CIoschDlg* page() { return window->ioSchedulePage(); }
    qvtest::ListProbe list(int id) { return qvtest::ListProbe(in<QTableView>(page(), id)); }
};

TEST_F(IoScheduleEndToEnd, FullPlantShowsADevicesSchedulesAndItsWeek) {
    ASSERT_TRUE(sim.started());
    openWindow();
    ASSERT_TRUE(logOn());
    follow(CQVSettingDlg::kLinkIoSchedule);
    ASSERT_NE(page(), nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return page()->isVisible(); }, kWaitMs));

    qvtest::ListProbe devices = list(CIoschDlg::kIoDevices);
    qvtest::ListProbe schedules = list(CIoschDlg::kSchedules);
    qvtest::ListProbe events = list(WeekPanel::kNextEvents);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return devices.rowCount() == 1024 && store.scheduleCount == 2040; }, kWaitMs));
    EXPECT_EQ(devices.cell(1023, 1), QStringLiteral("IO-1024"));

    // IO-0007 holds a normal schedule and an exception, listed in that order.
    devices.click(6);
    ASSERT_EQ(schedules.rowCount(), 2);
    EXPECT_EQ(schedules.cell(0, qv::schedule::kColKind), QStringLiteral("Normal"));
    EXPECT_EQ(schedules.cell(1, qv::schedule::kColKind), QStringLiteral("Exception"));
    EXPECT_TRUE(in<QLineEdit>(page(), CIoschDlg::kCountLine)
                    ->text()
                    .startsWith(QStringLiteral(
                        "Current Schedule Count : 2040    /    Max Schedules : 2040")));

    // IO-0001: Sunday 00:00 ON on relay 1 and Monday 01:07 OFF on relay 2, each once in the
    // seven days from the appliance's clock.
    devices.click(0);
    ASSERT_EQ(schedules.rowCount(), 2);
    const WeekView* grid = in<WeekView>(page(), WeekPanel::kWeekGrid);
    EXPECT_EQ(grid->grid().markCount(), 2);
    EXPECT_EQ(grid->grid().marks(1, 0), (std::vector<qv::schedule::WeekMark>{{0, 1, 0}}));
    EXPECT_EQ(grid->grid().marks(2, 1), (std::vector<qv::schedule::WeekMark>{{7, 2, 1}}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return events.rowCount() == 2; }, kWaitMs));
    QStringList times{events.cell(0, 2), events.cell(1, 2)};
    times.sort();
    EXPECT_EQ(times, (QStringList{QStringLiteral("00:00"), QStringLiteral("01:07")}));
}

} // namespace
