// What both platforms' code page handling shares: the choice of the code page and cutting a
// text to a field; the conversions are in CodePageIconv.cpp and CodePageWin.cpp.
#include "link/CodePage.h"

#include <atomic>
#include <charconv>
#include <cstdlib>

namespace qv {

namespace {

std::atomic<int> g_applianceCodePage{0};
thread_local int t_applianceCodePage = 0;

} // namespace

void setApplianceCodePage(int codePage) {
    g_applianceCodePage.store(codePage, std::memory_order_relaxed);
}

ApplianceCodePageScope::ApplianceCodePageScope(int codePage) : m_previous(t_applianceCodePage) {
    if (codePage != 0)
        t_applianceCodePage = codePage;
}

ApplianceCodePageScope::~ApplianceCodePageScope() {
    t_applianceCodePage = m_previous;
}

int codePageForLocale(std::string_view locale) {
    return locale.substr(0, 2) == "ko" ? 949 : 1252;
}

int systemCodePage() {
    if (t_applianceCodePage != 0)
        return t_applianceCodePage;
    if (const int chosen = g_applianceCodePage.load(std::memory_order_relaxed); chosen != 0)
        return chosen;
    if (const char* forced = std::getenv("QVSETTING_CODEPAGE"); forced && *forced) {
        int value = 0;
        const std::string_view text(forced);
        if (std::from_chars(text.data(), text.data() + text.size(), value).ec == std::errc{})
            return value;
    }
    return ambientCodePage();
}

bool readsAsKorean(std::string_view bytes) {
    bool syllable = false;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        if (lead < 0x80)
            continue;
        if (i + 1 >= bytes.size())
            return false;
        const auto trail = static_cast<unsigned char>(bytes[i + 1]);
        if (lead < 0xB0 || lead > 0xC8 || trail < 0xA1 || trail > 0xFE)
            return false;
        syllable = true;
        ++i;
    }
    return syllable;
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
