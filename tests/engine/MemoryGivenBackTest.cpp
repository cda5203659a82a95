// A large calculation leaves no memory behind: the next, small one gives
// back the pages the large one touched and it does not need.
#include "EngineTestSupport.h"

#include "engine/EngineState.h"
#include "engine/ResidentMemory.h"
#include "model/ResultStore.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// A centre-fed straight wire of about `pulses` pulses.
TestAntenna Wire(int pulses) {
    TestAntenna a(14.15);
    a.Wire(-5, 0, 10, 5, 0, 10, 0.001, pulses + 1).Source("w1c");
    return a;
}

double FeedResistance(int pulses) {
    TestAntenna a = Wire(pulses);
    Results.PushRow();
    EXPECT_TRUE(PrepareAndRun(a.ant.get()));
    return Results.Row(0)->R;
}

}  // namespace

TEST(MemoryGivenBack, ASmallJobAfterALargeOneKeepsOnlyWhatItNeeds) {
    // The large job touches a matrix of 25 MB and the factorization's wide
    // panels (3.7 MB); the small one needs a few kilobytes of each.
    constexpr int Large = 1800, Small = 40;
    ResetEngineWorld(0, 0.0, 2048);
    const double small = FeedResistance(Small);
    const double fresh = ResidentMegabytes();
    FeedResistance(Large);
    const double large = ResidentMegabytes();
    const double again = FeedResistance(Small);
    const double after = ResidentMegabytes();
    // What stays is the BLAS library's packing buffers, a few hundred
    // kilobytes per thread whatever the size of the job. The growth is at
    // least most of the matrix itself (what else it holds varies with the
    // BLAS kernel and the thread count).
    const double matrixMegabytes = (Large + 1.0) * (Large + 1.0) * 8.0 / (1024.0 * 1024.0);
    EXPECT_GT(large - fresh, 0.9 * matrixMegabytes) << "the large job touched its matrix";
    EXPECT_LT(after - fresh, (large - fresh) / 4)
        << "fresh " << fresh << " MB, after the large job " << large << " MB, then " << after;
    // The pages given back read as zeros; the small job fills what it uses.
    EXPECT_TRUE(std::isfinite(again));
    EXPECT_FLOAT_EQ(again, small);
}
