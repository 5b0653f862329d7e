// The sequencing qvctl and the window share: the order tables are written in, which answer
// confirms a write, what a stopped restore reports, and replies read with the store's limits.

#include "core/backup/TransferSteps.h"

#include "link/Commands.h"

#include <gtest/gtest.h>

namespace qv::backup {
namespace {

TEST(TransferSteps, WritesInOneOrderAndCountsATableOnlyOnItsConfirmation) {
    EXPECT_EQ(writingOrder({Table::Network, Table::Wol, Table::CenterIds, Table::Wol}),
              (std::vector<Table>{Table::CenterIds, Table::Wol, Table::Network}));

    auto b = std::make_unique<Backup>();
    b->network.setLinkPort(network::kDefaultLinkPort);
    b->network.setDataPort(network::kDefaultDataPort);
    b->network.setWebPort(network::kDefaultWebPort);
    NetworkConfigRecord ntpOnly = b->network;
    ntpOnly.setNtpServer("pool.example");
    const NetworkRestore unchanged = planNetworkRestore(b->network, b->network, 1252, {});
    const NetworkRestore ntp = planNetworkRestore(b->network, ntpOnly, 1252, {});
    EXPECT_TRUE(writingSteps(Table::Network, *b, unchanged).empty());
    // A new NTP server alone is set without Save & Reboot.
    const std::vector<Step> ntpSteps = writingSteps(Table::Network, *b, ntp);
    ASSERT_EQ(ntpSteps.size(), 1);
    EXPECT_EQ(ntpSteps[0].answer, ReplyEvent::NtpServerSet);

    using E = ReplyEvent;
    const struct {
        Table table;
        LinkEvent answer;
        bool confirms;
    } cases[] = {
        {Table::CenterIds, {E::CenterIdsApplied, result::kSuccess, {}}, true},
        {Table::CenterIds, {E::CenterIdsApplied, result::kSuccess + 1, {}}, false},
        {Table::Wol, {E::CenterIdsApplied, result::kSuccess, {}}, false},
        {Table::BlockIps, {E::BlockIpsApplied, 0, {}}, false},
        {Table::Schedule, {E::SchedulesApplied, result::kSuccess, {}}, true},
        // The automatic-update answer carries no verdict: its arrival confirms.
        {Table::AutoUpdate, {E::AutoUpdateApplied, 0, {}}, true},
    };
    for (const auto& c : cases) {
        const std::vector<Step> steps = writingSteps(c.table, *b, unchanged);
        ASSERT_EQ(steps.size(), 1) << tableName(c.table);
        EXPECT_EQ(confirms(steps[0], c.answer), c.confirms) << tableName(c.table);
    }

    RestoreLedger ledger{{Table::CenterIds, Table::Wol, Table::Schedule}, 0};
    EXPECT_EQ(ledger.outcome().args,
              (std::vector<std::string>{"none", "Center IDs, Wake-on-LAN, IO schedule"}));
    ledger.written = 1;
    EXPECT_EQ(ledger.outcome().id, StringId::RestorePartial);
    EXPECT_EQ(ledger.outcome().args,
              (std::vector<std::string>{"Center IDs", "Wake-on-LAN, IO schedule"}));
    ledger.written = 3;
    EXPECT_EQ(ledger.outcome().id, StringId::RestoreDone);
    EXPECT_EQ(ledger.outcome().args,
              (std::vector<std::string>{"Center IDs, Wake-on-LAN, IO schedule"}));
}

TEST(TransferSteps, ReadingTakesEachReplyAsTheStoreWould) {
    auto b = std::make_unique<Backup>();
    std::vector<uint8_t> wol(WolTable::kSize, 0x11);
    takeReading(*b, {ReplyEvent::WolArrived, 5000, wol});
    EXPECT_EQ(b->wolCount, static_cast<int32_t>(WolTable::kSlots));
    EXPECT_EQ(b->wol.bytes[WolTable::kSize - 1], 0x11);
    // A negative count reads as none; a new center ID table replaces the old one whole.
    b->centerIds.bytes[0] = 0x7F;
    takeReading(*b, {ReplyEvent::CenterIdsArrived, -4, {1, 2}});
    EXPECT_EQ(b->centerIdCount, 0);
    EXPECT_EQ(b->centerIds.bytes[0], 1);
    EXPECT_EQ(b->centerIds.bytes[2], 0);
    std::vector<uint8_t> record(NetworkConfigRecord{}.size(), 0);
    record[0] = 0x42;
    takeReading(*b, {ReplyEvent::NetworkArrived, 0, record});
    EXPECT_EQ(b->network.data()[0], 0x42);
    EXPECT_EQ(b->summary.data()[0], 0);
    takeReading(*b, {ReplyEvent::AutoUpdateArrived, result::kAutoUpdateOff, {}});
    EXPECT_EQ(b->autoUpdate, result::kAutoUpdateOff);
    // An answer that is no reading changes nothing.
    takeReading(*b, {ReplyEvent::WolApplied, 3, {}});
    EXPECT_EQ(b->wolCount, static_cast<int32_t>(WolTable::kSlots));
}

} // namespace
} // namespace qv::backup
