#pragma once

#include "cli/Registry.h"

namespace qvctl {

// qvctl network without an action reads the settings (ProductCommands.cpp); network set is the
// network page's Save & Reboot (NetworkCommands.cpp).
int runNetworkRead(CommandContext& context);

} // namespace qvctl
