#pragma once

// What the appliance can hold, named once for the wire tables, the rules, the window, qvctl and
// qvsim. No Qt here.

#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace qv::limits {

// Slots of the tables the appliance keeps; a count read off the wire never exceeds them.
inline constexpr size_t kCenterIdSlots = 101;
inline constexpr size_t kWolSlots = 101;
inline constexpr size_t kIoDeviceSlots = 1024;
inline constexpr size_t kScheduleSlots = 2048;
inline constexpr size_t kBlacklistSlots = 2048;
inline constexpr size_t kBlockIpSlots = 100;

// The product record's schedule limit is held to this range when it arrives; 2040, not the
// schedule table's 2048 slots, is the highest limit that can be in force.
inline constexpr int32_t kMinSchedules = 10;
inline constexpr int32_t kMaxSchedules = 2040;

// The logon answer's value less 100 is the number of center IDs the appliance takes, held to
// this range.
inline constexpr int32_t kMinCenterIds = 1;
inline constexpr int32_t kMaxCenterIds = 100;

// The schedule limit in force for the limit a product record carries.
constexpr int32_t scheduleLimit(int32_t recordLimit) {
    return std::clamp(recordLimit, kMinSchedules, kMaxSchedules);
}

// The center ID limit in force for the number an admitting logon answer carries.
constexpr int32_t centerIdLimit(int32_t answered) {
    return std::clamp(answered, kMinCenterIds, kMaxCenterIds);
}

} // namespace qv::limits
