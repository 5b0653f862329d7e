#include "cli/CommandLine.h"

#include "cli/Terminal.h"
#include "link/Commands.h"
#include "link/RegularFile.h"
#include "link/SocketIo.h"
#include "res/Message.h"
#include "res/StringTable.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <set>

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

// Options of a command may stand anywhere after its name. The commands read their operands
// first and their options after them, so the options, each with its value when it takes one,
// are moved behind the operands, keeping their order.
void putOperandsFirst(std::vector<std::string>& args) {
    static const std::set<std::string, std::less<>> kTakesValue{"--address",
                                                                "--center-password-file",
                                                                "--company",
                                                                "--data-port",
                                                                "--email",
                                                                "--exception",
                                                                "--function",
                                                                "--gateway",
                                                                "--group",
                                                                "--id",
                                                                "--link-port",
                                                                "--mac",
                                                                "--name",
                                                                "--netmask",
                                                                "--new-password-file",
                                                                "--only",
                                                                "--relay",
                                                                "--stage-timeout",
                                                                "--time",
                                                                "--web-port",
                                                                "--weekday"};
    std::vector<std::string> operands, optionWords;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i].size() <= 2 || args[i].rfind("--", 0) != 0) {
            operands.push_back(args[i]);
            continue;
        }
        optionWords.push_back(args[i]);
        if (kTakesValue.count(args[i]) != 0 && i + 1 < args.size())
            optionWords.push_back(args[++i]);
    }
    operands.insert(operands.end(), optionWords.begin(), optionWords.end());
    args = std::move(operands);
}

} // namespace

bool parseCommandLine(int argc, const char* const* argv, Options& options, std::string& error) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto value = [&](std::string& out) {
            if (i + 1 >= argc) {
                error = "option " + arg + " needs a value";
                return false;
            }
            out = argv[++i];
            return true;
        };
        if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--json") {
            options.json = true;
        } else if (arg == "--server") {
            if (!value(options.server))
                return false;
            qv::ServerAddress address;
            if (!qv::parseServerAddress(options.server, qv::kDefaultPort, address)) {
                error = "--server needs HOST or HOST:PORT with a port from 1 to 65535";
                return false;
            }
        } else if (arg == "--user") {
            if (!value(options.user))
                return false;
            // The logon request has room for 31 bytes of ID and its terminator.
            if (options.user.size() > kMaxUserBytes) {
                error = "--user takes at most 31 bytes";
                return false;
            }
        } else if (arg == "--password-file") {
            if (!value(options.passwordFile))
                return false;
        } else if (arg == "--password") {
            error = "the password is never taken from the command line; use a terminal prompt, "
                    "QVCTL_PASSWORD or --password-file";
            return false;
        } else if (arg == "--timeout") {
            std::string text;
            if (!value(text))
                return false;
            char* end = nullptr;
            const long seconds = std::strtol(text.c_str(), &end, 10);
            if (text.empty() || *end != '\0' || seconds < 1 || seconds > 3600) {
                error = "--timeout needs seconds from 1 to 3600";
                return false;
            }
            options.timeout = std::chrono::seconds(seconds);
        } else if (options.command.empty()) {
            if (arg.size() > 1 && arg[0] == '-') {
                error = "unknown option " + arg;
                return false;
            }
            options.command = arg;
        } else {
            options.args.push_back(arg);
        }
    }
    putOperandsFirst(options.args);
    return true;
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
    const auto secret =
        readSecret(options.passwordFile, "QVCTL_PASSWORD",
                   "Password for " + options.user + " at " + options.server + ": ", true, error);
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
