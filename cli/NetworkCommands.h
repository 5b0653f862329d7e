#pragma once

#include "cli/Registry.h"

namespace qvctl {

// qvctl network set: the network page's Save & Reboot (NetworkCommands.cpp); `network` alone
// reads the settings (ProductCommands.cpp).
int runNetworkSet(CommandContext& context);
// The usage of `network` with its `set` form, for the help text.
const char* networkUsage();

} // namespace qvctl
