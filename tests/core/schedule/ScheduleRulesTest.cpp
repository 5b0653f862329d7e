#include "core/schedule/ScheduleRules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qv::schedule {
namespace {

constexpr Language kEn = Language::English;

ScheduleEntry entryOf(const char* id, int function, int relay, int day, int date, int hour,
                      int minute, int32_t seq = 0) {
    ScheduleEntry e;
    e.setId(id);
    e.setFunction(static_cast<uint8_t>(function));
    e.setRelay(static_cast<uint8_t>(relay));
    e.setDay(static_cast<uint8_t>(day));
    e.setDate(static_cast<uint8_t>(date));
    e.setHour(static_cast<uint16_t>(hour));
    e.setMinute(static_cast<uint16_t>(minute));
    e.setSeq(seq);
    return e;
}

// Monday (weekday 2) 08:00 on relay 1.
EditorInput mondayEight(int function, int relayIndex = 0) {
    EditorInput in;
    in.function = function;
    in.weekday = 1;
    in.hour = 8;
    in.relay = relayIndex;
    return in;
}

EditorInput exceptionOn(int monthIndex, int date, int minute = 0) {
    EditorInput in = mondayEight(0);
    in.weekday.reset();
    in.exception = true;
    in.month = monthIndex;
    in.date = date;
    in.minute = minute;
    return in;
}

TEST(ScheduleRules, TextFormsReadBackFromTheirOneSource) {
    // Function 4 and weekdays 0 and 8 show empty; "TUS" and "THI" as the string table has them.
    const ScheduleEntry odd = entryOf("dev", 4, 1, 8, 0, 7, 5);
    const auto texts = rowTexts(odd, 3, kEn);
    EXPECT_EQ(texts[kColKind], "Normal");
    EXPECT_EQ(texts[kColFunction], "");
    EXPECT_EQ(texts[kColWeekday], "");
    EXPECT_EQ(texts[kColHour], "07");
    EXPECT_EQ(rowTexts(entryOf("dev", 1, 1, 0, 0, 7, 5), 1, kEn)[kColWeekday], "");
    for (const Language language : {Language::English, Language::Korean})
        for (int weekday = 1; weekday <= 7; ++weekday)
            EXPECT_EQ(weekdayFromText(weekdayText(weekday, language), language), weekday);
    EXPECT_EQ(weekdayText(3, kEn), "TUS");
    EXPECT_EQ(weekdayText(5, kEn), "THI");
    EXPECT_EQ(weekdayFromText("TUE", kEn), 0);
    for (int function : {0, 1, 2, 3, 50, 53}) {
        const ScheduleEntry e = entryOf("dev", function, 2, 3, function >= 50 ? 31 : 0, 23, 59);
        const Values v = shownValues(e);
        EXPECT_EQ(v.function, function);
        EXPECT_EQ(v.date, e.date());
        EXPECT_TRUE(matches(e, v)) << function;
    }
    EXPECT_EQ(numberFromText(""), 0);
    EXPECT_EQ(numberFromText("007"), 7);
    // Positions 3 and 4 are bits 0x10 and 0x20.
    const std::vector<std::pair<uint8_t, std::string>> statuses{{0x01, "100000"}, {0x02, "010000"},
                                                                {0x10, "001000"}, {0x20, "000100"},
                                                                {0x04, "000010"}, {0x08, "000001"}};
    for (const auto& [status, text] : statuses)
        EXPECT_EQ(ioStatusText(status), text) << int(status);
}

TEST(ScheduleRules, AddRunsTheChecksInOrder) {
    const std::vector<Values> onMonday{shownValues(entryOf("dev", 0, 1, 2, 0, 8, 0))};
    const std::vector<Values> onMarch12{shownValues(entryOf("dev", 50, 1, 3, 12, 8, 0))};
    EditorInput noFunction = mondayEight(1);
    noFunction.function.reset();
    EditorInput noWeekday = mondayEight(1);
    noWeekday.weekday.reset();
    EditorInput noHour = mondayEight(1);
    noHour.hour.reset();
    EditorInput noRelay = mondayEight(1);
    noRelay.relay.reset();
    EditorInput noMonth = exceptionOn(0, 1);
    noMonth.month.reset();
    EditorInput minute75 = mondayEight(1, 1);
    minute75.minute = 75;

    const auto no = [](StringId id) { return Verdict::refused(id); };
    const Verdict ok = Verdict::accepted();
    // Runs Add's checks on one input and, when they pass, stores it over a stale slot.
    const auto check = [](const char* what, bool deviceSelected, const EditorInput& input,
                          const std::vector<Values>& shown, int32_t count, Verdict expected,
                          const ScheduleEntry& stored = {}) {
        Values candidate;
        const Verdict verdict =
            validateAdd(deviceSelected, "dev", input, shown, count, 10, candidate);
        EXPECT_EQ(verdict, expected) << what;
        if (!verdict.ok())
            return;
        ScheduleTable table;
        table.setEntry(0, entryOf("x", 1, 1, 1, 0, 1, 1, 77)); // a stale SEQ in the new slot
        int32_t tableCount = 0;
        addSchedule(table, tableCount, candidate);
        EXPECT_EQ(tableCount, 1);
        EXPECT_EQ(shownValues(table.entry(0)), shownValues(stored)) << what;
        EXPECT_EQ(table.entry(0).seq(), 0) << what;
    };
    check("no device", false, mondayEight(1), {}, 0, no(StringId::ScheduleSelectIo));
    check("no function", true, noFunction, {}, 0, no(StringId::ScheduleSelectFunction));
    check("no month", true, noMonth, {}, 0, no(StringId::ScheduleSelectExceptionMonth));
    check("date 0", true, exceptionOn(1, 0), {}, 0, no(StringId::ScheduleSelectExceptionDate));
    check("date 32", true, exceptionOn(1, 32), {}, 0, no(StringId::ScheduleWrongExceptionDate));
    check("no weekday", true, noWeekday, {}, 0, no(StringId::ScheduleSelectWeekday));
    check("no hour", true, noHour, {}, 0, no(StringId::ScheduleSelectHour));
    check("no relay", true, noRelay, {}, 0, no(StringId::ScheduleSelectRelay));
    check("31 February", true, exceptionOn(1, 31), {}, 0, ok, entryOf("dev", 50, 1, 2, 31, 8, 0));
    check("minute 75", true, minute75, {}, 0, ok, entryOf("dev", 1, 2, 2, 0, 8, 59));
    check("OFF over ON", true, mondayEight(1), onMonday, 1,
          no(StringId::ScheduleDuplicatedSetting));
    check("relay 2", true, mondayEight(1, 1), onMonday, 1, ok, entryOf("dev", 1, 2, 2, 0, 8, 0));
    check("exception beside normal", true, exceptionOn(2, 12), onMonday, 1, ok,
          entryOf("dev", 50, 1, 3, 12, 8, 0));
    check("normal beside exception", true, mondayEight(0), onMarch12, 1, ok,
          entryOf("dev", 0, 1, 2, 0, 8, 0));
    check("at the limit", true, mondayEight(1, 1), onMonday, 10,
          no(StringId::ScheduleLimitExceeded));
    check("duplicate at the limit", true, mondayEight(1), onMonday, 10,
          no(StringId::ScheduleDuplicatedSetting));
}

TEST(ScheduleRules, EditDeleteAndMatching) {
    ScheduleTable table;
    int32_t count = 4;
    table.setEntry(0, entryOf("dev", 0, 1, 2, 0, 8, 0, 10));
    table.setEntry(1, entryOf("other", 0, 1, 2, 0, 8, 0, 11));
    table.setEntry(2, entryOf("dev", 0, 1, 2, 0, 8, 0, 12)); // the same as slot 0
    table.setEntry(3, entryOf("dev", 51, 2, 3, 12, 9, 30, 13));
    EXPECT_EQ(deviceSlots(table, count, "dev"), (std::vector<int>{0, 2, 3}));
    // A count past the slots reads only the slots.
    EXPECT_EQ(deviceSlots(table, 5000, "other"), (std::vector<int>{1}));

    std::vector<Values> shown;
    for (const int slot : deviceSlots(table, count, "dev"))
        shown.push_back(shownValues(table.entry(static_cast<size_t>(slot))));
    Values candidate;
    // Its own row takes no part; the other rows do.
    EXPECT_TRUE(validateEdit(true, 2, exceptionOn(2, 12, 0), shown, candidate).ok());
    EditorInput same = exceptionOn(2, 12, 30);
    same.function = 1;
    same.hour = 9;
    same.relay = 1;
    EXPECT_TRUE(validateEdit(true, 2, same, shown, candidate).ok());
    EXPECT_EQ(validateEdit(true, 0, same, shown, candidate),
              Verdict::refused(StringId::ScheduleDuplicated));
    EXPECT_EQ(validateEdit(true, -1, same, shown, candidate),
              Verdict::refused(StringId::ScheduleSelectToModify));

    // Edit rewrites the first match only, its ID and SEQ stay.
    ASSERT_TRUE(validateEdit(true, 0, mondayEight(2, 3), shown, candidate).ok());
    EXPECT_TRUE(editSchedule(table, count, shown[0], candidate));
    EXPECT_EQ(table.entry(0).function(), 2);
    EXPECT_EQ(table.entry(0).seq(), 10);
    EXPECT_EQ(table.entry(2).function(), 0);
    EXPECT_FALSE(
        editSchedule(table, count, shownValues(entryOf("dev", 3, 4, 7, 0, 1, 1)), candidate));

    // Delete removes every match; the others move down, the SEQs stay in their slots.
    table.setEntry(0, entryOf("dev", 0, 1, 2, 0, 8, 0, 10));
    EXPECT_EQ(deleteSchedules(table, count, shown[0]), 2);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(table.entry(0).id(), "other");
    EXPECT_EQ(table.entry(1).function(), 51);
    EXPECT_EQ(table.entry(0).seq(), 10);
    EXPECT_EQ(table.entry(1).seq(), 11);
}

} // namespace
} // namespace qv::schedule
