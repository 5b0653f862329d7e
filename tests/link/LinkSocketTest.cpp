#include "link/CGlobalData.h"
#include "link/CMySocket.h"
#include "link/DebugLog.h"
#include "link/Requests.h"
#include "tests/link/TestSupport.h"
#include "tests/support/ScriptedAppliance.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <mutex>

using namespace qv;
using qvtest::Bytes;
using qvtest::refFrame;
using qvtest::refHeader;

namespace {

// A link connected to its own appliance, played by hand.
class LinkTest : public ::testing::Test {
protected:
    void connect() {
        ASSERT_TRUE(link.Connect(&events, appliance.address()));
        ASSERT_TRUE(appliance.accept());
        ASSERT_TRUE(link.connected());
    }

    // Waits for `count` events; a missing one fails the test.
    std::vector<LinkEvent> waitEvents(size_t count) {
        std::vector<LinkEvent> out;
        while (out.size() < count) {
            auto event = events.waitNext();
            if (!event) {
                ADD_FAILURE() << "only " << out.size() << " of " << count << " events arrived";
                break;
            }
            out.push_back(std::move(*event));
        }
        return out;
    }

    // After the link ended: exactly one event 255 came, and nothing came after it.
    void expectLinkEndedOnce() {
        auto last = events.waitNext();
        ASSERT_TRUE(last);
        EXPECT_EQ(last->code, ReplyEvent::LinkEnded);
        EXPECT_EQ(last->value, 0);
        link.Close(); // joins the thread, so nothing can arrive after this
        EXPECT_FALSE(link.connected());
        EXPECT_EQ(events.size(), 0u);
    }

