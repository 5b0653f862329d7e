// After the logon answer the window holds no copy of the password it sent, and no buffer it
// passed through was let go of with the password still in it: a core dump or a swapped-out
// page of the running window shows none. The appliance is qvsim in a process of its own, and
// the test never holds the password in a buffer it frees (it types it a key at a time), so a
// copy found is the window's.

#include "app/CLogonDlg.h"
#include "app/CQVSettingDlg.h"
#include "pages/ControlIds.h"
#include "tests/app/AppTestSupport.h"
#include "tests/support/ScriptedPrompt.h"
#include "tests/support/TestPlatform.h"

#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <fcntl.h>
#include <fstream>
#include <malloc.h>
#include <sstream>
#include <unistd.h>

namespace qvtest {
namespace {

// Longer than a string keeps inside itself, so its copies live on the heap.
constexpr char kPassword[] = "Wiped-after-logon-2026";
constexpr size_t kLength = sizeof kPassword - 1;
constexpr char16_t kWidePassword[] = u"Wiped-after-logon-2026";

bool holdsPassword(const char* from, const char* to) {
    const auto* wide = reinterpret_cast<const char*>(kWidePassword);
    return std::search(from, to, kPassword, kPassword + kLength) != to ||
           std::search(from, to, wide, wide + 2 * kLength) != to;
}

std::atomic<bool> watchingFrees{false};
std::atomic<int> freedWithPassword{0};

// The password in the heap and the anonymous mappings (other threads' arenas and stacks).
int liveCopies() {
    std::ifstream maps("/proc/self/maps");
    int found = 0;
    for (std::string line; std::getline(maps, line);) {
        std::istringstream fields(line);
        std::string range, permissions, offset, device, inode, path;
        fields >> range >> permissions >> offset >> device >> inode >> path;
        if (permissions.substr(0, 2) != "rw" || !(path.empty() || path == "[heap]"))
            continue;
        const size_t dash = range.find('-');
        const auto* from =
            reinterpret_cast<const char*>(std::stoull(range.substr(0, dash), nullptr, 16));
        const auto* to =
            reinterpret_cast<const char*>(std::stoull(range.substr(dash + 1), nullptr, 16));
        found += holdsPassword(from, to) ? 1 : 0;
    }
    return found;
}

TEST(LogonSecret, NoCopyOfThePasswordStaysAfterTheLogonAnswer) {
    const std::string passwordFile =
        ::testing::TempDir() + "logon-secret-" + std::to_string(::getpid());
    const int fd = ::open(passwordFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, kPassword, kLength), static_cast<ssize_t>(kLength));
    ::close(fd);
    const std::string output = passwordFile + ".out";
    ChildProcess sim(
        {{QVSIM_PATH, "--port", "0", "--admin-password-file", passwordFile}, {}, output, {}});
    int port = 0;
    ASSERT_TRUE(waitUntil([&] {
        const std::string text = readChildOutput(output);
        if (text.rfind("qvsim listening on ", 0) == 0)
            port = std::stoi(text.substr(text.rfind(':') + 1));
        return port != 0;
    }));

    qv::CGlobalData store;
    ScriptedPrompt prompt;
    CQVSettingDlg window(store, prompt, QStringLiteral("127.0.0.1:%1").arg(port));
    window.show();
    CLogonDlg* logon = window.logonPage();
    QTest::keyClicks(qv::findControl<QLineEdit>(logon, 1001), QStringLiteral("admin"));
    watchingFrees = true;
    for (size_t i = 0; i < kLength; ++i)
        QTest::keyClick(qv::findControl<QLineEdit>(logon, 1002), kPassword[i]);
    QTest::mouseClick(qv::findControl<QAbstractButton>(logon, 1003), Qt::LeftButton);
    ASSERT_TRUE(waitUntil([&] { return store.PageIndex == 1; }));
    settle();
    watchingFrees = false;

    EXPECT_EQ(freedWithPassword.load(), 0);
    EXPECT_EQ(liveCopies(), 0);
    EXPECT_EQ(sim.stop(), 0);
    std::remove(passwordFile.c_str());
    std::remove(output.c_str());
}

} // namespace
} // namespace qvtest

// Every block this process frees while the test watches is looked at first: the allocator
// keeps a freed block's bytes until it hands the block out again, so a password in it would
// stay readable.
extern "C" void __libc_free(void* block);
extern "C" void free(void* block) {
    if (block != nullptr && qvtest::watchingFrees.load(std::memory_order_relaxed)) {
        const auto* bytes = static_cast<const char*>(block);
        if (qvtest::holdsPassword(bytes, bytes + malloc_usable_size(block)))
            qvtest::freedWithPassword.fetch_add(1);
    }
    __libc_free(block);
}
