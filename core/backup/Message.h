#pragma once

// The backup rules speak in the one message type of the string table. The names below are kept
// for qvctl's backup command until it shows qv::Message itself.

#include "res/Message.h"

#include <string>

namespace qv::backup {

using Message = qv::Message;

// The message in the user-interface language, its placeholders filled in.
inline std::string messageText(const Message& message) {
    return qv::format(message);
}

} // namespace qv::backup
