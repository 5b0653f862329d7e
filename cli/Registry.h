#pragma once

#include "cli/CommandLine.h"
#include "cli/Report.h"
#include "cli/Session.h"

#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace qvctl {

// What a command gets: the connection options, a way to log on, and the streams it writes to.
// A command checks its arguments first, then logs on, then asks and prints. Nothing in it
// writes to the process's own streams, so several may run at once, each with streams of its own.
class CommandContext {
public:
    CommandContext(const Options& options, std::ostream& out, std::ostream& err);
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
    // Messages: refusals, failures, questions.
    std::ostream& err() { return m_err; }

private:
    const Options& m_options;
    std::ostream& m_out;
    std::ostream& m_err;
    std::unique_ptr<ApplianceSession> m_session;
};

// A command ready to run: its operands and options already read from the line. It returns the
// exit code.
using CommandRun = std::function<int(CommandContext& context)>;

// Declares a command's operands and options on its part of the command line (their names,
// types, bounds and help texts) and returns the run that uses the values the line gives them.
using CommandDefinition = CommandRun (*)(CLI::App& command);

struct CommandEntry {
    std::string name;    // the word on the command line
    std::string usage;   // its arguments, for the help text ("[DEVICE-ID]")
    std::string summary; // one line for the help text
    CommandDefinition define;
};

// Adds a command; called from the static registration below, once per command.
bool registerCommand(CommandEntry entry);
const CommandEntry* findCommand(const std::string& name);
// Every command, by name.
std::vector<CommandEntry> allCommands();

} // namespace qvctl

// Registers a command from its own source file, in one line:
//   QVCTL_COMMAND(defineSummary, "summary", "", "product summary: versions, MAC, DDNS, limits");
#define QVCTL_COMMAND(definition, name, usage, summary)                                            \
    [[maybe_unused]] static const bool qvctlRegistered_##definition =                              \
        ::qvctl::registerCommand({name, usage, summary, definition})

namespace qvctl {

// The definition of a command that takes no operands and no options of its own.
template <int (*Run)(CommandContext&)> CommandRun plainCommand(CLI::App&) {
    return Run;
}

} // namespace qvctl

// Registers a command that takes nothing but the options of every command.
#define QVCTL_PLAIN_COMMAND(run, name, usage, summary)                                             \
    [[maybe_unused]] static const bool qvctlRegistered_##run =                                     \
        ::qvctl::registerCommand({name, usage, summary, &::qvctl::plainCommand<run>})
