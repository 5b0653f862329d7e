// The thread placed through its processor affinity: started where the caller may run save the
// caller's own processor, then given back everywhere the caller may run.
#include "pages/WorkAside.h"

#include <pthread.h>
#include <sched.h>

#include <memory>
#include <system_error>

namespace qv {
namespace {

struct Job {
    std::packaged_task<void()> task;
    cpu_set_t allowed; // where the caller may run
    bool placed = false;
};

void* runJob(void* raw) {
    const std::unique_ptr<Job> job(static_cast<Job*>(raw));
    if (job->placed)
        sched_setaffinity(0, sizeof job->allowed, &job->allowed);
    job->task();
    return nullptr;
}

} // namespace

std::future<void> runAside(std::function<void()> work) {
    auto job = std::make_unique<Job>();
    job->task = std::packaged_task<void()>(std::move(work));
    std::future<void> done = job->task.get_future();
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setdetachstate(&attributes, PTHREAD_CREATE_DETACHED);
    const int here = sched_getcpu();
    if (here >= 0 && sched_getaffinity(0, sizeof job->allowed, &job->allowed) == 0 &&
        CPU_ISSET(here, &job->allowed) && CPU_COUNT(&job->allowed) > 1) {
        cpu_set_t elsewhere = job->allowed;
        CPU_CLR(here, &elsewhere);
        job->placed = pthread_attr_setaffinity_np(&attributes, sizeof elsewhere, &elsewhere) == 0;
    }
    pthread_t thread;
    const int failed = pthread_create(&thread, &attributes, runJob, job.get());
    pthread_attr_destroy(&attributes);
    if (failed != 0)
        throw std::system_error(failed, std::generic_category(), "pthread_create");
    job.release(); // the thread's now
    return done;
}

} // namespace qv
