#pragma once

#include "sim/SimServer.h"
#include "sim/SimState.h"

#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace qv::sim {

// The largest fleet one qvsim serves.
inline constexpr int kMaxFleet = 1000;

// Gives member `index` (0 on) of a fleet an identity of its own, so that a client telling
// appliances apart sees different ones: the device name "QV-MY2400-001" on, the DDNS ID
// "qvdemo001" on, and the MAC address, which serves as the appliance's serial number, ending in
// the index. Nothing else of the demonstration data changes.
void seedFleetMember(SimState& state, int index);
// The serial number a member shows: its MAC address as "00-1A-2B-..".
std::string serialOf(const SimState& state);
// Where member `index` keeps its state in `folder`: "appliance-001.state" on.
std::string fleetStatePath(const std::string& folder, int index);
// The label that starts the member's log lines: "[001]" on.
std::string fleetLabel(int index);

// Several simulated appliances served from one process, each a server of its own with its own
// state, state file, upload folder and connection limits. Member i listens on the first port
// + i (or on a free port of its own when the first port is 0). Each member waits for
// connections on one thread, blocked in the system until a client comes; a connection is served
// on a thread of its own for as long as it lasts, so idle appliances cost no processor time.
class SimFleet {
public:
    // One entry per member: its options (port, state file, upload folder) and its state.
    struct Member {
        ServerOptions options;
        std::unique_ptr<SimState> state;
    };
    explicit SimFleet(std::vector<Member> members);
    ~SimFleet();
    SimFleet(const SimFleet&) = delete;
    SimFleet& operator=(const SimFleet&) = delete;

    // Opens every member's listening socket; false with the first failure's message, and then
    // none listens.
    bool start(std::string& error);
    // Serves every member until stop(); call after start().
    void run();
    // Ends run() from any thread.
    void stop();

    size_t size() const { return m_servers.size(); }
    SimServer& member(size_t index) { return *m_servers[index]; }

private:
    std::vector<std::unique_ptr<SimServer>> m_servers;
};

} // namespace qv::sim
