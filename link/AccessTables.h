#pragma once

#include "link/ApplianceLimits.h"
#include "link/WireRecord.h"

namespace qv {

// One address the appliance reports on its blacklist, with eight counters of its own making.
// Travels raw (not scrambled) in the reply to command 27.
class BlacklistEntry : public WireRecord<52> {
public:
    static constexpr int kCounters = 8;

    std::string ip() const { return text(0, 33); }
    void setIp(std::string_view v) { setText(0, 33, v); }
    int8_t quorvelIp() const { return static_cast<int8_t>(u8(33)); }
    void setQuorvelIp(int8_t v) { setU8(33, static_cast<uint8_t>(v)); }
    // Counters in list order: Day 1, Day 2, -Day 1, -Day 2, Week 1, Week 2, -Week 1, -Week 2.
    uint16_t counter(int index) const { return u16(36 + 2 * static_cast<size_t>(index)); }
    void setCounter(int index, uint16_t v) { setU16(36 + 2 * static_cast<size_t>(index), v); }
};

// The store keeps at most this many blacklist entries.
class BlacklistEntries : public WireTable<BlacklistEntry, limits::kBlacklistSlots> {};

// One address slot of the block IP table.
class BlockIpSlot : public WireRecord<100> {
public:
    std::string address() const { return text(0, 100); }
    void setAddress(std::string_view v) { setText(0, 100, v); }
};

// The firewall's block IP table: 4 lead bytes and 96 trailing bytes that the client does not
// interpret and sends back as received, around its address slots.
class BlockIpTable : public WireTable<BlockIpSlot, limits::kBlockIpSlots, 4, 96> {
public:
    std::string address(size_t index) const { return entry(index).address(); }
    void setAddress(size_t index, std::string_view v) {
        BlockIpSlot slot;
        slot.setAddress(v);
        setEntry(index, slot);
    }
};

} // namespace qv
