#include "tests/support/TestPlatform.h"

#include "sim/StopRequest.h"

#include <windows.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace qvtest {
namespace {

// Arguments and variables are UTF-8 in the tests, as qvctl takes them.
std::wstring wide(const std::string& text) {
    const int length = static_cast<int>(text.size());
    std::wstring out(static_cast<size_t>(length), L'\0');
    out.resize(static_cast<size_t>(
        MultiByteToWideChar(CP_UTF8, 0, text.data(), length, out.data(), length)));
    return out;
}

// File names as the programs' own file calls read them (the ANSI code page).
std::wstring pathOf(const std::string& text) {
    return std::filesystem::path(text).wstring();
}

// One argument quoted as the C runtime's command-line parser reads it back.
std::wstring quoted(const std::wstring& argument) {
    std::wstring out = L"\"";
    size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out += c;
    }
    out.append(backslashes * 2, L'\\');
    return out + L"\"";
}

// A file handle the child inherits.
HANDLE inheritable(const std::wstring& path, DWORD access, DWORD creation) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, creation,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

// This process's environment with `changes` applied, as CreateProcessW takes it.
std::wstring environmentBlock(const std::map<std::string, std::optional<std::string>>& changes) {
    std::map<std::wstring, std::wstring> variables;
    wchar_t* block = GetEnvironmentStringsW();
    for (const wchar_t* entry = block; *entry != L'\0'; entry += wcslen(entry) + 1) {
        const std::wstring text = entry;
        const size_t equals = text.find(L'=', 1); // "=C:=C:\..." entries start with '='
        variables[text.substr(0, equals)] = text.substr(equals + 1);
    }
    FreeEnvironmentStringsW(block);
    for (const auto& [name, value] : changes) {
        if (value)
            variables[wide(name)] = wide(*value);
        else
            variables.erase(wide(name));
    }
    std::wstring out;
    for (const auto& [name, value] : variables)
        out += name + L"=" + value + L'\0';
    return out + L'\0';
}

} // namespace

void setEnvironment(const std::string& name, const std::optional<std::string>& value) {
    _putenv_s(name.c_str(), value ? value->c_str() : "");
}

std::optional<unsigned> posixFileMode(const std::string&) {
    return std::nullopt;
}

ChildProcess::ChildProcess(const ChildStart& start) {
    std::wstring commandLine;
    for (const auto& argument : start.arguments)
        commandLine += (commandLine.empty() ? L"" : L" ") + quoted(wide(argument));
    std::wstring environment = environmentBlock(start.environment);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = inheritable(L"NUL", GENERIC_READ, OPEN_EXISTING);
    startup.hStdOutput = inheritable(pathOf(start.outputPath), GENERIC_WRITE, CREATE_ALWAYS);
    startup.hStdError = start.errorPath.empty()
                            ? startup.hStdOutput
                            : inheritable(pathOf(start.errorPath), GENERIC_WRITE, CREATE_ALWAYS);
    PROCESS_INFORMATION process{};
    m_started = CreateProcessW(pathOf(start.arguments.at(0)).c_str(), commandLine.data(), nullptr,
                               nullptr, TRUE, CREATE_UNICODE_ENVIRONMENT, environment.data(),
                               nullptr, &startup, &process) != 0;
    CloseHandle(startup.hStdInput);
    CloseHandle(startup.hStdOutput);
    if (!start.errorPath.empty())
        CloseHandle(startup.hStdError);
    if (m_started) {
        CloseHandle(process.hThread);
        m_handle = process.hProcess;
        m_id = process.dwProcessId;
    }
}

ChildProcess::~ChildProcess() {
    stop();
    if (m_handle != nullptr)
        CloseHandle(m_handle);
}

std::optional<int> ChildProcess::ended() {
    DWORD code = 0;
    if (m_started && !m_status && WaitForSingleObject(m_handle, 0) == WAIT_OBJECT_0 &&
        GetExitCodeProcess(m_handle, &code) != 0)
        m_status = static_cast<int>(code);
    return m_status;
}

int ChildProcess::wait() {
    if (m_started && !m_status)
        WaitForSingleObject(m_handle, INFINITE);
    return ended().value_or(-1);
}

int ChildProcess::stop() {
    if (m_started && !ended()) {
        const std::string name = qv::sim::stopEventName(static_cast<unsigned long>(m_id));
        const HANDLE event = OpenEventA(EVENT_MODIFY_STATE, FALSE, name.c_str());
        // A program without the stop event is ended outright, and reported as killed.
        if (event != nullptr) {
            SetEvent(event);
            CloseHandle(event);
        } else if (TerminateProcess(m_handle, 1) != 0) {
            WaitForSingleObject(m_handle, INFINITE);
            m_status = -1;
        }
    }
    return wait();
}

std::string readChildOutput(const std::string& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::string out;
    for (size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n'))
            out += text[i];
    return out;
}

} // namespace qvtest
