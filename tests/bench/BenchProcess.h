#pragma once

// What the two programs of scripts/bench-memory.sh measure of themselves, the same way for both.

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QWidget>
#include <QWindow>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace qvbench {

// Resident memory of this process in KiB (VmRSS), 0 where the system does not say.
inline long rssKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    return 0;
}

// Milliseconds since the script started the program (QV_BENCH_T0 in nanoseconds since 1970), to
// the microsecond; -1 without QV_BENCH_T0.
inline double msSinceStart() {
    const char* t0 = std::getenv("QV_BENCH_T0");
    if (!t0)
        return -1;
    const auto now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                         std::chrono::system_clock::now().time_since_epoch())
                         .count();
    return static_cast<double>((now - std::strtoll(t0, nullptr, 10)) / 1000) / 1000.0;
}

// With QV_BENCH_TIME_ONLY set, a program ends once it has reported the time to its window.
inline bool timeOnly() {
    return std::getenv("QV_BENCH_TIME_ONLY") != nullptr;
}

inline bool exposed(const QWidget& widget) {
    return widget.isVisible() && widget.windowHandle() && widget.windowHandle()->isExposed();
}

// Handles events until `done` holds or `ms` have passed; a slow machine only waits longer.
template <class F> bool waitUntil(F done, int ms = 60000) {
    QDeadlineTimer deadline(ms);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// Lets what the shown window does after its first paint (timers, late loading) happen before
// memory is read.
inline void settle(int ms = 500) {
    waitUntil([] { return false; }, ms);
}

// With QV_BENCH_SMAPS=PREFIX, a memory report also keeps the process's mappings in
// PREFIX.NAME, to see where the memory goes (scripts/bench-memory.sh --smaps).
inline void report(const char* name, double value) {
    std::printf("%s=%.3f\n", name, value);
    std::fflush(stdout);
    const char* prefix = std::getenv("QV_BENCH_SMAPS");
    if (prefix && std::string(name).find("rss") != std::string::npos) {
        std::ifstream in("/proc/self/smaps");
        std::ofstream out(std::string(prefix) + "." + name);
        out << in.rdbuf();
    }
}

} // namespace qvbench
