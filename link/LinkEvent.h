#pragma once

#include <cstdint>
#include <vector>

namespace qv {

// One reply as the receive thread hands it to the user-interface thread: the event code, the
// header value (a table's count limited to the table's slots), and a copy of the payload (a
// table, limited to its slots, or the 316-byte configuration record). The consumer applies it to the store on its own thread.
struct LinkEvent {
    int code = 0;
    int32_t value = 0;
    std::vector<uint8_t> payload;
};

// Where the receive thread delivers its events. post() is called on the receive thread and
// must not block on the user-interface thread.
class EventSink {
public:
    virtual ~EventSink() = default;
    virtual void post(LinkEvent event) = 0;
};

} // namespace qv
