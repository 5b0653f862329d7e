// The code page conversions on iconv, for systems without the Windows code page calls.
#include "link/CodePage.h"

#include "link/Wipe.h"

#include <cerrno>
#include <cstdlib>
#include <iconv.h>
#include <vector>

namespace qv {
namespace {

const char* iconvName(int codePage) {
    switch (codePage) {
    case 949:
        return "CP949";
    case 65001:
        return "UTF-8";
    default:
        return "CP1252";
    }
}

// Converts with iconv; unconvertible input is replaced (to UTF-8) or reported (to ANSI).
std::string convert(std::string_view input, const char* from, const char* to, bool toUtf8,
                    bool* ok) {
    if (ok)
        *ok = true;
    if (input.empty())
        return {};
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        if (ok)
            *ok = false;
        return {};
    }
    std::string out;
    std::vector<char> buffer(input.size() * 4 + 16);
    char* in = const_cast<char*>(input.data());
    size_t inLeft = input.size();
    while (inLeft > 0) {
        char* dst = buffer.data();
        size_t dstLeft = buffer.size();
        const size_t r = iconv(cd, &in, &inLeft, &dst, &dstLeft);
        out.append(buffer.data(), buffer.size() - dstLeft);
        if (r != static_cast<size_t>(-1))
            continue;
        if (errno == E2BIG)
            continue;
        // EILSEQ or EINVAL: a byte (or a cut-off sequence) that does not convert.
        if (ok)
            *ok = false;
        if (toUtf8)
            out += "\xEF\xBF\xBD";
        else
            out += '?';
        ++in;
        --inLeft;
        // One '?' per character that has no place in the code page, not one per UTF-8 byte.
        while (!toUtf8 && inLeft > 0 && (static_cast<unsigned char>(*in) & 0xC0) == 0x80) {
            ++in;
            --inLeft;
        }
    }
    iconv_close(cd);
    // The texts converted include the logon password.
    wipe(buffer);
    return out;
}

} // namespace

bool isSupportedCodePage(int codePage) {
    return codePage == 949 || codePage == 1252 || codePage == kUtf8CodePage;
}

bool isUtf8(std::string_view text) {
    bool ok = true;
    convert(text, "UTF-8", "UTF-8", true, &ok);
    return ok;
}

int ambientCodePage() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        if (const char* value = std::getenv(name); value && *value)
            return codePageForLocale(value);
    }
    return 1252;
}

std::string ansiToUtf8(std::string_view ansi, int codePage, bool* ok) {
    return convert(ansi, iconvName(codePage), "UTF-8", true, ok);
}

std::string utf8ToAnsi(std::string_view utf8, int codePage, bool* ok) {
    return convert(utf8, "UTF-8", iconvName(codePage), false, ok);
}

bool isLeadByte(int codePage, unsigned char byte) {
    // In code page 949 a byte from 0x81 starts a two-byte character.
    return codePage == 949 && byte >= 0x81;
}

} // namespace qv
