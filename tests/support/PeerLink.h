#pragma once

// A peer socket on loopback that plays the appliance for a page test: the store's link is
// connected to it, and the test reads exactly what the page sent.

#include "CGlobalData.h"
#include "CMySocket.h"
#include "LinkEvent.h"
#include "SocketIo.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <poll.h>
#include <string>
#include <vector>

namespace qvtest {

class PeerLink {
public:
    PeerLink() = default;
    PeerLink(const PeerLink&) = delete;
    PeerLink& operator=(const PeerLink&) = delete;
    ~PeerLink() {
        qv::closeSocket(m_peer);
        qv::closeSocket(m_listening);
    }

    // Gives `store` a link connected to this peer.
    void connect(qv::CGlobalData& store) {
        m_listening = qv::listenTcp("127.0.0.1", 0);
        ASSERT_NE(m_listening, qv::kInvalidSocket);
        store.link = std::make_unique<qv::CMySocket>();
        ASSERT_TRUE(store.link->Connect(&m_sink,
                                        "127.0.0.1:" + std::to_string(qv::localPort(m_listening))));
        m_peer = qv::acceptConnection(m_listening);
        ASSERT_NE(m_peer, qv::kInvalidSocket);
    }
    // True when a byte from the page is waiting within `ms`.
    bool hasData(int ms) {
        pollfd p{m_peer, POLLIN, 0};
        return ::poll(&p, 1, ms) > 0 && (p.revents & POLLIN) != 0;
    }
    std::vector<uint8_t> read(size_t length) {
        std::vector<uint8_t> bytes(length);
        EXPECT_TRUE(qv::ReceiveAll(m_peer, bytes.data(), bytes.size()));
        return bytes;
    }

private:
    // The page tests look at what is sent, not at the link's events.
    class NullSink : public qv::EventSink {
    public:
        void post(qv::LinkEvent) override {}
    };

    NullSink m_sink;
    qv::SocketHandle m_listening = qv::kInvalidSocket;
    qv::SocketHandle m_peer = qv::kInvalidSocket;
};

} // namespace qvtest
