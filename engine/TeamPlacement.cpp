#include "engine/TeamPlacement.h"

#include <omp.h>
#include <sched.h>

// Each thread notes its processor; a thread that finds an earlier thread
// on the same one moves off: it narrows its processors to those no team
// thread is on, which makes the system move it now, and widens them again
// at once, so it keeps every processor it had (and goes wherever it is
// needed later, under load too).
void SpreadTeam(std::vector<int>& cpus) {
    const int threads = omp_get_num_threads();
    if (threads < 2 || static_cast<int>(cpus.size()) < threads) return;
    const int self = omp_get_thread_num();
    cpus[self] = sched_getcpu();
#pragma omp barrier
    bool shared = false;
    for (int t = 0; t < self; ++t) shared = shared || cpus[t] == cpus[self];
    if (!shared || cpus[self] < 0) return;
    cpu_set_t allowed;
    if (sched_getaffinity(0, sizeof allowed, &allowed) != 0) return;
    cpu_set_t elsewhere = allowed;
    for (int t = 0; t < threads; ++t)
        if (const int cpu = cpus[t]; cpu >= 0 && cpu < CPU_SETSIZE) CPU_CLR(cpu, &elsewhere);
    if (CPU_COUNT(&elsewhere) == 0) return;
    if (sched_setaffinity(0, sizeof elsewhere, &elsewhere) == 0) sched_setaffinity(0, sizeof allowed, &allowed);
}
