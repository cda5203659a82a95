// Spreading a team moves threads by narrowing their processors for a
// moment, and holding keeps each on one processor: afterwards every thread
// must have all of them again, or later work of that thread would be
// confined to one processor.
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

TEST(TeamPlacement, HeldThreadsHaveAProcessorEachUntilReleased) {
    cpu_set_t before;
    ASSERT_EQ(sched_getaffinity(0, sizeof before, &before), 0);
    const int processors = CPU_COUNT(&before);
    // brief: a small team is held too; a long region holds only a team of
    // every processor.
    for (const bool brief : {true, false})
        for (const int threads : {2, processors}) {
            if (threads < 2) continue;
            const bool held = brief || threads == processors;
            TeamPlacement placement(threads);
            std::vector<int> single(threads, -1), restored(threads, -1);
#pragma omp parallel num_threads(threads)
            {
                placement.SpreadAndHold(brief);
                cpu_set_t now;
                const int self = omp_get_thread_num();
                if (sched_getaffinity(0, sizeof now, &now) == 0 && CPU_COUNT(&now) == 1)
                    for (int cpu = 0; cpu < CPU_SETSIZE; ++cpu)
                        if (CPU_ISSET(cpu, &now)) single[self] = cpu;
#pragma omp barrier
                placement.Release();
                restored[self] = sched_getaffinity(0, sizeof now, &now) == 0 && CPU_EQUAL(&now, &before);
            }
            if (omp_get_max_threads() < threads) continue;
            cpu_set_t used;
            CPU_ZERO(&used);
            for (int t = 0; t < threads; ++t) {
                EXPECT_EQ(restored[t], 1) << "thread " << t << " of " << threads;
                if (!held) {
                    EXPECT_EQ(single[t], -1) << "thread " << t << " of " << threads << " held in a long region";
                    continue;
                }
                ASSERT_GE(single[t], 0) << "thread " << t << " of " << threads << " not held";
                EXPECT_FALSE(CPU_ISSET(single[t], &used)) << "two threads held on processor " << single[t];
                CPU_SET(single[t], &used);
            }
        }
}

// Threads of one team may differ in their processors (a thread narrowed by
// the user, say): the team must still pass the same barriers, and every
// thread gets its own processors back.
TEST(TeamPlacement, ThreadsWithOtherProcessorsPassTheSameBarriers) {
    cpu_set_t before;
    ASSERT_EQ(sched_getaffinity(0, sizeof before, &before), 0);
    int first = 0;
    while (first < CPU_SETSIZE && !CPU_ISSET(first, &before)) ++first;
    cpu_set_t narrow;
    CPU_ZERO(&narrow);
    CPU_SET(first, &narrow);
    constexpr int Threads = 3;
    std::vector<int> restored(Threads, -1);
#pragma omp parallel num_threads(Threads)
    if (omp_get_thread_num() == 1) sched_setaffinity(0, sizeof narrow, &narrow);
    for (const bool brief : {true, false}) {
        TeamPlacement placement(Threads);
#pragma omp parallel num_threads(Threads)
        {
            placement.SpreadAndHold(brief);
            placement.Release();
            cpu_set_t now;
            const cpu_set_t& own = omp_get_thread_num() == 1 ? narrow : before;
            restored[omp_get_thread_num()] = sched_getaffinity(0, sizeof now, &now) == 0 && CPU_EQUAL(&now, &own);
        }
        for (int t = 0; t < omp_get_max_threads() && t < Threads; ++t) EXPECT_EQ(restored[t], 1) << "thread " << t;
    }
#pragma omp parallel num_threads(Threads)
    sched_setaffinity(0, sizeof before, &before);
}
