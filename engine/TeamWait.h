#pragma once
// How the threads of a team wait for each other inside a parallel region:
// they spin for up to a millisecond and only then sleep. A small
// factorization's waits come every few hundred microseconds, and waking
// sleeping threads at each cost a third of its time; a woken thread may
// also be put on a processor another team thread is on. The limit bounds
// what a team held up by other programs burns, and a spinning thread
// yields its processor only to a team thread on it.
#include "engine/TeamPlacement.h"

#include <atomic>

// A barrier for every thread of the team (as many as OpenMP gave it).
class TeamBarrier {
public:
    explicit TeamBarrier(TeamPlacement& placement) : placement_(placement) {}
    // passed: the barriers this thread has passed (each thread keeps its own).
    void Wait(long& passed);

private:
    TeamPlacement& placement_;
    std::atomic<long> arrived_{0};
};

// Waits until done has counted to count; CountDone counts one and wakes the
// sleeping waiters.
void WaitFor(const std::atomic<int>& done, int count, TeamPlacement& placement);
void CountDone(std::atomic<int>& done);
