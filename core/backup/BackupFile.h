#pragma once

// The backup file: JSON, versioned, one part per table. Each part keeps the table's exact bytes
// in base64 (so bytes the client does not interpret survive) beside its readable fields. The
// reader takes a file only when every part is there, every record has its size, every count
// fits its table and the readable fields are exactly those the bytes give; anything else is
// refused with a message and nothing is taken from it.

#include "core/backup/Backup.h"
#include "res/Message.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace qv::backup {

inline constexpr std::string_view kFormatName = "QVSetting backup";
// Raise with every change a reader of this version could misread.
inline constexpr int kFormatVersion = 1;
// The largest backup (full tables, every field) is well under 1 MiB; a file beyond this is
// refused before it is read, so a wrong file never fills the memory.
inline constexpr size_t kMaxFileBytes = 4 * 1024 * 1024;

struct ReadResult {
    std::unique_ptr<Backup> backup; // set when the file was taken
    Message error;                  // otherwise why not
    bool ok() const { return backup != nullptr; }
};

// The file's text.
std::string backupText(const Backup& backup);
// Reads the text of a file called `name` (for the messages).
ReadResult parseBackup(std::string_view text, const std::string& name);

// Reads at most kMaxFileBytes of `path`.
ReadResult readBackupFile(const std::string& path);
// Writes beside `path` and renames over it, so a failure never leaves half a backup; the file is
// readable by its owner alone from the moment it exists, since it holds the center ID passwords.
// Nothing when it was written.
std::optional<Message> writeBackupFile(const Backup& backup, const std::string& path);

} // namespace qv::backup
