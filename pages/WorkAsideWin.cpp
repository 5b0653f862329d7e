// Windows runs a new thread on an idle processor where it has one: a plain thread.
#include "pages/WorkAside.h"

#include <thread>

namespace qv {

std::future<void> runAside(std::function<void()> work) {
    std::packaged_task<void()> task(std::move(work));
    std::future<void> done = task.get_future();
    std::thread(std::move(task)).detach();
    return done;
}

} // namespace qv
