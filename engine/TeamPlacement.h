#pragma once
// Where the threads of an OpenMP team run. The system may wake a sleeping
// team onto one processor and leave it there for longer than a small
// factorization lasts; threads that then wait for each other share one
// processor's time, and a step of a millisecond takes a scheduler tick.
#include <sched.h>

#include <atomic>
#include <vector>

class TeamPlacement {
public:
    explicit TeamPlacement(int threads);

    // Called by every thread of the team at the start of its parallel
    // region (it holds a barrier): a thread that finds an earlier one on
    // its processor moves to one where no team thread is.
    void Spread();

    // As Spread, and then each thread stays on a processor of its own until
    // Release (which every thread calls before the region ends). Some
    // systems pack threads that have just woken onto fewer processors and
    // spread them only after tens of milliseconds of work (seen on a
    // virtual machine: a factorization of 1024 pulses 1.6 times slower
    // after a pause). Held are a brief region's team, and a team that has
    // every processor this process may run on; a longer region's smaller
    // team stays free to move away from other programs' work.
    void SpreadAndHold(bool brief);
    void Release();

    // Notes where the calling thread runs, for the spinning threads to see
    // (a working thread calls it as it takes a task).
    void Note();

    // For a thread that spins waiting for the team: notes where it runs and
    // says whether another team thread was last seen on the same processor,
    // which its spinning would hold up (it should yield then, and only then:
    // yielding to another program's thread gives away its own turn).
    bool SharesProcessor();

private:
    // Each thread's processor, noted by itself; in SpreadAndHold, the one
    // it is given.
    std::vector<std::atomic<int>> cpus_;
    // The processors each held thread may run on when released.
    std::vector<cpu_set_t> released_;
    std::vector<char> held_;
    bool holdTeam_ = false;  // SpreadAndHold's answer for the whole team
};
