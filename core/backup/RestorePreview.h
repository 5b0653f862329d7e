#pragma once

// What a restore would change, table by table: the rows it adds, removes, changes and moves
// against what the appliance holds now. Rows are matched by what names them on their page (a
// center ID by its ID, a Wake-on-LAN target by its name and MAC, a blocked address by itself, a
// schedule by its device and values), and a change is told field by field under the page's own
// column names, so a preview reads like the page before and after.

#include "core/backup/Backup.h"
#include "core/backup/BackupViews.h"

#include <string>
#include <vector>

namespace qv::backup {

// One field of a changed row (or of an added row, with `before` empty).
struct FieldChange {
    std::string column; // the page's column caption, in the user-interface language
    std::string before;
    std::string after;
    bool hidden = false; // a password: that it changes is told, not what it was or becomes
};

struct RowChange {
    enum class Kind { Added, Removed, Changed, Moved };
    Kind kind;
    std::string row; // what names the row on its page
    std::vector<FieldChange> fields;
    int from = 0; // a moved row's place now and in the backup, from 1
    int to = 0;
};

struct TablePreview {
    Table table{};
    // The restore writes this table: its count or any of its bytes differ.
    bool differs = false;
    std::vector<RowChange> rows;
    // Rows paired with their backup row that differ only in bytes the client does not
    // interpret: told once for the table, not row by row.
    int otherBytesRows = 0;
};

// The table's changes from `now` (the appliance) to `restored` (the backup). Not for the
// network settings, which are previewed field by field (NetworkRestore.h).
TablePreview previewTable(Table table, const Backup& now, const Backup& restored);
// The preview as the lines qvctl prints, in the user-interface language; rows show passwords
// nowhere.
std::vector<std::string> previewLines(const TablePreview& preview);
// The same for `qvctl restore --json`: the changes as data, captions in the user-interface
// language.
Json previewJson(const TablePreview& preview);
// The devices the backup's schedules name that the appliance does not list, in UTF-8, each
// once: on a replacement appliance with other IO devices those schedules would switch nothing.
std::vector<std::string> devicesNotListed(const Backup& now, const Backup& restored);
// The table's name for people, in the user-interface language.
std::string tableTitle(Table table);

} // namespace qv::backup
