#include "engine/TeamPlacement.h"

#include <omp.h>

TeamPlacement::TeamPlacement(int threads)
    : cpus_(threads > 0 ? threads : 1), released_(cpus_.size()), held_(cpus_.size(), 0) {
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

void TeamPlacement::SpreadAndHold(bool brief) {
    const int threads = omp_get_num_threads();
    const int self = omp_get_thread_num();
    if (threads < 2 || threads > static_cast<int>(cpus_.size())) return;
    cpu_set_t allowed;
    const bool known = sched_getaffinity(0, sizeof allowed, &allowed) == 0;
    cpus_[self].store(sched_getcpu(), std::memory_order_relaxed);
    // One thread decides for the whole team (so that all of them pass the
    // same barriers, whatever their own processors) and gives each thread
    // its own processor: the one it is on, unless an earlier thread is there
    // too, else the first one nobody has.
#pragma omp barrier
#pragma omp single
    {
        holdTeam_ = known && threads <= CPU_COUNT(&allowed) && (brief || CPU_COUNT(&allowed) == threads);
        if (holdTeam_) {
            cpu_set_t given;
            CPU_ZERO(&given);
            std::vector<int> waiting;
            for (int t = 0; t < threads; ++t) {
                const int cpu = cpus_[t].load(std::memory_order_relaxed);
                if (cpu >= 0 && cpu < CPU_SETSIZE && CPU_ISSET(cpu, &allowed) && !CPU_ISSET(cpu, &given))
                    CPU_SET(cpu, &given);
                else
                    waiting.push_back(t);
            }
            for (int cpu = 0, next = 0; cpu < CPU_SETSIZE && next < static_cast<int>(waiting.size()); ++cpu)
                if (CPU_ISSET(cpu, &allowed) && !CPU_ISSET(cpu, &given)) {
                    CPU_SET(cpu, &given);
                    cpus_[waiting[next++]].store(cpu, std::memory_order_relaxed);
                }
        }
    }
    if (!holdTeam_) {
        Spread();
        return;
    }
    const int mine = cpus_[self].load(std::memory_order_relaxed);
    if (!known || mine < 0 || mine >= CPU_SETSIZE) return;
    cpu_set_t own;
    CPU_ZERO(&own);
    CPU_SET(mine, &own);
    released_[self] = allowed;
    held_[self] = sched_setaffinity(0, sizeof own, &own) == 0;
}

void TeamPlacement::Release() {
    const int self = omp_get_thread_num();
    if (self < static_cast<int>(held_.size()) && held_[self]) {
        sched_setaffinity(0, sizeof released_[self], &released_[self]);
        held_[self] = 0;
    }
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
