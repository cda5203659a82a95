#pragma once
// The cores that other processes leave free. A team with more threads than
// that shares cores with other programs' work, and each of its barriers then
// waits for a thread that the system has put aside for a scheduler tick: on
// a machine whose every core is taken, one thread is faster than a team.
// The figure is the share of the machine that other processes took since
// the last look (the busy time of all cores less this process's own and its
// finished children's: work it handed to a process of its own), looked
// at no more often than every LookInterval, so that short jobs in a row cost
// nothing and a job's teams follow the load that went before it.

struct CpuTicks {
    unsigned long long busy = 0, total = 0;  // all cores of the machine
    unsigned long long own = 0;              // this process and its finished children
};

// The clock ticks counted so far.
CpuTicks ReadCpuTicks();

// The share of the machine's cores that other processes took between two
// readings: 0 quiet .. 1 every core taken.
double OthersShare(const CpuTicks& before, const CpuTicks& after);

// The cores free for a team: those this process may run on (usable), less
// what other processes take of the machine's cores, at least 1. A small
// share of a core is noise and takes none.
int FreeCoresFor(int usable, int machineCores, double othersShare);

// The cores free when a job starts, from the load since the last look.
int FreeCores();
