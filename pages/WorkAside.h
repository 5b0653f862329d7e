#pragma once

#include <functional>
#include <future>

namespace qv {

// Starts `work` on a thread of its own and returns what it comes to (its exception included).
// The thread starts on another processor than the caller's where the caller may run on more than
// one, and may go wherever the caller may from then on. Linux may otherwise queue a new thread
// behind its creator: where the other processors sleep, it runs only once its creator waits for
// it, and nothing is done side by side. The thread ends with the work, the future its only handle.
// Throws std::system_error where no thread can be had.
std::future<void> runAside(std::function<void()> work);

} // namespace qv
