// Fuzzes the appliance side's request reader (the simulator's input): every frame it accepts
// must have the payload size the request table gives, and encoding it again must give back the
// bytes that came over the wire (apart from the reserved header bytes, which nobody reads).

#include "link/Frame.h"
#include "link/FrameReaders.h"
#include "tests/fuzz/FuzzInput.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

void check(bool condition, const char* what, int cmd) {
    if (!condition) {
        std::fprintf(stderr, "invariant broken: %s (request %d)\n", what, cmd);
        std::abort();
    }
}

// Payload size after a request header: -1 for codes that are never sent.
long long expectedPayload(int cmd, int32_t count) {
    switch (cmd) {
    case 1:
    case 3:
    case 10:
    case 11:
    case 26:
        return 100;
    case 5:
        return count > 0 ? 13130 : 0;
    case 7:
    case 30:
        return 10100;
    case 9:
    case 12:
        return 316;
    case 14:
    case 15:
    case 20:
        return count > 0 ? count : 0;
    case 23:
        return count > 0 ? 90112 : 0;
    case 2:
    case 4:
    case 6:
    case 8:
    case 13:
    case 16:
    case 17:
    case 18:
    case 19:
    case 21:
    case 22:
    case 24:
    case 27:
    case 29:
    case 31:
        return 0;
    default:
        return -1;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    qvfuzz::InputStream stream(data, size);
    qv::RequestReader reader(stream);
    for (;;) {
        const size_t start = stream.position();
        qv::Frame frame;
        if (!reader.next(frame))
            break;
        const int cmd = static_cast<int>(frame.cmd);
        const long long expected = expectedPayload(cmd, frame.dwCount);
        check(expected >= 0, "a code that is never sent was accepted", cmd);
        check(static_cast<long long>(frame.payload.size()) == expected,
              "payload size differs from the request table", cmd);
        const bool raw = cmd == 14 || cmd == 15 || cmd == 20;
        check(frame.scrambled == !raw, "wrong scrambling for the request", cmd);

        const std::vector<uint8_t> again = qv::encodeFrame(frame);
        const uint8_t* wire = stream.data() + start;
        check(stream.position() == start + again.size(), "frame length differs", cmd);
        const qv::FrameHeader header = qv::decodeHeader(wire);
        check(header.cmd == frame.cmd && header.dwCount == frame.dwCount, "header differs", cmd);
        check(std::equal(again.begin() + 8, again.end(), wire + 8),
              "payload does not re-encode to the wire bytes", cmd);
    }
    return 0;
}
