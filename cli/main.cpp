// qvctl: the appliance's settings from the command line, for people and for scripts.

#include "cli/CommandLine.h"
#include "cli/ExitCodes.h"
#include "cli/Registry.h"
#include "cli/Report.h"
#include "cli/Terminal.h"

#include <iostream>
#include <string>
#include <vector>

namespace {

const char* const kHelpHead = R"(Usage: qvctl [OPTIONS] COMMAND [ARGUMENTS]

Reads and changes the settings of a Quorvel MY appliance (or of qvsim) over its administration
port.

Options (anywhere on the line):
  --server HOST[:PORT]    the appliance: host name or dotted address, port 12300 when none is
                          given (default 127.0.0.1)
  --user ID               administrator ID (default admin)
  --password-file FILE    read the password from the first line of FILE
  --json                  print JSON for scripts instead of tables
  --timeout SECONDS       how long to wait for the connection and for each answer, and
                          for a send that makes no progress (default 10)
  --help                  show this text; after a command, that command's usage

The password is never taken from the command line. It comes from --password-file when given,
else from the environment variable QVCTL_PASSWORD when set, else from a prompt without echo
when standard input is a terminal.

Commands:
)";

const char* const kHelpTail = R"(
Texts are printed in UTF-8. Texts the appliance keeps in the Windows code page of the
administrator's language (949 for Korean, 1252 otherwise; QVSETTING_CODEPAGE overrides) are
converted; the company name and the Wake-on-LAN names are UTF-8 already.

Questions (before a reboot, a firmware update, a restore) read the answer from standard input,
a terminal or a pipe; only y or yes goes on, and --yes answers for them. Control characters in
texts from the appliance or from a file are shown as \x1b and the like.

Exit status:
  0  success
  1  a question was answered No (or standard input ended): nothing was sent
  2  usage error (bad option or argument, no password, unreadable password file)
  3  the appliance could not be reached
  4  logon refused (wrong administrator ID or password)
  5  the link was lost, or no answer came (or nothing could be sent) within the time-out
  6  the appliance refused a change
  7  the change was taken, but reading it back shows another administrator's change
)";

void printHelp() {
    std::cout << kHelpHead;
    // Summaries start in one column; a command whose usage is longer puts its summary on the
    // next line.
    constexpr size_t kSummaryColumn = 24;
    for (const auto& command : qvctl::allCommands()) {
        // Alternatives of a usage ("add ... | del ID") are shown one a line.
        std::string head = "  " + command.name;
        std::string usage = command.usage;
        for (size_t bar; (bar = usage.find(" | ")) != std::string::npos;) {
            head += " " + usage.substr(0, bar) + "\n  " + command.name;
            usage.erase(0, bar + 3);
        }
        if (!usage.empty())
            head += " " + usage;
        const size_t lastLine = head.size() - (head.rfind('\n') + 1);
        if (head.find('\n') != std::string::npos || lastLine + 2 > kSummaryColumn)
            head += "\n" + std::string(kSummaryColumn, ' ');
        else
            head.append(kSummaryColumn - lastLine, ' ');
        std::cout << head << command.summary << "\n";
    }
    std::cout << kHelpTail;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments = qvctl::utf8Arguments(argc, argv);
    std::vector<const char*> argumentTexts;
    for (const auto& argument : arguments)
        argumentTexts.push_back(argument.c_str());
    qvctl::Options options;
    std::string error;
    if (!qvctl::parseCommandLine(static_cast<int>(argumentTexts.size()), argumentTexts.data(),
                                 options, error)) {
        std::cerr << "qvctl: " << error << "\nTry 'qvctl --help'.\n";
        return qvctl::kExitUsage;
    }
    qvctl::escapeControlCharacters(!options.json);
    if (options.command.empty()) {
        if (options.help) {
            printHelp();
            return qvctl::kExitOk;
        }
        std::cerr << "qvctl: no command given\nTry 'qvctl --help'.\n";
        return qvctl::kExitUsage;
    }
    const qvctl::CommandEntry* command = qvctl::findCommand(options.command);
    if (command == nullptr) {
        std::cerr << "qvctl: unknown command " << options.command << "\nTry 'qvctl --help'.\n";
        return qvctl::kExitUsage;
    }
    if (options.help) {
        std::cout << "Usage: qvctl [OPTIONS] " << command->name
                  << (command->usage.empty() ? "" : " ") << command->usage << "\n\n"
                  << command->summary << "\n";
        return qvctl::kExitOk;
    }
    qvctl::CommandContext context(options, std::cout);
    return command->run(context);
}
