#pragma once

#include "link/SocketIo.h"
#include "sim/SimHandler.h"
#include "sim/SimState.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

namespace qv::sim {

struct ServerOptions {
    std::string bindAddress = "127.0.0.1";
    int port = kDefaultPort;                     // 0 picks a free port
    std::string statePath;                       // empty: the state is not kept
    std::string uploadDir;                       // where uploads are stored
    std::chrono::milliseconds rebootPause{5000}; // connections are refused this long
    std::chrono::milliseconds updateStep{1500};  // between two software update reports
    bool updateServerUnreachable = false;
    // After Save & Reboot, listen on the record's new static address instead of bindAddress
    // (same port), as the appliance itself would be found there.
    bool followAddress = false;
    // A client that stops sending in the middle of a frame for this long is dropped.
    std::chrono::milliseconds frameStallLimit{10000};
    // A client that has not logged on this long after connecting is dropped.
    std::chrono::milliseconds logonLimit{30000};
    // A client that does not read its replies for this long is dropped.
    std::chrono::milliseconds sendLimit{10000};
    // At most this many clients at once, and of them at most maxWaitingForLogon that have not
    // logged on yet: a client beyond either is refused (its connection closed at once), so
    // strangers cannot take up the threads and the memory the administrator needs.
    int maxConnections = 64;
    int maxWaitingForLogon = 16;
    // A failed logon is answered after a pause: logonDelay, doubled for every earlier failure on
    // the same connection or from the same address, at most maxLogonDelay. A correct logon
    // waits for nothing.
    std::chrono::milliseconds logonDelay{250};
    std::chrono::milliseconds maxLogonDelay{8000};
    // How that pause is waited (tests record it); when empty, a wait that stop() cuts short.
    std::function<void(std::chrono::milliseconds)> logonPause;
    // Starts a connection's thread; std::thread when empty. May throw std::system_error, as
    // std::thread does when the system has no thread left: that connection is then refused.
    std::function<std::thread(std::function<void()>)> startThread;
    // Every answer leaves this long after its request was handled, as from an appliance across
    // a slow wide-area link; stop() cuts the wait short.
    std::chrono::milliseconds latency{0};
    // One line per request served and per connection event; none when empty.
    std::function<void(const std::string&)> log;
    // The clock the time request answers with; the system clock when empty.
    std::function<int64_t()> clock;
};

// The simulated appliance's admin port. Serves every connected client on a thread of its own
// against the one state; each request is applied whole under the state's lock, as the appliance
// does. No client can hold the others up: one that stalls inside a frame, does not log on in
// time or does not read its replies is dropped, and one that vanishes or sends bytes that are
// not a request only ends its own connection. A logged-on administrator may stay idle. Before
// its logon a client may send nothing but the logon: any other request ends its connection
// before its payload is read. A change is applied only when the state file kept it.
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
    // Ends run() from any thread: the listening socket and every client are shut down.
    void stop();

    // A copy of the current state, taken under the state's lock (for tests and diagnostics).
    SimState snapshot() const;
    // True while the simulated appliance is rebooting (connections refused).
    bool rebooting() const { return m_rebooting.load(); }

private:
    struct Connection {
        SocketHandle socket;
        std::thread thread;
        bool done = false;
    };

    void serveClient(SocketHandle client, int number);
    void startConnection(SocketHandle client, int number);
    void joinFinished();
    void dropClients();
    void joinClients();
    void applyFiles(const Outcome& outcome);
    // Saves the state when a file keeps it; false with the reason when the save failed.
    bool persist(std::string& error);
    // Counts a failed logon from `address` on a connection that had `failures` before, and
    // waits the pause it earns.
    void pauseAfterFailedLogon(uint32_t address, int failures);
    void rebootPause();
    // Where to listen after a reboot: the record's static address after Save & Reboot with
    // followAddress, else bindAddress.
    std::string addressAfterReboot();
    void log(const std::string& line);
    int64_t now() const;

    ServerOptions m_options;
    std::unique_ptr<SimState> m_state;
    // The state as the file last kept it, so that a change the file did not take is undone.
    std::unique_ptr<SimState> m_kept;
    mutable std::mutex m_stateMutex;
    int m_port = 0;

    std::atomic<SocketHandle> m_listening{kInvalidSocket};
    std::mutex m_connectionsMutex;
    std::list<Connection> m_connections; // stable places: each thread marks its own as done
    std::atomic<int> m_waitingForLogon{0};
    struct Failures {
        int count = 0;
        std::chrono::steady_clock::time_point last;
    };
    std::mutex m_failuresMutex;
    std::map<uint32_t, Failures> m_failures; // failed logons by peer address
    std::atomic<bool> m_rebootRequested{false};
    std::atomic<bool> m_networkSaved{false};
    std::string m_listeningAddress; // changed by the reboot pause, on the serving thread only
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_rebooting{false};
    std::mutex m_waitMutex;
    std::condition_variable m_wake; // stop() wakes the reboot pause
};

} // namespace qv::sim
