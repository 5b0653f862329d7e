#include "core/backup/Base64.h"

namespace qv::backup {
namespace {

constexpr std::string_view kAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int sextet(char c) {
    const size_t at = kAlphabet.find(c);
    return at == std::string_view::npos ? -1 : static_cast<int>(at);
}

} // namespace

std::string toBase64(const uint8_t* data, size_t size) {
    std::string out;
    out.reserve((size + 2) / 3 * 4);
    for (size_t i = 0; i < size; i += 3) {
        const size_t n = std::min<size_t>(3, size - i);
        uint32_t group = static_cast<uint32_t>(data[i]) << 16;
        if (n > 1)
            group |= static_cast<uint32_t>(data[i + 1]) << 8;
        if (n > 2)
            group |= data[i + 2];
        for (size_t k = 0; k < 4; ++k)
            out += k <= n ? kAlphabet[(group >> (18 - 6 * k)) & 63] : '=';
    }
    return out;
}

std::optional<std::vector<uint8_t>> fromBase64(std::string_view text) {
    if (text.size() % 4 != 0)
        return std::nullopt;
    std::vector<uint8_t> out;
    out.reserve(text.size() / 4 * 3);
    for (size_t i = 0; i < text.size(); i += 4) {
        const bool last = i + 4 == text.size();
        // A '=' anywhere but in the last two places reads as no sextet and is refused below.
        const size_t padding =
            last ? static_cast<size_t>(text[i + 3] == '=') + (text[i + 2] == '=') : 0;
        uint32_t group = 0;
        for (size_t k = 0; k < 4; ++k) {
            const int value = k < 4 - padding ? sextet(text[i + k]) : 0;
            if (value < 0)
                return std::nullopt;
            group = (group << 6) | static_cast<uint32_t>(value);
        }
        // The bits the padding stands for must be zero, or two texts would give the same bytes.
        if ((padding == 1 && (group & 0xff) != 0) || (padding == 2 && (group & 0xffff) != 0))
            return std::nullopt;
        for (size_t k = 0; k < 3 - padding; ++k)
            out.push_back(static_cast<uint8_t>(group >> (16 - 8 * k)));
    }
    return out;
}

} // namespace qv::backup
