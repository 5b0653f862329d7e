// A name lookup that answers, one that answers too late and one given up by a cancel: the caller
// waits for the first only; the others finish alone and their answers are dropped.

#include "link/LookupAside.h"

#include <gtest/gtest.h>

#include <future>
#include <memory>

namespace qv {
namespace {

using namespace std::chrono_literals;

TEST(LookupAside, AnswersInTimeAreTakenLateOnesAndCancelledOnesDropped) {
    struct Case {
        const char* name;
        bool answers; // the lookup answers at once, or only when released
        std::chrono::milliseconds timeout;
        bool cancelled;
    };
    const Case cases[] = {
        {"answers", true, 5000ms, false},
        {"silent until the time-out", false, 200ms, false},
        {"silent until cancelled", false, 60000ms, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto release = std::make_shared<std::promise<void>>();
        std::shared_future<void> released = release->get_future().share();
        std::atomic<bool> cancel{false};
        const auto lookup = [answers = c.answers, released]() -> std::optional<int> {
            if (!answers)
                released.wait();
            return 42;
        };
        auto waiting = std::async(std::launch::async,
                                  [&] { return lookupAside<int>(lookup, c.timeout, &cancel); });
        if (c.cancelled) {
            EXPECT_EQ(waiting.wait_for(300ms), std::future_status::timeout);
            cancel = true;
        }
        ASSERT_EQ(waiting.wait_for(5s), std::future_status::ready);
        EXPECT_EQ(waiting.get(), c.answers ? std::optional<int>(42) : std::nullopt);
        // The lookup left behind finishes on its own.
        release->set_value();
    }
}

} // namespace
} // namespace qv
