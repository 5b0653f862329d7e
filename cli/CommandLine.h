#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace qvctl {

class CommandContext;

// Longest administrator ID and password the logon request carries (their fields keep a NUL).
inline constexpr size_t kMaxUserBytes = 31;
inline constexpr size_t kMaxPasswordBytes = 63;

// The options every command takes, read wherever they stand on the line: which appliance, as
// whom, and how the output looks. One set serves one run of a command.
struct Options {
    std::string server = "127.0.0.1"; // host[:port], port 12300 when none is given
    std::string user = "admin";
    std::string passwordFile;
    bool json = false;
    std::chrono::seconds timeout{10}; // how long to wait for each answer
    std::string command;
    // --appliance: the address book's entry the server, ID and code page came from; its saved
    // password is used when neither --password-file nor QVCTL_PASSWORD gives one.
    std::string applianceName;
    int codePage = 0;          // the entry's code page of the appliance's texts; 0: the system's
    bool savePassword = false; // --save-password: keep the password in the desktop keyring
    // A run over many appliances: a plain list or an address book, or a group of the book.
    std::string inventory;
    std::optional<std::string> group;
    size_t parallel = 8; // at most this many appliances at once
    // The password when it is known already (an inventory's appliance, from the keyring).
    std::optional<std::string> password;
};

// What the command line asked for: the options and the command, its operands and its own
// options already read into it.
struct CommandLine {
    Options options;
    std::function<int(CommandContext& context)> run;
};

// Reads the command line (the program's name first). Nothing (with the help text on `out` when
// it was asked for, exit code 0; else a message on `err`, exit code 2) when no command is to
// run; `exitCode` says which.
std::optional<CommandLine> readCommandLine(const std::vector<std::string>& arguments,
                                           std::ostream& out, std::ostream& err, int& exitCode);

// The administrator password, never from the command line: from --password-file when given,
// else from QVCTL_PASSWORD when set, else from the desktop keyring for an appliance of the
// address book, else from a prompt without echo when standard input is a terminal. False with a
// message when none of them gives one.
bool obtainPassword(const Options& options, std::string& password, std::string& error);

// A secret that never comes from the command line: the first line of `file` when one is named,
// else the environment variable `variable` when set, else a line typed after `prompt` without
// echo when `mayPrompt` and standard input is a terminal. Nothing (with `error` empty) when none
// of them gives one; nothing with `error` set when the file cannot be read or nothing was typed.
std::optional<std::string> readSecret(const std::string& file, const char* variable,
                                      const std::string& prompt, bool mayPrompt,
                                      std::string& error);

// Asks a question before something that cannot be taken back: writes `prompt` to standard
// error and reads one line from standard input, a terminal or a pipe alike. Only "y" or "yes"
// (any case, or "예") is Yes; anything else, and the end of the input, is No. Every command
// that asks does it this way and exits with kExitDeclined on No; --yes answers for it.
bool askYes(const std::string& prompt);

} // namespace qvctl
