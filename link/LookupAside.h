#pragma once

// A name lookup that holds its caller no longer than the connect's time-out, and no longer than a
// cancel: the resolver may wait many seconds for a silent name server, and its call cannot be cut
// short from outside.

#include "link/WaitInSteps.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>

namespace qv {

// Runs `lookup()` (an std::optional<T>) on a thread of its own and waits in steps until it has
// answered, `timeout` has passed or `*cancel` (when given) has turned true. In the last two cases
// the thread is left to finish alone and its answer is dropped: std::nullopt. Where no thread can
// be started, the lookup runs here.
template <class T, class Lookup>
std::optional<T> lookupAside(const Lookup& lookup, std::chrono::milliseconds timeout,
                             const std::atomic<bool>* cancel) {
    struct Answer {
        std::mutex mutex;
        std::condition_variable given;
        bool done = false;
        std::optional<T> value;
    };
    const auto answer = std::make_shared<Answer>();
    try {
        std::thread([answer, lookup] {
            std::optional<T> value = lookup();
            const std::lock_guard hold(answer->mutex);
            answer->value = std::move(value);
            answer->done = true;
            answer->given.notify_all();
        }).detach();
    } catch (const std::system_error&) {
        return lookup();
    }
    const int ready = waitInSteps(timeout, cancel, [&answer](std::chrono::milliseconds step) {
        std::unique_lock hold(answer->mutex);
        return answer->given.wait_for(hold, step, [&answer] { return answer->done; }) ? 1 : 0;
    });
    if (ready <= 0)
        return std::nullopt;
    const std::lock_guard hold(answer->mutex);
    return answer->value;
}

} // namespace qv
