#pragma once

#include <cstddef>
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

// The two halves of writePrivateFile, for writers that must choose the moment of the rename
// (under a lock, say). The temporary is `path` + ".tmp" + a fresh suffix of letters and digits,
// created exclusively: never a file someone else put there, and never the name of a temporary
// an earlier, killed run left behind. `temporary` receives its name; on failure nothing is left.
std::string writePrivateTemporary(const std::string& path, std::string_view bytes,
                                  std::string& temporary);
// Renames `temporary` over `path` in one step; a file or a link at `path` is replaced, never
// followed. The temporary is removed when that fails.
std::string replaceWithTemporary(const std::string& temporary, const std::string& path);

// A new folder under `parent` named `prefix` + a fresh suffix, private to this user from its
// creation (0700 on Linux); `created` receives its path. Empty on success, else the reason.
std::string makePrivateFolder(const std::string& parent, const std::string& prefix,
                              std::string& created);
// Why `path` cannot be trusted as this user's own folder: it is a link or no folder, belongs to
// another user, or others may write in it (and so plant links or files there). Empty when it is
// fine. On Windows only the first holds: the folder's access rights are its own affair.
std::string privateFolderFault(const std::string& path);

// Reads a file that only its owner should have written (a state file holding a password): it
// must be a regular file, not a link, of this user, not writable by others (the last two on
// Linux only), and at most `maxBytes` long. A pipe or a device is refused at once, without
// waiting for it. Empty on success, else why the file was refused.
std::string readPrivateFile(const std::string& path, size_t maxBytes, std::string& bytes);

} // namespace qv
