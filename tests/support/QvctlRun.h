#pragma once

// Runs the real qvctl program (its path is the QVCTL_PATH the test target defines), with its
// standard input on the null device so no password prompt can appear, and collects what it
// printed.

#include "tests/support/TestPlatform.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <unistd.h>
#include <vector>

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
    // A fresh name per run: Windows may still hold the last run's file while it is deleted.
    static int runs = 0;
    const auto base = std::filesystem::temp_directory_path() /
                      ("qvctl-test-" + std::to_string(::getpid()) + "-" + std::to_string(++runs));
    const std::string outPath = base.string() + ".out", errPath = base.string() + ".err";
    std::vector<std::string> all{QVCTL_PATH};
    all.insert(all.end(), args.begin(), args.end());
    QvctlResult result;
    ChildProcess qvctl({all, changes, outPath, errPath});
    result.status = qvctl.wait();
    result.out = readChildOutput(outPath);
    result.err = readChildOutput(errPath);
    std::filesystem::remove(outPath);
    std::filesystem::remove(errPath);
    return result;
}

} // namespace qvtest
