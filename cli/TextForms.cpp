#include "TextForms.h"

#include "schedule/ServerTime.h"

#include <cstdio>
#include <ctime>

namespace qvctl {
namespace {

using qv::StringId;

// Sunday .. Saturday (weekday 1..7).
constexpr std::array<StringId, 7> kWeekdays{
    StringId::Sunday,   StringId::Monday, StringId::Tuesday, StringId::Wednesday,
    StringId::Thursday, StringId::Friday, StringId::Saturday};

} // namespace

std::string ipText(const std::array<uint8_t, 4>& address) {
    char text[16];
    std::snprintf(text, sizeof text, "%d.%d.%d.%d", address[0], address[1], address[2], address[3]);
    return text;
}

std::string localTimeText(int32_t seconds) {
    const std::string text = qv::formatServerTime(seconds);
    return text.empty() ? std::to_string(seconds) : text;
}

std::string functionText(uint8_t function) {
    static const std::array<const char*, 4> texts{"ON", "OFF", "PUSH ON", "PUSH OFF"};
    const int base = function >= qv::ScheduleEntry::kExceptionOffset
                         ? function - qv::ScheduleEntry::kExceptionOffset
                         : function;
    return base >= 0 && base < 4 ? texts[static_cast<size_t>(base)] : "";
}

std::string kindText(const qv::ScheduleEntry& entry, qv::Language language) {
    return std::string(qv::uiString(
        entry.isException() ? StringId::ScheduleException : StringId::ScheduleNormal, language));
}

std::string weekdayText(uint8_t weekday, qv::Language language) {
    if (weekday < 1 || weekday > 7)
        return {};
    return std::string(qv::uiString(kWeekdays[weekday - 1u], language));
}

std::string twoDigits(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

std::string ioStatusText(uint8_t status) {
    static const std::array<uint8_t, 6> bits{0x01, 0x02, 0x10, 0x10, 0x04, 0x08};
    std::string text;
    for (const uint8_t bit : bits)
        text += (status & bit) != 0 ? '1' : '0';
    return text;
}

} // namespace qvctl
