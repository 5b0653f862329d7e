#pragma once

#include "cli/CommandLine.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace qvctl {

// Whether the command line names an inventory (--inventory or --group).
bool wantsInventory(const Options& options);

// Runs the command of `arguments` (the whole command line, read once already into `options`)
// on every appliance of the inventory, each with the line read again for it: its address, its
// administrator ID and password, its own backup file. Returns the run's exit status.
int runOnInventory(const std::vector<std::string>& arguments, const Options& options,
                   std::ostream& out, std::ostream& err);

} // namespace qvctl
