#pragma once

#include "cli/Registry.h"
#include "core/backup/Backup.h"

namespace qvctl {

// Reads everything a backup holds from the logged-on appliance into `into`: the product
// summary, the network record, every table and the automatic-update value, each fetched fresh.
// Returns an exit code, the message already on standard error.
int readAppliance(CommandContext& context, qv::backup::Backup& into);

} // namespace qvctl
