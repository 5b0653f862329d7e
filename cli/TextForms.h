#pragma once

#include "ScheduleTables.h"
#include "StringTable.h"

#include <array>
#include <cstdint>
#include <string>

namespace qvctl {

// Values as the pages show them (the product summary's are the summary page's own rules).
// "%d.%d.%d.%d".
std::string ipText(const std::array<uint8_t, 4>& address);
// Seconds since 1970 UTC as local time, "%04d-%02d-%02d %02d:%02d:%02d"; the value is widened
// with its sign, so negative values are shown too.
std::string localTimeText(int32_t seconds);

// Schedule text forms: function "ON"/"OFF"/"PUSH ON"/"PUSH OFF" (empty for other values), kind
// "Normal"/"Exception", weekday "SUN".."SAT" from the string table (empty outside 1..7).
std::string functionText(uint8_t function);
std::string kindText(const qv::ScheduleEntry& entry, qv::Language language);
std::string weekdayText(uint8_t weekday, qv::Language language);
std::string twoDigits(int value);
// Six characters "0"/"1" from an IO device's status byte: bits 0x01, 0x02, 0x10, 0x10, 0x04,
// 0x08 in that order.
std::string ioStatusText(uint8_t status);

} // namespace qvctl
