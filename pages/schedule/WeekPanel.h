#pragma once

// Beside the IO schedule window's lists: the week grid of the selected device and the list of
// its switching events in the seven days from the appliance's clock. Read-only; it shows the
// timetable the window holds, unapplied edits included.

#include "core/schedule/WeekPlan.h"
#include "link/ScheduleTables.h"

#include <QWidget>

#include <cstdint>
#include <optional>
#include <vector>

class QLabel;
class QTableView;
class StoreTableModel;
class WeekView;

class WeekPanel : public QWidget {
    Q_OBJECT
public:
    enum ControlId : int {
        kWeekGrid = 1180,
        kNextEvents = 1181,
    };

    explicit WeekPanel(QWidget* parent = nullptr);

    // The selected device's schedules in list order (none when no device is selected).
    void setSchedules(std::vector<qv::ScheduleEntry> entries);
    // The appliance's clock; the events are worked out again when its minute changes.
    void setServerTime(int32_t secondsSince1970);

    const std::vector<qv::schedule::SwitchEvent>& nextEvents() const { return m_events; }

private:
    void updateEvents();

    std::vector<qv::ScheduleEntry> m_entries;
    std::optional<qv::schedule::LocalMinute> m_now;
    std::vector<qv::schedule::SwitchEvent> m_events;

    WeekView* m_grid;
    QLabel* m_from;
    StoreTableModel* m_eventModel;
    QTableView* m_eventList;
};
