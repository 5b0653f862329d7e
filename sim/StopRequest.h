#pragma once

#include <string>

namespace qv::sim {

// How qvsim is asked to stop: SIGINT or SIGTERM on Linux (StopRequestPosix.cpp); on Windows
// (StopRequestWin.cpp) Ctrl+C, Ctrl+Break or closing its console, or the named event
// stopEventName(its process id) set by another program, Windows' counterpart of SIGTERM.
class StopRequest {
public:
    // Made before any other thread starts, so that every thread leaves the request to wait().
    StopRequest();
    // Blocks until qvsim is asked to stop; what asked, for the log.
    std::string wait();
};

// "Local\qvsim-stop-PID": the event a script or a test sets to stop the qvsim with that
// process id on Windows.
inline std::string stopEventName(unsigned long processId) {
    return "Local\\qvsim-stop-" + std::to_string(processId);
}

} // namespace qv::sim
