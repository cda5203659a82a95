// Spreading a team moves threads by narrowing their processors for a
// moment: afterwards every thread must have all of them again, or later
// work of that thread would be confined to one processor.
#include "engine/TeamPlacement.h"

#include <gtest/gtest.h>

#include <omp.h>
#include <sched.h>

#include <vector>

TEST(TeamPlacement, SpreadLeavesEveryThreadItsProcessors) {
    cpu_set_t before;
    ASSERT_EQ(sched_getaffinity(0, sizeof before, &before), 0);
    constexpr int Threads = 6;
    for (int round = 0; round < 20; ++round) {
        TeamPlacement placement(Threads);
        std::vector<int> kept(Threads, -1);
#pragma omp parallel num_threads(Threads)
        {
            placement.Spread();
            placement.SharesProcessor();
            cpu_set_t now;
            kept[omp_get_thread_num()] = sched_getaffinity(0, sizeof now, &now) == 0 && CPU_EQUAL(&now, &before);
        }
        for (int t = 0; t < omp_get_max_threads() && t < Threads; ++t) EXPECT_EQ(kept[t], 1) << "thread " << t;
    }
}
