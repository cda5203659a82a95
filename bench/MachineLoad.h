#pragma once
// How busy the machine is while a bench case runs, and a load to run cases
// under. The benches run on machines shared with other work, so every line
// says how much of the cores other processes took during its case
// (busy=0.00 quiet .. 1.00 every core taken): a figure measured at busy=0.02
// is a quiet one, one at busy=0.40 is not.
#include "engine/FreeCores.h"

#include <signal.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>
#include <vector>

namespace bench {

// Other processes' share of the machine's cores since construction.
class BusyMeter {
public:
    BusyMeter() : start_(ReadCpuTicks()) {}
    double Share() const { return OthersShare(start_, ReadCpuTicks()); }

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
