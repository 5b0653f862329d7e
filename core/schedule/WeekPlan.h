#pragma once

// What one IO device's timetable does over a week, as the IO schedule window's week view shows
// it: its normal schedules on a grid of weekdays and hours, and the switching events of the
// coming seven days from the appliance's clock, where a date with exception schedules takes
// the place of that day's normal schedules. Entries whose values no text form can show
// (function outside 0..3 and 50..53, weekday outside 1..7, month, date, hour or minute out of
// range) switch nothing here. No Qt.

#include "link/ScheduleTables.h"

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace qv::schedule {

inline constexpr int kDaysInWeek = 7;
inline constexpr int kHoursInDay = 24;

// A minute of the calendar in the appliance's local time.
struct LocalMinute {
    int year = 1970;
    int month = 1; // 1..12
    int day = 1;   // 1..31
    int hour = 0;
    int minute = 0;

    bool operator==(const LocalMinute&) const = default;
};

// The weekday of a date as the timetable numbers it: 1 Sunday .. 7 Saturday.
int weekdayOf(int year, int month, int day);
// The appliance's clock (seconds since 1970-01-01 UTC) in local time, to the minute; none when
// the time cannot be represented.
std::optional<LocalMinute> localMinuteOf(int32_t secondsSince1970);

// The entries in `slots` of the table, in that order (the slots of one device's schedule list).
std::vector<ScheduleEntry> entriesAt(const ScheduleTable& table, const std::vector<int>& slots);

// One switching of a relay point at a minute of an hour.
struct WeekMark {
    int minute = 0;
    int relay = 0;
    int function = 0; // 0 ON, 1 OFF, 2 PUSH ON, 3 PUSH OFF

    bool operator==(const WeekMark&) const = default;
};

// The normal schedules of one device by weekday and hour, each cell's marks by minute (equal
// minutes in list order).
class WeekGrid {
public:
    WeekGrid() = default;
    explicit WeekGrid(const std::vector<ScheduleEntry>& entries);

    // The marks of `weekday` (1 Sunday .. 7 Saturday) at `hour` (0..23).
    const std::vector<WeekMark>& marks(int weekday, int hour) const;
    int markCount() const { return m_markCount; }

private:
    std::array<std::vector<WeekMark>, kDaysInWeek * kHoursInDay> m_cells;
    int m_markCount = 0;
};

struct SwitchEvent {
    LocalMinute when;
    int weekday = 0; // of `when`, 1 Sunday .. 7 Saturday
    WeekMark mark;
    bool exception = false;

    bool operator==(const SwitchEvent&) const = default;
};

// The switching events of one device's `entries` from the minute `now` on (an event at that
// minute has still to switch) for seven days, in time order (equal minutes in list order).
std::vector<SwitchEvent> nextEvents(const std::vector<ScheduleEntry>& entries,
                                    const LocalMinute& now);

} // namespace qv::schedule
