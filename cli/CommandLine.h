#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace qvctl {

// Longest administrator ID and password the logon request carries (their fields keep a NUL).
inline constexpr size_t kMaxUserBytes = 31;
inline constexpr size_t kMaxPasswordBytes = 63;

// What the command line asked for. Options that every command takes are read wherever they
// stand; everything else after the command name belongs to the command, its operands first and
// its own options after them, whatever their order on the line.
struct Options {
    std::string server = "127.0.0.1"; // host[:port], port 12300 when none is given
    std::string user = "admin";
    std::string passwordFile;
    bool json = false;
    bool help = false;
    std::chrono::seconds timeout{10}; // how long to wait for each answer
    std::string command;
    std::vector<std::string> args;
};

// False with a message when an option is unknown (before the command) or lacks its value.
bool parseCommandLine(int argc, const char* const* argv, Options& options, std::string& error);

// The administrator password, never from the command line: from --password-file when given,
// else from QVCTL_PASSWORD when set, else from a prompt without echo when standard input is a
// terminal. False with a message when none of them gives one.
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
