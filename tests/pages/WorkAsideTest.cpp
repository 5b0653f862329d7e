// Work started aside runs to its end on a thread of its own, free to run wherever its caller may:
// the thread starts away from the caller's processor and is not kept from it afterwards.

#include "pages/WorkAside.h"

#include <gtest/gtest.h>
#include <sched.h>

#include <stdexcept>
#include <thread>

TEST(WorkAside, RunsTheWorkWhereverTheCallerMayRun) {
    cpu_set_t all;
    ASSERT_EQ(sched_getaffinity(0, sizeof all, &all), 0);
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(sched_getcpu(), &one);
    for (const cpu_set_t& callerMay : {all, one}) {
        ASSERT_EQ(sched_setaffinity(0, sizeof callerMay, &callerMay), 0);
        cpu_set_t workMay;
        std::thread::id worker;
        qv::runAside([&] {
            sched_getaffinity(0, sizeof workMay, &workMay);
            worker = std::this_thread::get_id();
        }).get();
        EXPECT_NE(worker, std::this_thread::get_id());
        EXPECT_TRUE(CPU_EQUAL(&workMay, &callerMay)) << CPU_COUNT(&callerMay) << " processor(s)";
    }
    sched_setaffinity(0, sizeof all, &all);
    EXPECT_THROW(qv::runAside([] { throw std::runtime_error("no configuration"); }).get(),
                 std::runtime_error);
}
