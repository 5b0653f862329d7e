// The code page conversions on Windows' own tables (MultiByteToWideChar and WideCharToMultiByte),
// which know every code page the system has, the ANSI one first of all.
#include "link/CodePage.h"

#include <windows.h>

#include <algorithm>
#include <climits>

namespace qv {
namespace {

// A code page the system does not know is read as 1252, as the iconv side does.
UINT usable(int codePage) {
    return codePage > 0 && IsValidCodePage(static_cast<UINT>(codePage)) != 0
               ? static_cast<UINT>(codePage)
               : 1252;
}

// Bytes one character of `codePage` starting with `lead` takes.
size_t characterBytes(UINT codePage, unsigned char lead) {
    if (codePage != CP_UTF8)
        return IsDBCSLeadByteEx(codePage, lead) ? 2 : 1;
    return lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
}

// Strict: false when a byte does not convert.
bool wideOf(std::string_view bytes, UINT codePage, std::wstring& out) {
    out.clear();
    if (bytes.empty())
        return true;
    if (bytes.size() > INT_MAX)
        return false;
    const int length = static_cast<int>(bytes.size());
    const int needed =
        MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), length, nullptr, 0);
    if (needed <= 0)
        return false;
    out.resize(static_cast<size_t>(needed));
    if (MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), length, out.data(),
                            needed) != needed)
        return false;
    // Windows reads the bytes a code page leaves undefined (0x81 in 1252, for one) as the C1
    // controls U+0080 to U+009F; they are no text, and iconv refuses them too.
    return codePage == CP_UTF8 ||
           std::none_of(out.begin(), out.end(), [](wchar_t c) { return c >= 0x80 && c <= 0x9F; });
}

// Lenient: a byte that does not convert becomes U+FFFD and the reading goes on at the next one,
// as the iconv side does. `ok` tells whether every byte converted.
std::wstring toWide(std::string_view bytes, UINT codePage, bool& ok) {
    std::wstring out;
    ok = wideOf(bytes, codePage, out);
    if (ok)
        return out;
    out.clear();
    std::wstring piece;
    for (size_t at = 0; at < bytes.size();) {
        const size_t width = characterBytes(codePage, static_cast<unsigned char>(bytes[at]));
        if (at + width <= bytes.size() && wideOf(bytes.substr(at, width), codePage, piece)) {
            out += piece;
            at += width;
        } else {
            out += L'\xFFFD';
            ++at;
        }
    }
    return out;
}

// Characters `codePage` cannot hold become '?'; `ok` tells whether there were none.
std::string fromWide(const std::wstring& wide, UINT codePage, bool& ok) {
    ok = true;
    if (wide.empty())
        return {};
    const int length = static_cast<int>(wide.size());
    // UTF-8 holds every character, and Windows refuses the replacement arguments for it.
    const bool utf8 = codePage == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    const char* replacement = utf8 ? nullptr : "?";
    BOOL replaced = FALSE;
    BOOL* replacedOut = utf8 ? nullptr : &replaced;
    const int needed = WideCharToMultiByte(codePage, flags, wide.data(), length, nullptr, 0,
                                           replacement, replacedOut);
    if (needed <= 0) {
        ok = false;
        return {};
    }
    std::string out(static_cast<size_t>(needed), '\0');
    WideCharToMultiByte(codePage, flags, wide.data(), length, out.data(), needed, replacement,
                        replacedOut);
    ok = replaced == FALSE;
    return out;
}

} // namespace

bool isSupportedCodePage(int codePage) {
    return codePage > 0 && IsValidCodePage(static_cast<UINT>(codePage)) != 0;
}

bool isUtf8(std::string_view text) {
    std::wstring ignored;
    return text.size() <= INT_MAX && wideOf(text, CP_UTF8, ignored);
}

int ambientCodePage() {
    return static_cast<int>(GetACP());
}

std::string ansiToUtf8(std::string_view ansi, int codePage, bool* ok) {
    bool read = true, written = true;
    const std::string out = fromWide(toWide(ansi, usable(codePage), read), CP_UTF8, written);
    if (ok)
        *ok = read && written;
    return out;
}

std::string utf8ToAnsi(std::string_view utf8, int codePage, bool* ok) {
    bool read = true, written = true;
    const std::string out = fromWide(toWide(utf8, CP_UTF8, read), usable(codePage), written);
    if (ok)
        *ok = read && written;
    return out;
}

bool isLeadByte(int codePage, unsigned char byte) {
    return IsDBCSLeadByteEx(usable(codePage), byte) != 0;
}

} // namespace qv
