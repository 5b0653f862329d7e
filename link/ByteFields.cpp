#include "link/ByteFields.h"

#include <algorithm>
#include <cstring>

namespace qv {

std::string loadText(const uint8_t* field, size_t width) {
    size_t length = 0;
    while (length < width && field[length] != 0)
        ++length;
    return std::string(reinterpret_cast<const char*>(field), length);
}

void storeText(uint8_t* field, size_t width, std::string_view text) {
    if (width == 0)
        return;
    const size_t length = std::min(text.size(), width - 1);
    if (length > 0) // an empty view may have no data pointer at all
        std::memcpy(field, text.data(), length);
    std::memset(field + length, 0, width - length);
}

} // namespace qv
