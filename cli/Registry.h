#pragma once

#include "cli/CommandLine.h"
#include "cli/Report.h"
#include "cli/Session.h"

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

namespace qvctl {

// What a command gets: the options (its own arguments in options.args), a way to log on, and
// the output. A command checks its arguments first, then logs on, then asks and prints.
class CommandContext {
public:
    CommandContext(const Options& options, std::ostream& out);
    ~CommandContext();

    const Options& options() const { return m_options; }
    // Connects and logs on (once); returns an exit code, the message already on stderr.
    int logOn();
    // The logged-on session; valid after logOn() returned kExitOk.
    ApplianceSession& session() { return *m_session; }
    // Prints a report as a table, or as JSON with --json.
    void print(const Report& report);
    // A usage error of this command: message on stderr, returns kExitUsage.
    int usageError(const std::string& message);
    std::ostream& out() { return m_out; }

private:
    const Options& m_options;
    std::ostream& m_out;
    std::unique_ptr<ApplianceSession> m_session;
};

using CommandFunction = int (*)(CommandContext& context);

struct CommandEntry {
    std::string name;    // the word on the command line
    std::string usage;   // its arguments, for the help text ("[DEVICE-ID]")
    std::string summary; // one line for the help text
    CommandFunction run;
};

// Adds a command; called from the static registration below, once per command.
bool registerCommand(CommandEntry entry);
const CommandEntry* findCommand(const std::string& name);
// Every command, by name.
std::vector<CommandEntry> allCommands();

} // namespace qvctl

// Registers a command from its own source file, in one line:
//   QVCTL_COMMAND(runSummary, "summary", "", "product summary: versions, MAC, DDNS, limits");
#define QVCTL_COMMAND(function, name, usage, summary)                                              \
    [[maybe_unused]] static const bool qvctlRegistered_##function =                                \
        ::qvctl::registerCommand({name, usage, summary, function})
