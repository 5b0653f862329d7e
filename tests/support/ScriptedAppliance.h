#pragma once

// An appliance for tests that need exact control over the conversation: it listens on a free
// loopback port, serves one client at a time, records every request with the time it arrived,
// and answers only what the test tells it to (through `respond`, or later with send()).

#include "Frame.h"
#include "SocketIo.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace qvtest {

class ScriptedAppliance {
public:
    struct Request {
        qv::Frame frame;
        std::chrono::steady_clock::time_point at;
    };
    // Called on the appliance's thread for each request; returns the frames to answer with.
    using Responder = std::function<std::vector<qv::Frame>(const qv::Frame& request)>;

    explicit ScriptedAppliance(Responder respond = {});
    ~ScriptedAppliance();
    ScriptedAppliance(const ScriptedAppliance&) = delete;
    ScriptedAppliance& operator=(const ScriptedAppliance&) = delete;

    // "127.0.0.1:<port>".
    std::string address() const;
    int connections() const { return m_connections.load(); }
    std::vector<Request> requests() const;
    // The command codes of the requests so far, in order.
    std::vector<int> commands() const;
    // Waits up to `timeout` until at least `count` requests have arrived.
    bool waitForRequests(size_t count, std::chrono::milliseconds timeout = kWait) const;
    // Sends a frame to the current client; false when there is none.
    bool send(const qv::Frame& frame);
    // Ends the current client's connection (the appliance going away).
    void closeClient();

    static constexpr std::chrono::milliseconds kWait{10000};

private:
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
    std::thread m_thread;
};

} // namespace qvtest
