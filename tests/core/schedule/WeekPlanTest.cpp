#include "core/schedule/WeekPlan.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace qv::schedule {
namespace {

constexpr int kSun = 1, kMon = 2, kTue = 3, kWed = 4, kThu = 5, kFri = 6;

ScheduleEntry entry(int function, int relay, int day, int date, int hour, int minute) {
    ScheduleEntry e;
    e.setId("dev");
    e.setFunction(static_cast<uint8_t>(function));
    e.setRelay(static_cast<uint8_t>(relay));
    e.setDay(static_cast<uint8_t>(day));
    e.setDate(static_cast<uint8_t>(date));
    e.setHour(static_cast<uint16_t>(hour));
    e.setMinute(static_cast<uint16_t>(minute));
    return e;
}
ScheduleEntry normal(int function, int relay, int weekday, int hour, int minute) {
    return entry(function, relay, weekday, 0, hour, minute);
}
ScheduleEntry exception(int function, int relay, int month, int date, int hour, int minute) {
    return entry(function + 50, relay, month, date, hour, minute);
}

// An event as "YYYY-MM-DD w hh:mm f/r", x marking an exception.
std::string describe(const SwitchEvent& e) {
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %d %02d:%02d %d/%d%s", e.when.year,
                  e.when.month, e.when.day, e.weekday, e.when.hour, e.when.minute, e.mark.function,
                  e.mark.relay, e.exception ? "x" : "");
    return text;
}

TEST(WeekPlan, NextEventsOfTheComingSevenDays) {
    const LocalMinute tuesday{2026, 12, 8, 10, 30}; // a Tuesday
    struct Case {
        const char* what;
        LocalMinute now;
        std::vector<ScheduleEntry> entries;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases{
        {"an exception date replaces that day's normal schedules, other days keep theirs",
         tuesday,
         {normal(0, 1, kWed, 8, 0), normal(1, 2, kThu, 9, 0), exception(2, 3, 12, 9, 7, 15)},
         {"2026-12-09 4 07:15 2/3x", "2026-12-10 5 09:00 1/2"}},
        {"an exception date outside the seven days changes nothing",
         tuesday,
         {normal(0, 1, kWed, 8, 0), exception(0, 1, 12, 16, 8, 0)},
         {"2026-12-09 4 08:00 0/1"}},
        {"the week wraps: today's earlier minutes come a week on",
         tuesday,
         {normal(0, 1, kTue, 9, 0), normal(1, 1, kTue, 11, 0), normal(3, 4, kMon, 10, 0)},
         {"2026-12-08 3 11:00 1/1", "2026-12-14 2 10:00 3/4", "2026-12-15 3 09:00 0/1"}},
        {"an event at the current minute is still to come, once",
         tuesday,
         {normal(0, 1, kTue, 10, 30), normal(1, 1, kTue, 10, 29)},
         {"2026-12-08 3 10:30 0/1", "2026-12-15 3 10:29 1/1"}},
        {"a week on, an exception of that date takes the place of the weekday",
         tuesday,
         {normal(0, 1, kTue, 9, 0), exception(1, 1, 12, 15, 9, 5), exception(1, 1, 12, 15, 11, 0)},
         {"2026-12-15 3 09:05 1/1x"}},
        {"values no text form shows switch nothing",
         tuesday,
         {normal(0, 1, 0, 9, 0), normal(0, 1, 8, 9, 0), normal(4, 1, kWed, 9, 0),
          normal(0, 1, kWed, 24, 0), normal(0, 1, kWed, 9, 60), exception(0, 1, 13, 9, 9, 0),
          exception(0, 1, 12, 0, 9, 0), entry(54, 1, 12, 9, 9, 0), entry(99, 1, 12, 9, 9, 0),
          normal(2, 2, kWed, 9, 0)},
         {"2026-12-09 4 09:00 2/2"}},
        {"an exception that cannot switch does not take a day's place",
         tuesday,
         {normal(0, 1, kWed, 8, 0), exception(0, 1, 12, 9, 25, 0)},
         {"2026-12-09 4 08:00 0/1"}},
        {"equal minutes keep the list's order; the year turns",
         {2026, 12, 30, 23, 59},
         {normal(1, 2, kThu, 0, 0), normal(0, 1, kThu, 0, 0), normal(0, 1, kFri, 12, 0),
          exception(0, 3, 1, 1, 0, 0), normal(0, 1, kSun, 6, 0)},
         {"2026-12-31 5 00:00 1/2", "2026-12-31 5 00:00 0/1", "2027-01-01 6 00:00 0/3x",
          "2027-01-03 1 06:00 0/1"}},
        {"29 February switches in a leap year; 31 February never",
         {2028, 2, 27, 0, 0},
         {exception(0, 1, 2, 29, 8, 0), exception(0, 1, 2, 31, 8, 0)},
         {"2028-02-29 3 08:00 0/1x"}},
        {"no schedules, no events", tuesday, {}, {}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> got;
        for (const SwitchEvent& e : nextEvents(c.entries, c.now))
            got.push_back(describe(e));
        EXPECT_EQ(got, c.expected) << c.what;
    }
}

TEST(WeekPlan, GridHoldsTheNormalSchedulesByWeekdayAndHour) {
    const WeekGrid grid({normal(1, 2, kMon, 8, 45), normal(0, 1, kMon, 8, 5),
                         normal(3, 4, kMon, 8, 5), exception(0, 1, 3, 2, 8, 0),
                         normal(0, 1, 9, 8, 0), normal(0, 1, kFri, 23, 59)});
    EXPECT_EQ(grid.markCount(), 4);
    EXPECT_EQ(grid.marks(kMon, 8), (std::vector<WeekMark>{{5, 1, 0}, {5, 4, 3}, {45, 2, 1}}));
    EXPECT_EQ(grid.marks(kFri, 23), (std::vector<WeekMark>{{59, 1, 0}}));
    EXPECT_TRUE(grid.marks(0, 8).empty());
    EXPECT_TRUE(grid.marks(kMon, 24).empty());
    EXPECT_EQ(weekdayOf(1970, 1, 1), kThu);
    EXPECT_EQ(weekdayOf(2000, 2, 29), kTue);
}

} // namespace
} // namespace qv::schedule
