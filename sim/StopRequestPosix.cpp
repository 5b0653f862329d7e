#include "sim/StopRequest.h"

#include <csignal>
#include <pthread.h>

namespace qv::sim {
namespace {

sigset_t stopSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    return signals;
}

} // namespace

// The signals are blocked in every thread and taken by one with sigwait, so stopping needs no
// signal-safe tricks.
StopRequest::StopRequest() {
    const sigset_t signals = stopSignals();
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
}

std::string StopRequest::wait() {
    const sigset_t signals = stopSignals();
    int signal = 0;
    sigwait(&signals, &signal);
    return "signal " + std::to_string(signal);
}

} // namespace qv::sim