    qvtest::ScriptedAppliance appliance{qvtest::ScriptedAppliance::kByHand};
    qvtest::EventQueue events;
    CMySocket link; // last, so it closes before the sink and the appliance go
};

TEST_F(LinkTest, EveryReplyKindArrivesAsItsEvent) {
    connect();
    std::vector<LinkEvent> expected;
    Bytes wire = qvtest::everyKindOnce(expected);
    // Codes the client does not know, between known frames.
    for (const uint8_t unknown : {uint8_t{9}, uint8_t{28}, uint8_t{32}, uint8_t{200}, uint8_t{255}})
        wire = qvtest::concat({wire, refHeader(unknown, 13130), refFrame(3, unknown)});
    for (const uint8_t unknown : {uint8_t{9}, uint8_t{28}, uint8_t{32}, uint8_t{200}, uint8_t{255}})
        expected.push_back(LinkEvent{ReplyEvent::AdminChangeAnswered, unknown, {}});
    ASSERT_TRUE(appliance.send(wire));
    qvtest::expectEvents(waitEvents(expected.size()), expected);

    appliance.closeClient();
    expectLinkEndedOnce();
}

// The receive thread writes its fixed diagnostic lines: start, every header, the three replies
// that have a line of their own, the way the loop ended, and the exit.
TEST_F(LinkTest, DiagnosticLines) {
    std::mutex mutex;
    std::vector<std::string> lines;
    setDebugWriter([&](std::string_view line) {
        std::lock_guard lock(mutex);
        lines.emplace_back(line);
    });
    connect();
    ASSERT_TRUE(link.Send(request::logon("admin", "Secret!pw")));
    ASSERT_TRUE(appliance.send(
        qvtest::concat({refFrame(13, 3), refHeader(21, 0), refHeader(25, 0), refFrame(1, -2)})));
    auto event = events.waitNext();
    ASSERT_TRUE(event);
    event = events.waitNext();
    ASSERT_TRUE(event);
    event = events.waitNext();
    ASSERT_TRUE(event);
    EXPECT_EQ(event->code, ReplyEvent::LogonAnswered);
    appliance.closeClient();
    expectLinkEndedOnce();
    setDebugWriter({});

    const std::vector<std::string> expected{
        "ClientThread for Manager started **&&&&&**............",
        "HHHHHHH cmd = 0x0d, dwCount = 3",
        "HHHHHHH CMD_SET_UPDATE_MSG dwCount = 3",
        "HHHHHHH cmd = 0x15, dwCount = 0",
        "HHHHH - CMD_GET_IOLIST_MSG",
        "HHHHHHH cmd = 0x19, dwCount = 0",
        "CMD_SET_BLANK_MODE response. !!!!!!",
        "HHHHHHH cmd = 0x01, dwCount = -2",
        "ClientThread for Manager started **&&&&&**.......err.....22222222222222222222222",
        "ClientThread for Manager exit *********............",
    };
    std::lock_guard lock(mutex);
    EXPECT_EQ(lines, expected);
}

// The smallest pieces TCP can carry give the same events as whole frames.
TEST_F(LinkTest, ByteByByteGivesTheSameEvents) {
    connect();
    const Bytes config = qvtest::pattern(316, 2);
    const Bytes entries = qvtest::pattern(2 * 52, 27);
    const Bytes wol = qvtest::pattern(10100, 6);
    const Bytes wire =
        qvtest::concat({refFrame(2, 0, config), refHeader(25, 0), refFrame(27, 2, entries, false),
                        refHeader(40, 1), refFrame(6, 1, wol), refFrame(1, 150)});
    ASSERT_TRUE(appliance.sendByteByByte(wire));
    qvtest::expectEvents(waitEvents(4), {LinkEvent{ReplyEvent::SummaryArrived, 0, config},
                                         LinkEvent{ReplyEvent::BlacklistArrived, 2, entries},
                                         LinkEvent{ReplyEvent::WolArrived, 1, wol},
                                         LinkEvent{ReplyEvent::LogonAnswered, 150, {}}});
    EXPECT_EQ(events.size(), 0u);
}

TEST_F(LinkTest, BlacklistAboveCapacityKeepsTheLinkInStep) {
    connect();
    const Bytes entries = qvtest::pattern(2049 * 52, 3);
    ASSERT_TRUE(
        appliance.send(qvtest::concat({refFrame(27, 2049, entries, false), refFrame(31, 101)})));
    const auto got = waitEvents(2);
    ASSERT_EQ(got.size(), 2u);
    EXPECT_EQ(got[0].code, ReplyEvent::BlacklistArrived);
    EXPECT_EQ(got[0].value, 2048);
    EXPECT_TRUE(got[0].payload == Bytes(entries.begin(), entries.begin() + 2048 * 52));
    EXPECT_EQ(got[1].code, ReplyEvent::BlacklistCleared);
    EXPECT_EQ(got[1].value, 101);
}

// The peer going away mid-frame: the frames before arrive, the cut one does not, and the link
// ends with exactly one event 255.
TEST(LinkCut, CutFramesPostNothingButTheEndOfTheLink) {
    const Bytes table = refFrame(4, 2, qvtest::pattern(13130, 4));
    const Bytes entries = refFrame(27, 3, qvtest::pattern(3 * 52, 5), false);
    const std::vector<std::pair<const char*, Bytes>> cuts{
        {"inside a header", Bytes(table.begin(), table.begin() + 3)},
        {"right after a header", Bytes(table.begin(), table.begin() + 8)},
        {"inside a table", Bytes(table.begin(), table.end() - 1)},
        {"inside blacklist entries", Bytes(entries.begin(), entries.begin() + 60)},
    };
    for (const auto& [name, partial] : cuts) {
        SCOPED_TRACE(name);
        qvtest::ScriptedAppliance appliance{qvtest::ScriptedAppliance::kByHand};
        qvtest::EventQueue events;
        CMySocket link;
        ASSERT_TRUE(link.Connect(&events, appliance.address()));
        ASSERT_TRUE(appliance.accept());
        ASSERT_TRUE(appliance.send(qvtest::concat({refFrame(5, 101), partial})));
        appliance.closeClient();

        auto first = events.waitNext();
        ASSERT_TRUE(first);
        EXPECT_EQ(first->code, ReplyEvent::CenterIdsApplied);
        auto last = events.waitNext();
        ASSERT_TRUE(last);
        EXPECT_EQ(last->code, ReplyEvent::LinkEnded);
        link.Close();
        EXPECT_FALSE(link.connected());
        EXPECT_EQ(events.size(), 0u);
    }
}

TEST_F(LinkTest, PeerCloseEndsTheLinkOnce) {
    connect();
    appliance.closeClient();
    auto last = events.waitNext();
    ASSERT_TRUE(last);
    EXPECT_EQ(last->code, ReplyEvent::LinkEnded);
    EXPECT_FALSE(link.connected());
    // Sending on the ended link does nothing.
    EXPECT_FALSE(link.Send(request::reboot()));
    link.Close();
    link.Close();
    EXPECT_EQ(events.size(), 0u);
}

// Close returns only after the receive thread has ended: its one event 255 is already there.
TEST_F(LinkTest, CloseWhileConnectedWaitsForTheThread) {
    connect();
    link.Close();
    EXPECT_FALSE(link.connected());
    const auto all = events.takeAll();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].code, ReplyEvent::LinkEnded);
    EXPECT_TRUE(appliance.clientClosed());
    link.Close();
    EXPECT_EQ(events.size(), 0u);
}

