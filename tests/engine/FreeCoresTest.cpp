// A team never takes more threads than other processes leave cores free.
#include "engine/FreeCores.h"

#include <gtest/gtest.h>

TEST(FreeCores, OtherProcessesShareOfTheMachineLeavesTheRest) {
    // Ticks of a window of 100 per core on 8 cores (800 in all).
    auto share = [](unsigned long long busy, unsigned long long own) {
        return OthersShare(CpuTicks{1000, 5000, 300}, CpuTicks{1000 + busy, 5800, 300 + own});
    };
    const struct {
        const char* what;
        double share;
        int usable, machine, free;
    } cases[] = {
        {"quiet", share(0, 0), 8, 8, 8},
        {"our own team busy on every core", share(800, 800), 8, 8, 8},
        {"four busy processes", share(400, 0), 8, 8, 4},
        {"four busy processes beside our team", share(800, 400), 8, 8, 4},
        {"every core taken", share(800, 0), 8, 8, 1},
        {"more than every core (counters read apart)", share(900, 0), 8, 8, 1},
        {"less than half a core taken is noise", share(40, 0), 8, 8, 8},
        {"four usable cores of eight, two taken", share(200, 0), 4, 8, 4},
        {"four usable cores of eight, six taken", share(600, 0), 4, 8, 2},
    };
    for (const auto& c : cases) EXPECT_EQ(FreeCoresFor(c.usable, c.machine, c.share), c.free) << c.what;
    EXPECT_EQ(OthersShare(CpuTicks{10, 20, 0}, CpuTicks{10, 20, 0}), 0.0) << "no time passed";
}
