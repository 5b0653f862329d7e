// What a restore shows before it writes: rows added, removed and changed against the appliance,
// paired by what names them; the network settings' changes and when they cut the client off;
// the limits that refuse a table; and base64 taken only in its one canonical form.

#include "backup/RestorePreview.h"
#include "backup/Base64.h"
#include "backup/NetworkRestore.h"
#include "backup/RestoreChoices.h"
#include "backup/RestoreLimits.h"

#include <gtest/gtest.h>

namespace qv::backup {
namespace {

using Kind = RowChange::Kind;

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

TEST(RestorePreview, PairsRowsByNameAndTellsAddedRemovedAndChanged) {
    auto now = std::make_unique<Backup>(), restored = std::make_unique<Backup>();
    setWol(*now, {{"pc", "00:00:00:00:00:01"}, {"pc", "00:00:00:00:00:02"}, {"nas", "m1"}});
    setWol(*restored, {{"pc", "00:00:00:00:00:01"}, {"pc", "00:00:00:00:00:09"}, {"ups", "m2"}});
    TablePreview p = previewTable(Table::Wol, *now, *restored);
    EXPECT_TRUE(p.differs);
    ASSERT_EQ(p.rows.size(), 3u);
    EXPECT_EQ(p.rows[0].kind, Kind::Removed);
    EXPECT_EQ(p.rows[0].text, R"({"name":"nas","mac":"m1"})");
    EXPECT_EQ(p.rows[1].kind, Kind::Changed); // the second "pc" with the second "pc"
    EXPECT_EQ(p.rows[1].before, R"({"name":"pc","mac":"00:00:00:00:00:02"})");
    EXPECT_EQ(p.rows[2].kind, Kind::Added);

    // Only the appliance's own bytes of a slot differ: a change, shown as such.
    *restored = *now;
    restored->wol.bytes[0] = 0x7F;
    p = previewTable(Table::Wol, *now, *restored);
    ASSERT_EQ(p.rows.size(), 1u);
    EXPECT_EQ(p.rows[0].text, p.rows[0].before);
    // A byte past the count is still a difference to write, with no row to show.
    *restored = *now;
    restored->wol.bytes[WolTable::kSize - 1] = 1;
    p = previewTable(Table::Wol, *now, *restored);
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
