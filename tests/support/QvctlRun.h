#pragma once

// Runs the real qvctl program (its path is the QVCTL_PATH the test target defines), with its
// standard input on /dev/null so no password prompt can appear, and collects what it printed.

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace qvtest {

struct QvctlResult {
    int status = -1;
    std::string out;
    std::string err;
};

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs qvctl with `args` in a clean environment: English messages (LANG=C.UTF-8), code page of
// the locale, TZ=UTC, password admin. `env` sets further variables, or removes them with
// nullopt.
inline QvctlResult runQvctl(const std::vector<std::string>& args,
                            const std::map<std::string, std::optional<std::string>>& env = {}) {
    std::map<std::string, std::optional<std::string>> changes{
        {"QVCTL_PASSWORD", std::string("admin")},
        {"LANG", std::string("C.UTF-8")},
        {"LC_ALL", std::nullopt},
        {"LC_MESSAGES", std::nullopt},
        {"QVSETTING_CODEPAGE", std::nullopt},
        {"TZ", std::string("UTC")}};
    for (const auto& [k, v] : env)
        changes[k] = v;
    std::vector<std::string> environment;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        if (changes.count(entry.substr(0, entry.find('='))) == 0)
            environment.push_back(entry);
    }
    for (const auto& [k, v] : changes)
        if (v)
            environment.push_back(k + "=" + *v);

    std::vector<std::string> all{QVCTL_PATH};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv, envp;
    for (auto& a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    for (auto& e : environment)
        envp.push_back(e.data());
    envp.push_back(nullptr);

    const auto base =
        std::filesystem::temp_directory_path() / ("qvctl-test-" + std::to_string(::getpid()));
    const std::string outPath = base.string() + ".out", errPath = base.string() + ".err";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0644);
    pid_t pid = 0;
    QvctlResult result;
    if (posix_spawn(&pid, QVCTL_PATH, &actions, nullptr, argv.data(), envp.data()) == 0) {
        int status = 0;
        waitpid(pid, &status, 0);
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    result.out = readFile(outPath);
    result.err = readFile(errPath);
    std::filesystem::remove(outPath);
    std::filesystem::remove(errPath);
    return result;
}

} // namespace qvtest
