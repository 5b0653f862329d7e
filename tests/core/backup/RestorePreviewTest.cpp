// What a restore shows before it writes: rows added, removed and changed against the appliance,
// paired by what names them; the network settings' changes and when they cut the client off;
// the limits that refuse a table; and base64 taken only in its one canonical form.

#include "core/backup/RestorePreview.h"
#include "core/backup/Base64.h"
#include "core/backup/NetworkRestore.h"
#include "core/backup/RestoreChoices.h"
#include "core/backup/RestoreLimits.h"

#include <gtest/gtest.h>

namespace qv::backup {
namespace {

void setWol(Backup& b, const std::vector<std::pair<std::string, std::string>>& rows) {
    b.wol = WolTable{};
    b.wolCount = static_cast<int32_t>(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        WolEntry e;
        e.setNameUtf8(rows[i].first);
        e.setMacUtf8(rows[i].second);
        b.wol.setEntry(i, e);
    }
}

void setCenterIds(Backup& b, const std::vector<std::tuple<std::string, std::string, bool>>& rows) {
    b.centerIds = CenterIdTable{};
    b.centerIdCount = static_cast<int32_t>(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        CenterIdEntry e;
        e.setId(std::get<0>(rows[i]));
        e.setPassword(std::get<1>(rows[i]));
        e.setFileTransferProhibited(std::get<2>(rows[i]));
        b.centerIds.setEntry(i, e);
    }
}

// Rows are paired by what names them, so a deleted row is one removal and the rows below it,
// which only slid up, are not changes; a row taken out of order is a move; a change is told
// field by field under the page's column captions; a password changes unseen; rows differing
// only in uninterpreted bytes are one line for the table.
TEST(RestorePreview, TellsRowsByKeyAndChangesByField) {
    using Wol = std::vector<std::pair<std::string, std::string>>;
    struct Case {
        const char* what;
        Wol now, restored;
        std::vector<std::string> lines;
    } cases[] = {
        {"one of five deleted",
         {{"a", "m1"}, {"b", "m2"}, {"c", "m3"}, {"d", "m4"}, {"e", "m5"}},
         {{"a", "m1"}, {"c", "m3"}, {"d", "m4"}, {"e", "m5"}},
         {"Wake-on-LAN: 0 added, 1 removed, 0 changed, 0 moved", "  - Wake-on-LAN / b (m2)"}},
        {"same name, other MAC; one moved to the top",
         {{"pc", "m1"}, {"pc", "m2"}, {"nas", "m3"}},
         {{"nas", "m3"}, {"pc", "m1"}, {"pc", "m9"}},
         {"Wake-on-LAN: 1 added, 1 removed, 0 changed, 1 moved", "  - Wake-on-LAN / pc (m2)",
          "  > Wake-on-LAN / nas (m3): moved from place 3 to 1", "  + Wake-on-LAN / pc (m9)"}},
    };
    auto now = std::make_unique<Backup>(), restored = std::make_unique<Backup>();
    for (const Case& c : cases) {
        setWol(*now, c.now);
        setWol(*restored, c.restored);
        EXPECT_EQ(previewLines(previewTable(Table::Wol, *now, *restored)), c.lines) << c.what;
    }

    setCenterIds(*now, {{"busan", "pw", false}, {"seoul", "pw", false}});
    setCenterIds(*restored, {{"busan", "pw2", true}, {"seoul", "pw", false}, {"jeju", "x", true}});
    const TablePreview ids = previewTable(Table::CenterIds, *now, *restored);
    EXPECT_EQ(previewLines(ids),
              (std::vector<std::string>{"Center IDs: 1 added, 0 removed, 1 changed, 0 moved",
                                        "  ~ Center IDs / busan / 파일전송: "
                                        "허용 -> 금지",
                                        "  ~ Center IDs / busan / Password: changed (not shown)",
                                        "  + Center IDs / jeju (Name: , Group: 0, SuperUser: , "
                                        "로그삭제: 허용, "
                                        "파일전송: 금지)"}));
    const Json json = previewJson(ids);
    EXPECT_EQ(json["changed"][0]["fields"][1], (Json{{"column", "Password"}, {"hidden", true}}));
    EXPECT_EQ(json["added"][0]["row"], "jeju");
    EXPECT_EQ(json.dump().find("pw"), std::string::npos) << "a password in the preview";

    // Only the appliance's own bytes of slots differ: one line for the table.
    setWol(*now, {{"a", "m1"}, {"b", "m2"}});
    *restored = *now;
    restored->wol.bytes[0] = 0x7F;
    restored->wol.bytes[WolEntry::kSize] = 0x7F;
    EXPECT_EQ(
        previewLines(previewTable(Table::Wol, *now, *restored)),
        (std::vector<std::string>{
            "Wake-on-LAN: 0 added, 0 removed, 0 changed, 0 moved",
            "  ~ Wake-on-LAN: 2 entries differ only in bytes the client does not interpret"}));
    // A byte past the count is still a difference to write, with no row to show.
    *restored = *now;
    restored->wol.bytes[WolTable::kSize - 1] = 1;
    const TablePreview p = previewTable(Table::Wol, *now, *restored);
    EXPECT_TRUE(p.differs);
    EXPECT_TRUE(p.rows.empty());
    EXPECT_FALSE(previewTable(Table::Wol, *now, *now).differs);
}

TEST(RestorePreview, NamesScheduledDevicesTheTargetDoesNotList) {
    auto now = std::make_unique<Backup>(), restored = std::make_unique<Backup>();
    IoListEntry device;
    device.setId("IO-1");
    now->ioDevices.setEntry(0, device);
    now->ioDeviceCount = 1;
    for (const char* id : {"IO-1", "IO-2", "IO-2", "IO-3"}) {
        ScheduleEntry e;
        e.setId(id);
        restored->schedule.setEntry(static_cast<size_t>(restored->scheduleCount++), e);
    }
    EXPECT_EQ(devicesNotListed(*now, *restored), (std::vector<std::string>{"IO-2", "IO-3"}));
}

TEST(RestorePreview, ATableOverTheTargetsLimitIsRefused) {
    auto b = std::make_unique<Backup>();
    b->centerIdCount = 21, b->blockIpCount = 98, b->scheduleCount = 600;
    NetworkConfigRecord summary;
    summary.setMaxScheduleCount(500);
    const TargetLimits limits = targetLimits(20, summary);
    EXPECT_TRUE(checkLimit(Table::CenterIds, *b, limits));
    EXPECT_TRUE(checkLimit(Table::BlockIps, *b, limits));
    EXPECT_TRUE(checkLimit(Table::Schedule, *b, limits));
    b->centerIdCount = 20, b->blockIpCount = 97, b->scheduleCount = 500;
    for (const Table table : kAllTables)
        EXPECT_FALSE(checkLimit(table, *b, limits)) << tableName(table);
}

TEST(RestorePreview, NetworkSettingsWarnWhenTheyCutTheClientOff) {
    NetworkConfigRecord now;
    now.setIpAddress({10, 0, 0, 5});
    now.setNetMask({255, 255, 255, 0}), now.setGateway({10, 0, 0, 1});
    now.setLinkPort(12301), now.setDataPort(12302), now.setWebPort(80);
    struct Case {
        const char* what;
        std::array<uint8_t, 4> address;
        uint8_t dhcp;
        uint16_t webPort;
        size_t changes;
        std::optional<network::Warning> warning;
    } cases[] = {
        {"nothing changes", {10, 0, 0, 5}, 0, 80, 0, std::nullopt},
        {"a port, same address", {10, 0, 0, 5}, 0, 8080, 1, std::nullopt},
        {"web port 0 is sent as 80", {10, 0, 0, 5}, 0, 0, 0, std::nullopt},
        {"a new address", {10, 0, 0, 9}, 0, 80, 1, network::Warning::AddressMoves},
        // As on the network page, DHCP shows the addresses it gives up as 0.0.0.0.
        {"DHCP", {10, 0, 0, 5}, 1, 80, 4, network::Warning::AddressByDhcp},
    };
    const network::LinkView direct{{10, 0, 0, 5}, {10, 0, 0, 100}};
    for (const Case& c : cases) {
        NetworkConfigRecord restored = now;
        restored.setIpAddress(c.address), restored.setDhcp(c.dhcp), restored.setWebPort(c.webPort);
        restored.setDdnsId("elsewhere"); // not carried by Save & Reboot
        const NetworkRestore plan = planNetworkRestore(now, restored, 1252, direct);
        EXPECT_EQ(plan.preview.rows.size(), c.changes) << c.what;
        EXPECT_EQ(plan.preview.warnings.empty() ? std::nullopt
                                                : std::optional(plan.preview.warnings.front()),
                  c.warning)
            << c.what;
        EXPECT_EQ(plan.record.ddnsId(), "") << c.what;
    }

    // A backup that would leave the appliance where nobody can reach it cannot be restored.
    auto nowAll = std::make_unique<Backup>(), restoredAll = std::make_unique<Backup>();
    nowAll->network = now;
    for (const auto& [address, refused] : {std::pair{std::array<uint8_t, 4>{10, 0, 0, 9}, false},
                                           {{0, 0, 0, 0}, true},
                                           {{224, 0, 0, 1}, true}}) {
        restoredAll->network = now;
        restoredAll->network.setIpAddress(address);
        const NetworkRestore plan = planNetworkRestore(now, restoredAll->network, 1252, direct);
        const TableChoice choice =
            restoreChoices(*nowAll, *restoredAll, {}, plan)[static_cast<size_t>(Table::Network)];
        EXPECT_EQ(choice.refusal.has_value(), refused) << int(address[0]);
        if (refused) {
            EXPECT_EQ(choice.refusal->id, StringId::RestoreNetworkUnreachable);
        }
    }
}

TEST(Base64, TakesOnlyTheCanonicalForm) {
    EXPECT_EQ(fromBase64("AAEC/w=="), (std::vector<uint8_t>{0, 1, 2, 0xff}));
    EXPECT_EQ(toBase64(std::vector<uint8_t>{0, 1, 2, 0xff}.data(), 4), "AAEC/w==");
    for (const char* bad : {"AAE", "AA=A", "A===", "AAEC/x==", "AA E", "AAAA====", "=AAA"})
        EXPECT_FALSE(fromBase64(bad)) << bad;
}

} // namespace
} // namespace qv::backup
