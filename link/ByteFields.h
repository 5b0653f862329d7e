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

// A NUL-terminated text inside a field of `width` bytes. A field that holds no NUL is read as
// its first width - 1 bytes, so the text always fits back into the field with its terminator.
std::string loadText(const uint8_t* field, size_t width);

// Writes at most width - 1 bytes of text and zeroes the rest of the field, so nothing is ever
// written past the field and every byte after the terminator is zero.
void storeText(uint8_t* field, size_t width, std::string_view text);

} // namespace qv
