#include "cli/Terminal.h"

#include <cstdlib>
#include <iostream>
#include <termios.h>
#include <unistd.h>

namespace qvctl {

std::vector<std::string> utf8Arguments(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

std::optional<std::string> environmentText(const char* name) {
    if (const char* value = std::getenv(name))
        return std::string(value);
    return std::nullopt;
}

bool inputIsTerminal() {
    return isatty(STDIN_FILENO) != 0;
}

bool errorIsTerminal() {
    return isatty(STDERR_FILENO) != 0;
}

bool readLineWithoutEcho(std::string& line) {
    termios saved{};
    const bool isTerminal = tcgetattr(STDIN_FILENO, &saved) == 0;
    if (isTerminal) {
        termios quiet = saved;
        quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    const bool read = static_cast<bool>(std::getline(std::cin, line));
    if (isTerminal)
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.pop_back();
    return read;
}

} // namespace qvctl
