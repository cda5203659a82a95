#pragma once
// Where the threads of an OpenMP team run. The system may wake a sleeping
// team onto one processor and leave it there for longer than a small
// factorization lasts; threads that then wait for each other share one
// processor's time, and a step of a millisecond takes a scheduler tick.
#include <atomic>
#include <vector>

class TeamPlacement {
public:
    explicit TeamPlacement(int threads);

    // Called by every thread of the team at the start of its parallel
    // region (it holds a barrier): a thread that finds an earlier one on
    // its processor moves to one where no team thread is.
    void Spread();

    // Notes where the calling thread runs, for the spinning threads to see
    // (a working thread calls it as it takes a task).
    void Note();

    // For a thread that spins waiting for the team: notes where it runs and
    // says whether another team thread was last seen on the same processor,
    // which its spinning would hold up (it should yield then, and only then:
    // yielding to another program's thread gives away its own turn).
    bool SharesProcessor();

private:
    std::vector<std::atomic<int>> cpus_;
};
