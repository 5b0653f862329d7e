#pragma once

// Texts of the application shell that are rules rather than widgets. No Qt.

#include <cstdint>
#include <string>

namespace qv {

// The about box's version line from a build date in the compiler's form "Mmm dd yyyy" (the
// day may be padded with a blank): "QVSetting, Version 2021.04.01". An unknown month reads 0.
std::string versionLine(const char* buildDate);

// The appliance's clock (seconds since 1970-01-01 UTC, signed) in local time as
// "YYYY-MM-DD hh:mm:ss". Times before 1970 are shown too; empty if the time cannot be
// represented.
std::string formatServerTime(int32_t secondsSince1970);

} // namespace qv
