// The isolated process on POSIX systems: a forked child with resource limits, answering through
// a pipe that the parent reads until the time runs out.
#include "sheet/IsolatedRun.h"

#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#define QV_UNDER_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QV_UNDER_SANITIZER 1
#endif
#endif

namespace qv::sheet {
namespace {

// The child's end of the pipe, written in large pieces.
class PipeOutput final : public IsolatedOutput {
public:
    explicit PipeOutput(int fd) : m_fd(fd) {}
    ~PipeOutput() { flush(); }
    void write(const void* data, size_t size) override {
        const auto* p = static_cast<const char*>(data);
        m_buffer.insert(m_buffer.end(), p, p + size);
        if (m_buffer.size() > 64 * 1024)
            flush();
    }

private:
    void flush() {
        size_t done = 0;
        while (done < m_buffer.size()) {
            const ssize_t wrote = ::write(m_fd, m_buffer.data() + done, m_buffer.size() - done);
            if (wrote <= 0)
                break;
            done += static_cast<size_t>(wrote);
        }
        m_buffer.clear();
    }

    int m_fd;
    std::vector<char> m_buffer;
};

void limitChild(const IsolationLimits& limits) {
    // A backstop on processor time, should the parent itself be stopped before it can end the
    // child at the time limit.
    struct rlimit cpu = {2, 3};
    setrlimit(RLIMIT_CPU, &cpu);
#ifndef QV_UNDER_SANITIZER
    // The child starts with the caller's whole address space; it gets this much more. (The
    // sanitizers reserve far more address space than they use, so no limit fits them.)
    unsigned long pages = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%lu", &pages) != 1)
            pages = 0;
        std::fclose(statm);
    }
    const rlim_t size = pages * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + limits.memory;
    struct rlimit memory = {size, size};
    setrlimit(RLIMIT_AS, &memory);
#else
    (void)limits;
#endif
}

} // namespace

IsolatedResult runIsolated(const std::function<void(IsolatedOutput&)>& work,
                           const IsolationLimits& limits) {
    IsolatedResult result;
    int fds[2];
    if (pipe(fds) != 0)
        return result;
    const pid_t child = fork();
    if (child < 0) {
        close(fds[0]);
        close(fds[1]);
        return result;
    }
    if (child == 0) {
        close(fds[0]);
        limitChild(limits);
        {
            PipeOutput out(fds[1]);
            work(out);
        }
        _exit(0);
    }
    close(fds[1]);
    result.end = IsolatedEnd::Answered;
    const auto deadline = std::chrono::steady_clock::now() + limits.time;
    char buffer[64 * 1024];
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd wait = {fds[0], POLLIN, 0};
        if (left.count() <= 0 || poll(&wait, 1, static_cast<int>(left.count())) == 0) {
            result.end = IsolatedEnd::TookTooLong;
            break;
        }
        const ssize_t got = read(fds[0], buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        if (result.answer.size() + static_cast<size_t>(got) > limits.answerBytes) {
            result.end = IsolatedEnd::AnswerTooLarge;
            break;
        }
        result.answer.append(buffer, static_cast<size_t>(got));
    }
    close(fds[0]);
    if (result.end != IsolatedEnd::Answered)
        kill(child, SIGKILL);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (result.end == IsolatedEnd::Answered && (!WIFEXITED(status) || WEXITSTATUS(status) != 0))
        result.end = IsolatedEnd::Stopped;
    if (result.end != IsolatedEnd::Answered)
        result.answer.clear();
    return result;
}

} // namespace qv::sheet
