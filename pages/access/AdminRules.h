#pragma once

// The administrator credentials rules: what a new administrator ID and password must be before
// the appliance is asked to take them. Shared by the administrator page and qvctl. No Qt here.

#include <cstddef>
#include <string>
#include <string_view>

namespace qv::admin {

// The change request carries the ID in a 32-byte field and the password in a 64-byte one, but
// the appliance keeps at most 31 bytes of each (with the terminator), counted in the system's
// ANSI code page. Longer input is refused, never cut: a cut password would lock the
// administrator out with a password they never typed.
inline constexpr size_t kMaxIdBytes = 31;
inline constexpr size_t kMaxPasswordBytes = 31;

// String ids of the page's messages (English and Korean texts in the string table).
enum Message : int {
    kInputPassword = 129,
    kPasswordsDiffer = 130,
    kChanged = 163,
    kIdNotConvertible = 323,
    kPasswordNotConvertible = 324,
    kIdTooLong = 361,
    kPasswordTooLong = 362,
};

// The message for an empty ID is fixed Korean in both languages.
inline constexpr std::string_view kInputIdText = "관리자 아이디를 입력하세요.";

// The outcome of Apply's checks: accepted with the ANSI texts to send, or refused with a string
// id or the fixed empty-ID text.
struct Verdict {
    int stringId = 0;           // a refusal by string id
    std::string_view fixedText; // a refusal with a fixed text
    std::string id;             // accepted: the new ID in the ANSI code page
    std::string password;       // accepted: the new password in the ANSI code page

    bool ok() const { return stringId == 0 && fixedText.empty(); }
};

// Apply's checks on what was typed (UTF-8), in their order: ID empty, password empty, password
// and retype differ (exactly, letter case counts), then what the request cannot carry: an ID
// or password with characters `codePage` has no form for, or longer than 31 bytes in it.
Verdict checkChange(std::string_view idUtf8, std::string_view passwordUtf8,
                    std::string_view retypeUtf8, int codePage);

} // namespace qv::admin
