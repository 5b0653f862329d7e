#pragma once

// What a restore would change, table by table: the rows it adds, removes and changes against
// what the appliance holds now. Rows are matched by what names them on their page (a center
// ID by its ID, a Wake-on-LAN target by its name, a blocked address by itself, a schedule by
// its device and values), so a preview reads like the page before and after.

#include "backup/Backup.h"

#include <string>
#include <vector>

namespace qv::backup {

struct RowChange {
    enum class Kind { Added, Removed, Changed };
    Kind kind;
    std::string text;   // the row as it will be (as it was, for a removed row)
    std::string before; // a changed row as it is now
};

struct TablePreview {
    Table table{};
    // The restore writes this table: its count or any of its bytes differ.
    bool differs = false;
    std::vector<RowChange> rows;
};

// The table's changes from `now` (the appliance) to `restored` (the backup). Not for the
// network settings, which are previewed field by field (NetworkRestore.h).
TablePreview previewTable(Table table, const Backup& now, const Backup& restored);
// The preview as the lines qvctl prints, in the user-interface language; rows show passwords
// nowhere.
std::vector<std::string> previewLines(const TablePreview& preview);
// The devices the backup's schedules name that the appliance does not list, in UTF-8, each
// once: on a replacement appliance with other IO devices those schedules would switch nothing.
std::vector<std::string> devicesNotListed(const Backup& now, const Backup& restored);
// The table's name for people, in the user-interface language.
std::string tableTitle(Table table);

} // namespace qv::backup
