#pragma once

#include "res/StringIds.h"

#include <string>
#include <vector>

namespace qv::backup {

// A text of the string table with the values for its "%1", "%2", ... kept apart, so the rules
// say what happened and the caller shows it in the administrator's language.
struct Message {
    StringId id{};
    std::vector<std::string> args;
};

// The message in the user-interface language, its placeholders filled in.
std::string messageText(const Message& message);

} // namespace qv::backup
