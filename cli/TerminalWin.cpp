#include "cli/Terminal.h"

#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <iostream>

namespace qvctl {
namespace {

std::string utf8Of(const wchar_t* text, int length) {
    const int needed = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(std::max(needed, 0)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), needed, nullptr, nullptr);
    return out;
}

// A console, not a file, a pipe or the NUL device (which the C runtime's isatty takes for one).
bool isConsole(DWORD which) {
    DWORD mode = 0;
    return GetConsoleMode(GetStdHandle(which), &mode) != 0;
}

} // namespace

std::vector<std::string> utf8Arguments(int argc, char** argv) {
    SetConsoleOutputCP(CP_UTF8);
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (wide == nullptr || count != argc) {
        LocalFree(wide);
        return std::vector<std::string>(argv, argv + argc);
    }
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i)
        arguments.push_back(utf8Of(wide[i], static_cast<int>(std::wcslen(wide[i]))));
    LocalFree(wide);
    return arguments;
}

std::optional<std::string> environmentText(const char* name) {
    const int length = static_cast<int>(std::strlen(name));
    std::wstring wideName(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, name, length, wideName.data(), length);
    const wchar_t* value = _wgetenv(wideName.c_str());
    if (value == nullptr)
        return std::nullopt;
    return utf8Of(value, static_cast<int>(std::wcslen(value)));
}

bool inputIsTerminal() {
    return isConsole(STD_INPUT_HANDLE);
}

bool errorIsTerminal() {
    return isConsole(STD_ERROR_HANDLE);
}

bool readLineWithoutEcho(std::string& line) {
    line.clear();
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    DWORD saved = 0;
    if (GetConsoleMode(input, &saved) == 0) {
        // Not a console: a plain line of bytes, as on any other input.
        const bool read = static_cast<bool>(std::getline(std::cin, line));
        while (!line.empty() && line.back() == '\r')
            line.pop_back();
        return read;
    }
    // Line input without echo; the characters are read as UTF-16, so the password's text does
    // not depend on the console's code page.
    SetConsoleMode(input,
                   (saved | ENABLE_LINE_INPUT | ENABLE_PROCESSED_INPUT) & ~ENABLE_ECHO_INPUT);
    std::wstring typed;
    bool ended = false;
    while (!ended) {
        wchar_t buffer[256];
        DWORD n = 0;
        if (ReadConsoleW(input, buffer, 256, &n, nullptr) == 0 || n == 0)
            break;
        for (DWORD i = 0; i < n && !ended; ++i) {
            if (buffer[i] == L'\n')
                ended = true;
            else if (buffer[i] != L'\r')
                typed += buffer[i];
        }
    }
    SetConsoleMode(input, saved);
    line = utf8Of(typed.data(), static_cast<int>(typed.size()));
    return ended || !typed.empty();
}

} // namespace qvctl
