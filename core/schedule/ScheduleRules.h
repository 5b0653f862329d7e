#pragma once

// The IO schedule rules: the text forms of the schedule list (shown and read back from one
// source), the checks of Add and Edit in their order, the duplicate rule, the rule that matches a
// list row to its table entry, and the table edits. Shared by the IO schedule window and qvctl,
// so both refuse the same input with the same message. No Qt here.

#include "core/Verdict.h"
#include "link/ApplianceLimits.h"
#include "link/ScheduleTables.h"
#include "res/StringIds.h"
#include "res/StringTable.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv::schedule {

inline constexpr int32_t kDeviceSlots = static_cast<int32_t>(IoListTable::kSlots);
inline constexpr int32_t kScheduleSlots = static_cast<int32_t>(ScheduleTable::kSlots);
// The product record's schedule limit is held to this range when it arrives; 2040, not the
// table's 2048 slots, is the highest limit that can be in force.
inline constexpr int32_t kMinScheduleLimit = limits::kMinSchedules;
inline constexpr int32_t kMaxScheduleLimit = limits::kMaxSchedules;
inline constexpr int kFunctionCount = 4;
inline constexpr int kRelayCount = 4;
inline constexpr int kMaxMinute = 59;
inline constexpr int kMaxDate = 31;

// Counts from the wire name at most the table's slots; negative counts name none.
int32_t usedDevices(int32_t count);
int32_t usedSchedules(int32_t count);
int32_t scheduleLimit(int32_t productLimit);

// Text forms. Function "ON", "OFF", "PUSH ON", "PUSH OFF" for 0..3 and 50..53, empty otherwise;
// read back: those texts give 0..3, any other text 0.
std::string functionText(uint8_t function);
int functionFromText(std::string_view text);
// Kind: "Normal" below function 50, "Exception" from 50 on (strings 217, 218).
std::string kindText(bool exception, Language language);
// Weekday 1 (Sunday) .. 7 (Saturday) as the string table spells them ("TUS" and "THI" as they
// stand); empty outside 1..7. Read back: those texts give 1..7, any other text 0.
std::string weekdayText(int weekday, Language language);
int weekdayFromText(std::string_view text, Language language);
std::string twoDigits(int value);
// A decimal field as the editor and the list read it: leading zeros allowed, empty reads as 0,
// digits past a non-digit are ignored.
int numberFromText(std::string_view text);
// Six characters "0"/"1" of an IO device's status byte: bits 0x01, 0x02, 0x10, 0x20, 0x04, 0x08.
std::string ioStatusText(uint8_t status);

// One schedule as its list row reads back: function includes the 50 of an exception; `day` is
// the weekday of a normal schedule and the month of an exception, `date` 0 for a normal one.
struct Values {
    std::string id; // bytes in the system code page
    int function = 0;
    int relay = 0;
    int day = 0;
    int date = 0;
    int hour = 0;
    int minute = 0;

    bool exception() const { return function >= ScheduleEntry::kExceptionOffset; }
    bool operator==(const Values&) const = default;
};

// The schedule list's columns: No, kind, function, month, weekday, date, hour, minute, relay,
// ID and SEQ (the last two hidden in the window).
inline constexpr int kColumnCount = 11;
enum Column : int {
    kColNumber,
    kColKind,
    kColFunction,
    kColMonth,
    kColWeekday,
    kColDate,
    kColHour,
    kColMinute,
    kColRelay,
    kColId,
    kColSeq
};
// Texts of the row numbered `number`; the ID stays in the code page's bytes.
std::array<std::string, kColumnCount> rowTexts(const ScheduleEntry& entry, int number,
                                               Language language);
// A row's texts back into values, the kind by string 218.
Values readRow(const std::array<std::string, kColumnCount>& texts, Language language);
// The entry as its list row reads back (values outside the text forms read as 0).
Values shownValues(const ScheduleEntry& entry);

// The slots of device `id`'s schedules in list order: the normal ones in table order, then the
// exceptions in table order.
std::vector<int> deviceSlots(const ScheduleTable& table, int32_t count, std::string_view id);

// What the editor holds: the selectors' indexes (none when nothing is chosen) and the two
// fields as read (empty reads as 0).
struct EditorInput {
    std::optional<int> function; // 0..3
    bool exception = false;
    std::optional<int> month; // 0..11
    int date = 0;
    std::optional<int> weekday; // 0 Sunday .. 6 Saturday
    std::optional<int> hour;    // 0..23
    std::optional<int> relay;   // 0..3
    int minute = 0;
};

// The checks of Add: a device selected, the editor's checks, a duplicate among `shown` (the
// selected device's rows), the schedule limit. On acceptance `candidate` holds the new schedule
// with `deviceId`.
Verdict validateAdd(bool deviceSelected, std::string_view deviceId, const EditorInput& input,
                    const std::vector<Values>& shown, int32_t count, int32_t limit,
                    Values& candidate);
// The checks of Edit: a device selected, a row `row` of `shown` selected, the editor's checks,
// a duplicate among the other rows. On acceptance `candidate` holds the changed schedule with
// the row's ID.
Verdict validateEdit(bool deviceSelected, int row, const EditorInput& input,
                     const std::vector<Values>& shown, Values& candidate);

// True when `entry` is the table entry of a row reading `row` (SEQ takes no part).
bool matches(const ScheduleEntry& entry, const Values& row);
// Writes the new schedule into slot `count` with SEQ 0 and grows the count. After validateAdd.
void addSchedule(ScheduleTable& table, int32_t& count, const Values& candidate);
// Rewrites the first entry matching `old` with the candidate's values (ID and SEQ stay). False
// when no entry matches; the table is then unchanged. After validateEdit.
bool editSchedule(ScheduleTable& table, int32_t count, const Values& old, const Values& candidate);
// Removes every entry matching `row`: the others move down, each into the next slot from 0 on,
// leaving the SEQ values in their slots. Returns the number removed.
int deleteSchedules(ScheduleTable& table, int32_t& count, const Values& row);
// The editor's indexes loaded from a row (a value of 0 gives no selection).
EditorInput editorFromRow(const Values& row);

// Sorts the first `count` devices of the store's list in place by ID, bytes compared unsigned,
// ascending or descending; equal IDs are never swapped.
void sortDevices(IoListTable& table, int32_t count, bool ascending);

} // namespace qv::schedule
