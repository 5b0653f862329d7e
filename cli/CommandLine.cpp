#include "cli/CommandLine.h"

#include "cli/ExitCodes.h"
#include "cli/Registry.h"
#include "cli/Terminal.h"
#include "core/appliances/ApplianceBook.h"
#include "core/appliances/Keyring.h"
#include "link/Commands.h"
#include "link/RegularFile.h"
#include "link/SocketIo.h"
#include "res/Message.h"
#include "res/StringTable.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <map>
#include <optional>
#include <sstream>

#include <CLI/CLI.hpp>

namespace qvctl {
namespace {

using qv::StringId;

// A password file is one line of at most 63 bytes; room is left for a line end and blanks.
constexpr size_t kMaxSecretFileBytes = 256;

void stripLineEnd(std::string& text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
}

bool promptWithoutEcho(const std::string& prompt, std::string& password) {
    std::cerr << prompt << std::flush;
    const bool read = readLineWithoutEcho(password);
    std::cerr << "\n";
    return read;
}

} // namespace

std::optional<std::string> readSecret(const std::string& file, const char* variable,
                                      const std::string& prompt, bool mayPrompt,
                                      std::string& error) {
    error.clear();
    if (!file.empty()) {
        // A password file holds one short line; a pipe or a device is refused, not waited on,
        // and a file larger than the bound is refused, not read into memory.
        const qv::FileBytes read = qv::readRegularFile(file, kMaxSecretFileBytes);
        if (read.status != qv::FileReadStatus::Ok) {
            const StringId id =
                read.status == qv::FileReadStatus::NotRegular ? StringId::NotRegularFile
                : read.status == qv::FileReadStatus::TooLarge ? StringId::CliPasswordFileTooLarge
                                                              : StringId::CliPasswordFileUnreadable;
            error = qv::format(qv::uiString(id), {file});
            return std::nullopt;
        }
        std::string secret = read.bytes.substr(0, read.bytes.find('\n'));
        stripLineEnd(secret);
        return secret;
    }
    if (variable != nullptr)
        if (auto fromEnvironment = environmentText(variable))
            return fromEnvironment;
    if (!mayPrompt || !inputIsTerminal())
        return std::nullopt;
    std::string secret;
    if (promptWithoutEcho(prompt, secret))
        return secret;
    error = "no password was typed";
    return std::nullopt;
}

namespace {

const char* const kHelpHead = R"(Usage: qvctl [OPTIONS] COMMAND [ARGUMENTS]

Reads and changes the settings of a Quorvel MY appliance (or of qvsim) over its administration
port.

Options (anywhere on the line):
)";

const char* const kPasswordHelp = R"(
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

// Summaries and option texts start in one column; a longer head puts its text on the next line.
constexpr size_t kTextColumn = 24;

// Option texts are broken into lines of at most this many columns.
constexpr size_t kLineWidth = 95;

void putInColumn(std::string& head, const std::string& text, std::ostream& out, bool wrap = false) {
    const size_t lastLine = head.size() - (head.rfind('\n') + 1);
    if (head.find('\n') != std::string::npos || lastLine + 2 > kTextColumn)
        head += "\n" + std::string(kTextColumn, ' ');
    else
        head.append(kTextColumn - lastLine, ' ');
    out << head;
    if (!wrap) {
        out << text << "\n";
        return;
    }
    std::istringstream words(text);
    size_t column = kTextColumn;
    bool first = true;
    for (std::string word; words >> word; first = false) {
        if (!first && column + 1 + word.size() > kLineWidth) {
            out << "\n" << std::string(kTextColumn, ' ');
            column = kTextColumn;
        } else if (!first) {
            out << ' ';
            ++column;
        }
        out << word;
        column += word.size();
    }
    out << "\n";
}

// The options of `app` (a command's own, or those of every command), one a line, with the name
// of their value and their text as they were declared.
void printOptions(const CLI::App& app, std::ostream& out) {
    for (const CLI::Option* option : app.get_options()) {
        if (option->get_group().empty() || option->get_positional())
            continue;
        // A flag and its negation ("--super-user, --no-super-user") are named together.
        std::string names =
            option == app.get_help_ptr() ? option->get_name() : option->get_name(false, true);
        for (size_t comma; (comma = names.find(',')) != std::string::npos;)
            names.replace(comma, 1, "|");
        // The value a negation stands for ("{false}") is no part of its name.
        for (size_t brace; (brace = names.find('{')) != std::string::npos;)
            names.erase(brace, names.find('}', brace) - brace + 1);
        std::string head = "  " + names;
        if (!option->get_type_name().empty() && option->get_expected_min() > 0)
            head += " " + option->get_type_name();
        putInColumn(head, option->get_description(), out, true);
    }
}

void printHelp(const CLI::App& app, std::ostream& out) {
    out << kHelpHead;
    printOptions(app, out);
    out << kPasswordHelp;
    for (const auto& command : allCommands()) {
        // Alternatives of a usage ("add ... | del ID") are shown one a line.
        std::string head = "  " + command.name;
        std::string usage = command.usage;
        for (size_t bar; (bar = usage.find(" | ")) != std::string::npos;) {
            head += " " + usage.substr(0, bar) + "\n  " + command.name;
            usage.erase(0, bar + 3);
        }
        if (!usage.empty())
            head += " " + usage;
        putInColumn(head, command.summary, out);
    }
    out << kHelpTail;
}

void printCommandHelp(const CLI::App& command, const CommandEntry& entry, std::ostream& out) {
    out << "Usage: qvctl [OPTIONS] " << entry.name << (entry.usage.empty() ? "" : " ")
        << entry.usage << "\n\n"
        << entry.summary << "\n";
    std::ostringstream options;
    printOptions(command, options);
    if (!options.str().empty())
        out << "\nOptions:\n" << options.str();
}

// A whole number from `min` to `max`; `words` says what is wanted when the value is not one.
CLI::Validator wholeNumberFrom(long min, long max, std::string words) {
    return CLI::Validator(
        [min, max, words](std::string& text) {
            char* end = nullptr;
            const long value = std::strtol(text.c_str(), &end, 10);
            if (text.empty() || *end != '\0' || value < min || value > max)
                return words;
            return std::string();
        },
        // No description: the help shows the option's own value name.
        std::string());
}

// A parse failure in this program's words: what was not expected is named as an option or an
// argument (or, before any command, as a command).
std::string failureText(const CLI::App& app, const CLI::ParseError& failure, bool inCommand) {
    if (dynamic_cast<const CLI::ExtrasError*>(&failure) != nullptr) {
        const std::vector<std::string> extras = app.remaining(true);
        if (!extras.empty()) {
            const std::string& first = extras.front();
            if (first.size() > 1 && first[0] == '-')
                return "unknown option '" + first + "'";
            return inCommand ? "unexpected argument '" + first + "'" : "unknown command " + first;
        }
    }
    // A value refused by its check reads "--timeout needs seconds from 1 to 3600".
    std::string text = failure.what();
    if (dynamic_cast<const CLI::ArgumentMismatch*>(&failure) != nullptr &&
        text.find("missing") != std::string::npos && text.rfind("--", 0) == 0)
        return "option " + text.substr(0, text.find(':')) + " needs a value";
    if (dynamic_cast<const CLI::ValidationError*>(&failure) != nullptr && text.rfind("--", 0) == 0)
        if (const size_t colon = text.find(": "); colon != std::string::npos)
            text.replace(colon, 2, " ");
    return text;
}

// --appliance NAME: the server, ID and code page of the book's entry, where the line gives none.
bool takeFromBook(const std::string& name, bool serverGiven, bool userGiven, Options& options,
                  std::ostream& err) {
    std::optional<qv::Message> why;
    const std::optional<std::string> path = qv::appliances::defaultBookPath(&why);
    qv::appliances::LoadResult loaded;
    if (path)
        loaded = qv::appliances::loadBook(*path);
    else
        loaded.error = why;
    const qv::appliances::Appliance* entry = loaded.ok() ? loaded.book->find(name) : nullptr;
    if (!entry) {
        const qv::Message message =
            loaded.ok() ? qv::Message{StringId::ApplianceNotFound, {name}} : *loaded.error;
        err << "qvctl: " << qv::format(message) << "\n";
        return false;
    }
    if (!serverGiven)
        options.server = entry->address;
    if (!userGiven && !entry->adminId.empty())
        options.user = entry->adminId;
    options.applianceName = entry->name;
    options.codePage = qv::appliances::effectiveCodePage(*entry);
    return true;
}

} // namespace

