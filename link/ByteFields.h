#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace qv {

// Little-endian fixed-width fields of the appliance's records. Callers pass offsets that lie
// inside their record; the records below name every offset once.
inline uint16_t loadU16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
inline void storeU16(uint8_t* p, uint16_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
inline uint32_t loadU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
inline void storeU32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<uint8_t>(v >> (8 * i));
}
inline int32_t loadI32(const uint8_t* p) {
    return static_cast<int32_t>(loadU32(p));
}
inline void storeI32(uint8_t* p, int32_t v) {
    storeU32(p, static_cast<uint32_t>(v));
}

// A text inside a field of `width` bytes, ending at its first NUL. The appliance fills a field
// to its last byte without a terminator when the text is that long, so a field without NUL is
// the whole text.
std::string loadText(const uint8_t* field, size_t width);

// Writes at most width - 1 bytes of text and zeroes the rest of the field: the appliance reads
// the texts the client sends up to their terminator, so one always follows.
void storeText(uint8_t* field, size_t width, std::string_view text);

} // namespace qv
