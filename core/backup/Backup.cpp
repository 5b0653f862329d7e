#include "core/backup/Backup.h"

namespace qv::backup {

std::string_view tableName(Table table) {
    switch (table) {
    case Table::CenterIds:
        return "centerids";
    case Table::Wol:
        return "wol";
    case Table::BlockIps:
        return "blockips";
    case Table::Schedule:
        return "schedule";
    case Table::AutoUpdate:
        return "autoupdate";
    case Table::Network:
        return "network";
    }
    return {};
}

std::optional<Table> tableNamed(std::string_view name) {
    for (const Table table : kAllTables)
        if (tableName(table) == name)
            return table;
    return std::nullopt;
}

} // namespace qv::backup
