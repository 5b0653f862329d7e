#pragma once

#include "link/ApplianceLimits.h"
#include "link/Commands.h"
#include "link/LinkEvent.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace qv {

// How many payload bytes follow a header, as the command code (and sometimes the header value)
// fixes it. There is no length prefix on the wire: both ends must agree on this table.
enum class PayloadRule {
    None,         // a bare header
    Always,       // `size` bytes, whatever the value
    WhenPositive, // `size` bytes when the value is above 0, none otherwise
    PerEntry,     // value x `size` bytes when the value is above 0 (blacklist entries)
    RawLength,    // value bytes of file contents; none when 0 or below
};

// What the client does with one reply: how much to read, whether it is scrambled, how many slots
// its table has (a count from the wire is limited to this before anything is read) and which
// event the reply becomes.
struct ReplyRule {
    Command cmd;
    PayloadRule payload;
    size_t size;
    bool scrambled;
    int32_t maxCount;
    ReplyEvent event;
};

// The rule for a reply code, or nullptr for a code the client does not know (consumed as a bare
// header and ignored).
const ReplyRule* findReplyRule(Command cmd);

// What the appliance reads after a request header, and what the request is called in a log.
struct RequestRule {
    Command cmd;
    PayloadRule payload;
    size_t size;
    bool scrambled;
    std::string_view name;
};

// The rule for a request code, or nullptr for a code that is never sent (25, 28, above 31).
const RequestRule* findRequestRule(Command cmd);

// The largest file the appliance accepts in one upload; a longer announced length is a broken
// or hostile frame.
constexpr int32_t kMaxUploadBytes = 64 * 1024 * 1024;

} // namespace qv