CLI::Validator wholeNumberOption(long min, long max, const std::string& words) {
    return wholeNumberFrom(min, max, words);
}

void addOperands(CLI::App& command, std::vector<std::string>& operands, const std::string& name) {
    command.add_option(name, operands)
        ->type_name(name)
        ->group("")
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
}

std::optional<CommandLine> readCommandLine(const std::vector<std::string>& arguments,
                                           std::ostream& out, std::ostream& err, int& exitCode) {
    CommandLine line;
    Options& options = line.options;
    CLI::App app("qvctl", "qvctl");
    // The help texts are this program's own; the options of every command pass from a command
    // up to here, so they may stand anywhere; a word after a command is its operand, never a
    // second command.
    app.set_help_flag("--help,-h", "show this text; after a command, that command's usage");
    app.fallthrough();
    // A file is named "/tmp/x.zip" on every platform: a leading slash is never an option, on
    // Windows either (CLI11 would read "/tmp" there as a Windows-style option).
    app.allow_windows_style_options(false);
    app.require_subcommand(0, 1);
    // An option given twice takes its last value, as a later word corrects an earlier one.
    app.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app.add_option("--server", options.server,
                   "the appliance: host name or dotted address, port 12300 when none is given "
                   "(default 127.0.0.1)")
        ->type_name("HOST[:PORT]")
        ->check(CLI::Validator(
            [](std::string& text) {
                qv::ServerAddress address;
                return qv::parseServerAddress(text, qv::kDefaultPort, address)
                           ? std::string()
                           : std::string("needs HOST or HOST:PORT with a port from 1 to 65535");
            },
            std::string()));
    // The logon request has room for 31 bytes of ID and its terminator.
    app.add_option("--user", options.user, "administrator ID (default admin)")
        ->type_name("ID")
        ->check(CLI::Validator(
            [](std::string& text) {
                return text.size() > kMaxUserBytes ? std::string("takes at most 31 bytes")
                                                   : std::string();
            },
            std::string()));
    app.add_option("--password-file", options.passwordFile,
                   "read the password from the first line of FILE")
        ->type_name("FILE");
    app.add_flag("--json", options.json, "print JSON for scripts instead of tables");
    int timeout = static_cast<int>(options.timeout.count());
    app.add_option("--timeout", timeout,
                   "how long to wait for the connection and for each answer, and for a send that "
                   "makes no progress (default 10)")
        ->type_name("SECONDS")
        ->check(wholeNumberFrom(1, 3600, "needs seconds from 1 to 3600"));
    std::string appliance;
    app.add_option("--appliance", appliance,
                   "the appliance of the address book called NAME: its address, administrator "
                   "ID, code page and saved password (--server, --user and QVCTL_PASSWORD win)")
        ->type_name("NAME");
    app.add_flag("--save-password", options.savePassword,
                 "keep the password in the desktop keyring, for the appliance of the address "
                 "book");
    app.add_option("--inventory", options.inventory,
                   "run the command on every appliance of FILE: an address book, or a plain list "
                   "of NAME HOST:PORT lines")
        ->type_name("FILE");
    app.add_option("--group", options.group,
                   "run the command on the appliances of the address book's group G")
        ->type_name("G");
    int parallel = static_cast<int>(options.parallel);
    app.add_option("--parallel", parallel,
                   "with --inventory or --group: at most N appliances at once (default 8)")
        ->type_name("N")
        ->check(wholeNumberFrom(1, 256, "needs a number from 1 to 256"));
    // Taken only to be refused: a password on the command line is visible to every user.
    CLI::Option* password = app.add_option("--password")->expected(0, 1)->group("");

    std::vector<std::pair<CLI::App*, CommandEntry>> commands;
    for (const CommandEntry& entry : allCommands()) {
        CLI::App* command = app.add_subcommand(entry.name, entry.summary);
        commands.emplace_back(command, entry);
    }
    std::map<std::string, CommandRun> runs;
    for (auto& [command, entry] : commands)
        runs[entry.name] = entry.define(*command);

    const auto selected = [&]() -> const std::pair<CLI::App*, CommandEntry>* {
        for (const auto& pair : commands)
            if (pair.first->parsed())
                return &pair;
        return nullptr;
    };
    std::vector<std::string> reversed(arguments.rbegin(), arguments.rend());
    if (!reversed.empty())
        reversed.pop_back(); // the program's name
    try {
        app.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        if (const auto* command = selected())
            printCommandHelp(*command->first, command->second, out);
        else
            printHelp(app, out);
        exitCode = kExitOk;
        return std::nullopt;
    } catch (const CLI::ParseError& failure) {
        const auto* command = selected();
        const std::string where = command != nullptr ? "qvctl " + command->second.name : "qvctl";
        err << where << ": " << failureText(app, failure, command != nullptr) << "\nTry '" << where
            << " --help'.\n";
        exitCode = kExitUsage;
        return std::nullopt;
    }
    options.parallel = static_cast<size_t>(parallel);
    if (password->count() > 0) {
        err << "qvctl: the password is never taken from the command line; use a terminal prompt, "
               "QVCTL_PASSWORD or --password-file\nTry 'qvctl --help'.\n";
        exitCode = kExitUsage;
        return std::nullopt;
    }
    const auto* command = selected();
    if (command == nullptr) {
        err << "qvctl: no command given\nTry 'qvctl --help'.\n";
        exitCode = kExitUsage;
        return std::nullopt;
    }
    if (options.savePassword && appliance.empty() && command->second.name != "appliances") {
        err << "qvctl: --save-password keeps the password of an appliance of the address book: "
               "name it with --appliance\nTry 'qvctl --help'.\n";
        exitCode = kExitUsage;
        return std::nullopt;
    }
    if (!appliance.empty() && !takeFromBook(appliance, app.count("--server") > 0,
                                            app.count("--user") > 0, options, err)) {
        exitCode = kExitUsage;
        return std::nullopt;
    }
    options.timeout = std::chrono::seconds(timeout);
    options.command = command->second.name;
    line.run = runs[options.command];
    exitCode = kExitOk;
    return line;
}

