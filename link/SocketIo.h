#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

// Every platform socket call of the project is behind this interface: SocketIoPosix.cpp on Linux,
// SocketIoWin.cpp (Winsock 2) on Windows; CMake picks one.
namespace qv {

#ifdef _WIN32
// Winsock's SOCKET, without pulling <winsock2.h> into every file that holds a socket.
using SocketHandle = std::uintptr_t;
constexpr SocketHandle kInvalidSocket = ~SocketHandle{0};
#else
using SocketHandle = int;
constexpr SocketHandle kInvalidSocket = -1;
#endif

// Where to connect: `host`, dotted IPv4, or either followed by ":port".
struct ServerAddress {
    std::string host;
    int port = 0;
};
// Splits "host[:port]"; a missing port gives `defaultPort`. False for an empty host or a port
// outside 1..65535.
bool parseServerAddress(const std::string& text, int defaultPort, ServerAddress& out);

// Whether `host` is a name to look up rather than a dotted address: it has a letter in it.
bool isHostName(const std::string& host);

// Opens a TCP connection with Nagle's coalescing off. A text with a letter in it is looked up by
// name; one of digits and dots is read as a dotted address. Gives up after `timeout`, the name's
// lookup included, so a silent address or name server fails instead of hanging, and within
// kConnectCancelCheck of `*cancel` turning true, when it is given (a stop from another thread).
// Returns kInvalidSocket on any failure.
SocketHandle connectTcp(const ServerAddress& address, std::chrono::milliseconds timeout,
                        const std::atomic<bool>* cancel = nullptr);
inline constexpr std::chrono::milliseconds kConnectCancelCheck{50};

// True when every byte went out. Never raises SIGPIPE when the peer has gone.
bool SendAll(SocketHandle socket, const uint8_t* buffer, size_t length);
// True when exactly `length` bytes arrived; false on error or end of stream.
bool ReceiveAll(SocketHandle socket, uint8_t* buffer, size_t length);

// Server side, for peers that must not hold the server up: waits at most `timeout` (forever when
// negative) until bytes, the end of the stream or an error can be read; false when the time ran
// out first.
bool waitReadable(SocketHandle socket, std::chrono::milliseconds timeout);
// Reads what has arrived, at most `length` bytes; 0 at the end of the stream, negative on error.
long receiveSome(SocketHandle socket, uint8_t* buffer, size_t length);
// As receiveSome, but never waits: kNothingArrived when no byte is there yet. A reader that
// tries this before waitReadable saves a system call on every read of a busy stream.
constexpr long kNothingArrived = -2;
long receiveArrived(SocketHandle socket, uint8_t* buffer, size_t length);
// A send that cannot go on for `timeout` (the peer does not read) fails instead of blocking.
bool setSendTimeout(SocketHandle socket, std::chrono::milliseconds timeout);
// Likewise a receive that waits longer than `timeout` fails (test peers that must not hang).
bool setReceiveTimeout(SocketHandle socket, std::chrono::milliseconds timeout);
// Asks for a receive buffer of `bytes`, so that a peer that stops reading fills it soon.
bool setReceiveBufferSize(SocketHandle socket, int bytes);

// Wakes a thread blocked in ReceiveAll on this socket (both directions are shut down).
void shutdownSocket(SocketHandle socket);
void closeSocket(SocketHandle socket);

// Server side, for the simulator and the test peers: a listening socket on `bindAddress` and
// `port` (0 picks a free port), and the port it got.
SocketHandle listenTcp(const std::string& bindAddress, int port, int backlog = 8);
int localPort(SocketHandle socket);
// The IPv4 addresses at this end and at the peer's end of a connected socket, first byte first.
struct Endpoints {
    std::array<uint8_t, 4> own{};
    std::array<uint8_t, 4> peer{};
};
// False when the socket is not an IPv4 connection.
bool endpointsOf(SocketHandle socket, Endpoints& out);
// Waits for a connection; kInvalidSocket when the listening socket was shut down or failed.
SocketHandle acceptConnection(SocketHandle listening);

} // namespace qv
