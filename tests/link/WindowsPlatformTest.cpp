// The Windows side of the link's platform calls, run under a Korean system locale (ctest sets
// LC_ALL=ko_KR.UTF-8, from which wine takes the ANSI code page 949).

#include "link/CodePage.h"
#include "link/SocketIo.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <thread>

using namespace qv;
using namespace std::chrono_literals;

namespace {

TEST(WindowsCodePage, TextsFollowTheSystemsAnsiCodePage) {
    ASSERT_EQ(GetACP(), 949u);
    EXPECT_EQ(systemCodePage(), 949);
    const std::string korean = "\xED\x95\x9C\xEA\xB5\xAD"; // "한국" in UTF-8
    const std::string ansi = "\xC7\xD1\xB1\xB9";           // and in code page 949
    bool ok = false;
    EXPECT_EQ(utf8ToAnsi(korean, &ok), ansi);
    EXPECT_TRUE(ok);
    EXPECT_EQ(ansiToUtf8(ansi), korean);
    EXPECT_EQ(cutAnsi(ansi, 3, systemCodePage()), ansi.substr(0, 2));
}

// A receive blocked on a silent peer returns once another thread shuts the socket down.
TEST(WindowsSockets, ShutdownWakesABlockedReceive) {
    const SocketHandle listening = listenTcp("127.0.0.1", 0);
    ASSERT_NE(listening, kInvalidSocket);
    const SocketHandle client = connectTcp({"127.0.0.1", localPort(listening)}, 2000ms);
    ASSERT_NE(client, kInvalidSocket);
    const SocketHandle silent = acceptConnection(listening);
    bool received = true;
    std::thread receiver([&] {
        uint8_t byte;
        received = ReceiveAll(client, &byte, 1);
    });
    std::this_thread::sleep_for(200ms);
    shutdownSocket(client);
    receiver.join();
    EXPECT_FALSE(received);
    for (const SocketHandle s : {client, silent, listening})
        closeSocket(s);
}

} // namespace
