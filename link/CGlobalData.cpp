#include "link/CGlobalData.h"

#include "link/CMySocket.h"
#include "link/LinkEvent.h"

#include <algorithm>
#include <cstring>

namespace qv {
namespace {

std::unique_ptr<CGlobalData>& processStore() {
    static std::unique_ptr<CGlobalData> store;
    return store;
}

int32_t limitCount(int32_t value, size_t slots) {
    return std::clamp<int32_t>(value, 0, static_cast<int32_t>(slots));
}

template <class Table> void copyInto(Table& table, const std::vector<uint8_t>& payload) {
    // A reply without a table (count 0 or below) leaves the table as it was.
    const size_t length = std::min(payload.size(), table.bytes.size());
    if (length > 0)
        std::memcpy(table.bytes.data(), payload.data(), length);
}

} // namespace

CGlobalData::CGlobalData()
    : blacklist(std::make_unique<BlacklistEntries>()),
      scheduleTable(std::make_unique<ScheduleTable>()),
      ioListTable(std::make_unique<IoListTable>()) {}

CGlobalData::~CGlobalData() {
    if (link)
        link->Close();
    link.reset();
}

CGlobalData& CGlobalData::Get() {
    auto& store = processStore();
    if (!store)
        store = std::make_unique<CGlobalData>();
    return *store;
}

void CGlobalData::Destroy() {
    processStore().reset();
}

bool CGlobalData::isConnected() const {
    return link && link->connected();
}

std::string CGlobalData::localAddress() const {
    return link ? link->localAddress() : std::string();
}

bool CGlobalData::send(const Frame& frame) {
    return link && link->Send(frame);
}

bool applyReplyToStore(CGlobalData& store, const LinkEvent& event) {
    switch (event.code) {
    case ReplyEvent::CenterIdsArrived:
        store.centerIdTable = CenterIdTable{};
        store.centerIdCount = limitCount(event.value, CenterIdTable::kSlots);
        copyInto(store.centerIdTable, event.payload);
        return true;
    case ReplyEvent::WolArrived:
        store.wolCount = limitCount(event.value, WolTable::kSlots);
        copyInto(store.wolTable, event.payload);
        return true;
    case ReplyEvent::IoListArrived:
        store.ioDeviceCount = limitCount(event.value, IoListTable::kSlots);
        copyInto(*store.ioListTable, event.payload);
        return true;
    case ReplyEvent::SchedulesArrived:
        store.scheduleCount = limitCount(event.value, ScheduleTable::kSlots);
        copyInto(*store.scheduleTable, event.payload);
        return true;
    case ReplyEvent::BlacklistArrived:
        store.blacklistCount = limitCount(event.value, BlacklistEntries::kSlots);
        copyInto(*store.blacklist, event.payload);
        return true;
    case ReplyEvent::BlockIpsArrived:
        store.blockIpCount = limitCount(event.value, BlockIpTable::kSlots);
        copyInto(store.blockIpTable, event.payload);
        return true;
    default:
        return false;
    }
}

} // namespace qv
