#pragma once
// Thread counts of the engine's parallel steps. A step of little work (a
// model of a few hundred pulses) runs on a few threads only: its barriers
// then wait for fewer threads, each of which another process on its core can
// hold up for a scheduler tick, and the rest of the machine stays free. No
// team has more threads than other processes leave cores free.
#include "engine/FreeCores.h"

#include <algorithm>
#include <omp.h>

inline constexpr int FewThreads = 4;

inline int TeamSize(bool muchWork) {
    const int all = std::min(omp_get_max_threads(), FreeCores());
    return muchWork ? all : std::min(FewThreads, all);
}
