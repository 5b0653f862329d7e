#include "core/backup/RestorePreview.h"

#include "core/access/CenterIdRules.h"
#include "core/schedule/ScheduleRules.h"
#include "res/Message.h"

#include "link/CodePage.h"
#include "link/Commands.h"
#include "res/StringTable.h"

#include <algorithm>
#include <map>
#include <set>

namespace qv::backup {
namespace {

// One row of a table as the preview compares it: what pairs it, what names it for people, its
// fields under their column captions, its password, its bytes.
struct Row {
    std::string key;
    std::string label;
    std::vector<std::pair<std::string, std::string>> fields;
    std::string secret;
    std::vector<uint8_t> bytes;
};

std::string caption(StringId id) {
    return std::string(uiString(id));
}

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

// A schedule as its list row reads: device, kind, function, day, time and relay.
std::string scheduleLabel(const ScheduleEntry& e, int codePage) {
    const auto texts = schedule::rowTexts(e, 0, systemLanguage());
    const bool exception = e.isException();
    return ansiToUtf8(texts[schedule::kColId], codePage) + " " + texts[schedule::kColKind] + " " +
           texts[schedule::kColFunction] + " " +
           (exception ? texts[schedule::kColMonth] + "/" + texts[schedule::kColDate]
                      : texts[schedule::kColWeekday]) +
           " " + texts[schedule::kColHour] + ":" + texts[schedule::kColMinute] + " " +
           caption(StringId::ScheduleRelay) + " " + texts[schedule::kColRelay];
}

std::vector<Row> rowsOf(Table table, const Backup& b, int cp) {
    switch (table) {
    case Table::CenterIds:
        return rowsOf(b.centerIds, b.centerIdCount, [cp](const CenterIdEntry& e) {
            const auto texts = centerid::rowTexts(e, 0, cp);
            Row row{texts[1], texts[1], {}, e.password(), {}};
            // Number, ID and password are not fields: the first two name the row, the
            // password is compared but never shown.
            for (size_t i = 3; i < texts.size(); ++i)
                row.fields.emplace_back(caption(centerid::kColumns[i].caption), texts[i]);
            return row;
        });
    case Table::Wol:
        return rowsOf(b.wol, b.wolCount, [](const WolEntry& e) {
            const Json fields = wolFields(e);
            const std::string name = fields["name"].get<std::string>();
            const std::string mac = fields["mac"].get<std::string>();
            // Two targets may share a name; the MAC tells them apart.
            return Row{compact(fields), name + " (" + mac + ")", {}, {}, {}};
        });
    case Table::BlockIps:
        return rowsOf(b.blockIps, b.blockIpCount, [cp](const BlockIpSlot& s) {
            const std::string address = blockIpFields(s, cp).get<std::string>();
            return Row{address, address, {}, {}, {}};
        });
    case Table::Schedule:
        return rowsOf(b.schedule, b.scheduleCount, [cp](const ScheduleEntry& e) {
            Json fields = scheduleFields(e, cp);
            fields.erase("seq"); // the appliance numbers its schedules itself
            return Row{compact(fields), scheduleLabel(e, cp), {}, {}, {}};
        });
    case Table::AutoUpdate: {
        const bool on = autoUpdateFields(b.autoUpdate)["on"].get<bool>();
        return {Row{"",
                    "",
                    {{"", caption(on ? StringId::AutoUpdateOn : StringId::AutoUpdateOff)}},
                    {},
                    {on ? uint8_t{1} : uint8_t{0}}}};
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

// The pairs (before, after) that keep their order: the longest run of pairs whose places
// before rise with their places after. Every other pair moved; rows that only slid up or down
// because another was added or removed did not.
std::vector<bool> keptOrder(const std::vector<std::pair<size_t, size_t>>& pairs) {
    // pairs are sorted by their place after; tails[k]: the pair ending the best run of k+1.
    std::vector<size_t> tails, previous(pairs.size(), pairs.size());
    for (size_t i = 0; i < pairs.size(); ++i) {
        const auto at = std::lower_bound(tails.begin(), tails.end(), pairs[i].first,
                                         [&](size_t t, size_t b) { return pairs[t].first < b; });
        if (at != tails.begin())
            previous[i] = *(at - 1);
        if (at == tails.end())
            tails.push_back(i);
        else
            *at = i;
    }
    std::vector<bool> kept(pairs.size(), false);
    for (size_t i = tails.empty() ? pairs.size() : tails.back(); i < pairs.size(); i = previous[i])
        kept[i] = true;
    return kept;
}

std::string path(const TablePreview& preview, const std::string& row, const std::string& column) {
    std::string text = tableTitle(preview.table);
    for (const std::string* part : {&row, &column})
        if (!part->empty())
            text += " / " + *part;
    return text;
}

} // namespace

TablePreview previewTable(Table table, const Backup& now, const Backup& restored) {
    TablePreview preview{table, tableBytesDiffer(table, now, restored), {}, 0};
    // Both sides read in the appliance's code page as this client shows it: the restore writes
    // the backup's bytes, and the page will show them so. A backup taken under another locale
    // then pairs and compares by its bytes, not by how its own locale spelled them.
    const std::vector<Row> before = rowsOf(table, now, now.codePage);
    const std::vector<Row> after = rowsOf(table, restored, now.codePage);
    // Rows with the same key are paired in their order: the second "PC" now with the second
    // "PC" in the backup.
    std::multimap<std::string, size_t> unmatched;
    for (size_t i = 0; i < before.size(); ++i)
        unmatched.emplace(before[i].key, i);
    std::vector<std::pair<size_t, size_t>> pairs;
    std::vector<RowChange> added, changed, moved;
    for (size_t i = 0; i < after.size(); ++i) {
        const Row& row = after[i];
        const auto it = unmatched.find(row.key);
        if (it == unmatched.end()) {
            RowChange change{RowChange::Kind::Added, row.label, {}};
            for (const auto& [column, value] : row.fields)
                change.fields.push_back({column, {}, value});
            added.push_back(std::move(change));
            continue;
        }
        pairs.emplace_back(it->second, i);
        unmatched.erase(it);
    }
    const std::vector<bool> kept = keptOrder(pairs);
    for (size_t p = 0; p < pairs.size(); ++p) {
        const Row& was = before[pairs[p].first];
        const Row& will = after[pairs[p].second];
        if (!kept[p])
            moved.push_back({RowChange::Kind::Moved,
                             will.label,
                             {},
                             static_cast<int>(pairs[p].first) + 1,
                             static_cast<int>(pairs[p].second) + 1});
        RowChange change{RowChange::Kind::Changed, will.label, {}};
        for (size_t f = 0; f < will.fields.size() && f < was.fields.size(); ++f)
            if (was.fields[f].second != will.fields[f].second)
                change.fields.push_back(
                    {will.fields[f].first, was.fields[f].second, will.fields[f].second});
        if (was.secret != will.secret)
            change.fields.push_back({caption(StringId::ColumnPassword), {}, {}, true});
        if (!change.fields.empty())
            changed.push_back(std::move(change));
        else if (was.bytes != will.bytes)
            ++preview.otherBytesRows;
    }
    std::set<size_t> left;
    for (const auto& entry : unmatched)
        left.insert(entry.second);
    for (const size_t i : left)
        preview.rows.push_back({RowChange::Kind::Removed, before[i].label, {}});
    for (std::vector<RowChange>* part : {&changed, &moved, &added})
        preview.rows.insert(preview.rows.end(), part->begin(), part->end());
    return preview;
}

std::vector<std::string> previewLines(const TablePreview& preview) {
    const std::string title = tableTitle(preview.table);
    if (!preview.differs)
        return {qv::format({StringId::PreviewUnchanged, {title}})};
    if (preview.rows.empty() && preview.otherBytesRows == 0)
        return {qv::format({StringId::PreviewOtherBytes, {title}})};
    const auto count = [&](RowChange::Kind kind) {
        return std::to_string(std::count_if(preview.rows.begin(), preview.rows.end(),
                                            [kind](const RowChange& r) { return r.kind == kind; }));
    };
    std::vector<std::string> lines{
        qv::format({StringId::PreviewSummary,
                    {title, count(RowChange::Kind::Added), count(RowChange::Kind::Removed),
                     count(RowChange::Kind::Changed), count(RowChange::Kind::Moved)}})};
    for (const RowChange& row : preview.rows) {
        switch (row.kind) {
        case RowChange::Kind::Added: {
            std::string fields;
            for (const FieldChange& field : row.fields)
                fields += (fields.empty() ? " (" : ", ") + field.column + ": " + field.after;
            lines.push_back("  + " + path(preview, row.row, {}) + fields +
                            (fields.empty() ? "" : ")"));
            break;
        }
        case RowChange::Kind::Removed:
            lines.push_back("  - " + path(preview, row.row, {}));
            break;
        case RowChange::Kind::Changed:
            for (const FieldChange& field : row.fields)
                lines.push_back("  ~ " + path(preview, row.row, field.column) + ": " +
                                (field.hidden ? qv::format({StringId::PreviewPasswordChanged, {}})
                                              : field.before + " -> " + field.after));
            break;
        case RowChange::Kind::Moved:
            lines.push_back("  > " + path(preview, row.row, {}) + ": " +
                            qv::format({StringId::PreviewRowMoved,
                                        {std::to_string(row.from), std::to_string(row.to)}}));
            break;
        }
    }
    if (preview.otherBytesRows > 0)
        lines.push_back("  ~ " + qv::format({StringId::PreviewOtherBytesRows,
                                             {title, std::to_string(preview.otherBytesRows)}}));
    return lines;
}

Json previewJson(const TablePreview& preview) {
    static constexpr const char* kKinds[] = {"added", "removed", "changed", "moved"};
    Json table{{"table", std::string(tableName(preview.table))},
               {"title", tableTitle(preview.table)},
               {"differs", preview.differs}};
    for (const char* kind : kKinds)
        table[kind] = Json::array();
    for (const RowChange& row : preview.rows) {
        Json entry{{"row", row.row}};
        if (row.kind == RowChange::Kind::Moved) {
            entry["from"] = row.from;
            entry["to"] = row.to;
        }
        if (row.kind == RowChange::Kind::Added || row.kind == RowChange::Kind::Changed) {
            Json fields = Json::array();
            for (const FieldChange& field : row.fields) {
                Json f{{"column", field.column}};
                if (field.hidden)
                    f["hidden"] = true;
                else if (row.kind == RowChange::Kind::Added)
                    f["value"] = field.after;
                else
                    f["old"] = field.before, f["new"] = field.after;
                fields.push_back(std::move(f));
            }
            entry["fields"] = std::move(fields);
        }
        table[kKinds[static_cast<size_t>(row.kind)]].push_back(std::move(entry));
    }
    table["otherBytesRows"] = preview.otherBytesRows;
    return table;
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
