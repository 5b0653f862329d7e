#include "link/Frame.h"
#include "link/Scrambler.h"
#include "tests/link/TestSupport.h"

#include <gtest/gtest.h>

#include <array>

using namespace qv;
using qvtest::Bytes;

namespace {

Bytes scrambled(const Bytes& plain) {
    Bytes out(plain.size());
    EXPECT_TRUE(ScrambleBlock(plain.data(), out.data(), plain.size()));
    return out;
}

TEST(Scrambler, KnownAnswers) {
    const Bytes logonHeader{1, 0, 0, 0, 100, 0, 0, 0};
    EXPECT_EQ(scrambled(logonHeader), (Bytes{0xa0, 0x3c, 0x2a, 0xbb, 0x52, 0x5a, 0x8e, 0x33}));

    EXPECT_EQ(scrambled(Bytes(16, 0)), (Bytes{0xa1, 0x0a, 0xb9, 0x8a, 0x1c, 0x5b, 0x54, 0x14, 0x24,
                                              0xe7, 0xa1, 0x8f, 0x66, 0x4c, 0xe8, 0xe6}));

    const auto header = encodeHeader({CMD_LOGIN_MSG, 100});
    EXPECT_EQ(Bytes(header.begin(), header.end()),
              (Bytes{0xa0, 0x3c, 0x2a, 0xbb, 0x52, 0x5a, 0x8e, 0x33}));
}

// Blocks of every kind the appliance sends, including the largest table; the key reaches every
// value, so any arithmetic slip (or overflow) shows here.
TEST(Scrambler, AgreesWithReferenceAndRoundTrips) {
    for (const size_t length : {size_t{1}, size_t{7}, size_t{316}, size_t{13130}, size_t{90112}}) {
        for (const uint32_t seed : {1u, 2u, 3u}) {
            const Bytes plain = qvtest::pattern(length, seed);
            const Bytes wire = scrambled(plain);
            EXPECT_EQ(wire, qvtest::refScramble(plain)) << length;
            Bytes back(length);
            ASSERT_TRUE(UnscrambleBlock(wire.data(), back.data(), length));
            EXPECT_EQ(back, plain) << length;
            EXPECT_EQ(qvtest::refUnscramble(wire), plain);
        }
    }
    // All-0xFF bytes push the key sum to its largest value.
    const Bytes ones(4096, 0xFF);
    EXPECT_EQ(scrambled(ones), qvtest::refScramble(ones));
}

TEST(Scrambler, InPlaceBothWays) {
    const Bytes plain = qvtest::pattern(1000, 9);
    Bytes buffer = plain;
    ASSERT_TRUE(ScrambleBlock(buffer.data(), buffer.data(), buffer.size()));
    EXPECT_EQ(buffer, qvtest::refScramble(plain));
    ASSERT_TRUE(UnscrambleBlock(buffer.data(), buffer.data(), buffer.size()));
    EXPECT_EQ(buffer, plain);
}

TEST(Scrambler, AbsentBufferWritesNothingAndLengthZeroSucceeds) {
    const Bytes source{1, 2, 3, 4};
    Bytes destination{9, 9, 9, 9};
    for (auto* run : {&ScrambleBlock, &UnscrambleBlock}) {
        EXPECT_FALSE(run(nullptr, destination.data(), 4));
        EXPECT_EQ(destination, (Bytes{9, 9, 9, 9}));
        EXPECT_FALSE(run(source.data(), nullptr, 4));
        EXPECT_FALSE(run(nullptr, nullptr, 0));
        EXPECT_TRUE(run(source.data(), destination.data(), 0));
        EXPECT_EQ(destination, (Bytes{9, 9, 9, 9}));
    }
}

TEST(FrameHeader, DecodesWhatWasEncodedIncludingNegativeAndExtremeValues) {
    for (const int32_t value : {0, 1, 100, 101, -1, -2048, INT32_MAX, INT32_MIN}) {
        // A code the client does not know (255) travels like any other.
        for (const Command cmd :
             {CMD_LOGIN_MSG, CMD_GET_BLACKLIST_MSG, CMD_CLEAR_BLACKLIST_MSG, Command{255}}) {
            const auto wire = encodeHeader({cmd, value});
            EXPECT_EQ(Bytes(wire.begin(), wire.end()),
                      qvtest::refHeader(static_cast<uint8_t>(cmd), value));
            const FrameHeader back = decodeHeader(wire.data());
            EXPECT_EQ(back.cmd, cmd);
            EXPECT_EQ(back.dwCount, value);
        }
    }
}

TEST(FrameHeader, ReservedBytesAreIgnored) {
    const Bytes plain{4, 0xAB, 0xCD, 0xEF, 0x2A, 0, 0, 0};
    const Bytes wire = qvtest::refScramble(plain);
    const FrameHeader header = decodeHeader(wire.data());
    EXPECT_EQ(header.cmd, CMD_GET_CENTERID_MSG);
    EXPECT_EQ(header.dwCount, 42);
}

TEST(FrameHeader, SameHeaderTwiceGivesIdenticalBytes) {
    const auto first = encodeHeader({CMD_GET_CENTERID_MSG, 101});
    const auto second = encodeHeader({CMD_GET_CENTERID_MSG, 101});
    EXPECT_EQ(first, second);
    // Nothing chains from frame to frame: a frame sent between them changes nothing.
    const Bytes between = encodeFrame(Frame{CMD_SET_WOL_MSG, 3, Bytes(10100, 1), true});
    EXPECT_EQ(encodeHeader({CMD_GET_CENTERID_MSG, 101}), first);
    EXPECT_FALSE(between.empty());
}

TEST(Frame, PayloadKeyRestartsAndRawPayloadsPassUnchanged) {
    const Bytes payload = qvtest::pattern(316, 4);
    EXPECT_EQ(encodeFrame(Frame{CMD_GET_INFO_MSG, 0, payload, true}),
              qvtest::refFrame(2, 0, payload, true));
    EXPECT_EQ(encodeFrame(Frame{CMD_SET_WEBPAGE_MSG, 316, payload, false}),
              qvtest::refFrame(20, 316, payload, false));
    EXPECT_EQ(encodeFrame(Frame{CMD_SET_REBOOT_MSG, 0, {}, true}), qvtest::refHeader(18, 0));
}

} // namespace
