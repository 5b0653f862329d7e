#include "ScriptedAppliance.h"

#include "ByteSource.h"
#include "FrameReaders.h"

namespace qvtest {
namespace {

class SocketSource : public qv::ByteSource {
public:
    explicit SocketSource(qv::SocketHandle socket) : m_socket(socket) {}
    bool readExact(uint8_t* buffer, size_t length) override {
        return qv::ReceiveAll(m_socket, buffer, length);
    }

private:
    qv::SocketHandle m_socket;
};

} // namespace

ScriptedAppliance::ScriptedAppliance(Responder respond) : m_respond(std::move(respond)) {
    m_listening = qv::listenTcp("127.0.0.1", 0);
    m_port = qv::localPort(m_listening);
    m_thread = std::thread(&ScriptedAppliance::serve, this);
}

ScriptedAppliance::~ScriptedAppliance() {
    m_stop.store(true);
    qv::shutdownSocket(m_listening);
    closeClient();
    m_thread.join();
    qv::closeSocket(m_listening);
}

std::string ScriptedAppliance::address() const {
    return "127.0.0.1:" + std::to_string(m_port);
}

void ScriptedAppliance::serve() {
    while (!m_stop.load()) {
        const qv::SocketHandle client = qv::acceptConnection(m_listening);
        if (client == qv::kInvalidSocket)
            return;
        m_client.store(client);
        ++m_connections;
        SocketSource source(client);
        qv::RequestReader reader(source);
        qv::Frame frame;
        while (reader.next(frame)) {
            {
                std::lock_guard lock(m_mutex);
                m_requests.push_back({frame, std::chrono::steady_clock::now()});
            }
            m_arrived.notify_all();
            if (m_respond)
                for (const qv::Frame& answer : m_respond(frame))
                    send(answer);
        }
        std::lock_guard sending(m_sendMutex);
        qv::closeSocket(m_client.exchange(qv::kInvalidSocket));
    }
}

std::vector<ScriptedAppliance::Request> ScriptedAppliance::requests() const {
    std::lock_guard lock(m_mutex);
    return m_requests;
}

std::vector<int> ScriptedAppliance::commands() const {
    std::vector<int> out;
    for (const Request& r : requests())
        out.push_back(r.frame.cmd);
    return out;
}

bool ScriptedAppliance::waitForRequests(size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(m_mutex);
    return m_arrived.wait_for(lock, timeout, [&] { return m_requests.size() >= count; });
}

bool ScriptedAppliance::send(const qv::Frame& frame) {
    std::lock_guard sending(m_sendMutex);
    const qv::SocketHandle client = m_client.load();
    if (client == qv::kInvalidSocket)
        return false;
    const std::vector<uint8_t> bytes = qv::encodeFrame(frame);
    return qv::SendAll(client, bytes.data(), bytes.size());
}

void ScriptedAppliance::closeClient() {
    qv::shutdownSocket(m_client.load());
}

} // namespace qvtest
