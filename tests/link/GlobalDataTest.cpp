#include "link/CGlobalData.h"
#include "link/CMySocket.h"
#include "link/FrameReaders.h"
#include "link/LinkEvent.h"
#include "link/Requests.h"
#include "tests/link/TestSupport.h"
#include "tests/support/ScriptedAppliance.h"

#include <gtest/gtest.h>

using namespace qv;
using qvtest::Bytes;

namespace {

// Reads `wire` as the receive thread would and applies every event to `store`, as the consumer
// does on its own thread.
void receiveInto(CGlobalData& store, const Bytes& wire) {
    for (const LinkEvent& event : qvtest::readAllReplies(wire).events)
        applyReplyToStore(store, event);
}

template <class Table> Bytes bytesOf(const Table& table) {
    return Bytes(table.bytes.begin(), table.bytes.end());
}

TEST(GlobalData, InitialValues) {
    CGlobalData store;
    EXPECT_EQ(store.PageIndex, 0);
    EXPECT_EQ(store.ioBusy, 0);
    EXPECT_EQ(store.maxCenterIdCount, 10);
    EXPECT_EQ(store.maxScheduleCount, 0);
    EXPECT_EQ(store.maxStandbyCount, 0);
    EXPECT_EQ(store.ioScheduleEnabled, 0);
    for (const int32_t count : {store.centerIdCount, store.wolCount, store.blacklistCount,
                                store.blockIpCount, store.scheduleCount, store.ioDeviceCount})
        EXPECT_EQ(count, 0);
    EXPECT_EQ(store.centerIdTable, CenterIdTable{});
    ASSERT_TRUE(store.blacklist && store.scheduleTable && store.ioListTable);
    EXPECT_EQ(*store.blacklist, BlacklistEntries{});
    EXPECT_FALSE(store.link);
    EXPECT_FALSE(store.isConnected());
    EXPECT_FALSE(store.send(request::reboot()));
}

TEST(GlobalData, ProcessStoreIsCreatedOnFirstUseAndRenewedAfterDestroy) {
    CGlobalData& first = CGlobalData::Get();
    EXPECT_EQ(&first, &CGlobalData::Get());
    first.PageIndex = 5;
    CGlobalData::Destroy();
    EXPECT_EQ(CGlobalData::Get().PageIndex, 0);
    CGlobalData::Destroy();
}

TEST(GlobalData, CenterIdReplyReplacesTheTable) {
    CGlobalData store;
    const Bytes plain = qvtest::pattern(13130, 4);
    receiveInto(store, qvtest::refFrame(4, 3, plain));
    EXPECT_EQ(store.centerIdCount, 3);
    EXPECT_EQ(bytesOf(store.centerIdTable), plain);

    // Count 0: no table follows, and the old one is gone.
    receiveInto(store, qvtest::refHeader(4, 0));
    EXPECT_EQ(store.centerIdCount, 0);
    EXPECT_EQ(store.centerIdTable, CenterIdTable{});

    receiveInto(store, qvtest::refFrame(4, 3, plain));
    receiveInto(store, qvtest::refHeader(4, -7));
    EXPECT_EQ(store.centerIdCount, 0);
    EXPECT_EQ(store.centerIdTable, CenterIdTable{});
}

// Tables that always travel whole are taken as they came, also with a count of 0.
TEST(GlobalData, WolAndBlockIpRepliesKeepWhatTheyCarried) {
    CGlobalData store;
    const Bytes wol = qvtest::pattern(10100, 6);
    const Bytes blockIps = qvtest::pattern(10100, 29);
    receiveInto(store,
                qvtest::concat({qvtest::refFrame(6, 0, wol), qvtest::refFrame(29, 0, blockIps)}));
    EXPECT_EQ(store.wolCount, 0);
    EXPECT_EQ(bytesOf(store.wolTable), wol);
    EXPECT_EQ(store.blockIpCount, 0);
    EXPECT_EQ(bytesOf(store.blockIpTable), blockIps);
}

// Without a table in the reply, the IO list and the schedule keep their previous contents.
TEST(GlobalData, IoListAndScheduleKeepTheirTableWhenNoneCame) {
    CGlobalData store;
    const Bytes ioList = qvtest::pattern(45056, 21);
    const Bytes schedule = qvtest::pattern(90112, 22);
    receiveInto(store, qvtest::concat(
                           {qvtest::refFrame(21, 2, ioList), qvtest::refFrame(22, 9, schedule)}));
    EXPECT_EQ(store.ioDeviceCount, 2);
    EXPECT_EQ(store.scheduleCount, 9);
    for (const int32_t count : {0, -1}) {
        receiveInto(store,
                    qvtest::concat({qvtest::refHeader(21, count), qvtest::refHeader(22, count)}));
        EXPECT_EQ(store.ioDeviceCount, 0);
        EXPECT_EQ(store.scheduleCount, 0);
        EXPECT_EQ(bytesOf(*store.ioListTable), ioList);
        EXPECT_EQ(bytesOf(*store.scheduleTable), schedule);
    }
}

// However large the count on the wire, the store's count stays within the table's slots.
TEST(GlobalData, CountsStayWithinTheSlots) {
    struct Case {
        uint8_t cmd;
        size_t payload;
        bool scrambled;
        int32_t slots;
        int32_t CGlobalData::*count;
    };
    const std::vector<Case> cases{
        {4, 13130, true, 101, &CGlobalData::centerIdCount},
        {6, 10100, true, 101, &CGlobalData::wolCount},
        {21, 45056, true, 1024, &CGlobalData::ioDeviceCount},
        {22, 90112, true, 2048, &CGlobalData::scheduleCount},
        {29, 10100, true, 100, &CGlobalData::blockIpCount},
    };
    for (const Case& c : cases) {
        for (const int32_t count : {c.slots, c.slots + 1, INT32_MAX}) {
            SCOPED_TRACE(std::to_string(c.cmd) + " with " + std::to_string(count));
            CGlobalData store;
            const Bytes plain = qvtest::pattern(c.payload, c.cmd);
            receiveInto(store, qvtest::refFrame(c.cmd, count, plain, c.scrambled));
            EXPECT_EQ(store.*c.count, c.slots);
        }
    }
    // Blacklist: more entries than the store holds.
    CGlobalData store;
    const Bytes entries = qvtest::pattern(2050 * 52, 27);
    receiveInto(store, qvtest::refFrame(27, 2050, entries, false));
    EXPECT_EQ(store.blacklistCount, 2048);
    EXPECT_TRUE(
        std::equal(store.blacklist->bytes.begin(), store.blacklist->bytes.end(), entries.begin()));
}

TEST(GlobalData, BlacklistReplyFillsTheLeadingEntries) {
    CGlobalData store;
    const Bytes first = qvtest::pattern(5 * 52, 1);
    receiveInto(store, qvtest::refFrame(27, 5, first, false));
    EXPECT_EQ(store.blacklistCount, 5);
    EXPECT_TRUE(std::equal(first.begin(), first.end(), store.blacklist->bytes.begin()));
    receiveInto(store, qvtest::refHeader(27, 0));
    EXPECT_EQ(store.blacklistCount, 0);
}

// Events made by hand (not by the reader) with counts and payloads that do not fit: the store
// still never counts or copies past its tables.
TEST(GlobalData, OversizedEventsAreCutToTheTables) {
    CGlobalData store;
    const Bytes big = qvtest::pattern(200000, 1);
    const struct {
        ReplyEvent code;
        int32_t CGlobalData::*count;
        int32_t slots;
    } cases[] = {{ReplyEvent::CenterIdsArrived, &CGlobalData::centerIdCount, 101},
                 {ReplyEvent::WolArrived, &CGlobalData::wolCount, 101},
                 {ReplyEvent::IoListArrived, &CGlobalData::ioDeviceCount, 1024},
                 {ReplyEvent::SchedulesArrived, &CGlobalData::scheduleCount, 2048},
                 {ReplyEvent::BlacklistArrived, &CGlobalData::blacklistCount, 2048},
                 {ReplyEvent::BlockIpsArrived, &CGlobalData::blockIpCount, 100}};
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.code));
        EXPECT_TRUE(applyReplyToStore(store, LinkEvent{c.code, INT32_MAX, big}));
        EXPECT_EQ(store.*c.count, c.slots);
        EXPECT_TRUE(applyReplyToStore(store, LinkEvent{c.code, INT32_MIN, {}}));
        EXPECT_EQ(store.*c.count, 0);
    }
    EXPECT_TRUE(std::equal(store.scheduleTable->bytes.begin(), store.scheduleTable->bytes.end(),
                           big.begin()));
    EXPECT_TRUE(
        std::equal(store.blockIpTable.bytes.begin(), store.blockIpTable.bytes.end(), big.begin()));
}

