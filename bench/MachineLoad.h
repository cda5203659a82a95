#pragma once
// How busy the machine is while a bench case runs, and a load to run cases
// under. The benches run on machines shared with other work, so every line
// says how much of the cores other processes took during its case
// (busy=0.00 quiet .. 1.00 every core taken): a figure measured at busy=0.02
// is a quiet one, one at busy=0.40 is not.
#include <signal.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

namespace bench {

// Clock ticks of the whole machine (all cores) and of this process.
struct CpuTicks {
    unsigned long long busy = 0, total = 0, own = 0;
};

inline CpuTicks ReadCpuTicks() {
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
        // utime and stime are fields 14 and 15; the name (field 2) may hold
        // spaces, so the count starts after its closing parenthesis.
        char line[1024] = {};
        if (std::fgets(line, sizeof line, f)) {
            const char* p = line;
            for (const char* q = line; *q; ++q)
                if (*q == ')') p = q + 1;
            unsigned long long utime = 0, stime = 0;
            if (std::sscanf(p, " %*c %*d %*d %*d %*d %*d %*u %*u %*u %*u %*u %llu %llu", &utime, &stime) == 2)
                t.own = utime + stime;
        }
        std::fclose(f);
    }
    return t;
}

// Other processes' share of the machine's cores since construction.
class BusyMeter {
public:
    BusyMeter() : start_(ReadCpuTicks()) {}
    double Share() const {
        const CpuTicks now = ReadCpuTicks();
        const double total = static_cast<double>(now.total - start_.total);
        if (total <= 0) return 0.0;
        const double others = static_cast<double>(now.busy - start_.busy) - static_cast<double>(now.own - start_.own);
        return others < 0 ? 0.0 : (others > total ? 1.0 : others / total);
    }

private:
    CpuTicks start_;
};

// Processes that each keep one core busy until destroyed, as other programs
// would (separate processes, so busy= counts them as others).
class BusyProcesses {
public:
    explicit BusyProcesses(int count) {
        for (int i = 0; i < count; ++i) {
            const pid_t pid = fork();
            if (pid == 0) {
                volatile unsigned sink = 0;
                for (;;) sink = sink + 1;
            }
            if (pid > 0) children_.push_back(pid);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));  // running before the cases start
    }
    ~BusyProcesses() {
        for (pid_t pid : children_) kill(pid, SIGKILL);
        for (pid_t pid : children_) waitpid(pid, nullptr, 0);
    }
    int Count() const { return static_cast<int>(children_.size()); }
    BusyProcesses(const BusyProcesses&) = delete;
    BusyProcesses& operator=(const BusyProcesses&) = delete;

private:
    std::vector<pid_t> children_;
};

}  // namespace bench
