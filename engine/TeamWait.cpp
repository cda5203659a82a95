#include "engine/TeamWait.h"

#include <chrono>
#include <immintrin.h>
#include <omp.h>
#include <sched.h>

namespace {

constexpr std::chrono::microseconds SpinLimit(1000);

// Spins until ready() or for at most SpinLimit; says whether ready() came.
// Now and then it yields the processor if a team thread shares it, so that
// the one awaited gets to run.
template <class Ready>
bool SpinFor(TeamPlacement& placement, Ready ready) {
    using Clock = std::chrono::steady_clock;
    const auto until = Clock::now() + SpinLimit;
    for (int spins = 1; !ready(); ++spins) {
        _mm_pause();
        if (spins % 64 == 0) {
            if (Clock::now() > until) return false;
            if (placement.SharesProcessor()) sched_yield();
        }
    }
    return true;
}

}  // namespace

void TeamBarrier::Wait(long& passed) {
    const long target = omp_get_num_threads() * ++passed;
    if (arrived_.fetch_add(1, std::memory_order_acq_rel) + 1 < target)
        SpinFor(placement_, [&] { return arrived_.load(std::memory_order_acquire) >= target; });
#pragma omp barrier
}

void WaitFor(const std::atomic<int>& done, int count, TeamPlacement& placement) {
    if (SpinFor(placement, [&] { return done.load(std::memory_order_acquire) >= count; })) return;
    for (int seen; (seen = done.load(std::memory_order_acquire)) < count;) done.wait(seen, std::memory_order_acquire);
}

void CountDone(std::atomic<int>& done) {
    done.fetch_add(1, std::memory_order_release);
    done.notify_all();
}
