#pragma once

#include "link/Frame.h"
#include "link/LinkEvent.h"
#include "link/SocketIo.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace qv {

// The client's one link to the appliance: connects, runs the receive thread that turns reply
// frames into events, sends requests on the caller's thread, and closes. The object survives a
// closed link and is reused by the next Connect.
class CMySocket {
public:
    static constexpr std::chrono::milliseconds kConnectTimeout{10000};
    // The receive thread pauses this long after every frame, as the appliance expects of a
    // client (at most about 100 frames a second).
    static constexpr std::chrono::milliseconds kFramePause{10};

    CMySocket() = default;
    ~CMySocket();
    CMySocket(const CMySocket&) = delete;
    CMySocket& operator=(const CMySocket&) = delete;

    // Connects to `address` ("host", dotted IPv4, either with ":port"; `port` when none is
    // given) and starts the receive thread, which delivers to `sink`. False when already
    // connected (nothing changes) or when the connection cannot be made within `timeout`.
    // `timeout` bounds sending too: a send that makes no progress for that long (the appliance
    // has stopped reading) fails and closes the link, instead of blocking for ever.
    bool Connect(EventSink* sink, const std::string& address, int port = kDefaultPort,
                 std::chrono::milliseconds timeout = kConnectTimeout);
    // Stops the receive thread and closes the socket. Safe when already closed; returns only
    // after the receive thread has ended.
    void Close();
    // Cuts the link from any thread without waiting: the receive thread sees the end and posts
    // LinkEnded, a send in progress fails, and the owner's Close releases the rest. A Connect
    // still waiting for the handshake fails within kConnectCancelCheck. Does nothing to a later
    // Connect.
    void Interrupt();
    bool connected() const { return m_connected.load(); }
    // The host and port of the last Connect, as given.
    const std::string& host() const { return m_host; }
    int port() const { return m_port; }
    // The client's own address on the link, dotted IPv4; "" when not connected.
    std::string localAddress() const;
    // The IPv4 addresses at both ends of the last connection; nullopt when it was not IPv4.
    // Set before Connect returns true.
    std::optional<Endpoints> endpoints() const { return m_endpoints; }

    // Sends one request: the scrambled header, then the payload scrambled or raw. Does nothing
    // and returns false when not connected; closes the link when a send fails. `progress`, when
    // given, is told how many payload bytes went out so far (payloads go in chunks then).
    bool Send(const Frame& frame,
              const std::function<void(size_t sent, size_t total)>& progress = {});

private:
    void ClientThread();
    void joinFinishedThread();

    std::atomic<bool> m_connected{false};
    std::atomic<bool> m_stop{false};
    // Set by Interrupt: a Connect still waiting for the handshake gives up.
    std::atomic<bool> m_connectCancelled{false};
    std::atomic<SocketHandle> m_socket{kInvalidSocket};
    EventSink* m_sink = nullptr;
    int m_port = kDefaultPort;
    std::string m_host;
    std::optional<Endpoints> m_endpoints;
    std::thread m_thread;
    std::mutex m_sendMutex; // one frame at a time, so uploads on a worker cannot interleave
    std::mutex m_closeMutex;
};

} // namespace qv