TEST_F(LinkTest, ConnectWhileConnectedChangesNothing) {
    connect();
    qvtest::ScriptedAppliance other{qvtest::ScriptedAppliance::kByHand};
    qvtest::EventQueue otherEvents;
    EXPECT_FALSE(link.Connect(&otherEvents, other.address()));
    EXPECT_TRUE(link.connected());
    EXPECT_EQ(link.port(), appliance.port());
    EXPECT_FALSE(other.clientWaiting(std::chrono::milliseconds(100)));

    // The first link still sends and receives, to the first sink.
    ASSERT_TRUE(link.Send(request::readTime()));
    EXPECT_EQ(appliance.read(8), refHeader(24, 0));
    ASSERT_TRUE(appliance.send(refFrame(24, 1234)));
    auto event = events.waitNext();
    ASSERT_TRUE(event);
    EXPECT_EQ(event->code, ReplyEvent::ServerTimeArrived);
    EXPECT_EQ(event->value, 1234);
    EXPECT_EQ(otherEvents.size(), 0u);
}

// After the appliance dropped the link, the same object connects again.
TEST_F(LinkTest, ReconnectsAfterTheLinkEnded) {
    connect();
    appliance.closeClient();
    auto ended = events.waitNext();
    ASSERT_TRUE(ended);
    EXPECT_EQ(ended->code, ReplyEvent::LinkEnded);

    ASSERT_TRUE(link.Connect(&events, appliance.address()));
    ASSERT_TRUE(appliance.accept());
    ASSERT_TRUE(appliance.send(refFrame(1, 110)));
    auto event = events.waitNext();
    ASSERT_TRUE(event);
    EXPECT_EQ(event->code, ReplyEvent::LogonAnswered);
    EXPECT_EQ(event->value, 110);
}

TEST(LinkConnect, ClosedPortFailsAndPostsNothing) {
    qvtest::ScriptedAppliance appliance{qvtest::ScriptedAppliance::kByHand};
    const std::string address = appliance.address();
    appliance.stopListening();
    qvtest::EventQueue events;
    CMySocket link;
    EXPECT_FALSE(link.Connect(&events, address));
    EXPECT_FALSE(link.connected());
    EXPECT_FALSE(link.Send(request::reboot()));
    link.Close();
    EXPECT_EQ(events.size(), 0u);
}

// A connect to an address that never answers the handshake (a listener that accepts nothing,
// its queue filled) gives up after the time-out it is given, well inside the link's default of
// ten seconds, or when it is cut: Ctrl+C on a run over many appliances cuts every link, and one
// still connecting must not hold the run for its ten seconds.
TEST(LinkConnect, AnUnansweredHandshakeEndsOnItsTimeOutOrWhenCut) {
    const SocketHandle listening = listenTcp("127.0.0.1", 0, 0);
    const ServerAddress address{"127.0.0.1", localPort(listening)};
    std::vector<SocketHandle> queued;
    for (int i = 0; i < 4; ++i)
        queued.push_back(connectTcp(address, std::chrono::milliseconds(200)));
    for (const bool cut : {false, true}) {
        qvtest::EventQueue events;
        CMySocket link;
        const auto timeout = cut ? CMySocket::kConnectTimeout : std::chrono::milliseconds(200);
        auto connecting = std::async(std::launch::async, [&] {
            return link.Connect(&events, "127.0.0.1", address.port, timeout);
        });
        if (cut) {
            EXPECT_EQ(connecting.wait_for(std::chrono::milliseconds(300)),
                      std::future_status::timeout);
            link.Interrupt();
        }
        ASSERT_EQ(connecting.wait_for(std::chrono::seconds(5)), std::future_status::ready) << cut;
        EXPECT_FALSE(connecting.get());
    }
    for (const SocketHandle socket : queued)
        closeSocket(socket);
    closeSocket(listening);
}

