// Fuzzes the client's reply reader: the input is what an appliance (or anything pretending to be
// one) sends. Every event is applied to a settings store, and the invariants the rest of the
// client relies on are checked after each frame: each event belongs to the code that was read,
// its payload has exactly the size the reply table gives, re-scrambling it gives the bytes that
// came over the wire, and no count in the store exceeds its table.

#include "link/CGlobalData.h"
#include "link/FrameReaders.h"
#include "link/Scrambler.h"
#include "tests/fuzz/FuzzInput.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

[[noreturn]] void fail(const char* what, int cmd) {
    std::fprintf(stderr, "invariant broken: %s (reply %d)\n", what, cmd);
    std::abort();
}

void check(bool condition, const char* what, int cmd) {
    if (!condition)
        fail(what, cmd);
}

// The reply table written out once more, independently of the library's catalogue.
struct Expected {
    int event;   // -1: posts nothing
    size_t size; // payload bytes; per entry for the blacklist
    int follows; // 0 nothing, 1 always, 2 when the count is above 0, 3 per entry
    bool scrambled;
    int32_t slots; // capacity of the table the count describes; 0 when none
};

bool expectedFor(int cmd, Expected& out) {
    switch (cmd) {
    case 1:
        out = {1, 0, 0, true, 0};
        return true;
    case 2:
        out = {2, 316, 1, true, 0};
        return true;
    case 3:
        out = {3, 0, 0, true, 0};
        return true;
    case 4:
        out = {4, 13130, 2, true, 101};
        return true;
    case 5:
        out = {5, 0, 0, true, 0};
        return true;
    case 6:
        out = {6, 10100, 1, true, 101};
        return true;
    case 7:
        out = {7, 0, 0, true, 0};
        return true;
    case 8:
        out = {8, 316, 1, true, 0};
        return true;
    case 10:
        out = {9, 0, 0, true, 0};
        return true;
    case 11:
        out = {10, 0, 0, true, 0};
        return true;
    case 12:
        out = {11, 0, 0, true, 0};
        return true;
    case 13:
        out = {12, 0, 0, true, 0};
        return true;
    case 14:
        out = {13, 0, 0, true, 0};
        return true;
    case 15:
        out = {14, 0, 0, true, 0};
        return true;
    case 16:
        out = {16, 0, 0, true, 0};
        return true;
    case 17:
        out = {17, 0, 0, true, 0};
        return true;
    case 18:
        out = {15, 0, 0, true, 0};
        return true;
    case 19:
        out = {18, 0, 0, true, 0};
        return true;
    case 20:
        out = {24, 0, 0, true, 0};
        return true;
    case 21:
        out = {20, 45056, 2, true, 1024};
        return true;
    case 22:
        out = {21, 90112, 2, true, 2048};
        return true;
    case 23:
        out = {22, 0, 0, true, 0};
        return true;
    case 24:
        out = {23, 0, 0, true, 0};
        return true;
    case 25:
        out = {-1, 0, 0, true, 0};
        return true;
    case 26:
        out = {19, 0, 0, true, 0};
        return true;
    case 27:
        out = {25, 52, 3, false, 2048};
        return true;
    case 29:
        out = {26, 10100, 1, true, 100};
        return true;
    case 30:
        out = {27, 0, 0, true, 0};
        return true;
    case 31:
        out = {28, 0, 0, true, 0};
        return true;
    default:
        return false;
    }
}

size_t expectedPayload(const Expected& e, int32_t count) {
    switch (e.follows) {
    case 1:
        return e.size;
    case 2:
        return count > 0 ? e.size : 0;
    case 3:
        return count > 0 ? static_cast<size_t>(count < e.slots ? count : e.slots) * e.size : 0;
    default:
        return 0;
    }
}

void checkStore(const qv::CGlobalData& store) {
    const struct {
        int32_t count;
        int32_t slots;
    } counts[] = {{store.centerIdCount, 101},   {store.wolCount, 101},
                  {store.blacklistCount, 2048}, {store.blockIpCount, 100},
                  {store.scheduleCount, 2048},  {store.ioDeviceCount, 1024}};
    for (const auto& c : counts)
        check(c.count >= 0 && c.count <= c.slots, "store count outside its table", 0);
}

// One store for every input, emptied as a new one is: making a store allocates the blacklist,
// schedule and IO tables, which costs more than most inputs.
qv::CGlobalData& emptyStore() {
    static qv::CGlobalData store;
    store.centerIdCount = store.wolCount = store.blacklistCount = 0;
    store.blockIpCount = store.scheduleCount = store.ioDeviceCount = 0;
    store.centerIdTable = {};
    store.wolTable = {};
    store.blockIpTable = {};
    *store.blacklist = {};
    *store.scheduleTable = {};
    *store.ioListTable = {};
    return store;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    qvfuzz::InputStream stream(data, size);
    qv::ReplyReader reader(stream);
    qv::CGlobalData& store = emptyStore();
    for (;;) {
        const size_t start = stream.position();
        qv::LinkEvent event;
        const auto step = reader.next(event);
        if (step == qv::ReplyReader::Step::End)
            break;
        const qv::FrameHeader header = reader.lastHeader();
        const int cmd = static_cast<int>(header.cmd);
        Expected e{};
        const bool known = expectedFor(cmd, e);
        if (step == qv::ReplyReader::Step::Consumed) {
            // Unknown codes and reply 25 are bare headers.
            check(!known || e.event < 0, "a reply with an event was swallowed", cmd);
            check(stream.position() == start + 8, "a bare header consumed more than 8 bytes", cmd);
            continue;
        }
        check(known && e.event >= 0, "an event for a reply that posts none", cmd);
        const int code = static_cast<int>(event.code);
        check(code == e.event, "wrong event code", cmd);
        check(event.payload.size() == expectedPayload(e, header.dwCount),
              "payload size differs from the reply table", cmd);
        if (e.slots > 0)
            check(event.value <= e.slots, "event count above its table", cmd);
        else
            check(event.value == header.dwCount, "event value differs from the header", cmd);

        // The payload bytes, scrambled again where they travel scrambled, are the wire bytes.
        const uint8_t* wirePayload = stream.data() + start + 8;
        std::vector<uint8_t> again(event.payload);
        if (e.scrambled)
            qv::ScrambleBlock(again.data(), again.data(), again.size());
        check(std::equal(again.begin(), again.end(), wirePayload),
              "payload does not re-encode to the wire bytes", cmd);
        // Surplus blacklist entries are read and dropped, so the next header is found.
        const size_t onWire =
            e.follows == 3 ? (header.dwCount > 0 ? static_cast<size_t>(header.dwCount) * 52 : 0)
                           : event.payload.size();
        check(stream.position() == start + 8 + onWire, "frame length differs from the header", cmd);

        qv::applyReplyToStore(store, event);
        checkStore(store);
        if (code == 4 && event.payload.empty())
            check(store.centerIdTable == qv::CenterIdTable{}, "center ID table not cleared", cmd);
    }
    return 0;
}
