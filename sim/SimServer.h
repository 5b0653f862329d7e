#pragma once

#include "SimHandler.h"
#include "SimState.h"
#include "SocketIo.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

namespace qv::sim {

struct ServerOptions {
    std::string bindAddress = "127.0.0.1";
    int port = kDefaultPort;                     // 0 picks a free port
    std::string statePath;                       // empty: the state is not kept
    std::string uploadDir;                       // where uploads are stored
    std::chrono::milliseconds rebootPause{5000}; // connections are refused this long
    std::chrono::milliseconds updateStep{1500};  // between two software update reports
    bool updateServerUnreachable = false;
    // One line per request served and per connection event; none when empty.
    std::function<void(const std::string&)> log;
    // The clock the time request answers with; the system clock when empty.
    std::function<int64_t()> clock;
};

// The simulated appliance's admin port. Serves one client at a time, like the appliance: a
// second client waits in the listen queue until the first has gone. A client that vanishes or
// sends bytes that are not a request only ends its own connection.
class SimServer {
public:
    SimServer(ServerOptions options, std::unique_ptr<SimState> state);
    ~SimServer();
    SimServer(const SimServer&) = delete;
    SimServer& operator=(const SimServer&) = delete;

    // Opens the listening socket; false with a message when the address cannot be bound.
    bool start(std::string& error);
    // The port actually listened on (useful with port 0).
    int port() const { return m_port; }
    // Serves clients until stop(). Call after start(), on one thread.
    void run();
    // Ends run() from any thread: the listening socket and the current client are shut down.
    void stop();

    // A copy of the current state, taken under the state's lock (for tests and diagnostics).
    SimState snapshot() const;
    // True while the simulated appliance is rebooting (connections refused).
    bool rebooting() const { return m_rebooting.load(); }

private:
    void serveClient(SocketHandle client, int number);
    void applyFiles(const Outcome& outcome);
    void persist();
    void rebootPause();
    void log(const std::string& line);
    int64_t now() const;

    ServerOptions m_options;
    std::unique_ptr<SimState> m_state;
    mutable std::mutex m_stateMutex;
    int m_port = 0;

    std::atomic<SocketHandle> m_listening{kInvalidSocket};
    std::atomic<SocketHandle> m_client{kInvalidSocket};
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_rebooting{false};
    std::mutex m_waitMutex;
    std::condition_variable m_wake; // stop() wakes the reboot pause
};

} // namespace qv::sim
