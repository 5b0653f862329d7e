#pragma once

#include "SocketIo.h"
#include "TestSupport.h"

#include <chrono>
#include <string>

namespace qvtest {

// A scripted appliance on loopback: listens on a free port, takes one client, and sends exactly
// the bytes a test gives it. Each test makes its own, so tests never share a port.
class FakeAppliance {
public:
    FakeAppliance();
    ~FakeAppliance();
    FakeAppliance(const FakeAppliance&) = delete;
    FakeAppliance& operator=(const FakeAppliance&) = delete;

    int port() const { return m_port; }
    // "127.0.0.1:<port>".
    std::string address() const;

    // Waits (up to 10 s) for the client and takes it; false when none came.
    bool accept();
    // True when a client is waiting to be taken, after waiting at most `wait`.
    bool clientWaiting(std::chrono::milliseconds wait) const;
    // Stops listening, so a connect to this port is refused.
    void stopListening();

    bool send(const Bytes& bytes);
    // One send() call per byte, so the client receives the frames in the smallest pieces.
    bool sendByteByByte(const Bytes& bytes);
    // Reads exactly `length` bytes from the client, waiting at most 10 s.
    bool receive(size_t length, Bytes& out);
    // True when the client closed its side (end of stream within 10 s).
    bool clientClosed();
    // Closes the connection to the client.
    void closeClient();
    // Shrinks the receive buffer of the connection, so a large upload cannot fit into it.
    void shrinkReceiveBuffer();

private:
    qv::SocketHandle m_listening = qv::kInvalidSocket;
    qv::SocketHandle m_client = qv::kInvalidSocket;
    int m_port = 0;
};

} // namespace qvtest
