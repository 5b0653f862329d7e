#pragma once

#include <QMetaObject>
#include <QObject>

#include <deque>
#include <functional>
#include <memory>
#include <thread>
#include <utility>

// Runs work off the user-interface thread, one piece after another in the order given, and
// hands each result back to `context` on that thread: the desktop keyring may wait on its own
// unlock prompt, and the window must not freeze meanwhile, nor may a request be dropped because
// another is under way. The owner's destructor waits for the work in hand and drops what has
// not started, so a result is never delivered to an object that is gone.
class BackgroundTask {
public:
    BackgroundTask() = default;
    BackgroundTask(const BackgroundTask&) = delete;
    BackgroundTask& operator=(const BackgroundTask&) = delete;
    ~BackgroundTask() {
        m_pending.clear();
        wait();
    }

    template <class Work, class Done> void run(QObject* context, Work work, Done done) {
        // The work runs on the thread and returns what to do with its result on the owner's.
        auto job = [work = std::move(work), done = std::move(done)]() mutable {
            auto result = std::make_shared<decltype(work())>(work());
            return std::function<void()>([done = std::move(done), result]() mutable {
                done(std::move(*result));
            });
        };
        m_pending.emplace_back(context, std::move(job));
        if (!m_busy)
            startNext();
    }

private:
    using Job = std::function<std::function<void()>()>;

    void startNext() {
        if (m_pending.empty())
            return;
        auto [context, job] = std::move(m_pending.front());
        m_pending.pop_front();
        m_busy = true;
        m_thread = std::thread([this, context, job = std::move(job)]() mutable {
            std::function<void()> deliver = job();
            QMetaObject::invokeMethod(
                context,
                [this, deliver = std::move(deliver)] {
                    wait();
                    m_busy = false;
                    deliver();
                    startNext();
                },
                Qt::QueuedConnection);
        });
    }

    void wait() {
        if (m_thread.joinable())
            m_thread.join();
    }

    std::thread m_thread;
    // Touched on the user-interface thread only.
    std::deque<std::pair<QObject*, Job>> m_pending;
    bool m_busy = false;
};
