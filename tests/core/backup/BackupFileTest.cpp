// The backup file on its own: every byte of every table survives writing and reading, and a
// file that is not a whole, consistent backup of a known version is refused with its reason.

#include "core/backup/BackupFile.h"
#include "core/backup/BackupViews.h"
#include "core/backup/Base64.h"

#include "tests/support/TestPlatform.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <unistd.h>

namespace qv::backup {
namespace {

// Every byte random (texts without terminators, invalid code page bytes, reserved bytes set),
// so nothing passes by being zero.
std::unique_ptr<Backup> noisyBackup() {
    auto b = std::make_unique<Backup>();
    std::mt19937 random(7);
    const auto fill = [&](auto& record) {
        for (uint8_t& byte : record.bytes)
            byte = static_cast<uint8_t>(random());
    };
    fill(b->summary), fill(b->network), fill(b->centerIds), fill(b->wol), fill(b->blockIps);
    fill(b->schedule), fill(b->ioDevices);
    b->codePage = 949;
    b->writtenAt = "2026-12-08T11:00:00Z";
    b->appliance = "192.0.2.1";
    b->centerIdCount = 100, b->wolCount = 3, b->blockIpCount = 97, b->scheduleCount = 2048;
    b->ioDeviceCount = 1024, b->autoUpdate = -7;
    return b;
}

TEST(BackupFile, EveryByteOfEveryTableSurvivesTheFile) {
    const auto original = noisyBackup();
    const ReadResult read = parseBackup(backupText(*original), "b.json");
    ASSERT_TRUE(read.ok()) << qv::format(read.error);
    const Backup& b = *read.backup;
    EXPECT_EQ(b.summary, original->summary);
    EXPECT_EQ(b.network, original->network);
    EXPECT_EQ(b.centerIds, original->centerIds);
    EXPECT_EQ(b.wol, original->wol);
    EXPECT_EQ(b.blockIps, original->blockIps);
    EXPECT_EQ(b.schedule, original->schedule);
    EXPECT_EQ(b.ioDevices, original->ioDevices);
    EXPECT_EQ(std::tie(b.centerIdCount, b.wolCount, b.blockIpCount, b.scheduleCount,
                       b.ioDeviceCount, b.autoUpdate, b.codePage, b.appliance),
              std::tie(original->centerIdCount, original->wolCount, original->blockIpCount,
                       original->scheduleCount, original->ioDeviceCount, original->autoUpdate,
                       original->codePage, original->appliance));
}

TEST(BackupFile, RefusesFilesThatAreNotWholeConsistentBackups) {
    const std::string good = backupText(*noisyBackup());
    const auto edited = [&](std::function<void(Json&)> edit) {
        Json root = Json::parse(good);
        edit(root);
        return root.dump();
    };
    std::string manyKeys = "{";
    for (int i = 0; i < 20000; ++i)
        manyKeys += "\"k" + std::to_string(i) + "\": 0, ";
    const std::vector<uint8_t> shortRecord(130, 1);
    const std::string shortBytes = toBase64(shortRecord.data(), shortRecord.size());
    struct Case {
        const char* what;
        std::string text;
        StringId refusal;
    } cases[] = {
        {"not JSON", "name, MAC\npc, 00:11:22:33:44:55\n", StringId::BackupNotABackup},
        {"other JSON", R"({"format": "something else", "version": 1})", StringId::BackupNotABackup},
        {"no version", edited([](Json& r) { r.erase("version"); }), StringId::BackupNotABackup},
        {"newer version", edited([](Json& r) { r["version"] = 2; }), StringId::BackupNewerFormat},
        {"truncated", good.substr(0, good.size() / 2), StringId::BackupNotJson},
        {"deeply nested", std::string(100000, '[') + std::string(100000, ']'),
         StringId::BackupNotABackup},
        // Each key of an object is found by walking those before it: a crafted object of many
        // keys is refused, not built.
        {"object of 20000 keys", manyKeys + good.substr(1), StringId::BackupNotABackup},
        {"part missing", edited([](Json& r) { r.erase("schedule"); }), StringId::BackupPartMissing},
        {"unknown code page", edited([](Json& r) { r["codePage"] = 437; }),
         StringId::BackupPartMissing},
        {"bad base64", edited([](Json& r) { r["wol"]["bytes"] = "AAAA!AAA"; }),
         StringId::BackupBadBase64},
        {"base64 with a line break", edited([](Json& r) {
             std::string bytes = r["wol"]["bytes"];
             r["wol"]["bytes"] = bytes.insert(76, "\n");
         }),
         StringId::BackupBadBase64},
        {"wrong record size", edited([&](Json& r) { r["network"]["bytes"] = shortBytes; }),
         StringId::BackupWrongSize},
        {"count beyond the slots", edited([](Json& r) { r["centerids"]["count"] = 102; }),
         StringId::BackupBadCount},
        {"negative count", edited([](Json& r) { r["blockips"]["count"] = -1; }),
         StringId::BackupBadCount},
        {"count as text", edited([](Json& r) { r["wol"]["count"] = "3"; }),
         StringId::BackupPartMissing},
        {"edited field", edited([](Json& r) { r["network"]["fields"]["linkPort"] = 1; }),
         StringId::BackupFieldsDisagree},
        {"added entry",
         edited([](Json& r) { r["wol"]["entries"].push_back(r["wol"]["entries"][0]); }),
         StringId::BackupFieldsDisagree},
        {"dropped field", edited([](Json& r) { r["centerids"]["entries"][5].erase("password"); }),
         StringId::BackupFieldsDisagree},
        {"auto update value out of range",
         edited([](Json& r) { r["autoupdate"]["value"] = 4294967296; }), StringId::BackupBadCount},
    };
    for (const Case& c : cases) {
        const ReadResult read = parseBackup(c.text, "b.json");
        EXPECT_FALSE(read.ok()) << c.what;
        EXPECT_EQ(read.error.id, c.refusal) << c.what << ": " << qv::format(read.error);
    }
}

TEST(BackupFile, IsWrittenPrivateAndAHugeFileIsRefusedUnread) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("backup-test-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::string path = (dir / "b.json").string();
    ASSERT_FALSE(writeBackupFile(*noisyBackup(), path).has_value());
    // Only its owner may read it (Windows has no file modes: it takes its folder's rights).
    if (const auto mode = qvtest::posixFileMode(path)) {
        EXPECT_EQ(*mode, 0600u);
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1) << "temporary left";
    EXPECT_TRUE(readBackupFile(path).ok());

    std::filesystem::resize_file(path, 100u * 1024 * 1024); // sparse: nothing to read
    EXPECT_EQ(readBackupFile(path).error.id, StringId::BackupTooLarge);
    EXPECT_EQ(readBackupFile((dir / "none").string()).error.id, StringId::BackupUnreadable);
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace qv::backup
