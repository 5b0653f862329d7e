#pragma once

// The appliance's clock as the IO schedule window and qvctl show it. No Qt.

#include <cstdint>
#include <string>

namespace qv {

// The appliance's clock (seconds since 1970-01-01 UTC, signed) in local time as
// "YYYY-MM-DD hh:mm:ss". Times before 1970 are shown too; empty if the time cannot be
// represented.
std::string formatServerTime(int32_t secondsSince1970);

} // namespace qv
