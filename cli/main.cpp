// qvctl: the appliance's settings from the command line, for people and for scripts.

#include "cli/CommandLine.h"
#include "cli/ExitCodes.h"
#include "cli/InventoryCommand.h"
#include "cli/Registry.h"
#include "cli/Report.h"
#include "cli/Terminal.h"
#include "link/CodePage.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    int exitCode = qvctl::kExitOk;
    const std::vector<std::string> arguments = qvctl::utf8Arguments(argc, argv);
    const auto line = qvctl::readCommandLine(arguments, std::cout, std::cerr, exitCode);
    if (!line)
        return exitCode;
    qvctl::escapeControlCharacters(!line->options.json);
    // An appliance of the address book has its texts in the code page its entry names.
    qv::setApplianceCodePage(line->options.codePage);
    if (qvctl::wantsInventory(line->options))
        return qvctl::runOnInventory(arguments, line->options, std::cout, std::cerr);
    qvctl::CommandContext context(line->options, std::cout, std::cerr);
    return line->run(context);
}
