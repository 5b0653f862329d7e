// The socket interface on Winsock 2. Windows has no SIGPIPE, so sends need no flag; a blocked
// receive or accept is woken by cancelling its pending call, since a shutdown alone does not
// reliably end it there.
#include "link/SocketIo.h"

#include "link/NameLookup.h"
#include "link/WaitInSteps.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstring>

namespace qv {
namespace {

SOCKET native(SocketHandle socket) {
    return static_cast<SOCKET>(socket);
}

// Winsock is started once for the whole program and left running until it ends.
bool winsockReady() {
    static const bool ready = [] {
        WSADATA data{};
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return ready;
}

// Digits and dots are read as inet_addr reads them ("10.1" is 10.0.0.1); 255.255.255.255 is the
// one address inet_addr gives as its failure value too. A name is looked up, within `timeout`
// and `*cancel` when a time-out is given.
bool resolve(const std::string& host, in_addr& out,
             std::optional<std::chrono::milliseconds> timeout = std::nullopt,
             const std::atomic<bool>* cancel = nullptr) {
    if (!isHostName(host)) {
        const unsigned long address = inet_addr(host.c_str());
        if (address == INADDR_NONE && host != "255.255.255.255")
            return false;
        out.s_addr = address;
        return true;
    }
    return lookUpName(host, out, timeout, cancel);
}

// A TCP socket that child processes do not inherit.
SOCKET newSocket() {
    if (!winsockReady())
        return INVALID_SOCKET;
    return WSASocketW(AF_INET, SOCK_STREAM, IPPROTO_TCP, nullptr, 0, WSA_FLAG_NO_HANDLE_INHERIT);
}

bool setBlocking(SOCKET socket, bool blocking) {
    u_long nonBlocking = blocking ? 0 : 1;
    return ioctlsocket(socket, FIONBIO, &nonBlocking) == 0;
}

timeval timevalOf(std::chrono::milliseconds timeout) {
    timeval limit{};
    limit.tv_sec = static_cast<long>(timeout.count() / 1000);
    limit.tv_usec = static_cast<long>((timeout.count() % 1000) * 1000);
    return limit;
}

// Connects a non-blocking socket and waits at most `timeout` for the handshake. Winsock reports
// a refused connection in the exception set, not the write set.
bool connectWithin(SOCKET socket, const sockaddr_in& peer, std::chrono::milliseconds timeout,
                   const std::atomic<bool>* cancel) {
    if (!setBlocking(socket, false))
        return false;
    if (connect(socket, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) != 0) {
        if (WSAGetLastError() != WSAEWOULDBLOCK)
            return false;
        fd_set writable, failed;
        const int ready = waitInSteps(timeout, cancel, [&](std::chrono::milliseconds step) {
            FD_ZERO(&writable);
            FD_ZERO(&failed);
            FD_SET(socket, &writable);
            FD_SET(socket, &failed);
            timeval limit = timevalOf(step);
            return select(0, nullptr, &writable, &failed, &limit);
        });
        if (ready <= 0 || FD_ISSET(socket, &failed))
            return false;
        int error = 0;
        int length = sizeof error;
        if (getsockopt(socket, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error), &length) !=
                0 ||
            error != 0)
            return false;
    }
    return setBlocking(socket, true);
}

void noDelay(SOCKET socket) {
    const BOOL on = TRUE;
    setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
}

// One call moves at most INT_MAX bytes.
int chunk(size_t length) {
    return static_cast<int>(std::min<size_t>(length, INT_MAX));
}

// Winsock takes a socket's time-outs as a DWORD of milliseconds, not a timeval.
bool setTimeout(SocketHandle socket, int option, std::chrono::milliseconds timeout) {
    const DWORD limit = static_cast<DWORD>(timeout.count());
    return setsockopt(native(socket), SOL_SOCKET, option, reinterpret_cast<const char*>(&limit),
                      sizeof limit) == 0;
}

} // namespace

SocketHandle connectTcp(const ServerAddress& address, std::chrono::milliseconds timeout,
                        const std::atomic<bool>* cancel) {
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(static_cast<u_short>(address.port));
    const auto started = std::chrono::steady_clock::now();
    if (!winsockReady() || !resolve(address.host, peer.sin_addr, timeout, cancel))
        return kInvalidSocket;
    const auto left = timeout - std::chrono::duration_cast<std::chrono::milliseconds>(
                                    std::chrono::steady_clock::now() - started);
    const SOCKET s = newSocket();
    if (s == INVALID_SOCKET)
        return kInvalidSocket;
    noDelay(s);
    if (!connectWithin(s, peer, left, cancel)) {
        closesocket(s);
        return kInvalidSocket;
    }
    return static_cast<SocketHandle>(s);
}

bool SendAll(SocketHandle socket, const uint8_t* buffer, size_t length) {
    size_t sent = 0;
    while (sent < length) {
        const int n = send(native(socket), reinterpret_cast<const char*>(buffer + sent),
                           chunk(length - sent), 0);
        if (n <= 0)
            return false;
        sent += static_cast<size_t>(n);
    }
    return true;
}

bool ReceiveAll(SocketHandle socket, uint8_t* buffer, size_t length) {
    size_t received = 0;
    while (received < length) {
        const int n = recv(native(socket), reinterpret_cast<char*>(buffer + received),
                           chunk(length - received), 0);
        if (n <= 0)
            return false;
        received += static_cast<size_t>(n);
    }
    return true;
}

bool waitReadable(SocketHandle socket, std::chrono::milliseconds timeout) {
    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(native(socket), &readable);
    timeval limit = timevalOf(std::max(timeout, std::chrono::milliseconds(0)));
    // An error is readable too: the read that follows reports it.
    return select(0, &readable, nullptr, nullptr, timeout.count() < 0 ? nullptr : &limit) != 0;
}

long receiveSome(SocketHandle socket, uint8_t* buffer, size_t length) {
    const int n = recv(native(socket), reinterpret_cast<char*>(buffer), chunk(length), 0);
    return n == SOCKET_ERROR ? -1 : n;
}

long receiveArrived(SocketHandle socket, uint8_t* buffer, size_t length) {
    // Winsock's recv has no per-call "do not wait"; a socket that is not readable right now has
    // nothing. A readable one has bytes, or has ended or failed: the read returns at once.
    if (!waitReadable(socket, std::chrono::milliseconds(0)))
        return kNothingArrived;
    return receiveSome(socket, buffer, length);
}

bool setSendTimeout(SocketHandle socket, std::chrono::milliseconds timeout) {
    return setTimeout(socket, SO_SNDTIMEO, timeout);
}

bool setReceiveTimeout(SocketHandle socket, std::chrono::milliseconds timeout) {
    return setTimeout(socket, SO_RCVTIMEO, timeout);
}

bool setReceiveBufferSize(SocketHandle socket, int bytes) {
    return setsockopt(native(socket), SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char*>(&bytes),
                      sizeof bytes) == 0;
}

void shutdownSocket(SocketHandle socket) {
    if (socket == kInvalidSocket)
        return;
    shutdown(native(socket), SD_BOTH);
    // A receive or accept blocked on the socket in another thread returns now with an error.
    CancelIoEx(reinterpret_cast<HANDLE>(socket), nullptr);
}

void closeSocket(SocketHandle socket) {
    if (socket != kInvalidSocket)
        closesocket(native(socket));
}

SocketHandle listenTcp(const std::string& bindAddress, int port, int backlog) {
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(static_cast<u_short>(port));
    if (!winsockReady() || !resolve(bindAddress, local.sin_addr))
        return kInvalidSocket;
    const SOCKET s = newSocket();
    if (s == INVALID_SOCKET)
        return kInvalidSocket;
    // On Windows SO_REUSEADDR would let another program take over the port; a closed
    // listener's port is free again without it, and exclusive use keeps others off.
    const BOOL on = TRUE;
    setsockopt(s, SOL_SOCKET, SO_EXCLUSIVEADDRUSE, reinterpret_cast<const char*>(&on), sizeof on);
    if (bind(s, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0 ||
        listen(s, backlog) != 0) {
        closesocket(s);
        return kInvalidSocket;
    }
    return static_cast<SocketHandle>(s);
}

int localPort(SocketHandle socket) {
    sockaddr_in local{};
    int length = sizeof local;
    if (getsockname(native(socket), reinterpret_cast<sockaddr*>(&local), &length) != 0)
        return 0;
    return ntohs(local.sin_port);
}

bool endpointsOf(SocketHandle socket, Endpoints& out) {
    sockaddr_in own{}, peer{};
    int ownLength = sizeof own, peerLength = sizeof peer;
    if (getsockname(native(socket), reinterpret_cast<sockaddr*>(&own), &ownLength) != 0 ||
        getpeername(native(socket), reinterpret_cast<sockaddr*>(&peer), &peerLength) != 0 ||
        own.sin_family != AF_INET || peer.sin_family != AF_INET)
        return false;
    // s_addr is in network order: its bytes in memory are the dotted form's numbers in order.
    std::memcpy(out.own.data(), &own.sin_addr.s_addr, 4);
    std::memcpy(out.peer.data(), &peer.sin_addr.s_addr, 4);
    return true;
}

SocketHandle acceptConnection(SocketHandle listening) {
    for (;;) {
        const SOCKET s = accept(native(listening), nullptr, nullptr);
        if (s != INVALID_SOCKET) {
            SetHandleInformation(reinterpret_cast<HANDLE>(s), HANDLE_FLAG_INHERIT, 0);
            noDelay(s);
            return static_cast<SocketHandle>(s);
        }
        // A connection reset before it was taken is the peer's affair, not the listener's.
        if (WSAGetLastError() != WSAECONNRESET)
            return kInvalidSocket;
    }
}

} // namespace qv
