#pragma once

// Texts of the application shell that are rules rather than widgets. No Qt.

#include <cstdint>
#include <string>

namespace qv {

// The about box's version line from a build date in the compiler's form "Mmm dd yyyy" (the
// day may be padded with a blank): "QVSetting, Version 2021.04.01". An unknown month reads 0.
std::string versionLine(const char* buildDate);

} // namespace qv
