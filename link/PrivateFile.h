#pragma once

#include <string>
#include <string_view>

namespace qv {

// Writes `bytes` to `path` whole or not at all: into a new temporary file beside it, flushed to
// the disk, then renamed over `path`, so a crash leaves the old file or the new one, never half
// of one. For files that hold passwords: on Linux the file is private to its owner (mode 0600)
// from its creation; on Windows, which has no file modes, it takes the access rights of its
// folder, as every file written there does (a user's own folders are private to that user).
// Empty on success, else the system's reason.
std::string writePrivateFile(const std::string& path, std::string_view bytes);

} // namespace qv
