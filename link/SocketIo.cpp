#include "link/SocketIo.h"

#include <algorithm>
#include <cctype>
#include <charconv>

// What both platforms' socket code shares; the calls into the system are in SocketIoPosix.cpp
// and SocketIoWin.cpp.
namespace qv {

bool isHostName(const std::string& host) {
    return std::any_of(host.begin(), host.end(),
                       [](unsigned char c) { return std::isalpha(c) != 0; });
}

bool parseServerAddress(const std::string& text, int defaultPort, ServerAddress& out) {
    std::string host = text;
    int port = defaultPort;
    if (const auto colon = text.rfind(':'); colon != std::string::npos) {
        host = text.substr(0, colon);
        const std::string digits = text.substr(colon + 1);
        const auto [end, error] =
            std::from_chars(digits.data(), digits.data() + digits.size(), port);
        if (digits.empty() || error != std::errc{} || end != digits.data() + digits.size())
            return false;
    }
    host.erase(0, host.find_first_not_of(" \t"));
    host.erase(host.find_last_not_of(" \t") + 1);
    if (host.empty() || port < 1 || port > 65535)
        return false;
    out = ServerAddress{host, port};
    return true;
}

} // namespace qv
