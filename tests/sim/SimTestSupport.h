#pragma once

// Helpers shared by the simulator and qvctl tests: an in-process qvsim on a free port, an event
// sink that waits with a deadline, and a raw socket for hand-made bytes.

#include "link/LinkEvent.h"
#include "link/SocketIo.h"
#include "sim/SimServer.h"
#include "tests/support/RunningSim.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace qv::simtest {

using namespace std::chrono_literals;

// Collects the link's events; waitFor() returns the next such event, or nothing when the
// deadline passes first.
class QueueSink : public EventSink {
public:
    void post(LinkEvent event) override {
        {
            std::lock_guard lock(m_mutex);
            m_events.push_back(std::move(event));
        }
        m_arrived.notify_all();
    }
    std::optional<LinkEvent> waitFor(ReplyEvent code, std::chrono::milliseconds deadline = 10s) {
        const auto until = std::chrono::steady_clock::now() + deadline;
        std::unique_lock lock(m_mutex);
        for (;;) {
            for (auto it = m_events.begin(); it != m_events.end(); ++it)
                if (it->code == code) {
                    LinkEvent found = std::move(*it);
                    m_events.erase(it);
                    return found;
                }
            if (m_arrived.wait_until(lock, until) == std::cv_status::timeout)
                return std::nullopt;
        }
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_arrived;
    std::deque<LinkEvent> m_events;
};

// A plain TCP connection for bytes that no client would send.
class RawClient {
public:
    explicit RawClient(int port) { m_socket = connectTcp(ServerAddress{"127.0.0.1", port}, 5s); }
    ~RawClient() { closeSocket(m_socket); }
    bool connected() const { return m_socket != kInvalidSocket; }
    bool send(const std::vector<uint8_t>& bytes) {
        return SendAll(m_socket, bytes.data(), bytes.size());
    }
    bool receive(std::vector<uint8_t>& bytes, size_t length) {
        bytes.assign(length, 0);
        return ReceiveAll(m_socket, bytes.data(), length);
    }
    // True when the peer closed the connection (a receive ends without data).
    bool closedByPeer() {
        uint8_t byte;
        return !ReceiveAll(m_socket, &byte, 1);
    }

    // Reads and drops whatever comes until the peer closes the connection: true then, false when
    // nothing arrived for `patience`.
    bool closedAfterDraining(std::chrono::milliseconds patience = 5s) {
        uint8_t bytes[4096];
        long n = 1;
        while (n > 0 && waitReadable(m_socket, patience))
            n = receiveSome(m_socket, bytes, sizeof bytes);
        return n <= 0;
    }

private:
    SocketHandle m_socket = kInvalidSocket;
};

// Polls `condition` until it holds or `deadline` passes.
template <class Condition>
bool eventually(Condition condition, std::chrono::milliseconds deadline = 10s) {
    const auto until = std::chrono::steady_clock::now() + deadline;
    while (std::chrono::steady_clock::now() < until) {
        if (condition())
            return true;
        std::this_thread::sleep_for(20ms);
    }
    return condition();
}

} // namespace qv::simtest
