#pragma once

// The outcome of a table page's check, shared by the pages' rules and qvctl. No Qt here.

#include "res/Message.h"

namespace qv {

// Accepted, ignored (the operation does nothing and says nothing), or refused with a message.
struct Verdict {
    enum class Kind { Accepted, Ignored, Refused };
    Kind kind = Kind::Accepted;
    Message message; // the message of a refusal

    static Verdict accepted() { return {}; }
    static Verdict ignored() { return {Kind::Ignored, {}}; }
    static Verdict refused(StringId id) { return {Kind::Refused, {id, {}}}; }

    bool ok() const { return kind == Kind::Accepted; }
    bool operator==(const Verdict&) const = default;
};

} // namespace qv
