#pragma once

// What a restore offers, table by table, before anything is written: the preview lines, whether
// the table differs from the appliance's, and why it cannot be restored when it does not fit.
// qvctl prints these for the tables named on its command line; the window shows one check box
// per table with them.

#include "core/backup/Backup.h"
#include "core/backup/NetworkRestore.h"
#include "core/backup/RestoreLimits.h"
#include "core/backup/RestorePreview.h"
#include "res/Message.h"

#include <optional>
#include <string>
#include <vector>

namespace qv::backup {

struct TableChoice {
    Table table{};
    // The preview, in the user-interface language; passwords shown nowhere.
    std::vector<std::string> lines;
    // Restoring the table would change the appliance.
    bool differs = false;
    // Set when the table differs but does not fit the appliance's limits: it cannot be restored.
    std::optional<Message> refusal;
    // The same as data for qvctl's --json: the rows of a table, the lines of the network
    // settings, the refusal's text.
    Json json;
};

// Every table of kAllTables in order: `now` is what the appliance holds, `restored` the backup,
// `network` the plan for the network settings.
std::vector<TableChoice> restoreChoices(const Backup& now, const Backup& restored,
                                        const TargetLimits& limits, const NetworkRestore& network);

} // namespace qv::backup
