#pragma once

// The limits a restored table must fit, the same as on its page: the center ID limit the target
// appliance reported at logon, the firewall's 97 addresses, the schedule limit of the target's
// product record. A table that does not fit is refused whole; the caller checks every chosen
// table before it writes any.

#include "core/backup/Backup.h"
#include "res/Message.h"

#include <optional>

namespace qv::backup {

struct TargetLimits {
    int32_t maxCenterIds = 0; // from the logon answer
    int32_t maxSchedules = 0; // the product record's schedule limit, as the schedule page holds it
};

// The target's limits: `maxCenterIds` as the logon gave it, the schedule limit from `summary`.
TargetLimits targetLimits(int32_t maxCenterIds, const NetworkConfigRecord& summary);
// Why `table` of `restored` does not fit the target; nothing when it does.
std::optional<Message> checkLimit(Table table, const Backup& restored, const TargetLimits& limits);

} // namespace qv::backup
