#include "core/schedule/ScheduleRules.h"

#include <algorithm>
#include <cstdio>

namespace qv::schedule {
namespace {

// Sunday .. Saturday (weekday 1..7): the list shows them and reads them back from these.
constexpr std::array<StringId, 7> kWeekdays{
    StringId::Sunday,   StringId::Monday, StringId::Tuesday, StringId::Wednesday,
    StringId::Thursday, StringId::Friday, StringId::Saturday};

constexpr std::array<std::string_view, kFunctionCount> kFunctions{"ON", "OFF", "PUSH ON",
                                                                  "PUSH OFF"};

constexpr int kExceptionOffset = ScheduleEntry::kExceptionOffset;

// Checks 3 to 7 of Add and Edit: the selectors and fields into a schedule's values.
Verdict readEditor(const EditorInput& input, Values& out) {
    if (!input.function || *input.function < 0 || *input.function >= kFunctionCount)
        return Verdict::refused(StringId::ScheduleSelectFunction);
    out.function = *input.function;
    if (input.exception) {
        if (!input.month)
            return Verdict::refused(StringId::ScheduleSelectExceptionMonth);
        if (input.date < 1)
            return Verdict::refused(StringId::ScheduleSelectExceptionDate);
        if (input.date > kMaxDate)
            return Verdict::refused(StringId::ScheduleWrongExceptionDate);
        out.function += kExceptionOffset;
        out.day = *input.month + 1;
        out.date = input.date;
    } else {
        if (!input.weekday)
            return Verdict::refused(StringId::ScheduleSelectWeekday);
        out.day = *input.weekday + 1;
        out.date = 0;
    }
    if (!input.hour)
        return Verdict::refused(StringId::ScheduleSelectHour);
    if (!input.relay)
        return Verdict::refused(StringId::ScheduleSelectRelay);
    out.hour = *input.hour;
    out.relay = *input.relay + 1;
    out.minute = std::clamp(input.minute, 0, kMaxMinute);
    return Verdict::accepted();
}

// The function is not compared: an ON and an OFF at the same time on one relay collide. A row of
// the other kind reads back 0 where the candidate has a weekday or a month and date.
bool collides(const Values& row, const Values& candidate) {
    if (row.id != candidate.id || row.relay != candidate.relay || row.hour != candidate.hour ||
        row.minute != candidate.minute)
        return false;
    if (candidate.exception())
        return row.exception() && row.day == candidate.day && row.date == candidate.date;
    return !row.exception() && row.day == candidate.day;
}

void writeValues(ScheduleEntry& entry, const Values& v) {
    entry.setFunction(static_cast<uint8_t>(v.function));
    entry.setRelay(static_cast<uint8_t>(v.relay));
    entry.setDay(static_cast<uint8_t>(v.day));
    entry.setDate(static_cast<uint8_t>(v.exception() ? v.date : 0));
    entry.setHour(static_cast<uint16_t>(v.hour));
    entry.setMinute(static_cast<uint16_t>(v.minute));
}

std::optional<int> indexOf(int value) {
    return value > 0 ? std::optional<int>(value - 1) : std::nullopt;
}

} // namespace

int32_t usedDevices(int32_t count) {
    return std::clamp(count, 0, kDeviceSlots);
}

int32_t usedSchedules(int32_t count) {
    return std::clamp(count, 0, kScheduleSlots);
}

int32_t scheduleLimit(int32_t productLimit) {
    return limits::scheduleLimit(productLimit);
}

std::string functionText(uint8_t function) {
    const int base = function >= kExceptionOffset ? function - kExceptionOffset : function;
    return base < kFunctionCount ? std::string(kFunctions[static_cast<size_t>(base)])
                                 : std::string();
}

int functionFromText(std::string_view text) {
    const auto it = std::find(kFunctions.begin(), kFunctions.end(), text);
    return it == kFunctions.end() ? 0 : static_cast<int>(it - kFunctions.begin());
}

std::string kindText(bool exception, Language language) {
    return std::string(
        uiString(exception ? StringId::ScheduleException : StringId::ScheduleNormal, language));
}

std::string weekdayText(int weekday, Language language) {
    if (weekday < 1 || weekday > 7)
        return {};
    return std::string(uiString(kWeekdays[static_cast<size_t>(weekday - 1)], language));
}

int weekdayFromText(std::string_view text, Language language) {
    for (int weekday = 1; weekday <= 7; ++weekday)
        if (!text.empty() && weekdayText(weekday, language) == text)
            return weekday;
    return 0;
}

std::string twoDigits(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

int numberFromText(std::string_view text) {
    int value = 0;
    size_t i = 0;
    const bool negative = !text.empty() && text[0] == '-';
    if (negative)
        ++i;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min(value * 10 + (text[i] - '0'), 1'000'000);
    return negative ? -value : value;
}

std::string ioStatusText(uint8_t status) {
    static constexpr std::array<uint8_t, 6> kBits{0x01, 0x02, 0x10, 0x20, 0x04, 0x08};
    std::string text;
    for (const uint8_t bit : kBits)
        text += (status & bit) != 0 ? '1' : '0';
    return text;
}

std::array<std::string, kColumnCount> rowTexts(const ScheduleEntry& e, int number,
                                               Language language) {
    const bool exception = e.isException();
    return {std::to_string(number),
            kindText(exception, language),
            functionText(e.function()),
            exception ? twoDigits(e.day()) : std::string(),
            exception ? std::string() : weekdayText(e.day(), language),
            exception ? twoDigits(e.date()) : std::string(),
            twoDigits(e.hour()),
            twoDigits(e.minute()),
            std::to_string(e.relay()),
            e.id(),
            std::to_string(e.seq())};
}

Values readRow(const std::array<std::string, kColumnCount>& texts, Language language) {
    Values v;
    v.id = texts[kColId];
    const bool exception = texts[kColKind] == uiString(StringId::ScheduleException, language);
    v.function = functionFromText(texts[kColFunction]) + (exception ? kExceptionOffset : 0);
    v.relay = numberFromText(texts[kColRelay]);
    v.day = exception ? numberFromText(texts[kColMonth])
                      : weekdayFromText(texts[kColWeekday], language);
    v.date = exception ? numberFromText(texts[kColDate]) : 0;
    v.hour = numberFromText(texts[kColHour]);
    v.minute = numberFromText(texts[kColMinute]);
    return v;
}

Values shownValues(const ScheduleEntry& entry) {
    return readRow(rowTexts(entry, 0, Language::English), Language::English);
}

std::vector<int> deviceSlots(const ScheduleTable& table, int32_t count, std::string_view id) {
    std::vector<int> slots;
    const int32_t used = usedSchedules(count);
    for (const bool exceptions : {false, true})
        for (int i = 0; i < used; ++i) {
            const ScheduleEntry e = table.entry(static_cast<size_t>(i));
            if (e.isException() == exceptions && e.id() == id)
                slots.push_back(i);
        }
    return slots;
}

Verdict validateAdd(bool deviceSelected, std::string_view deviceId, const EditorInput& input,
                    const std::vector<Values>& shown, int32_t count, int32_t limit,
                    Values& candidate) {
    if (!deviceSelected)
        return Verdict::refused(StringId::ScheduleSelectIo);
    Values v;
    v.id = std::string(deviceId);
    if (const Verdict verdict = readEditor(input, v); !verdict.ok())
        return verdict;
    if (std::any_of(shown.begin(), shown.end(),
                    [&](const Values& row) { return collides(row, v); }))
        return Verdict::refused(StringId::ScheduleDuplicatedSetting);
    if (count >= limit)
        return Verdict::refused(StringId::ScheduleLimitExceeded);
    candidate = v;
    return Verdict::accepted();
}

Verdict validateEdit(bool deviceSelected, int row, const EditorInput& input,
                     const std::vector<Values>& shown, Values& candidate) {
    if (!deviceSelected)
        return Verdict::refused(StringId::ScheduleSelectIo);
    if (row < 0 || row >= static_cast<int>(shown.size()))
        return Verdict::refused(StringId::ScheduleSelectToModify);
    Values v;
    v.id = shown[static_cast<size_t>(row)].id;
    if (const Verdict verdict = readEditor(input, v); !verdict.ok())
        return verdict;
    for (size_t i = 0; i < shown.size(); ++i)
        if (static_cast<int>(i) != row && collides(shown[i], v))
            return Verdict::refused(StringId::ScheduleDuplicated);
    candidate = v;
    return Verdict::accepted();
}

bool matches(const ScheduleEntry& e, const Values& row) {
    if (e.id() != row.id || e.function() != row.function || e.relay() != row.relay ||
        e.hour() != row.hour || e.minute() != row.minute || e.day() != row.day)
        return false;
    return !row.exception() || e.date() == row.date;
}

void addSchedule(ScheduleTable& table, int32_t& count, const Values& candidate) {
    const int32_t slot = usedSchedules(count);
    if (slot >= kScheduleSlots)
        return;
    ScheduleEntry e;
    writeValues(e, candidate);
    e.setId(candidate.id);
    table.setEntry(static_cast<size_t>(slot), e);
    count = slot + 1;
}

bool editSchedule(ScheduleTable& table, int32_t count, const Values& old, const Values& candidate) {
    const int32_t used = usedSchedules(count);
    for (int i = 0; i < used; ++i) {
        ScheduleEntry e = table.entry(static_cast<size_t>(i));
        if (matches(e, old)) {
            writeValues(e, candidate);
            table.setEntry(static_cast<size_t>(i), e);
            return true;
        }
    }
    return false;
}

int deleteSchedules(ScheduleTable& table, int32_t& count, const Values& row) {
    const ScheduleTable copy = table;
    const int32_t used = usedSchedules(count);
    int32_t kept = 0;
    for (int i = 0; i < used; ++i) {
        const ScheduleEntry from = copy.entry(static_cast<size_t>(i));
        if (matches(from, row))
            continue;
        ScheduleEntry to = table.entry(static_cast<size_t>(kept));
        const int32_t seq = to.seq();
        to = from;
        to.setSeq(seq);
        table.setEntry(static_cast<size_t>(kept), to);
        ++kept;
    }
    count = kept;
    return used - kept;
}

EditorInput editorFromRow(const Values& row) {
    EditorInput in;
    in.exception = row.exception();
    const int function = in.exception ? row.function - kExceptionOffset : row.function;
    in.function =
        function >= 0 && function < kFunctionCount ? std::optional<int>(function) : std::nullopt;
    if (in.exception)
        in.month = indexOf(row.day);
    else
        in.weekday = indexOf(row.day);
    in.date = row.date;
    in.hour = row.hour >= 0 && row.hour < 24 ? std::optional<int>(row.hour) : std::nullopt;
    in.relay = indexOf(row.relay);
    in.minute = row.minute;
    return in;
}

void sortDevices(IoListTable& table, int32_t count, bool ascending) {
    const int32_t used = usedDevices(count);
    std::vector<IoListEntry> devices;
    devices.reserve(static_cast<size_t>(used));
    for (int i = 0; i < used; ++i)
        devices.push_back(table.entry(static_cast<size_t>(i)));
    // std::string compares its bytes as unsigned; a stable sort never reorders equal IDs.
    std::stable_sort(devices.begin(), devices.end(),
                     [ascending](const IoListEntry& a, const IoListEntry& b) {
                         return ascending ? a.id() < b.id() : b.id() < a.id();
                     });
    for (int i = 0; i < used; ++i)
        table.setEntry(static_cast<size_t>(i), devices[static_cast<size_t>(i)]);
}

} // namespace qv::schedule
