#include "engine/TeamPlacement.h"

#include <omp.h>
#include <sched.h>

TeamPlacement::TeamPlacement(int threads) : cpus_(threads > 0 ? threads : 1) {
    for (auto& cpu : cpus_) cpu.store(-1, std::memory_order_relaxed);
}

// To move, a thread narrows its processors to those no team thread is on,
// which makes the system move it now, and widens them again at once: it
// keeps every processor it had and goes wherever it is needed later.
void TeamPlacement::Spread() {
    const int threads = omp_get_num_threads();
    const int self = omp_get_thread_num();
    if (threads < 2 || threads > static_cast<int>(cpus_.size())) return;
    const int here = sched_getcpu();
    cpus_[self].store(here, std::memory_order_relaxed);
#pragma omp barrier
    bool shared = false;
    for (int t = 0; t < self; ++t) shared = shared || cpus_[t].load(std::memory_order_relaxed) == here;
    if (!shared || here < 0) return;
    cpu_set_t allowed;
    if (sched_getaffinity(0, sizeof allowed, &allowed) != 0) return;
    cpu_set_t elsewhere = allowed;
    for (int t = 0; t < threads; ++t)
        if (const int cpu = cpus_[t].load(std::memory_order_relaxed); cpu >= 0 && cpu < CPU_SETSIZE)
            CPU_CLR(cpu, &elsewhere);
    if (CPU_COUNT(&elsewhere) == 0) return;
    if (sched_setaffinity(0, sizeof elsewhere, &elsewhere) == 0) sched_setaffinity(0, sizeof allowed, &allowed);
    cpus_[self].store(sched_getcpu(), std::memory_order_relaxed);
}

void TeamPlacement::Note() {
    const int self = omp_get_thread_num();
    if (self < static_cast<int>(cpus_.size())) cpus_[self].store(sched_getcpu(), std::memory_order_relaxed);
}

bool TeamPlacement::SharesProcessor() {
    const int self = omp_get_thread_num();
    if (self >= static_cast<int>(cpus_.size())) return false;
    const int here = sched_getcpu();
    cpus_[self].store(here, std::memory_order_relaxed);
    for (int t = 0; t < static_cast<int>(cpus_.size()); ++t)
        if (t != self && cpus_[t].load(std::memory_order_relaxed) == here) return true;
    return false;
}
