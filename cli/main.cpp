// qvctl: the appliance's settings from the command line, for people and for scripts.

#include "cli/CommandLine.h"
#include "cli/ExitCodes.h"
#include "cli/Registry.h"
#include "cli/Report.h"
#include "cli/Terminal.h"

#include <iostream>

int main(int argc, char** argv) {
    int exitCode = qvctl::kExitOk;
    const auto line =
        qvctl::readCommandLine(qvctl::utf8Arguments(argc, argv), std::cout, std::cerr, exitCode);
    if (!line)
        return exitCode;
    qvctl::escapeControlCharacters(!line->options.json);
    qvctl::CommandContext context(line->options, std::cout, std::cerr);
    return line->run(context);
}
