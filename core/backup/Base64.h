#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace qv::backup {

// Standard base64 (RFC 4648, with padding), the form a backup keeps table bytes in.
std::string toBase64(const uint8_t* data, size_t size);
// Only the canonical form is taken: no white space, padding exactly where it belongs, unused
// bits zero. Anything else is nothing, so an edited byte string cannot pass half-read.
std::optional<std::vector<uint8_t>> fromBase64(std::string_view text);

} // namespace qv::backup
