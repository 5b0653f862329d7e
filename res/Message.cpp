#include "res/Message.h"

namespace qv {

namespace {

template <typename Values> std::string fill(std::string_view pattern, const Values& values) {
    std::string out;
    out.reserve(pattern.size());
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char next = i + 1 < pattern.size() ? pattern[i + 1] : '\0';
        const size_t slot = static_cast<size_t>(next - '1');
        if (pattern[i] == '%' && next >= '1' && next <= '9' && slot < values.size()) {
            out += *(values.begin() + static_cast<std::ptrdiff_t>(slot));
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

} // namespace

std::string format(std::string_view pattern, const std::vector<std::string>& args) {
    return fill(pattern, args);
}

std::string format(std::string_view pattern, std::initializer_list<std::string_view> args) {
    return fill(pattern, args);
}

std::string format(const Message& message, Language language) {
    return fill(uiString(message.id, language), message.args);
}

std::string format(const Message& message) {
    return format(message, systemLanguage());
}

} // namespace qv
