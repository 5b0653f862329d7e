#include "link/SocketIo.h"

#include "link/NameLookup.h"
#include "link/WaitInSteps.h"

#include <cstring>

#include <arpa/inet.h>
#include <cerrno>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>

namespace qv {
namespace {

// Digits and dots are read numerically, as inet_addr does ("10.1" is 10.0.0.1); a name is looked
// up, within `timeout` and `*cancel` when a time-out is given.
bool resolve(const std::string& host, in_addr& out,
             std::optional<std::chrono::milliseconds> timeout = std::nullopt,
             const std::atomic<bool>* cancel = nullptr) {
    if (!isHostName(host))
        return inet_aton(host.c_str(), &out) != 0;
    return lookUpName(host, out, timeout, cancel);
}

bool setBlocking(SocketHandle socket, bool blocking) {
    const int flags = fcntl(socket, F_GETFL, 0);
    if (flags < 0)
        return false;
    return fcntl(socket, F_SETFL, blocking ? (flags & ~O_NONBLOCK) : (flags | O_NONBLOCK)) == 0;
}

// Connects a non-blocking socket and waits at most `timeout` for the handshake, looking at
// `cancel` between short waits.
bool connectWithin(SocketHandle socket, const sockaddr_in& peer, std::chrono::milliseconds timeout,
                   const std::atomic<bool>* cancel) {
    if (!setBlocking(socket, false))
        return false;
    if (connect(socket, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) != 0) {
        if (errno != EINPROGRESS)
            return false;
        const int ready = waitInSteps(timeout, cancel, [socket](std::chrono::milliseconds step) {
            pollfd wait{socket, POLLOUT, 0};
            const int n = poll(&wait, 1, static_cast<int>(step.count()));
            return n < 0 && errno == EINTR ? 0 : n;
        });
        if (ready <= 0)
            return false;
        int error = 0;
        socklen_t length = sizeof error;
        if (getsockopt(socket, SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0)
            return false;
    }
    return setBlocking(socket, true);
}

bool setTimeout(SocketHandle socket, int option, std::chrono::milliseconds timeout) {
    timeval limit{};
    limit.tv_sec = static_cast<time_t>(timeout.count() / 1000);
    limit.tv_usec = static_cast<suseconds_t>((timeout.count() % 1000) * 1000);
    return setsockopt(socket, SOL_SOCKET, option, &limit, sizeof limit) == 0;
}

} // namespace

SocketHandle connectTcp(const ServerAddress& address, std::chrono::milliseconds timeout,
                        const std::atomic<bool>* cancel) {
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(static_cast<uint16_t>(address.port));
    const auto started = std::chrono::steady_clock::now();
    if (!resolve(address.host, peer.sin_addr, timeout, cancel))
        return kInvalidSocket;
    const auto left = timeout - std::chrono::duration_cast<std::chrono::milliseconds>(
                                    std::chrono::steady_clock::now() - started);

    const SocketHandle s = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (s < 0)
        return kInvalidSocket;
    const int on = 1;
    if (setsockopt(s, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on) != 0 ||
        !connectWithin(s, peer, left, cancel)) {
        close(s);
        return kInvalidSocket;
    }
    return s;
}

bool SendAll(SocketHandle socket, const uint8_t* buffer, size_t length) {
    size_t sent = 0;
    while (sent < length) {
        const ssize_t n = send(socket, buffer + sent, length - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        sent += static_cast<size_t>(n);
    }
    return true;
}

bool ReceiveAll(SocketHandle socket, uint8_t* buffer, size_t length) {
    size_t received = 0;
    while (received < length) {
        const ssize_t n = recv(socket, buffer + received, length - received, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        received += static_cast<size_t>(n);
    }
    return true;
}

bool waitReadable(SocketHandle socket, std::chrono::milliseconds timeout) {
    const auto until = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        int wait = -1;
        if (timeout.count() >= 0) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                until - std::chrono::steady_clock::now());
            wait = static_cast<int>(std::clamp<long long>(left.count(), 0, 1 << 30));
        }
        pollfd ready{socket, POLLIN, 0};
        const int n = poll(&ready, 1, wait);
        if (n < 0 && errno == EINTR)
            continue;
        // An error is readable too: the read that follows reports it.
        return n != 0;
    }
}

long receiveSome(SocketHandle socket, uint8_t* buffer, size_t length) {
    for (;;) {
        const ssize_t n = recv(socket, buffer, length, 0);
        if (n < 0 && errno == EINTR)
            continue;
        return static_cast<long>(n);
    }
}

long receiveArrived(SocketHandle socket, uint8_t* buffer, size_t length) {
    for (;;) {
        const ssize_t n = recv(socket, buffer, length, MSG_DONTWAIT);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return kNothingArrived;
        return static_cast<long>(n);
    }
}

bool setSendTimeout(SocketHandle socket, std::chrono::milliseconds timeout) {
    return setTimeout(socket, SO_SNDTIMEO, timeout);
}

bool setReceiveTimeout(SocketHandle socket, std::chrono::milliseconds timeout) {
    return setTimeout(socket, SO_RCVTIMEO, timeout);
}

bool setReceiveBufferSize(SocketHandle socket, int bytes) {
    return setsockopt(socket, SOL_SOCKET, SO_RCVBUF, &bytes, sizeof bytes) == 0;
}

void shutdownSocket(SocketHandle socket) {
    if (socket != kInvalidSocket)
        shutdown(socket, SHUT_RDWR);
}

void closeSocket(SocketHandle socket) {
    if (socket != kInvalidSocket)
        close(socket);
}

SocketHandle listenTcp(const std::string& bindAddress, int port, int backlog) {
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(static_cast<uint16_t>(port));
    if (!resolve(bindAddress, local.sin_addr))
        return kInvalidSocket;
    const SocketHandle s = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (s < 0)
        return kInvalidSocket;
    const int on = 1;
    setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (bind(s, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0 ||
        listen(s, backlog) != 0) {
        close(s);
        return kInvalidSocket;
    }
    return s;
}

int localPort(SocketHandle socket) {
    sockaddr_in local{};
    socklen_t length = sizeof local;
    if (getsockname(socket, reinterpret_cast<sockaddr*>(&local), &length) != 0)
        return 0;
    return ntohs(local.sin_port);
}

bool endpointsOf(SocketHandle socket, Endpoints& out) {
    sockaddr_in own{}, peer{};
    socklen_t ownLength = sizeof own, peerLength = sizeof peer;
    if (getsockname(socket, reinterpret_cast<sockaddr*>(&own), &ownLength) != 0 ||
        getpeername(socket, reinterpret_cast<sockaddr*>(&peer), &peerLength) != 0 ||
        own.sin_family != AF_INET || peer.sin_family != AF_INET)
        return false;
    // s_addr is in network order: its bytes in memory are the dotted form's numbers in order.
    std::memcpy(out.own.data(), &own.sin_addr.s_addr, 4);
    std::memcpy(out.peer.data(), &peer.sin_addr.s_addr, 4);
    return true;
}

SocketHandle acceptConnection(SocketHandle listening) {
    for (;;) {
        const SocketHandle s = accept4(listening, nullptr, nullptr, SOCK_CLOEXEC);
        if (s >= 0) {
            const int on = 1;
            setsockopt(s, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
            return s;
        }
        if (errno != EINTR && errno != ECONNABORTED)
            return kInvalidSocket;
    }
}

} // namespace qv
