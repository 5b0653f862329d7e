#include "cli/InventoryCommand.h"

#include "cli/ExitCodes.h"
#include "cli/Inventory.h"
#include "cli/Parallel.h"
#include "cli/Registry.h"
#include "link/CodePage.h"

#include <algorithm>
#include <iostream>
#include <sstream>

namespace qvctl {

bool wantsInventory(const Options& options) {
    return !options.inventory.empty() || options.group.has_value();
}

int runOnInventory(const std::vector<std::string>& arguments, const Options& options,
                   std::ostream& out, std::ostream& err) {
    qv::Message error;
    const auto fleet = loadInventory(options.inventory, options.group, error);
    if (!fleet) {
        err << "qvctl: " << qv::format(error) << "\n";
        return kExitUsage;
    }
    // The command's own words: what follows its name on the line.
    const auto name = std::find(arguments.begin() + (arguments.empty() ? 0 : 1), arguments.end(),
                                options.command);
    const std::vector<std::string> words(name == arguments.end() ? name : name + 1,
                                         arguments.end());
    auto refusal = checkInventoryCommand(options.command, words);
    if (!refusal && (options.command == "backup" || options.command == "restore"))
        refusal = checkFileNames(*fleet);
    if (refusal) {
        err << "qvctl " << options.command << ": " << qv::format(*refusal) << "\n";
        return kExitUsage;
    }
    const ApplianceJob job = [&](const InventoryEntry& appliance, std::ostream& own) -> int {
        std::vector<std::string> line(arguments.begin(), name == arguments.end() ? name : name + 1);
        for (auto& word : argumentsFor(options.command, words, appliance))
            line.push_back(std::move(word));
        int status = kExitOk;
        auto read = readCommandLine(line, own, std::cerr, status);
        if (!read)
            return status;
        Options& mine = read->options;
        mine.server = appliance.address;
        if (!appliance.adminId.empty())
            mine.user = appliance.adminId;
        // --password-file serves every appliance; else QVCTL_PASSWORD or the keyring.
        if (mine.passwordFile.empty()) {
            qv::Message missing;
            mine.password = passwordFor(appliance, missing);
            if (!mine.password) {
                std::cerr << "qvctl: " << qv::format(missing) << "\n";
                return kExitUsage;
            }
        }
        const qv::ApplianceCodePageScope codePage(appliance.codePage);
        CommandContext context(mine, own, std::cerr);
        return read->run(context);
    };
    return runOverInventory(*fleet, options.parallel, options.json, job, out, err);
}

} // namespace qvctl
