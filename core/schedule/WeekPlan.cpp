#include "core/schedule/WeekPlan.h"

#include "core/schedule/ScheduleRules.h"

#include <algorithm>
#include <ctime>

namespace qv::schedule {

namespace {

constexpr int kMinutesInDay = kHoursInDay * 60;

// Days since 1970-01-01 of a date of the proleptic Gregorian calendar, and back (H. Hinnant's
// civil calendar algorithms): the seven days ahead may cross a month's or a year's end.
int64_t daysFromCivil(int year, int month, int day) {
    const int64_t y = year - (month <= 2 ? 1 : 0);
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yearOfEra = y - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

LocalMinute civilFromDays(int64_t days) {
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t dayOfEra = days - era * 146097;
    const int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t mp = (5 * dayOfYear + 2) / 153;
    LocalMinute date;
    date.day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    date.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    date.year = static_cast<int>(yearOfEra + era * 400 + (date.month <= 2 ? 1 : 0));
    return date;
}

int weekdayOfDays(int64_t days) {
    // 1970-01-01 was a Thursday, weekday 5.
    return static_cast<int>(((days % 7) + 7 + 4) % 7) + 1;
}

// The entry's switching, or none when its values are outside what a schedule can hold.
std::optional<WeekMark> markOf(const ScheduleEntry& e) {
    const int function = e.function() % ScheduleEntry::kExceptionOffset;
    if (e.function() >= 2 * ScheduleEntry::kExceptionOffset || function >= kFunctionCount ||
        e.hour() >= kHoursInDay || e.minute() > kMaxMinute)
        return std::nullopt;
    if (e.isException() ? (e.day() < 1 || e.day() > 12 || e.date() < 1 || e.date() > kMaxDate)
                        : (e.day() < 1 || e.day() > kDaysInWeek))
        return std::nullopt;
    return WeekMark{e.minute(), e.relay(), function};
}

int minuteOfDay(const ScheduleEntry& e) {
    return e.hour() * 60 + e.minute();
}

} // namespace

int weekdayOf(int year, int month, int day) {
    return weekdayOfDays(daysFromCivil(year, month, day));
}

std::optional<LocalMinute> localMinuteOf(int32_t secondsSince1970) {
    const std::time_t seconds = static_cast<std::time_t>(static_cast<int64_t>(secondsSince1970));
    std::tm local{};
    if (localtime_r(&seconds, &local) == nullptr)
        return std::nullopt;
    return LocalMinute{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                       local.tm_min};
}

std::vector<ScheduleEntry> entriesAt(const ScheduleTable& table, const std::vector<int>& slots) {
    std::vector<ScheduleEntry> entries;
    entries.reserve(slots.size());
    for (const int slot : slots)
        entries.push_back(table.entry(static_cast<size_t>(slot)));
    return entries;
}

WeekGrid::WeekGrid(const std::vector<ScheduleEntry>& entries) {
    for (const ScheduleEntry& e : entries) {
        const std::optional<WeekMark> mark = markOf(e);
        if (!mark || e.isException())
            continue;
        m_cells[static_cast<size_t>((e.day() - 1) * kHoursInDay + e.hour())].push_back(*mark);
        ++m_markCount;
    }
    for (auto& cell : m_cells)
        std::stable_sort(cell.begin(), cell.end(),
                         [](const WeekMark& a, const WeekMark& b) { return a.minute < b.minute; });
}

const std::vector<WeekMark>& WeekGrid::marks(int weekday, int hour) const {
    static const std::vector<WeekMark> none;
    if (weekday < 1 || weekday > kDaysInWeek || hour < 0 || hour >= kHoursInDay)
        return none;
    return m_cells[static_cast<size_t>((weekday - 1) * kHoursInDay + hour)];
}

std::vector<SwitchEvent> nextEvents(const std::vector<ScheduleEntry>& entries,
                                    const LocalMinute& now) {
    const int64_t today = daysFromCivil(now.year, now.month, now.day);
    const int nowMinute = now.hour * 60 + now.minute;
    struct Timed {
        int64_t minute; // from the start of today
        SwitchEvent event;
    };
    std::vector<Timed> timed;
    // Eight calendar days hold the seven days from now: today from this minute on, and the
    // same weekday a week on up to the minute before.
    for (int offset = 0; offset <= kDaysInWeek; ++offset) {
        const int64_t days = today + offset;
        LocalMinute date = civilFromDays(days);
        const int weekday = weekdayOfDays(days);
        const auto isExceptionOfDay = [&](const ScheduleEntry& e) {
            return e.isException() && e.day() == date.month && e.date() == date.day &&
                   markOf(e).has_value();
        };
        const bool exceptionDay = std::any_of(entries.begin(), entries.end(), isExceptionOfDay);
        for (const ScheduleEntry& e : entries) {
            const std::optional<WeekMark> mark = markOf(e);
            const bool switches =
                exceptionDay ? isExceptionOfDay(e) : (!e.isException() && e.day() == weekday);
            if (!mark || !switches)
                continue;
            const int minute = minuteOfDay(e);
            if ((offset == 0 && minute < nowMinute) ||
                (offset == kDaysInWeek && minute >= nowMinute))
                continue;
            date.hour = e.hour();
            date.minute = e.minute();
            timed.push_back({offset * int64_t{kMinutesInDay} + minute,
                             SwitchEvent{date, weekday, *mark, e.isException()}});
        }
    }
    std::stable_sort(timed.begin(), timed.end(),
                     [](const Timed& a, const Timed& b) { return a.minute < b.minute; });
    std::vector<SwitchEvent> events;
    events.reserve(timed.size());
    for (const Timed& t : timed)
        events.push_back(t.event);
    return events;
}

} // namespace qv::schedule
