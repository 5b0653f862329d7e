#pragma once

#include "link/Records.h"

#include <cstdint>
#include <memory>
#include <string>

namespace qv {

class CMySocket;
struct Frame;
struct LinkEvent;

// The process-wide settings store: which page is shown, the link object, the limits the
// appliance reported and the latest copy of every table it sent. Tables are written only on the
// user-interface thread (replies travel with their events and are applied by the consumer), so
// the store needs no lock.
class CGlobalData {
public:
    CGlobalData();
    ~CGlobalData();
    CGlobalData(const CGlobalData&) = delete;
    CGlobalData& operator=(const CGlobalData&) = delete;

    // The process's store, created on first use.
    static CGlobalData& Get();
    // Destroys the process's store (closing the link first); a later Get() makes a new one.
    static void Destroy();

    int32_t PageIndex = 0;
    int32_t ioBusy = 0;
    std::unique_ptr<CMySocket> link;
    int32_t ioScheduleEnabled = 0;
    int32_t optionFlag = 0;
    int32_t maxScheduleCount = 0;
    int32_t maxCenterIdCount = 10;
    int32_t maxStandbyCount = 0;

    int32_t centerIdCount = 0;
    CenterIdTable centerIdTable;
    int32_t wolCount = 0;
    WolTable wolTable;
    int32_t blacklistCount = 0;
    std::unique_ptr<BlacklistEntries> blacklist;
    int32_t blockIpCount = 0;
    BlockIpTable blockIpTable;
    int32_t scheduleCount = 0;
    std::unique_ptr<ScheduleTable> scheduleTable;
    int32_t ioDeviceCount = 0;
    std::unique_ptr<IoListTable> ioListTable;

    // True when the link object exists and is connected.
    bool isConnected() const;
    // The client's own address on the link ("" when not connected): blocking it would shut this
    // administrator out.
    std::string localAddress() const;
    // Sends a request through the link when connected; false when nothing went out.
    bool send(const Frame& frame);
};

// Applies the table that a reply carried to the store, as the receive thread of the original
// design did before posting: counts limited to the table's slots (negative counts read as 0),
// the center ID table zeroed before a new one, the schedule and IO tables kept when no payload
// came. Events without a table leave the store alone. Returns true when a table changed.
bool applyReplyToStore(CGlobalData& store, const LinkEvent& event);

} // namespace qv
