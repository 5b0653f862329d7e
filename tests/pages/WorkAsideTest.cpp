// Work started aside runs to its end on a thread of its own, which may run wherever its caller
// may: it starts away from the caller's processor, not pinned there.

#include "pages/WorkAside.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

#ifdef __linux__
#include <sched.h>
#endif

namespace {

TEST(WorkAside, RunsTheWorkWhereverTheCallerMayRun) {
#ifdef __linux__
    cpu_set_t all;
    ASSERT_EQ(sched_getaffinity(0, sizeof all, &all), 0);
    cpu_set_t one;
    CPU_ZERO(&one);
    for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu)
        if (CPU_ISSET(cpu, &all)) {
            CPU_SET(cpu, &one);
            break;
        }
    for (const cpu_set_t& callerMay : {all, one}) {
        SCOPED_TRACE(testing::Message() << CPU_COUNT(&callerMay) << " processor(s)");
        ASSERT_EQ(sched_setaffinity(0, sizeof callerMay, &callerMay), 0);
        cpu_set_t workMay;
        std::thread::id workThread;
        qv::runAside([&] {
            sched_getaffinity(0, sizeof workMay, &workMay);
            workThread = std::this_thread::get_id();
        }).get();
        EXPECT_NE(workThread, std::this_thread::get_id());
        EXPECT_TRUE(CPU_EQUAL(&workMay, &callerMay));
    }
    sched_setaffinity(0, sizeof all, &all);
#else
    std::thread::id workThread;
    qv::runAside([&] { workThread = std::this_thread::get_id(); }).get();
    EXPECT_NE(workThread, std::this_thread::get_id());
#endif
    EXPECT_THROW(qv::runAside([] { throw std::runtime_error("no font configuration"); }).get(),
                 std::runtime_error);
}

} // namespace
