#include "sim/SimFleet.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace qv::sim {

void seedFleetMember(SimState& state, int index) {
    const int number = index + 1;
    char text[32];
    std::snprintf(text, sizeof text, "QV-MY2400-%03d", number);
    state.record.setDeviceName(text);
    std::snprintf(text, sizeof text, "qvdemo%03d", number);
    state.record.setDdnsId(text);
    state.record.setMac({0x00, 0x1a, 0x2b, 0x3c, static_cast<uint8_t>(number >> 8 & 0xFF),
                         static_cast<uint8_t>(number & 0xFF)});
}

std::string serialOf(const SimState& state) {
    const auto mac = state.record.mac();
    char text[24];
    std::snprintf(text, sizeof text, "%02X-%02X-%02X-%02X-%02X-%02X", mac[0], mac[1], mac[2],
                  mac[3], mac[4], mac[5]);
    return text;
}

std::string fleetStatePath(const std::string& folder, int index) {
    char name[32];
    std::snprintf(name, sizeof name, "appliance-%03d.state", index + 1);
    return (std::filesystem::path(folder) / name).string();
}

std::string fleetLabel(int index) {
    char label[16];
    std::snprintf(label, sizeof label, "[%03d]", index + 1);
    return label;
}

SimFleet::SimFleet(std::vector<Member> members) {
    m_servers.reserve(members.size());
    for (Member& member : members)
        m_servers.push_back(
            std::make_unique<SimServer>(std::move(member.options), std::move(member.state)));
}

SimFleet::~SimFleet() {
    stop();
}

bool SimFleet::start(std::string& error) {
    for (auto& server : m_servers)
        if (!server->start(error)) {
            // The members already listening close their sockets with their servers.
            m_servers.clear();
            return false;
        }
    return true;
}

void SimFleet::run() {
    std::vector<std::thread> threads;
    threads.reserve(m_servers.size());
    for (size_t i = 1; i < m_servers.size(); ++i) {
        try {
            threads.emplace_back([server = m_servers[i].get()] { server->run(); });
        } catch (const std::system_error&) {
            // No thread left for the rest: the whole fleet stops rather than serve a part of it
            // that the administrator did not ask for.
            stop();
            break;
        }
    }
    if (!m_servers.empty())
        m_servers.front()->run();
    for (std::thread& thread : threads)
        thread.join();
}

void SimFleet::stop() {
    for (auto& server : m_servers)
        server->stop();
}

} // namespace qv::sim
