#pragma once

// What a backup holds: every table the appliance lets a client read and write, as the exact
// bytes the appliance sent, plus the product summary and the IO device list for information.
// No Qt here: qvctl and the window share it.

#include "link/Records.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qv::backup {

// The tables a restore can write, in the order it writes them. The network settings go last:
// Save & Reboot ends the link.
enum class Table { CenterIds, Wol, BlockIps, Schedule, AutoUpdate, Network };
inline constexpr std::array<Table, 6> kAllTables{Table::CenterIds,  Table::Wol,
                                                 Table::BlockIps,   Table::Schedule,
                                                 Table::AutoUpdate, Table::Network};

// The table's name on the command line and in the file: "centerids", "wol", "blockips",
// "schedule", "autoupdate", "network".
std::string_view tableName(Table table);
std::optional<Table> tableNamed(std::string_view name);

struct Backup {
    // The code page the file's readable texts were decoded with (the bytes are what counts).
    int codePage = 0;
    // When and from where, for the administrator's eyes only.
    std::string writtenAt;
    std::string appliance;

    // For information: the product summary and the IO devices are never written back.
    NetworkConfigRecord summary;
    int32_t ioDeviceCount = 0;
    IoListTable ioDevices;

    NetworkConfigRecord network;
    int32_t centerIdCount = 0;
    CenterIdTable centerIds;
    int32_t wolCount = 0;
    WolTable wol;
    int32_t blockIpCount = 0;
    BlockIpTable blockIps;
    int32_t scheduleCount = 0;
    ScheduleTable schedule;
    // The appliance's automatic-update value as read: 1 switched off, anything else on.
    int32_t autoUpdate = 0;
};

} // namespace qv::backup
