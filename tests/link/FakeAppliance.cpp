#include "FakeAppliance.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace qvtest {

namespace {

constexpr int kWaitMs = 10000;

bool waitReadable(qv::SocketHandle socket, int timeoutMs) {
    pollfd wait{socket, POLLIN, 0};
    return poll(&wait, 1, timeoutMs) == 1;
}

} // namespace

FakeAppliance::FakeAppliance() {
    m_listening = qv::listenTcp("127.0.0.1", 0);
    m_port = qv::localPort(m_listening);
}

FakeAppliance::~FakeAppliance() {
    closeClient();
    stopListening();
}

std::string FakeAppliance::address() const {
    return "127.0.0.1:" + std::to_string(m_port);
}

bool FakeAppliance::accept() {
    if (m_listening == qv::kInvalidSocket || !waitReadable(m_listening, kWaitMs))
        return false;
    m_client = qv::acceptConnection(m_listening);
    if (m_client == qv::kInvalidSocket)
        return false;
    // A test that waits for bytes that never come fails instead of hanging.
    timeval limit{kWaitMs / 1000, 0};
    setsockopt(m_client, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    return true;
}

bool FakeAppliance::clientWaiting(std::chrono::milliseconds wait) const {
    return waitReadable(m_listening, static_cast<int>(wait.count()));
}

void FakeAppliance::stopListening() {
    qv::closeSocket(m_listening);
    m_listening = qv::kInvalidSocket;
}

bool FakeAppliance::send(const Bytes& bytes) {
    return qv::SendAll(m_client, bytes.data(), bytes.size());
}

bool FakeAppliance::sendByteByByte(const Bytes& bytes) {
    for (const uint8_t byte : bytes)
        if (!qv::SendAll(m_client, &byte, 1))
            return false;
    return true;
}

bool FakeAppliance::receive(size_t length, Bytes& out) {
    out.assign(length, 0);
    return qv::ReceiveAll(m_client, out.data(), length);
}

bool FakeAppliance::clientClosed() {
    if (!waitReadable(m_client, kWaitMs))
        return false;
    uint8_t byte;
    return recv(m_client, &byte, 1, 0) == 0;
}

void FakeAppliance::closeClient() {
    qv::closeSocket(m_client);
    m_client = qv::kInvalidSocket;
}

void FakeAppliance::shrinkReceiveBuffer() {
    const int size = 4096;
    setsockopt(m_client, SOL_SOCKET, SO_RCVBUF, &size, sizeof size);
}

} // namespace qvtest