TEST(LinkConnect, AddressTextWithAndWithoutPort) {
    {
        qvtest::ScriptedAppliance appliance{qvtest::ScriptedAppliance::kByHand};
        qvtest::EventQueue events;
        CMySocket link;
        ASSERT_TRUE(link.Connect(&events, "localhost:" + std::to_string(appliance.port())));
        EXPECT_EQ(link.port(), appliance.port());
        EXPECT_TRUE(appliance.accept());
    }
    {
        qvtest::ScriptedAppliance appliance{qvtest::ScriptedAppliance::kByHand};
        qvtest::EventQueue events;
        CMySocket link;
        ASSERT_TRUE(link.Connect(&events, "127.0.0.1", appliance.port()));
        EXPECT_EQ(link.port(), appliance.port());
        EXPECT_TRUE(appliance.accept());
    }
    qvtest::EventQueue events;
    CMySocket link;
    for (const char* bad : {"", ":12300", "127.0.0.1:", "127.0.0.1:0", "127.0.0.1:65536",
                            "127.0.0.1:12x", "999.1.1.1:5"}) {
        EXPECT_FALSE(link.Connect(&events, bad)) << bad;
        EXPECT_FALSE(link.connected());
    }
    EXPECT_EQ(events.size(), 0u);
}

TEST(ServerAddress, Parsing) {
    struct Case {
        const char* text;
        bool ok;
        const char* host;
        int port;
    };
    const std::vector<Case> cases{
        {"10.0.0.5", true, "10.0.0.5", 12300},
        {"10.0.0.5:4000", true, "10.0.0.5", 4000},
        {"appliance.example:65535", true, "appliance.example", 65535},
        {" myhost :1", true, "myhost", 1},
        {"myhost", true, "myhost", 12300},
        {"", false, "", 0},
        {"   ", false, "", 0},
        {":80", false, "", 0},
        {"host:", false, "", 0},
        {"host:0", false, "", 0},
        {"host:-1", false, "", 0},
        {"host:70000", false, "", 0},
        {"host:80a", false, "", 0},
    };
    for (const Case& c : cases) {
        ServerAddress out;
        EXPECT_EQ(parseServerAddress(c.text, 12300, out), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(out.host, c.host);
            EXPECT_EQ(out.port, c.port);
        }
    }
}

// What Send puts on the wire is the frame, byte for byte: header, then payload scrambled or raw.
TEST_F(LinkTest, SendPutsTheExactFrameOnTheWire) {
    connect();
    WolTable wol;
    const Bytes wolBytes = qvtest::pattern(10100, 8);
    std::copy(wolBytes.begin(), wolBytes.end(), wol.bytes.begin());
    const Bytes file = qvtest::pattern(200000, 9);
    Bytes logo = file;
    logo.push_back(3);

    ASSERT_TRUE(link.Send(request::logon("admin", "pw")));
    ASSERT_TRUE(link.Send(request::writeWol(0, wol)));
    ASSERT_TRUE(link.Send(request::deleteLogo()));
    std::vector<size_t> progress;
    size_t total = 0;
    ASSERT_TRUE(link.Send(request::uploadLogo(file, 3), [&](size_t sent, size_t of) {
        progress.push_back(sent);
        total = of;
    }));

    Bytes plainText(100, 0);
    qvtest::putText(plainText, 4, "admin");
    qvtest::putText(plainText, 36, "pw");
    const Bytes expected = qvtest::concat({refFrame(1, 100, plainText), refFrame(7, 0, wolBytes),
                                           refHeader(14, 0), refFrame(14, 200001, logo, false)});
    EXPECT_TRUE(appliance.read(expected.size()) == expected);

    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(total, logo.size());
    EXPECT_EQ(progress.back(), logo.size());
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
}

