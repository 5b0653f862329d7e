#pragma once

#include "NetworkConfigRecord.h"
#include "ScheduleTables.h"
#include "StringTable.h"

#include <array>
#include <cstdint>
#include <string>

namespace qvctl {

// The domain of the vendor's DDNS service, appended to the DDNS ID as the summary page does.
inline constexpr const char* kDdnsDomainSuffix = ".quorvel-ddns.net";

// Values as the pages show them.
// "%d.%02d (%s)": software version (times 100) and version note.
std::string softwareVersionText(const qv::NetworkConfigRecord& record);
// "%02x:%02x:%02x:%02x:%02x:%02x", lower case.
std::string macText(const std::array<uint8_t, 6>& mac);
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