bool askYes(const std::string& prompt) {
    std::cerr << prompt << std::flush;
    std::string answer;
    if (!std::getline(std::cin, answer))
        return false;
    stripLineEnd(answer);
    for (char& c : answer)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return answer == "y" || answer == "yes" || answer == "예";
}

bool obtainPassword(const Options& options, std::string& password, std::string& error) {
    const std::string prompt = "Password for " + options.user + " at " + options.server + ": ";
    std::optional<std::string> secret =
        readSecret(options.passwordFile, "QVCTL_PASSWORD", prompt, false, error);
    if (!secret && error.empty() && !options.applianceName.empty()) {
        std::string saved;
        const qv::appliances::KeyringResult found =
            qv::appliances::lookupPassword(options.applianceName, options.server, saved);
        if (found.ok())
            secret = std::move(saved);
        else if (const std::optional<qv::Message> why = found.message())
            std::cerr << "qvctl: " << qv::format(*why) << "\n";
    }
    if (!secret && error.empty())
        secret = readSecret({}, nullptr, prompt, true, error);
    if (!secret) {
        if (error.empty())
            error = "no password: standard input is not a terminal, QVCTL_PASSWORD is not set "
                    "and --password-file was not given";
        return false;
    }
    password = *secret;
    // The logon request has room for 63 bytes of password and its terminator; a longer one
    // would be cut and could never match.
    if (password.size() > kMaxPasswordBytes) {
        error = "the password is longer than 63 bytes";
        return false;
    }
    return true;
}

} // namespace qvctl
