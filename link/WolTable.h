#pragma once

#include "link/ApplianceLimits.h"
#include "link/WireRecord.h"

namespace qv {

// One computer the appliance can wake. Name and MAC text are UTF-8. Bytes 0 to 3 belong to the
// appliance and stay with the slot.
class WolEntry : public WireRecord<100> {
public:
    std::string nameUtf8() const { return text(4, 32); }
    void setNameUtf8(std::string_view v) { setText(4, 32, v); }
    std::string macUtf8() const { return text(36, 64); }
    void setMacUtf8(std::string_view v) { setText(36, 64, v); }
};

// All its slots, always sent whole.
class WolTable : public WireTable<WolEntry, limits::kWolSlots> {};

} // namespace qv
