#include "sim/StopRequest.h"

#include <windows.h>

#include <atomic>

namespace qv::sim {
namespace {

HANDLE stopEvent = nullptr;
std::atomic<DWORD> consoleEvent{~DWORD{0}};

// Runs on a thread of its own that Windows starts for the console's event.
BOOL WINAPI onConsoleEvent(DWORD type) {
    switch (type) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
    case CTRL_CLOSE_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        consoleEvent = type;
        SetEvent(stopEvent);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

StopRequest::StopRequest() {
    const std::string name = stopEventName(GetCurrentProcessId());
    stopEvent = CreateEventA(nullptr, TRUE, FALSE, name.c_str());
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

std::string StopRequest::wait() {
    WaitForSingleObject(stopEvent, INFINITE);
    switch (consoleEvent.load()) {
    case CTRL_C_EVENT:
        return "Ctrl+C";
    case CTRL_BREAK_EVENT:
        return "Ctrl+Break";
    case CTRL_CLOSE_EVENT:
        return "console closed";
    case CTRL_SHUTDOWN_EVENT:
        return "system shutdown";
    default:
        return "stop event";
    }
}

} // namespace qv::sim
