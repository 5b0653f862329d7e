#pragma once

// The administrator credentials rules: what a new administrator ID and password must be before
// the appliance is asked to take them. Shared by the administrator page and qvctl. No Qt here.

#include "res/Message.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace qv::admin {

// The change request carries the ID in a 32-byte field and the password in a 64-byte one, but
// the appliance keeps at most 31 bytes of each (with the terminator), counted in the system's
// ANSI code page. Longer input is refused, never cut: a cut password would lock the
// administrator out with a password they never typed.
inline constexpr size_t kMaxIdBytes = 31;
inline constexpr size_t kMaxPasswordBytes = 31;

// The outcome of Apply's checks: accepted with the ANSI texts to send, or refused with a message.
struct Verdict {
    std::optional<Message> refusal;
    std::string id;       // accepted: the new ID in the ANSI code page
    std::string password; // accepted: the new password in the ANSI code page

    bool ok() const { return !refusal; }
};

// Apply's checks on what was typed (UTF-8), in their order: ID empty (a fixed Korean text in both
// languages), password empty, password and retype differ (exactly, letter case counts), then what
// the request cannot carry: an ID or password with characters `codePage` has no form for, or
// longer than 31 bytes in it.
Verdict checkChange(std::string_view idUtf8, std::string_view passwordUtf8,
                    std::string_view retypeUtf8, int codePage);

} // namespace qv::admin
