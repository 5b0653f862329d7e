#pragma once

#include "res/StringIds.h"
#include "res/StringTable.h"

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// A text of the string table with the values for its "%1", "%2", ... kept apart, so the rules
// say what happened and the window or qvctl shows it in the administrator's language.
struct Message {
    StringId id{};
    std::vector<std::string> args;

    bool operator==(const Message&) const = default;
};

// `pattern` with "%1".."%9" replaced by the matching value, in one pass from the left, so a value
// that itself holds "%2" stays as it is. A marker without a value is kept as written.
std::string format(std::string_view pattern, const std::vector<std::string>& args);
std::string format(std::string_view pattern, std::initializer_list<std::string_view> args);

// The message in `language`, or in the user-interface language.
std::string format(const Message& message, Language language);
std::string format(const Message& message);

} // namespace qv
