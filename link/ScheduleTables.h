#pragma once

#include "link/ApplianceLimits.h"
#include "link/WireRecord.h"

namespace qv {

// One IO device attached to the appliance. Bytes 0-7 and 9-11 are the appliance's own.
class IoListEntry : public WireRecord<44> {
public:
    uint8_t status() const { return u8(8); }
    void setStatus(uint8_t v) { setU8(8, v); }
    // The key by which schedules name their device.
    std::string id() const { return text(12, 32); }
    void setId(std::string_view v) { setText(12, 32, v); }
};

class IoListTable : public WireTable<IoListEntry, limits::kIoDeviceSlots> {};

// One switching time of one relay point of one device.
class ScheduleEntry : public WireRecord<44> {
public:
    // Function 0 ON, 1 OFF, 2 PUSH ON, 3 PUSH OFF; plus 50 for an exception (dated) schedule.
    static constexpr uint8_t kExceptionOffset = 50;

    uint8_t function() const { return u8(0); }
    void setFunction(uint8_t v) { setU8(0, v); }
    bool isException() const { return function() >= kExceptionOffset; }
    // Relay point 1 to 4.
    uint8_t relay() const { return u8(1); }
    void setRelay(uint8_t v) { setU8(1, v); }
    // Normal: weekday 1 (Sunday) to 7 (Saturday). Exception: month 1 to 12.
    uint8_t day() const { return u8(2); }
    void setDay(uint8_t v) { setU8(2, v); }
    // Exception: day of the month 1 to 31. Normal: 0.
    uint8_t date() const { return u8(3); }
    void setDate(uint8_t v) { setU8(3, v); }
    uint16_t hour() const { return u16(4); }
    void setHour(uint16_t v) { setU16(4, v); }
    uint16_t minute() const { return u16(6); }
    void setMinute(uint16_t v) { setU16(6, v); }
    // Given by the appliance; the client never computes it.
    int32_t seq() const { return i32(8); }
    void setSeq(int32_t v) { setI32(8, v); }
    std::string id() const { return text(12, 32); }
    void setId(std::string_view v) { setText(12, 32, v); }
};

class ScheduleTable : public WireTable<ScheduleEntry, limits::kScheduleSlots> {};

} // namespace qv
