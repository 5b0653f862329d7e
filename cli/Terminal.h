#pragma once

#include <optional>
#include <string>
#include <vector>

// What qvctl asks of the terminal (the console on Windows): TerminalPosix.cpp and
// TerminalWin.cpp, one chosen by CMake.
namespace qvctl {

// The program's arguments in UTF-8, the encoding every text of qvctl is in, with the console
// set to show UTF-8 output. Windows hands main() its arguments in the ANSI code page.
std::vector<std::string> utf8Arguments(int argc, char** argv);

// An environment variable's value in UTF-8; nothing when it is not set. Windows' narrow
// environment is in the ANSI code page, which may not hold a password's characters.
std::optional<std::string> environmentText(const char* name);

// Whether standard input, or standard error, is a terminal a person types at or reads.
bool inputIsTerminal();
bool errorIsTerminal();

// Reads one line (without its line end) from standard input with echo switched off when it is a
// terminal; the terminal is restored whatever happens. False at the end of the input.
bool readLineWithoutEcho(std::string& line);

} // namespace qvctl