// Events without a table leave the store alone.
TEST(GlobalData, EventsWithoutATableChangeNothing) {
    CGlobalData store;
    for (const ReplyEvent code :
         {ReplyEvent::LogonAnswered, ReplyEvent::SummaryArrived, ReplyEvent::AdminChangeAnswered,
          ReplyEvent::CenterIdsApplied, ReplyEvent::WolApplied, ReplyEvent::NetworkArrived,
          ReplyEvent::DdnsIdChecked, ReplyEvent::RebootAnswered, ReplyEvent::ServerTimeArrived,
          ReplyEvent::LinkEnded}) {
        LinkEvent event{code, 77, Bytes(316, 0xAB)};
        EXPECT_FALSE(applyReplyToStore(store, event)) << static_cast<int>(code);
    }
    EXPECT_EQ(store.centerIdCount, 0);
    EXPECT_EQ(store.maxCenterIdCount, 10);
}

// Destroying the store while connected closes the link first and waits for the receive thread:
// the link's last event is already there when the destructor returns.
TEST(GlobalData, DestroyingTheStoreClosesTheLink) {
    qvtest::ScriptedAppliance appliance{qvtest::ScriptedAppliance::kByHand};
    qvtest::EventQueue events;
    {
        CGlobalData store;
        store.link = std::make_unique<CMySocket>();
        ASSERT_TRUE(store.link->Connect(&events, appliance.address()));
        ASSERT_TRUE(appliance.accept());
        ASSERT_TRUE(store.isConnected());
        ASSERT_TRUE(store.send(request::reboot()));
        EXPECT_EQ(appliance.read(8), qvtest::refHeader(18, 0));
    }
    const auto all = events.takeAll();
    ASSERT_EQ(all.size(), 1u);
    EXPECT_EQ(all[0].code, ReplyEvent::LinkEnded);
    EXPECT_TRUE(appliance.clientClosed());
}

} // namespace
