// The IO schedule window driven through its controls, with messages answered by the scripted
// prompt and requests read by a peer socket.

#include "core/schedule/ScheduleRules.h"
#include "link/CGlobalData.h"
#include "link/CMySocket.h"
#include "link/Frame.h"
#include "link/LinkEvent.h"
#include "link/Requests.h"
#include "pages/ControlIds.h"
#include "pages/QtText.h"
#include "pages/schedule/CIoschDlg.h"
#include "pages/schedule/WeekPanel.h"
#include "pages/schedule/WeekView.h"
#include "tests/support/PageFixture.h"
#include "tests/support/ScriptedAppliance.h"
#include "tests/support/ScriptedPrompt.h"

#include "tests/support/ListProbe.h"
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <tuple>
#include <vector>

using qv::StringId;

namespace {

qv::ScheduleEntry schedule(const char* id, int function, int relay, int day, int date, int hour) {
    qv::ScheduleEntry e;
    e.setId(id);
    e.setFunction(static_cast<uint8_t>(function));
    e.setRelay(static_cast<uint8_t>(relay));
    e.setDay(static_cast<uint8_t>(day));
    e.setDate(static_cast<uint8_t>(date));
    e.setHour(static_cast<uint16_t>(hour));
    return e;
}

// The process's time zone for the life of the object.
class TimeZone {
public:
    explicit TimeZone(const char* zone) {
        if (const char* saved = std::getenv("TZ"))
            m_saved = saved;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~TimeZone() {
        if (m_saved)
            setenv("TZ", m_saved->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }

private:
    std::optional<std::string> m_saved;
};

class IoSchedulePage : public qvtest::PageFixture<CIoschDlg> {
protected:
    void SetUp() override {
        const std::vector<const char*> ids{"PUMP", "GATE", "LOBBY"};
        for (size_t i = 0; i < ids.size(); ++i) {
            qv::IoListEntry e;
            e.setId(ids[i]);
            e.setStatus(0x30);
            store.ioListTable->setEntry(i, e);
        }
        store.ioDeviceCount = 3;
        store.maxScheduleCount = 10;
        open();
    }
    qvtest::ListProbe devices() {
        return qvtest::ListProbe(control<QTableView>(CIoschDlg::kIoDevices));
    }
    qvtest::ListProbe schedules() {
        return qvtest::ListProbe(control<QTableView>(CIoschDlg::kSchedules));
    }
    void choose(int id, int index) { control<QComboBox>(id)->setCurrentIndex(index); }
    void receive(const std::vector<qv::ScheduleEntry>& entries) {
        qv::ScheduleTable table;
        for (size_t i = 0; i < entries.size(); ++i)
            table.setEntry(i, entries[i]);
        qv::applyReplyToStore(
            store, {qv::ReplyEvent::SchedulesArrived, static_cast<int32_t>(entries.size()),
                    std::vector<uint8_t>(table.bytes.begin(), table.bytes.end())});
        page->tableArrived();
    }
};

TEST_F(IoSchedulePage, ListsDevicesByIdAndTheirSchedulesInTwoPasses) {
    EXPECT_EQ(devices().cell(0, 1), QStringLiteral("GATE"));
    EXPECT_EQ(devices().cell(2, 1), QStringLiteral("PUMP"));
    EXPECT_EQ(devices().cell(0, 2), QStringLiteral("001100"));
    receive({schedule("GATE", 51, 1, 3, 12, 8), schedule("PUMP", 0, 1, 2, 0, 8),
             schedule("GATE", 1, 2, 2, 0, 9), schedule("GATE", 4, 1, 8, 0, 7)});
    // Normal rows first, then the exception; function 4 and weekday 8 show empty.
    ASSERT_EQ(schedules().rowCount(), 3);
    EXPECT_EQ(schedules().cell(0, qv::schedule::kColWeekday), QStringLiteral("MON"));
    EXPECT_EQ(schedules().cell(1, qv::schedule::kColFunction), QString());
    EXPECT_EQ(schedules().cell(1, qv::schedule::kColWeekday), QString());
    EXPECT_EQ(schedules().cell(2, qv::schedule::kColKind), QStringLiteral("Exception"));
    const QAbstractItemModel* model = schedules().view()->model();
    EXPECT_EQ(model->index(2, 0).data(Qt::BackgroundRole).value<QColor>(), QColor(255, 200, 200));
    EXPECT_EQ(model->index(0, 0).data(Qt::BackgroundRole).value<QColor>(), QColor(Qt::white));
    EXPECT_TRUE(schedules().view()->isColumnHidden(qv::schedule::kColId));
    EXPECT_TRUE(
        control<QLineEdit>(CIoschDlg::kCountLine)
            ->text()
            .startsWith(QStringLiteral("Current Schedule Count : 4    /    Max Schedules : 10")));

    // The header flips the order; the selection stays on its row, now another device.
    devices().view()->horizontalHeader()->sectionClicked(1);
    EXPECT_EQ(devices().cell(0, 1), QStringLiteral("PUMP"));
    EXPECT_EQ(devices().selectedRows(), QList<int>{0});
    EXPECT_EQ(schedules().rowCount(), 1);
    devices().view()->horizontalHeader()->sectionClicked(1);
    EXPECT_EQ(devices().cell(0, 1), QStringLiteral("GATE"));
}

// Hidden, the window gives back its painted surface and keeps its lists; shown, it paints anew.
TEST_F(IoSchedulePage, HidingReleasesTheSurfaceAndKeepsTheLists) {
    receive({schedule("GATE", 0, 1, 2, 0, 8)});
    page->show();
    ASSERT_NE(page->windowHandle(), nullptr);
    page->hide();
    QCoreApplication::processEvents();
    EXPECT_EQ(page->windowHandle(), nullptr);
    page->show();
    EXPECT_TRUE(page->isVisible());
    EXPECT_EQ(devices().rowCount(), 3);
    EXPECT_EQ(schedules().rowCount(), 1);
}

TEST_F(IoSchedulePage, EditsChangeTheTableAndApplySendsIt) {
    receive({schedule("GATE", 0, 1, 2, 0, 8), schedule("GATE", 0, 1, 2, 0, 8)});
    // Refresh and Add do nothing without a link; Refresh keeps its button.
    click(CIoschDlg::kRefresh);
    EXPECT_TRUE(control<QPushButton>(CIoschDlg::kRefresh)->isEnabled());
    ASSERT_TRUE(appliance.connect(store));

    // OFF over ON at Monday 08:00 on relay 1 collides; on relay 2 it is taken.
    choose(CIoschDlg::kFunction, 1);
    choose(CIoschDlg::kWeekday, 1);
    choose(CIoschDlg::kHour, 8);
    choose(CIoschDlg::kRelay, 0);
    click(CIoschDlg::kAdd);
    EXPECT_EQ(lastNotice(), qv::uiText(StringId::ScheduleDuplicatedSetting));
    EXPECT_EQ(store.scheduleCount, 2);
    choose(CIoschDlg::kRelay, 1);
    control<QLineEdit>(CIoschDlg::kMinute)->setText(QStringLiteral("75"));
    click(CIoschDlg::kAdd);
    ASSERT_EQ(store.scheduleCount, 3);
    EXPECT_EQ(store.scheduleTable->entry(2).minute(), 59);
    EXPECT_FALSE(page->findChild<QLabel*>(QStringLiteral("unappliedMarker"))->isHidden());

    // Add keeps the editor's values, even with a row selected.
    schedules().click(0);
    choose(CIoschDlg::kHour, 9);
    click(CIoschDlg::kAdd);
    ASSERT_EQ(store.scheduleCount, 4);
    EXPECT_EQ(control<QComboBox>(CIoschDlg::kHour)->currentIndex(), 9);
    // Edit without a change is accepted; Delete removes both equal entries.
    schedules().click(0);
    EXPECT_EQ(control<QComboBox>(CIoschDlg::kFunction)->currentIndex(), 0);
    click(CIoschDlg::kEdit);
    EXPECT_EQ(store.scheduleCount, 4);
    schedules().click(0);
    click(CIoschDlg::kDelete);
    EXPECT_EQ(store.scheduleCount, 2);
    EXPECT_EQ(schedules().rowCount(), 2);
    click(CIoschDlg::kDelete);
    EXPECT_EQ(lastNotice(), qv::uiText(StringId::ScheduleSelectToDelete));

    click(CIoschDlg::kApply);
    EXPECT_EQ(store.ioBusy, 1);
    const auto wire = qv::encodeFrame(qv::request::writeSchedule(2, *store.scheduleTable));
    ASSERT_EQ(wire.size(), 8u + qv::ScheduleTable::kSize);
    EXPECT_EQ(appliance.read(wire.size()), wire);

    // With every schedule gone, Apply sends the header alone.
    for (int i = 0; i < 2; ++i) {
        schedules().click(0);
        click(CIoschDlg::kDelete);
    }
    click(CIoschDlg::kApply);
    const qv::FrameHeader header = qv::decodeHeader(appliance.read(8).data());
    EXPECT_EQ(header.dwCount, 0);
    EXPECT_FALSE(appliance.hasData(std::chrono::milliseconds(300)));
}

TEST_F(IoSchedulePage, UnappliedEditsAreNeverDroppedSilently) {
    receive({schedule("GATE", 0, 1, 2, 0, 8)});
    schedules().click(0);
    click(CIoschDlg::kDelete);
    ASSERT_EQ(store.scheduleCount, 0);
    // A fresh table over the edits asks; keeping them keeps the store as edited.
    prompt.answers = {true, false};
    receive({schedule("GATE", 0, 1, 2, 0, 8)});
    EXPECT_EQ(prompt.questions().size(), 1);
    EXPECT_EQ(store.scheduleCount, 0);
    EXPECT_TRUE(page->hasUnappliedChanges());
    // Leaving asks again; No keeps the window.
    EXPECT_FALSE(page->confirmLeave());
    EXPECT_EQ(store.scheduleCount, 0);
}

TEST_F(IoSchedulePage, WeekViewShowsTheHeldTimetableFromTheAppliancesClock) {
    const TimeZone utc("UTC");
    // GATE: Monday 08:00 ON on relay 1, and OFF on relay 2 at 07:00 on Monday 14 December.
    receive({schedule("GATE", 0, 1, 2, 0, 8), schedule("GATE", 51, 2, 12, 14, 7),
             schedule("PUMP", 0, 1, 3, 0, 9)});
    const WeekView* grid = control<WeekView>(WeekPanel::kWeekGrid);
    qvtest::ListProbe events(control<QTableView>(WeekPanel::kNextEvents));
    EXPECT_EQ(grid->grid().marks(2, 8), (std::vector<qv::schedule::WeekMark>{{0, 1, 0}}));
    EXPECT_FALSE(grid->accessibleName().isEmpty());
    EXPECT_EQ(events.rowCount(), 0); // no clock yet

    page->serverTimeArrived(1796725800); // Tuesday 2026-12-08 10:30 UTC
    // The exception takes the place of Monday's normal schedule.
    ASSERT_EQ(events.rowCount(), 1);
    EXPECT_EQ(events.cell(0, 0), QStringLiteral("2026-12-14"));
    EXPECT_EQ(events.cell(0, 2), QStringLiteral("07:00"));
    EXPECT_EQ(events.cell(0, 5), QStringLiteral("Exception"));

    // An edit not yet applied shows at once; an empty minute field stores minute 0.
    ASSERT_TRUE(appliance.connect(store));
    choose(CIoschDlg::kFunction, 1);
    choose(CIoschDlg::kWeekday, 3); // Wednesday
    choose(CIoschDlg::kHour, 9);
    choose(CIoschDlg::kRelay, 1);
    control<QLineEdit>(CIoschDlg::kMinute)->clear();
    click(CIoschDlg::kAdd);
    ASSERT_EQ(store.scheduleCount, 4);
    EXPECT_EQ(store.scheduleTable->entry(3).minute(), 0);
    EXPECT_EQ(grid->grid().marks(4, 9), (std::vector<qv::schedule::WeekMark>{{0, 2, 1}}));
    ASSERT_EQ(events.rowCount(), 2);
    EXPECT_EQ(events.cell(0, 0), QStringLiteral("2026-12-09"));
    EXPECT_EQ(events.cell(0, 3), QStringLiteral("OFF"));

    // An exception with an empty date field is refused and changes nothing.
    QTest::keyClick(control<QCheckBox>(CIoschDlg::kException), Qt::Key_Space);
    choose(CIoschDlg::kMonth, 1);
    control<QLineEdit>(CIoschDlg::kDate)->clear();
    click(CIoschDlg::kAdd);
    EXPECT_EQ(lastNotice(), qv::uiText(StringId::ScheduleSelectExceptionDate));
    EXPECT_EQ(store.scheduleCount, 4);

    // Another device, its own week: PUMP's Tuesday 09:00 has passed today, so it comes next week.
    devices().click(2);
    ASSERT_EQ(events.rowCount(), 1);
    EXPECT_EQ(events.cell(0, 0), QStringLiteral("2026-12-15"));
    EXPECT_EQ(grid->grid().markCount(), 1);
}

// Marks side by side while they fit whole; past that one badge with their count, so six
// schedules in one hour never look like one.
TEST(WeekView, MarksThatDoNotFitShowTheirCount) {
    const QRectF narrow(100, 50, 24, 22), wide(100, 50, 60, 22);
    for (const auto& [cell, marks, count] :
         std::vector<std::tuple<QRectF, size_t, QString>>{{narrow, 1, {}},
                                                          {narrow, 6, QStringLiteral("\u00d76")},
                                                          {wide, 3, {}},
                                                          {wide, 4, QStringLiteral("\u00d74")}}) {
        const WeekView::CellLayout layout = WeekView::layoutCell(cell, marks, 14);
        EXPECT_EQ(layout.count, count) << marks;
        EXPECT_EQ(layout.marks.size(), count.isEmpty() ? marks : 0) << marks;
        for (size_t i = 1; i < layout.marks.size(); ++i)
            EXPECT_TRUE(cell.contains(layout.marks[i]) &&
                        !layout.marks[i].intersects(layout.marks[i - 1]));
    }
}

TEST(WeekView, DayNamesReadAsACalendar) {
    QStringList names;
    for (int weekday = 1; weekday <= 7; ++weekday)
        names << WeekView::dayName(weekday);
    EXPECT_EQ(names.join(QLatin1Char(' ')), QStringLiteral("SUN MON TUE WED THU FRI SAT"));
}

} // namespace
