#pragma once

// The appliance of the tests that talk to a client over loopback. It listens on a free port
// (each test makes its own, so tests never share one) and plays the appliance in one of two ways:
// - serving: a thread of its own takes one client at a time, reads each request as the appliance
//   does, records it with the time it arrived and answers what `respond` returns (or nothing);
// - by hand: the test takes the client itself (accept, or connect for a store's link) and
//   exchanges exact bytes with it: hand-laid frames, frames cut short, a reset connection.

#include "link/Frame.h"
#include "link/SocketIo.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace qv {
class CGlobalData;
}

namespace qvtest {

class ScriptedAppliance {
public:
    struct Request {
        qv::Frame frame;
        std::chrono::steady_clock::time_point at;
    };
    // Called on the appliance's thread for each request; returns the frames to answer with.
    using Responder = std::function<std::vector<qv::Frame>(const qv::Frame& request)>;
    struct ByHand {};
    static constexpr ByHand kByHand{};
    static constexpr std::chrono::milliseconds kWait{10000};

    // Serving.
    explicit ScriptedAppliance(Responder respond = {});
    // By hand: nothing is accepted or read until the test does it.
    explicit ScriptedAppliance(ByHand);
    ~ScriptedAppliance();
    ScriptedAppliance(const ScriptedAppliance&) = delete;
    ScriptedAppliance& operator=(const ScriptedAppliance&) = delete;

    int port() const { return m_port; }
    // "127.0.0.1:<port>".
    std::string address() const;

    // Sends a frame, or exact bytes, to the current client; false when there is none.
    bool send(const qv::Frame& frame);
    bool send(const std::vector<uint8_t>& bytes);
    // Ends the current client's connection (the appliance going away). By hand the socket is
    // closed at once, so bytes the appliance has not read reset the connection.
    void closeClient();

    // Serving: what arrived so far.
    int connections() const { return m_connections.load(); }
    std::vector<Request> requests() const;
    std::vector<qv::Command> commands() const;
    // Waits up to `timeout` until at least `count` requests have arrived.
    bool waitForRequests(size_t count, std::chrono::milliseconds timeout = kWait) const;

    // By hand: waits (up to kWait) for a client and takes it; false when none came.
    bool accept();
    // By hand: gives `store` a link to this appliance (its events go nowhere: such tests look at
    // what is sent) and takes it.
    bool connect(qv::CGlobalData& store);
    // By hand: true when a client is waiting to be taken, after waiting at most `wait`.
    bool clientWaiting(std::chrono::milliseconds wait) const;
    // By hand: stops listening, so a connect to this port is refused.
    void stopListening();
    // By hand: one send() call per byte, so the client receives the frames in the smallest
    // pieces.
    bool sendByteByByte(const std::vector<uint8_t>& bytes);
    // By hand: exactly `length` bytes from the client, waiting at most kWait; empty when they
    // did not all come.
    std::vector<uint8_t> read(size_t length);
    // By hand: true when a byte from the client is waiting within `wait`.
    bool hasData(std::chrono::milliseconds wait) const;
    // By hand: true when the client closed its side (end of stream within kWait).
    bool clientClosed();
    // By hand: shrinks the connection's receive buffer, so a large upload cannot fit into it.
    void shrinkReceiveBuffer();

private:
    void listen();
    void serve();

    Responder m_respond;
    qv::SocketHandle m_listening = qv::kInvalidSocket;
    int m_port = 0;
    std::atomic<qv::SocketHandle> m_client{qv::kInvalidSocket};
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_connections{0};
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_arrived;
    std::vector<Request> m_requests;
    std::mutex m_sendMutex;
    std::thread m_thread; // runs only when serving
};

} // namespace qvtest
