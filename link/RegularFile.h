#pragma once

#include <cstddef>
#include <string>

namespace qv {

// Reading a file that a person names (a password file, a backup, a spreadsheet) must neither
// wait on a pipe that nobody writes nor fill memory from a device that never ends.
enum class FileReadStatus {
    Ok,
    Unreadable, // missing, or cannot be opened or read
    NotRegular, // a pipe, a device or a folder: not opened at all
    TooLarge,   // more than the bound
};

// False, without waiting, when `path` exists and is something other than a regular file (a link
// to one counts): a caller that reports a missing file its own way checks this before it opens.
bool mayOpenAsFile(const std::string& path);

struct FileBytes {
    FileReadStatus status = FileReadStatus::Unreadable;
    std::string bytes; // the whole file when Ok
};

// The whole of a regular file of at most `maxBytes` bytes.
FileBytes readRegularFile(const std::string& path, size_t maxBytes);

} // namespace qv
