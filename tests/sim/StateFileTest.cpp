// The state file keeps every byte across a save and a load, and a broken file changes nothing.

#include "sim/SimState.h"

#include "tests/sim/FileKinds.h"
#include "tests/support/TestPlatform.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <tuple>

namespace qv::sim {
namespace {

std::string tempPath(const std::string& name) {
    return (std::filesystem::temp_directory_path() /
            (name + "-" + std::to_string(::getpid()) + "-" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name()))
        .string();
}

TEST(StateFile, KeepsEveryByteAcrossSaveAndLoad) {
    auto state = seededState();
    std::mt19937 random(7);
    for (auto& b : state->wol.bytes)
        b = static_cast<uint8_t>(random());
    for (auto& b : state->schedule.bytes)
        b = static_cast<uint8_t>(random());
    for (auto& b : state->record.bytes)
        b = static_cast<uint8_t>(random());
    state->adminId = "boss";
    state->adminPassword = std::string("p\xC3\xA4ss word\x01", 11);
    state->wolCount = 101;
    state->scheduleCount = 0;
    state->autoUpdate = 1;
    state->macRegistered = false;
    state->maxCenterIds = 99;

    const std::string path = tempPath("qvsim-state");
    std::string error;
    ASSERT_TRUE(saveState(*state, path, error)) << error;
    auto loaded = std::make_unique<SimState>();
    ASSERT_TRUE(loadState(*loaded, path, error)) << error;
    EXPECT_TRUE(*loaded == *state);
    // It holds the administrator's password: only its owner may read it (Windows has no file
    // modes: it takes its folder's rights).
    if (const auto mode = qvtest::posixFileMode(path)) {
        EXPECT_EQ(*mode, 0600u);
    }
    std::filesystem::remove(path);
}

TEST(StateFile, ABrokenFileIsRefusedAndChangesNothing) {
    const std::string path = tempPath("qvsim-broken");
    auto good = seededState();
    std::string error;
    ASSERT_TRUE(saveState(*good, path, error));
    std::ifstream in(path);
    std::string whole((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    in.close(); // Windows replaces and removes no file that is open

    const auto replaceLine = [&](const std::string& key, const std::string& line) {
        std::string text = whole;
        const size_t at = text.find("\n" + key + " ");
        const size_t end = text.find('\n', at + 1);
        return text.replace(at + 1, end - at - 1, line);
    };
    const std::vector<std::pair<const char*, std::string>> broken{
        {"wrong version", "qvsim-state 2\n" + whole.substr(whole.find('\n') + 1)},
        {"short record", replaceLine("record", "record 00ff")},
        {"count past the table", replaceLine("wol", "wol 102 " + std::string(20200, '0'))},
        {"bad hexadecimal", replaceLine("block-ips", "block-ips 1 " + std::string(20200, 'x'))},
        {"unknown entry", whole + "colour blue\n"},
        {"missing record", replaceLine("record", "")},
        {"missing table", replaceLine("wol", "")},
        {"missing number", replaceLine("auto-update", "")},
        {"password without a value", replaceLine("admin-password", "admin-password")},
        {"surplus field", replaceLine("max-center-ids", "max-center-ids 20 21")},
        {"entry twice", whole + "auto-update 0\n"},
        {"one line far too long", "qvsim-state 1\nrecord " + std::string(5 << 20, '0')},
        {"empty", ""},
    };
    for (const auto& [what, text] : broken) {
        std::ofstream(path, std::ios::trunc) << text;
        auto state = seededState();
        state->adminId = "untouched";
        const SimState before = *state;
        EXPECT_FALSE(loadState(*state, path, error)) << what;
        EXPECT_FALSE(error.empty()) << what;
        EXPECT_TRUE(*state == before) << what;
    }
    EXPECT_FALSE(loadState(*good, path + ".missing", error));
    EXPECT_FALSE(loadState(*good, "/dev/zero", error));
    std::filesystem::remove(path);
}

TEST(StateFile, RefusesTextsTheLogonCannotCarryAndCountsPastTheLimit) {
    const std::string path = tempPath("qvsim-strict");
    const std::string whole = stateText(*seededState());
    // The text with the line of `key` replaced, and that line's number.
    const auto withLine = [&](const std::string& key, const std::string& line) {
        const size_t at = whole.find("\n" + key + " ");
        const auto number = std::count(whole.begin(), whole.begin() + static_cast<long>(at), '\n');
        return std::make_pair(
            std::string(whole).replace(at + 1, whole.find('\n', at + 1) - at - 1, line),
            ":" + std::to_string(number + 2) + ": ");
    };
    const size_t ids = whole.find("\ncenter-ids ") + 14;
    const std::string idBytes = whole.substr(ids, whole.find('\n', ids) - ids);
    for (const auto& [text, line] :
         {withLine("admin-id", "admin-id " + std::string(64, '6')),
          withLine("admin-password", "admin-password 00"), withLine("admin-id", "admin-id 610062"),
          withLine("admin-password", "admin-password " + std::string(2 << 20, '6')),
          withLine("center-ids", "center-ids 21 " + idBytes)}) {
        auto state = seededState();
        const SimState before = *state;
        std::string error;
        EXPECT_FALSE(parseState(*state, text, path, error)) << line;
        EXPECT_NE(error.find(path + line), std::string::npos) << error;
        EXPECT_TRUE(*state == before) << line;
    }
    auto state = seededState();
    std::string error;
    EXPECT_TRUE(parseState(
        *state, withLine("admin-password", "admin-password " + std::string(126, '6')).first, path,
        error))
        << error;
}

TEST(StateFile, RefusesAFileThatIsNotItsOwnRegularFile) {
    namespace fs = std::filesystem;
    const fs::path folder = tempPath("qvsim-kinds");
    fs::remove_all(folder);
    fs::create_directories(folder);
    std::string error;
    ASSERT_TRUE(saveState(*seededState(), (folder / "good").string(), error));
    std::error_code code;
    fs::create_symlink(folder / "good", folder / "link", code);
    fs::copy_file(folder / "good", folder / "shared");
    fs::permissions(folder / "shared", fs::perms::others_write, fs::perm_options::add);
    fs::copy_file(folder / "good", folder / "foreign");
    const bool modes = qvtest::posixFileMode(folder.string()).has_value();
    const std::vector<std::tuple<const char*, bool, const char*>> cases{
        {"link", !code && modes, "link"}, // links under wine are not Windows' own
        {"shared", modes, "other users may write"},
        {"foreign", simtest::giveToAnotherUser((folder / "foreign").string()), "another user"},
        {"pipe", simtest::makePipe((folder / "pipe").string()), "not a regular file"},
        {"", true, "not a regular file"}, // the folder itself
    };
    for (const auto& [name, possible, reason] : cases) {
        auto state = seededState();
        const SimState before = *state;
        if (possible) {
            EXPECT_FALSE(loadState(*state, (folder / name).string(), error)) << name;
            EXPECT_NE(error.find(reason), std::string::npos) << error;
            EXPECT_TRUE(*state == before) << name;
        }
    }
    auto state = seededState();
    EXPECT_TRUE(loadState(*state, (folder / "good").string(), error)) << error;
    fs::remove_all(folder);
}

} // namespace
} // namespace qv::sim
