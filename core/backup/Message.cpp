#include "core/backup/Message.h"

#include "res/StringTable.h"

namespace qv::backup {

std::string messageText(const Message& message) {
    const std::string_view pattern = uiString(message.id);
    std::string out;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        const size_t slot = static_cast<size_t>(next - '1');
        if (pattern[i] == '%' && next >= '1' && next <= '9' && slot < message.args.size()) {
            out += message.args[slot];
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

} // namespace qv::backup
