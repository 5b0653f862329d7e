#include "tests/support/ScriptedAppliance.h"

#include "link/ByteSource.h"
#include "link/CGlobalData.h"
#include "link/CMySocket.h"
#include "link/FrameReaders.h"
#include "link/LinkEvent.h"

#include <memory>

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

// Where the links of by-hand tests deliver: those tests look at what the client sends. It has no
// state and lives as long as the process, so a receive thread that outlives its test still has
// somewhere to post.
class IgnoringSink : public qv::EventSink {
public:
    void post(qv::LinkEvent) override {}
};

} // namespace

ScriptedAppliance::ScriptedAppliance(Responder respond) : m_respond(std::move(respond)) {
    listen();
    m_thread = std::thread(&ScriptedAppliance::serve, this);
}

ScriptedAppliance::ScriptedAppliance(ByHand) {
    listen();
}

ScriptedAppliance::~ScriptedAppliance() {
    m_stop.store(true);
    if (m_thread.joinable()) {
        qv::shutdownSocket(m_listening);
        closeClient();
        m_thread.join();
    } else {
        closeClient();
    }
    qv::closeSocket(m_listening);
}

void ScriptedAppliance::listen() {
    m_listening = qv::listenTcp("127.0.0.1", 0);
    m_port = qv::localPort(m_listening);
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

std::vector<qv::Command> ScriptedAppliance::commands() const {
    std::vector<qv::Command> out;
    for (const Request& r : requests())
        out.push_back(r.frame.cmd);
    return out;
}

bool ScriptedAppliance::waitForRequests(size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(m_mutex);
    return m_arrived.wait_for(lock, timeout, [&] { return m_requests.size() >= count; });
}

bool ScriptedAppliance::send(const qv::Frame& frame) {
    return send(qv::encodeFrame(frame));
}

bool ScriptedAppliance::send(const std::vector<uint8_t>& bytes) {
    std::lock_guard sending(m_sendMutex);
    const qv::SocketHandle client = m_client.load();
    if (client == qv::kInvalidSocket)
        return false;
    return qv::SendAll(client, bytes.data(), bytes.size());
}

void ScriptedAppliance::closeClient() {
    // The serving thread reads the client's socket: it is woken here and closes it itself.
    if (m_thread.joinable()) {
        qv::shutdownSocket(m_client.load());
        return;
    }
    std::lock_guard sending(m_sendMutex);
    qv::closeSocket(m_client.exchange(qv::kInvalidSocket));
}

bool ScriptedAppliance::accept() {
    if (m_listening == qv::kInvalidSocket || !qv::waitReadable(m_listening, kWait))
        return false;
    const qv::SocketHandle client = qv::acceptConnection(m_listening);
    if (client == qv::kInvalidSocket)
        return false;
    // A test that waits for bytes that never come fails instead of hanging.
    qv::setReceiveTimeout(client, kWait);
    closeClient();
    m_client.store(client);
    ++m_connections;
    return true;
}

bool ScriptedAppliance::connect(qv::CGlobalData& store) {
    static IgnoringSink ignoring;
    store.link = std::make_unique<qv::CMySocket>();
    return store.link->Connect(&ignoring, address()) && accept();
}

bool ScriptedAppliance::clientWaiting(std::chrono::milliseconds wait) const {
    return qv::waitReadable(m_listening, wait);
}

void ScriptedAppliance::stopListening() {
    qv::closeSocket(m_listening);
    m_listening = qv::kInvalidSocket;
}

bool ScriptedAppliance::sendByteByByte(const std::vector<uint8_t>& bytes) {
    for (const uint8_t byte : bytes)
        if (!qv::SendAll(m_client.load(), &byte, 1))
            return false;
    return true;
}

std::vector<uint8_t> ScriptedAppliance::read(size_t length) {
    std::vector<uint8_t> bytes(length);
    if (!qv::ReceiveAll(m_client.load(), bytes.data(), bytes.size()))
        bytes.clear();
    return bytes;
}

bool ScriptedAppliance::hasData(std::chrono::milliseconds wait) const {
    return qv::waitReadable(m_client.load(), wait);
}

bool ScriptedAppliance::clientClosed() {
    if (!qv::waitReadable(m_client.load(), kWait))
        return false;
    uint8_t byte;
    return qv::receiveSome(m_client.load(), &byte, 1) == 0;
}

void ScriptedAppliance::shrinkReceiveBuffer() {
    qv::setReceiveBufferSize(m_client.load(), 4096);
}

} // namespace qvtest
