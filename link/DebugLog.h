#pragma once

#include <functional>
#include <string_view>

namespace qv {

// Diagnostic lines of the link, in their fixed formats. Silent unless a writer is installed
// (the window routes them to its logging category) or QV_LINK_DEBUG=1 is set in the
// environment (stderr). Passwords and payload bytes are never passed here.
void debugLog(const char* format, ...) __attribute__((format(printf, 1, 2)));
void setDebugWriter(std::function<void(std::string_view line)> writer);

} // namespace qv
