#include "common/WorkerThreads.h"

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <thread>

// Every step calls each index once, the caller's own thread taking index 0, and what the
// workers wrote is there when Run returns; steps follow each other without one being lost or
// run twice, however quickly they come.
TEST(WorkerThreads, EveryIndexOncePerStepAndTheResultsVisibleAfterIt)
{
    for (int threads : {0, 1, 2, 5})
    {
        CWorkerThreads workers(threads);
        const int count = workers.Count();
        EXPECT_EQ(count, std::max(threads, 1));
        std::vector<long> sums(size_t(count), 0);
        std::atomic<int> calls{0};
        for (int step = 1; step <= 2000; ++step)
        {
            std::thread::id caller;
            workers.Run(
                [&](int t)
                {
                    sums[size_t(t)] += step;
                    ++calls;
                    if (t == 0) caller = std::this_thread::get_id();
                });
            ASSERT_EQ(caller, std::this_thread::get_id());
            ASSERT_EQ(calls.load(), step * count);
        }
        for (long sum : sums)
            EXPECT_EQ(sum, 2000L * 2001 / 2);
    }
}

// Threads that were never given work, or whose job ended, leave without hanging the caller.
TEST(WorkerThreads, EndsWithOrWithoutWork)
{
    {
        CWorkerThreads idle(4);
    }
    CWorkerThreads once(3);
    std::set<int> seen;
    std::mutex mutex;
    once.Run(
        [&](int t)
        {
            std::lock_guard<std::mutex> lock(mutex);
            seen.insert(t);
        });
    EXPECT_EQ(seen, (std::set<int>{0, 1, 2}));
}
