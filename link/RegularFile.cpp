#include "link/RegularFile.h"

#include <filesystem>
#include <fstream>

namespace qv {

bool mayOpenAsFile(const std::string& path) {
    std::error_code code;
    const auto status = std::filesystem::status(path, code);
    return !std::filesystem::exists(status) || std::filesystem::is_regular_file(status);
}

FileBytes readRegularFile(const std::string& path, size_t maxBytes) {
    if (!mayOpenAsFile(path))
        return {FileReadStatus::NotRegular, {}};
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {FileReadStatus::Unreadable, {}};
    // One byte past the bound tells a file that is too large from one that just fits, whatever
    // its size claims while it grows.
    std::string bytes(maxBytes + 1, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (in.bad())
        return {FileReadStatus::Unreadable, {}};
    bytes.resize(static_cast<size_t>(in.gcount()));
    if (bytes.size() > maxBytes)
        return {FileReadStatus::TooLarge, {}};
    return {FileReadStatus::Ok, std::move(bytes)};
}

} // namespace qv
