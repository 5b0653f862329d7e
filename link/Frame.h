#pragma once

#include "link/Commands.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace qv {

constexpr size_t kHeaderSize = 8;

// The 8-byte header of every frame: command code at byte 0, three reserved bytes that the sender
// zeroes and the receiver ignores, and a signed 32-bit value at byte 4.
struct FrameHeader {
    Command cmd{};
    int32_t dwCount = 0;
};

// The header laid out and scrambled, ready for the wire.
std::array<uint8_t, kHeaderSize> encodeHeader(const FrameHeader& header);
// Unscrambles 8 received bytes and reads the command and value; bytes 1 to 3 are not looked at.
FrameHeader decodeHeader(const uint8_t* wireBytes);

// One frame in plain form: a header and its payload block (empty when the frame has none).
// `scrambled` tells whether the payload travels scrambled; file contents and blacklist entries
// travel raw.
struct Frame {
    Command cmd{};
    int32_t dwCount = 0;
    std::vector<uint8_t> payload;
    bool scrambled = true;
};

// The bytes of a whole frame as they go on the wire: scrambled header, then the payload
// scrambled as a block of its own (the key restarts) or raw.
std::vector<uint8_t> encodeFrame(const Frame& frame);
// The payload as it goes on the wire.
std::vector<uint8_t> encodePayload(const Frame& frame);

} // namespace qv
