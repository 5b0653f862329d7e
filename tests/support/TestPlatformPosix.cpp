#include "tests/support/TestPlatform.h"

#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace qvtest {
namespace {

int statusOf(int waitStatus) {
    return WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : -1;
}

} // namespace

void setEnvironment(const std::string& name, const std::optional<std::string>& value) {
    if (value)
        ::setenv(name.c_str(), value->c_str(), 1);
    else
        ::unsetenv(name.c_str());
}

std::optional<unsigned> posixFileMode(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return std::nullopt;
    return static_cast<unsigned>(info.st_mode & 0777);
}

ChildProcess::ChildProcess(const ChildStart& start) {
    std::vector<std::string> environment;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        if (start.environment.count(entry.substr(0, entry.find('='))) == 0)
            environment.push_back(entry);
    }
    for (const auto& [name, value] : start.environment)
        if (value)
            environment.push_back(name + "=" + *value);
    std::vector<std::string> arguments = start.arguments;
    std::vector<char*> argv, envp;
    for (auto& a : arguments)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    for (auto& e : environment)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, start.outputPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (start.errorPath.empty())
        posix_spawn_file_actions_adddup2(&actions, 1, 2);
    else
        posix_spawn_file_actions_addopen(&actions, 2, start.errorPath.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    m_started = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data()) == 0;
    m_id = pid;
    posix_spawn_file_actions_destroy(&actions);
}

ChildProcess::~ChildProcess() {
    stop();
}

std::optional<int> ChildProcess::ended() {
    int status = 0;
    if (m_started && !m_status && waitpid(static_cast<pid_t>(m_id), &status, WNOHANG) == m_id)
        m_status = statusOf(status);
    return m_status;
}

int ChildProcess::wait() {
    int status = 0;
    if (m_started && !m_status && waitpid(static_cast<pid_t>(m_id), &status, 0) == m_id)
        m_status = statusOf(status);
    return m_status.value_or(-1);
}

int ChildProcess::stop() {
    if (m_started && !ended())
        kill(static_cast<pid_t>(m_id), SIGTERM);
    return wait();
}

std::string readChildOutput(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace qvtest
