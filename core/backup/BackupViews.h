#pragma once

// The readable side of a backup: each record and table entry decoded into named fields, texts
// in UTF-8. The file keeps these beside the bytes for people to read and diff; the reader
// rebuilds them from the bytes and refuses a file whose two sides disagree; the restore preview
// lists rows by them.

#include "link/Records.h"

#include <nlohmann/json.hpp>

namespace qv::backup {

// Keeps the fields in the order written, so a file reads like the pages.
using Json = nlohmann::ordered_json;

// Texts in the system's ANSI code page are decoded with `codePage`.
Json recordFields(const NetworkConfigRecord& record, int codePage);
Json centerIdFields(const CenterIdEntry& entry, int codePage);
Json wolFields(const WolEntry& entry);
Json blockIpFields(const BlockIpSlot& slot, int codePage);
Json scheduleFields(const ScheduleEntry& entry, int codePage);
Json ioDeviceFields(const IoListEntry& entry, int codePage);
Json autoUpdateFields(int32_t value);

// The first `count` entries of `table`, each through `fields`.
template <class Table, class Fields>
Json entriesOf(const Table& table, int32_t count, Fields fields) {
    Json list = Json::array();
    for (int32_t i = 0; i < count; ++i)
        list.push_back(fields(table.entry(static_cast<size_t>(i))));
    return list;
}

} // namespace qv::backup