// The appliance drops the link in the middle of a large upload: the send fails without a
// SIGPIPE killing the process, the link closes itself, and the one event 255 is already there
// when Send returns.
TEST_F(LinkTest, FailedSendClosesTheLinkWithoutSigpipe) {
    connect();
    appliance.shrinkReceiveBuffer();
    std::atomic<size_t> reported{0};
    auto sending = std::async(std::launch::async, [this, &reported] {
        return link.Send(request::uploadWebArchive(Bytes(8 * 1024 * 1024, 0x5A)),
                         [&reported](size_t sent, size_t) { reported = sent; });
    });
    ASSERT_EQ(appliance.read(8), refHeader(20, 8 * 1024 * 1024));
    appliance.closeClient(); // unread bytes: the connection is reset

    EXPECT_FALSE(sending.get());
    EXPECT_LT(reported.load(), 8u * 1024 * 1024);
    EXPECT_FALSE(link.connected());
    const auto all = events.takeAll();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].code, ReplyEvent::LinkEnded);
    EXPECT_FALSE(link.Send(request::reboot()));
}

// The appliance stops reading: a send that makes no progress for the connect's time-out fails
// and ends the link, instead of blocking the sender (a window's upload, qvctl) for ever.
TEST_F(LinkTest, ASendWithoutProgressFailsAfterTheTimeout) {
    ASSERT_TRUE(link.Connect(&events, appliance.address(), kDefaultPort, std::chrono::seconds(1)));
    ASSERT_TRUE(appliance.accept());
    appliance.shrinkReceiveBuffer();
    auto sending = std::async(std::launch::async, [this] {
        return link.Send(request::uploadWebArchive(Bytes(16 * 1024 * 1024, 0x44)));
    });
    // A sender that never gives up is let go after a minute, so the test fails, not hangs.
    const bool ended = sending.wait_for(std::chrono::seconds(60)) == std::future_status::ready;
    if (!ended)
        appliance.closeClient();
    EXPECT_TRUE(ended);
    EXPECT_FALSE(sending.get());
    EXPECT_FALSE(link.connected());
    expectLinkEndedOnce();
}

// Sending to an appliance that has already gone: whichever notices first (the send or the
// receive thread), the process survives, sends stop, and the link ends exactly once.
TEST_F(LinkTest, SendToAGoneApplianceEndsTheLinkOnce) {
    connect();
    appliance.closeClient();
    ScheduleTable schedule;
    int sent = 0;
    while (sent < 50 && link.Send(request::writeSchedule(2048, schedule)))
        ++sent;
    EXPECT_LT(sent, 50);
    expectLinkEndedOnce();
}

// Closing the link while an upload on another thread is blocked (the appliance reads nothing):
// Close wakes the sender and returns, the upload reports failure, and the link ends once.
TEST_F(LinkTest, CloseDuringABlockedUploadReturns) {
    connect();
    appliance.shrinkReceiveBuffer();
    auto sending = std::async(std::launch::async, [this] {
        return link.Send(request::uploadWebArchive(Bytes(8 * 1024 * 1024, 0x33)),
                         [](size_t, size_t) {});
    });
    ASSERT_EQ(appliance.read(8).size(), 8u);
    link.Close();
    EXPECT_FALSE(link.connected());
    EXPECT_FALSE(sending.get());
    const auto all = events.takeAll();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].code, ReplyEvent::LinkEnded);
}

// The socket layer alone: sending to a peer that has gone returns false, with no SIGPIPE.
TEST(SocketIo, SendToAGonePeerFails) {
    const SocketHandle listening = listenTcp("127.0.0.1", 0);
    ASSERT_NE(listening, kInvalidSocket);
    const SocketHandle client =
        connectTcp({"127.0.0.1", localPort(listening)}, std::chrono::milliseconds(10000));
    ASSERT_NE(client, kInvalidSocket);
    const SocketHandle server = acceptConnection(listening);
    ASSERT_NE(server, kInvalidSocket);
    closeSocket(server);
    const Bytes block(256 * 1024, 1);
    bool failed = false;
    for (int i = 0; i < 100 && !failed; ++i)
        failed = !SendAll(client, block.data(), block.size());
    EXPECT_TRUE(failed);
    uint8_t byte;
    EXPECT_FALSE(ReceiveAll(client, &byte, 1));
    closeSocket(client);
    closeSocket(listening);
}

} // namespace
