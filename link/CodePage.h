#pragma once

#include <string>
#include <string_view>

namespace qv {

// Texts in the appliance's records are bytes in a Windows ANSI code page: the one the address book
// names for the appliance when it names one (setApplianceCodePage, ApplianceCodePageScope),
// else QVSETTING_CODEPAGE (for example "949") when set, else the code page of the
// administrator's user-interface language: 949 for Korean, 1252 otherwise.
int systemCodePage();

// The code page of the one appliance this process talks to (the window's), for every thread;
// 0 forgets it.
void setApplianceCodePage(int codePage);

// The code page of the appliance the calling thread talks to, while the scope lives: qvctl runs
// one appliance per thread over an inventory, each with its own texts. 0 leaves the choice as
// it was.
class ApplianceCodePageScope {
public:
    explicit ApplianceCodePageScope(int codePage);
    ~ApplianceCodePageScope();
    ApplianceCodePageScope(const ApplianceCodePageScope&) = delete;
    ApplianceCodePageScope& operator=(const ApplianceCodePageScope&) = delete;

private:
    int m_previous;
};

// Whether the link converts texts of `codePage` as that code page: 949, 1252 and UTF-8 (65001)
// everywhere, any code page Windows knows on Windows.
bool isSupportedCodePage(int codePage);
// The choice without the override: on Windows the system's ANSI code page itself, elsewhere the
// one the locale's language implies (codePageForLocale of LC_ALL, LC_MESSAGES or LANG).
int ambientCodePage();
// The code page the language of `locale` (a POSIX locale name such as "ko_KR.UTF-8") implies.
int codePageForLocale(std::string_view locale);

// Conversions between UTF-8 and a code page. Bytes that do not convert become U+FFFD (to UTF-8)
// or make the conversion fail (to the code page); they never crash and never write past the
// result. `ok`, when given, tells whether every character converted.
std::string ansiToUtf8(std::string_view ansi, int codePage, bool* ok = nullptr);
std::string utf8ToAnsi(std::string_view utf8, int codePage, bool* ok = nullptr);

inline std::string ansiToUtf8(std::string_view ansi) {
    return ansiToUtf8(ansi, systemCodePage());
}
inline std::string utf8ToAnsi(std::string_view utf8, bool* ok = nullptr) {
    return utf8ToAnsi(utf8, systemCodePage(), ok);
}

// Whether `bytes` read as Korean text in code page 949: at least one Hangul syllable (a lead byte
// 0xB0 to 0xC8 and a trail byte 0xA1 to 0xFE) and no byte above 0x7F outside such a pair. A
// Western text in 1252 (an accented letter before a plain one) does not.
bool readsAsKorean(std::string_view bytes);

// The code page number of UTF-8.
inline constexpr int kUtf8CodePage = 65001;
// Whether `text` is well-formed UTF-8.
bool isUtf8(std::string_view text);

// Whether `byte` starts a two-byte character in `codePage`.
bool isLeadByte(int codePage, unsigned char byte);
// Cuts `ansi` to at most `maxBytes` without splitting a double-byte character of `codePage`.
std::string cutAnsi(std::string_view ansi, size_t maxBytes, int codePage);

} // namespace qv
