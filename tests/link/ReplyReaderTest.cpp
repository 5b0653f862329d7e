#include "link/FrameReaders.h"
#include "tests/link/TestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

using namespace qv;
using qvtest::Bytes;
using qvtest::refFrame;
using qvtest::refHeader;

namespace {

using qvtest::everyKindOnce;
using qvtest::expectEvents;
using qvtest::Follows;
using qvtest::ReplyKind;
using qvtest::replyKinds;
using qvtest::Sample;
using qvtest::sampleOf;
using qvtest::typicalCount;

// Each reply code becomes the event it should, whose name carries the number the window message
// and the diagnostic lines use: reply 10 (the DDNS check) is event 9, reply 18 (reboot) is 15.
TEST(ReplyReader, EveryReplyKindBecomesItsEventWithItsPayload) {
    std::vector<LinkEvent> expected;
    const Bytes wire = everyKindOnce(expected);
    const auto outcome = qvtest::readAllReplies(wire);
    expectEvents(outcome.events, expected);
    EXPECT_EQ(outcome.consumed, 1u); // reply 25
    for (const ReplyKind& kind : replyKinds())
        EXPECT_EQ(static_cast<int>(kind.event), kind.eventNumber)
            << "reply " << static_cast<int>(kind.cmd);
    EXPECT_EQ(static_cast<int>(ReplyEvent::LinkEnded), 255);
}

// One byte per read, odd pieces that straddle headers and payloads, and everything at once all
// give the same events.
TEST(ReplyReader, ChunkingDoesNotChangeTheEvents) {
    std::vector<LinkEvent> expected;
    const Bytes wire = everyKindOnce(expected);
    const std::vector<std::vector<size_t>> chunkings{{},  {1},    {3, 5, 7},
                                                     {8}, {4096}, {9, 1, 13130}};
    for (const auto& chunks : chunkings) {
        SCOPED_TRACE("chunking of " + std::to_string(chunks.empty() ? 0 : chunks[0]));
        expectEvents(qvtest::readAllReplies(wire, chunks).events, expected);
    }
}

// Codes the client does not know are bare headers: nothing is read after them, nothing is
// posted, and the frame after them is read correctly.
TEST(ReplyReader, UnknownCodesAreConsumedAsBareHeaders) {
    std::set<int> known;
    for (const ReplyKind& kind : replyKinds())
        known.insert(kind.cmd);
    Bytes wire;
    size_t unknown = 0;
    for (int cmd = 0; cmd <= 255; ++cmd) {
        if (known.count(cmd))
            continue;
        const Bytes header = refHeader(static_cast<uint8_t>(cmd), 5000);
        wire.insert(wire.end(), header.begin(), header.end());
        ++unknown;
    }
    EXPECT_EQ(unknown, 256u - 29u);
    const Bytes logon = refFrame(1, 150);
    wire.insert(wire.end(), logon.begin(), logon.end());

    const auto outcome = qvtest::readAllReplies(wire);
    EXPECT_EQ(outcome.consumed, unknown);
    expectEvents(outcome.events, {LinkEvent{ReplyEvent::LogonAnswered, 150, {}}});
}

// Negative counts carry no payload, except where the table always follows.
TEST(ReplyReader, NegativeCountsCarryNoPayload) {
    for (const ReplyKind& kind : replyKinds()) {
        if (kind.follows != Follows::WhenPositive && kind.follows != Follows::PerEntry)
            continue;
        for (const int32_t count : {0, -1, INT32_MIN}) {
            SCOPED_TRACE(std::to_string(kind.cmd) + " with " + std::to_string(count));
            const Bytes wire = qvtest::concat({refHeader(kind.cmd, count), refFrame(3, 101)});
            const auto outcome = qvtest::readAllReplies(wire);
            expectEvents(outcome.events, {LinkEvent{kind.event, count, {}},
                                          LinkEvent{ReplyEvent::AdminChangeAnswered, 101, {}}});
        }
    }
}

// A count above the table's slots is limited before anything is read: the payload is the
// table's fixed size, the event's count is the number of slots, and the next frame is in step.
TEST(ReplyReader, OverCapacityCountsAreLimitedToTheTable) {
    for (const ReplyKind& kind : replyKinds()) {
        if (kind.slots == 0 || kind.follows == Follows::PerEntry)
            continue;
        for (const int32_t count : {kind.slots, kind.slots + 1, INT32_MAX}) {
            SCOPED_TRACE(std::to_string(kind.cmd) + " with " + std::to_string(count));
            const Bytes plain = qvtest::pattern(kind.size, count);
            const Bytes wire = qvtest::concat(
                {refFrame(kind.cmd, count, plain, kind.scrambled), refFrame(5, 101)});
            const auto outcome = qvtest::readAllReplies(wire);
            expectEvents(outcome.events, {LinkEvent{kind.event, kind.slots, plain},
                                          LinkEvent{ReplyEvent::CenterIdsApplied, 101, {}}});
        }
    }
}

// More blacklist entries than the store holds: the first 2048 are kept, the rest is read and
// dropped, and the next frame is read correctly.
TEST(ReplyReader, BlacklistAboveCapacityKeepsTheFirstEntriesAndStaysInStep) {
    for (const int32_t count : {2048, 2049, 2100}) {
        SCOPED_TRACE(count);
        const Bytes entries = qvtest::pattern(static_cast<size_t>(count) * 52, 27);
        const Bytes wire =
            qvtest::concat({refFrame(27, count, entries, false), refFrame(24, 1700000000)});
        const auto outcome = qvtest::readAllReplies(wire, {1000, 1});
        const Bytes kept(entries.begin(), entries.begin() + 2048 * 52);
        expectEvents(outcome.events, {LinkEvent{ReplyEvent::BlacklistArrived, 2048, kept},
                                      LinkEvent{ReplyEvent::ServerTimeArrived, 1700000000, {}}});
    }
}

// A stream cut anywhere inside a frame delivers the frames before it and nothing of the cut one.
// Every offset of every frame kind with a payload; for the two largest tables the offsets of the
// header, both ends of the payload and a spread in between.
TEST(ReplyReader, CutAtEveryOffsetDeliversNothingOfTheCutFrame) {
    for (const ReplyKind& kind : replyKinds()) {
        if (kind.follows == Follows::Nothing)
            continue;
        const Sample s = sampleOf(kind, typicalCount(kind), kind.cmd);
        const Bytes wire = qvtest::concat({refFrame(7, 101), s.wire});
        const size_t start = 8;
        const size_t end = wire.size();
        const bool every = s.wire.size() < 20000;
        SCOPED_TRACE(kind.cmd);
        for (size_t cut = start; cut < end; ++cut) {
            if (!every && cut > start + 80 && cut < end - 80 && cut % 97 != 0)
                continue;
            qvtest::MemorySource source(wire.data(), cut);
            ReplyReader reader(source);
            LinkEvent event;
            ASSERT_EQ(reader.next(event), ReplyReader::Step::Event);
            ASSERT_EQ(event.code, ReplyEvent::WolApplied);
            LinkEvent cutEvent;
            ASSERT_EQ(reader.next(cutEvent), ReplyReader::Step::End) << "cut at " << cut;
            ASSERT_EQ(reader.next(cutEvent), ReplyReader::Step::End) << "cut at " << cut;
        }
        // Uncut, the same bytes give both events.
        EXPECT_EQ(qvtest::readAllReplies(wire).events.size(), 2u);
    }
}

// A reader reused for frames of different sizes never hands out bytes of an earlier payload.
TEST(ReplyReader, PayloadsAreExactlyTheirFrame) {
    const Bytes big = qvtest::pattern(3 * 52, 1);
    const Bytes small = qvtest::pattern(1 * 52, 2);
    const Bytes wire = qvtest::concat(
        {refFrame(27, 3, big, false), refFrame(27, 1, small, false), refFrame(27, 0, {}, false)});
    expectEvents(qvtest::readAllReplies(wire).events,
                 {LinkEvent{ReplyEvent::BlacklistArrived, 3, big},
                  LinkEvent{ReplyEvent::BlacklistArrived, 1, small},
                  LinkEvent{ReplyEvent::BlacklistArrived, 0, {}}});
}

} // namespace
