#pragma once

// A host name looked up as an IPv4 address, the same way on both platforms.

#include "link/LookupAside.h"

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#endif

#include <atomic>
#include <chrono>
#include <optional>
#include <string>

namespace qv {

inline std::optional<in_addr> lookUpName(const std::string& host) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || found == nullptr)
        return std::nullopt;
    const in_addr address = reinterpret_cast<sockaddr_in*>(found->ai_addr)->sin_addr;
    freeaddrinfo(found);
    return address;
}

// Looks `host` up into `out`; within `timeout` and `*cancel` when a time-out is given, the
// lookup then running on a thread of its own (see lookupAside).
inline bool lookUpName(const std::string& host, in_addr& out,
                       std::optional<std::chrono::milliseconds> timeout,
                       const std::atomic<bool>* cancel) {
    const std::optional<in_addr> found =
        timeout ? lookupAside<in_addr>([host] { return lookUpName(host); }, *timeout, cancel)
                : lookUpName(host);
    if (!found)
        return false;
    out = *found;
    return true;
}

} // namespace qv
