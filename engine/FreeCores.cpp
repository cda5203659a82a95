#include "engine/FreeCores.h"

#include <sched.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <mutex>

namespace {

using Clock = std::chrono::steady_clock;

// Long enough for the tick counts to mean something (a tick is a few
// milliseconds per core), short enough to follow a change of load.
constexpr auto LookInterval = std::chrono::milliseconds(50);

int UsableCores() {
    cpu_set_t allowed;
    if (sched_getaffinity(0, sizeof allowed, &allowed) == 0) return std::max(1, CPU_COUNT(&allowed));
    return std::max(1L, sysconf(_SC_NPROCESSORS_ONLN));
}

int MachineCores() { return static_cast<int>(std::max(1L, sysconf(_SC_NPROCESSORS_ONLN))); }

struct LastLook {
    std::mutex lock;
    Clock::time_point when = Clock::now();
    CpuTicks ticks = ReadCpuTicks();  // the first window starts with the program
    int freeCores = UsableCores();
};

LastLook& Last() {
    static LastLook last;
    return last;
}

// Made at start-up, so that the first job sees the load since then.
[[maybe_unused]] const LastLook& startLook = Last();

}  // namespace

CpuTicks ReadCpuTicks() {
    CpuTicks t;
    if (FILE* f = std::fopen("/proc/stat", "r")) {
        unsigned long long v[8] = {};
        if (std::fscanf(f, "cpu %llu %llu %llu %llu %llu %llu %llu %llu", &v[0], &v[1], &v[2], &v[3], &v[4], &v[5],
                        &v[6], &v[7]) == 8) {
            // user nice system idle iowait irq softirq steal
            t.busy = v[0] + v[1] + v[2] + v[5] + v[6] + v[7];
            t.total = t.busy + v[3] + v[4];
        }
        std::fclose(f);
    }
    if (FILE* f = std::fopen("/proc/self/stat", "r")) {
        // utime, stime, cutime and cstime are fields 14 to 17 (the last two:
        // the children waited for); the name (field 2) may hold spaces, so
        // the count starts after its closing parenthesis.
        char line[1024] = {};
        if (std::fgets(line, sizeof line, f)) {
            const char* p = line;
            for (const char* q = line; *q; ++q)
                if (*q == ')') p = q + 1;
            unsigned long long utime = 0, stime = 0;
            long long cutime = 0, cstime = 0;
            if (std::sscanf(p, " %*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %llu %llu %lld %lld", &utime, &stime,
                            &cutime, &cstime) == 4)
                t.own = utime + stime + static_cast<unsigned long long>(cutime + cstime);
        }
        std::fclose(f);
    }
    return t;
}

double OthersShare(const CpuTicks& before, const CpuTicks& after) {
    const double total = static_cast<double>(after.total) - static_cast<double>(before.total);
    if (total <= 0) return 0.0;
    const double others = (static_cast<double>(after.busy) - static_cast<double>(before.busy)) -
                          (static_cast<double>(after.own) - static_cast<double>(before.own));
    return std::clamp(others / total, 0.0, 1.0);
}

int FreeCoresFor(int usable, int machineCores, double othersShare) {
    const long taken = std::lround(othersShare * machineCores);
    return static_cast<int>(std::clamp<long>(machineCores - taken, 1, std::max(1, usable)));
}

int FreeCores() {
    LastLook& last = Last();
    std::lock_guard<std::mutex> hold(last.lock);
    const Clock::time_point now = Clock::now();
    if (now - last.when >= LookInterval) {
        const CpuTicks ticks = ReadCpuTicks();
        last.freeCores = FreeCoresFor(UsableCores(), MachineCores(), OthersShare(last.ticks, ticks));
        last.ticks = ticks;
        last.when = now;
    }
    return last.freeCores;
}
