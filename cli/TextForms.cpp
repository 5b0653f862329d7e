#include "cli/TextForms.h"

#include "core/schedule/ServerTime.h"

#include <cstdio>
#include <ctime>

namespace qvctl {
std::string ipText(const std::array<uint8_t, 4>& address) {
    char text[16];
    std::snprintf(text, sizeof text, "%d.%d.%d.%d", address[0], address[1], address[2], address[3]);
    return text;
}

std::string localTimeText(int32_t seconds) {
    const std::string text = qv::formatServerTime(seconds);
    return text.empty() ? std::to_string(seconds) : text;
}

} // namespace qvctl
