#include "backup/RestorePreview.h"

#include "backup/BackupViews.h"
#include "backup/Message.h"

#include "CodePage.h"
#include "Commands.h"
#include "StringTable.h"

#include <algorithm>
#include <map>
#include <set>

namespace qv::backup {
namespace {

// One row of a table as the preview compares it: what names it, how it reads, its bytes.
struct Row {
    std::string key;
    std::string text;
    std::vector<uint8_t> bytes;
};

std::string compact(const Json& value) {
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

template <class Table, class Describe>
std::vector<Row> rowsOf(const Table& table, int32_t count, Describe describe) {
    std::vector<Row> rows;
    for (int32_t i = 0; i < count; ++i) {
        const auto entry = table.entry(static_cast<size_t>(i));
        Row row = describe(entry);
        row.bytes.assign(entry.bytes.begin(), entry.bytes.end());
        rows.push_back(std::move(row));
    }
    return rows;
}

std::vector<Row> rowsOf(Table table, const Backup& b) {
    const int cp = b.codePage;
    switch (table) {
    case Table::CenterIds:
        return rowsOf(b.centerIds, b.centerIdCount, [cp](const CenterIdEntry& e) {
            Json fields = centerIdFields(e, cp);
            fields.erase("password"); // a preview goes to terminals and screens
            return Row{fields["id"].get<std::string>(), compact(fields), {}};
        });
    case Table::Wol:
        return rowsOf(b.wol, b.wolCount, [](const WolEntry& e) {
            const Json fields = wolFields(e);
            return Row{fields["name"].get<std::string>(), compact(fields), {}};
        });
    case Table::BlockIps:
        return rowsOf(b.blockIps, b.blockIpCount, [cp](const BlockIpSlot& s) {
            const std::string address = blockIpFields(s, cp).get<std::string>();
            return Row{address, address, {}};
        });
    case Table::Schedule:
        return rowsOf(b.schedule, b.scheduleCount, [cp](const ScheduleEntry& e) {
            Json fields = scheduleFields(e, cp);
            fields.erase("seq"); // the appliance numbers its schedules itself
            return Row{compact(fields), compact(fields), {}};
        });
    case Table::AutoUpdate: {
        const bool on = autoUpdateFields(b.autoUpdate)["on"].get<bool>();
        const std::string text(uiString(on ? StringId::AutoUpdateOn : StringId::AutoUpdateOff));
        return {Row{"", text, {on ? uint8_t{1} : uint8_t{0}}}};
    }
    case Table::Network:
        break;
    }
    return {};
}

bool tableBytesDiffer(Table table, const Backup& a, const Backup& b) {
    switch (table) {
    case Table::CenterIds:
        return a.centerIdCount != b.centerIdCount || a.centerIds != b.centerIds;
    case Table::Wol:
        return a.wolCount != b.wolCount || a.wol != b.wol;
    case Table::BlockIps:
        return a.blockIpCount != b.blockIpCount || a.blockIps != b.blockIps;
    case Table::Schedule:
        return a.scheduleCount != b.scheduleCount || a.schedule != b.schedule;
    case Table::AutoUpdate:
        return (a.autoUpdate == result::kAutoUpdateOff) != (b.autoUpdate == result::kAutoUpdateOff);
    case Table::Network:
        break;
    }
    return false;
}

} // namespace

TablePreview previewTable(Table table, const Backup& now, const Backup& restored) {
    TablePreview preview{table, tableBytesDiffer(table, now, restored), {}};
    const std::vector<Row> before = rowsOf(table, now);
    const std::vector<Row> after = rowsOf(table, restored);
    // Rows with the same key are paired in their order: the second "PC" now with the second
    // "PC" in the backup.
    std::multimap<std::string, const Row*> unmatched;
    for (const Row& row : before)
        unmatched.emplace(row.key, &row);
    std::vector<RowChange> added, changed;
    for (const Row& row : after) {
        const auto it = unmatched.find(row.key);
        if (it == unmatched.end()) {
            added.push_back({RowChange::Kind::Added, row.text, {}});
            continue;
        }
        if (it->second->bytes != row.bytes)
            changed.push_back({RowChange::Kind::Changed, row.text, it->second->text});
        unmatched.erase(it);
    }
    for (const Row& row : before)
        if (std::any_of(unmatched.begin(), unmatched.end(),
                        [&](const auto& left) { return left.second == &row; }))
            preview.rows.push_back({RowChange::Kind::Removed, row.text, {}});
    preview.rows.insert(preview.rows.end(), changed.begin(), changed.end());
    preview.rows.insert(preview.rows.end(), added.begin(), added.end());
    return preview;
}

std::vector<std::string> previewLines(const TablePreview& preview) {
    const std::string title = tableTitle(preview.table);
    if (!preview.differs)
        return {messageText({StringId::PreviewUnchanged, {title}})};
    if (preview.rows.empty())
        return {messageText({StringId::PreviewOtherBytes, {title}})};
    const auto count = [&](RowChange::Kind kind) {
        return std::to_string(std::count_if(preview.rows.begin(), preview.rows.end(),
                                            [kind](const RowChange& r) { return r.kind == kind; }));
    };
    std::vector<std::string> lines{
        messageText({StringId::PreviewSummary,
                     {title, count(RowChange::Kind::Added), count(RowChange::Kind::Removed),
                      count(RowChange::Kind::Changed)}})};
    for (const RowChange& row : preview.rows) {
        switch (row.kind) {
        case RowChange::Kind::Added:
            lines.push_back("  + " + row.text);
            break;
        case RowChange::Kind::Removed:
            lines.push_back("  - " + row.text);
            break;
        case RowChange::Kind::Changed:
            lines.push_back("  ~ " + row.before);
            lines.push_back("    -> " + (row.text == row.before
                                             ? messageText({StringId::PreviewHiddenDiffer, {}})
                                             : row.text));
            break;
        }
    }
    return lines;
}

std::vector<std::string> devicesNotListed(const Backup& now, const Backup& restored) {
    std::set<std::string> listed, reported;
    for (int32_t i = 0; i < now.ioDeviceCount; ++i)
        listed.insert(now.ioDevices.entry(static_cast<size_t>(i)).id());
    std::vector<std::string> missing;
    for (int32_t i = 0; i < restored.scheduleCount; ++i) {
        const std::string id = restored.schedule.entry(static_cast<size_t>(i)).id();
        if (listed.count(id) == 0 && reported.insert(id).second)
            missing.push_back(ansiToUtf8(id, restored.codePage));
    }
    return missing;
}

std::string tableTitle(Table table) {
    static constexpr StringId kTitles[] = {StringId::TableCenterIds,  StringId::TableWol,
                                           StringId::TableBlockIps,   StringId::TableSchedule,
                                           StringId::TableAutoUpdate, StringId::TableNetwork};
    return std::string(uiString(kTitles[static_cast<size_t>(table)]));
}

} // namespace qv::backup
