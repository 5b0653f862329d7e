#pragma once

#include <cstdint>
#include <vector>

namespace qv {

// What the link reports to its consumer: one event per reply, named for what happened, and one
// when the link ends. The numbers are those of the window message that carries them (its
// wParam) and of the diagnostic lines; the reply code that raises each is the catalogue's.
enum class ReplyEvent : int {
    None = -1,                     // the reply posts nothing (reply 25)
    LogonAnswered = 1,             // reply 1: admitted with a center ID limit, or refused
    SummaryArrived = 2,            // reply 2: the product summary record
    AdminChangeAnswered = 3,       // reply 3: new administrator ID and password taken or not
    CenterIdsArrived = 4,          // reply 4: the center ID table
    CenterIdsApplied = 5,          // reply 5: the answer to a center ID table write
    WolArrived = 6,                // reply 6: the Wake-on-LAN table
    WolApplied = 7,                // reply 7: the answer to a Wake-on-LAN table write
    NetworkArrived = 8,            // reply 8: the network configuration record
    DdnsIdChecked = 9,             // reply 10: whether a DDNS ID is free
    MacRegistrationAnswered = 10,  // reply 11
    DdnsRegistrationAnswered = 11, // reply 12
    UpdateStepReported = 12,       // reply 13: one per step of the software update
    LogoAnswered = 13,             // reply 14: logo deleted or uploaded
    ActiveXPageUploaded = 14,      // reply 15
    RebootAnswered = 15,           // reply 18: the reboot answer, or a limit notice
    AutoUpdateArrived = 16,        // reply 16: the automatic-update setting
    AutoUpdateApplied = 17,        // reply 17
    FirmwareUpdateAnswered = 18,   // reply 19
    NtpServerSet = 19,             // reply 26
    IoListArrived = 20,            // reply 21: the IO device list
    SchedulesArrived = 21,         // reply 22: the IO schedule table
    SchedulesApplied = 22,         // reply 23: the answer to a schedule write
    ServerTimeArrived = 23,        // reply 24: the appliance's clock
    WebArchiveUploaded = 24,       // reply 20
    BlacklistArrived = 25,         // reply 27: the blacklist entries
    BlockIpsArrived = 26,          // reply 29: the firewall's block IP table
    BlockIpsApplied = 27,          // reply 30: the answer to a block IP table write
    BlacklistCleared = 28,         // reply 31
    LinkEnded = 255,               // the receive thread ended, however it ended
};

// One reply as the receive thread hands it to the user-interface thread: the event, the header
// value (a table's count limited to the table's slots), and a copy of the payload (a table,
// limited to its slots, or the 316-byte configuration record). The consumer applies it to the
// store on its own thread.
struct LinkEvent {
    ReplyEvent code = ReplyEvent::None;
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
