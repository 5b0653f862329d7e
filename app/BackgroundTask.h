#pragma once

#include <QMetaObject>
#include <QObject>

#include <thread>
#include <utility>

// Runs one piece of work at a time off the user-interface thread and hands its result back to
// `context` on that thread: the desktop keyring may wait on its own unlock prompt, and the window
// must not freeze meanwhile. The owner's destructor waits for the work in hand, so a result is
// never delivered to an object that is gone.
class BackgroundTask {
public:
    BackgroundTask() = default;
    BackgroundTask(const BackgroundTask&) = delete;
    BackgroundTask& operator=(const BackgroundTask&) = delete;
    ~BackgroundTask() { wait(); }

    // False, and nothing runs, while earlier work is still under way.
    template <class Work, class Done> bool run(QObject* context, Work work, Done done) {
        if (m_busy)
            return false;
        wait();
        m_busy = true;
        m_thread = std::thread([this, context, work = std::move(work),
                                done = std::move(done)]() mutable {
            auto result = work();
            QMetaObject::invokeMethod(
                context,
                [this, done = std::move(done), result = std::move(result)]() mutable {
                    wait();
                    m_busy = false;
                    done(std::move(result));
                },
                Qt::QueuedConnection);
        });
        return true;
    }

    bool busy() const { return m_busy; }

    void wait() {
        if (m_thread.joinable())
            m_thread.join();
    }

private:
    std::thread m_thread;
    bool m_busy = false; // touched on the user-interface thread only
};
