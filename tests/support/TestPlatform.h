#pragma once

// What the tests ask of the system beyond the program's own interfaces: starting a program,
// changing this process's environment, a file's mode. TestPlatformPosix.cpp and
// TestPlatformWin.cpp, one chosen by CMake.

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace qvtest {

// Sets (or, with nullopt, removes) a variable of this process's environment.
void setEnvironment(const std::string& name, const std::optional<std::string>& value);

// The permission bits of a file (0600 and the like); nullopt on Windows, which has none.
std::optional<unsigned> posixFileMode(const std::string& path);

struct ChildStart {
    std::vector<std::string> arguments; // the program first
    // Variables set (or removed, with nullopt) for the child on top of this process's own.
    std::map<std::string, std::optional<std::string>> environment;
    std::string outputPath; // standard output goes to this file
    std::string errorPath;  // standard error; empty: the output file too
};

// A program running beside the test, its standard input on the null device.
class ChildProcess {
public:
    explicit ChildProcess(const ChildStart& start);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return m_started; }
    // Its exit status once it has ended, without waiting; -1 when it was killed.
    std::optional<int> ended();
    // Waits for it to end; its exit status, -1 when it was killed or never started.
    int wait();
    // Asks it to stop as the platform asks a program to stop (SIGTERM; on Windows the program's
    // stop event, stopEventName), then waits.
    int stop();

private:
    bool m_started = false;
    std::optional<int> m_status;
    long long m_id = 0;       // process id
    void* m_handle = nullptr; // Windows: the process handle
};

// Reads a file a child wrote as text: Windows line ends ("\r\n") become "\n".
std::string readChildOutput(const std::string& path);

} // namespace qvtest
