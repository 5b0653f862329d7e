#include "link/Frame.h"

#include "link/ByteFields.h"
#include "link/Scrambler.h"

namespace qv {

std::array<uint8_t, kHeaderSize> encodeHeader(const FrameHeader& header) {
    std::array<uint8_t, kHeaderSize> bytes{};
    bytes[0] = static_cast<uint8_t>(header.cmd);
    storeI32(bytes.data() + 4, header.dwCount);
    ScrambleBlock(bytes.data(), bytes.data(), bytes.size());
    return bytes;
}

FrameHeader decodeHeader(const uint8_t* wireBytes) {
    std::array<uint8_t, kHeaderSize> plain{};
    UnscrambleBlock(wireBytes, plain.data(), plain.size());
    return FrameHeader{static_cast<Command>(plain[0]), loadI32(plain.data() + 4)};
}

std::vector<uint8_t> encodePayload(const Frame& frame) {
    std::vector<uint8_t> bytes = frame.payload;
    if (frame.scrambled)
        ScrambleBlock(bytes.data(), bytes.data(), bytes.size());
    return bytes;
}

std::vector<uint8_t> encodeFrame(const Frame& frame) {
    const auto header = encodeHeader({frame.cmd, frame.dwCount});
    std::vector<uint8_t> bytes(header.begin(), header.end());
    const auto payload = encodePayload(frame);
    bytes.insert(bytes.end(), payload.begin(), payload.end());
    return bytes;
}

} // namespace qv
