#pragma once

// The connect's wait for the handshake on both platforms: short waits, with a look at a cancel
// flag between them.

#include "link/SocketIo.h"

#include <algorithm>
#include <atomic>
#include <chrono>

namespace qv {

// Calls `wait(step)` with steps of at most kConnectCancelCheck until it returns non-zero (the
// socket is ready, or negative for an error), `timeout` has passed or `*cancel` (when given) is
// set. Returns wait's answer, or 0 for the time-out and the cancel.
template <class Wait>
int waitInSteps(std::chrono::milliseconds timeout, const std::atomic<bool>* cancel, Wait wait) {
    const auto until = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            until - std::chrono::steady_clock::now());
        if (left.count() <= 0 || (cancel != nullptr && cancel->load()))
            return 0;
        if (const int ready = wait(std::min(left, kConnectCancelCheck)); ready != 0)
            return ready;
    }
}

} // namespace qv
