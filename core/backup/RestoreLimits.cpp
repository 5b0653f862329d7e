#include "core/backup/RestoreLimits.h"

#include "core/access/BlacklistRules.h"
#include "core/backup/RestorePreview.h"
#include "core/schedule/ScheduleRules.h"

namespace qv::backup {

TargetLimits targetLimits(int32_t maxCenterIds, const NetworkConfigRecord& summary) {
    return TargetLimits{maxCenterIds, schedule::scheduleLimit(summary.maxScheduleCount())};
}

std::optional<Message> checkLimit(Table table, const Backup& restored, const TargetLimits& limits) {
    int32_t count = 0, limit = 0;
    switch (table) {
    case Table::CenterIds:
        count = restored.centerIdCount;
        limit = limits.maxCenterIds;
        break;
    case Table::BlockIps:
        count = restored.blockIpCount;
        limit = blacklist::kMaxEntries;
        break;
    case Table::Schedule:
        count = restored.scheduleCount;
        limit = limits.maxSchedules;
        break;
    case Table::Wol:        // any count the file may hold fits the table's slots
    case Table::AutoUpdate: // one value
    case Table::Network:    // one record
        return std::nullopt;
    }
    if (count <= limit)
        return std::nullopt;
    return Message{StringId::RestoreOverLimit,
                   {tableTitle(table), std::to_string(count), std::to_string(limit)}};
}

} // namespace qv::backup
