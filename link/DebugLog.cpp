#include "link/DebugLog.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace qv {
namespace {

std::mutex g_mutex;
std::function<void(std::string_view)> g_writer;

bool stderrWanted() {
    static const bool wanted = [] {
        const char* value = std::getenv("QV_LINK_DEBUG");
        return value != nullptr && std::strcmp(value, "1") == 0;
    }();
    return wanted;
}

} // namespace

void setDebugWriter(std::function<void(std::string_view line)> writer) {
    std::lock_guard lock(g_mutex);
    g_writer = std::move(writer);
}

void debugLog(const char* format, ...) {
    std::lock_guard lock(g_mutex);
    if (!g_writer && !stderrWanted())
        return;
    char line[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    if (g_writer)
        g_writer(line);
    else
        std::fprintf(stderr, "%s\n", line);
}

} // namespace qv
