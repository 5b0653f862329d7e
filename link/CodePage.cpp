// What both platforms' code page handling shares: the choice of the code page and cutting a
// text to a field; the conversions are in CodePageIconv.cpp and CodePageWin.cpp.
#include "link/CodePage.h"

#include <charconv>
#include <cstdlib>

namespace qv {

int codePageForLocale(std::string_view locale) {
    return locale.substr(0, 2) == "ko" ? 949 : 1252;
}

int systemCodePage() {
    if (const char* forced = std::getenv("QVSETTING_CODEPAGE"); forced && *forced) {
        int value = 0;
        const std::string_view text(forced);
        if (std::from_chars(text.data(), text.data() + text.size(), value).ec == std::errc{})
            return value;
    }
    return ambientCodePage();
}

std::string cutAnsi(std::string_view ansi, size_t maxBytes, int codePage) {
    if (ansi.size() <= maxBytes)
        return std::string(ansi);
    size_t end = 0;
    while (end < maxBytes) {
        const size_t width = isLeadByte(codePage, static_cast<unsigned char>(ansi[end])) ? 2 : 1;
        if (end + width > maxBytes)
            break;
        end += width;
    }
    return std::string(ansi.substr(0, end));
}

} // namespace qv
