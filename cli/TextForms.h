#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace qvctl {

// Values as the pages show them (the product summary's are the summary page's own rules, the
// schedules' are the IO schedule rules).
// "%d.%d.%d.%d".
std::string ipText(const std::array<uint8_t, 4>& address);
// Seconds since 1970 UTC as local time, "%04d-%02d-%02d %02d:%02d:%02d"; the value is widened
// with its sign, so negative values are shown too.
std::string localTimeText(int32_t seconds);

} // namespace qvctl
