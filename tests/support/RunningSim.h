#pragma once

// qvsim in the test's own process, on a free loopback port: the peer of the end-to-end tests.

#include "sim/SimServer.h"
#include "sim/SimState.h"

#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace qv::simtest {

using namespace std::chrono_literals;

// qvsim's server on 127.0.0.1 and a port of its own choosing, served on a thread until the
// object goes.
class RunningSim {
public:
    explicit RunningSim(sim::ServerOptions options = {},
                        std::unique_ptr<sim::SimState> state = sim::seededState()) {
        options.bindAddress = "127.0.0.1";
        options.port = 0;
        // Tests that do not choose a reboot pause get a short one, so a reboot does not hold
        // the next test up for the program's default five seconds.
        if (options.rebootPause == sim::ServerOptions{}.rebootPause)
            options.rebootPause = 500ms;
        options.log = [this](const std::string& line) {
            std::lock_guard lock(m_logMutex);
            m_log.push_back(line);
        };
        m_server = std::make_unique<sim::SimServer>(std::move(options), std::move(state));
        std::string error;
        m_started = m_server->start(error);
        if (m_started)
            m_thread = std::thread([this] { m_server->run(); });
    }
    ~RunningSim() {
        m_server->stop();
        if (m_thread.joinable())
            m_thread.join();
    }
    bool started() const { return m_started; }
    int port() const { return m_server->port(); }
    std::string address() const { return "127.0.0.1:" + std::to_string(port()); }
    sim::SimServer& server() { return *m_server; }
    std::vector<std::string> log() {
        std::lock_guard lock(m_logMutex);
        return m_log;
    }

private:
    std::unique_ptr<sim::SimServer> m_server;
    std::thread m_thread;
    bool m_started = false;
    std::mutex m_logMutex;
    std::vector<std::string> m_log;
};

} // namespace qv::simtest
