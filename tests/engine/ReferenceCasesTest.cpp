// Published results of the original method-of-moments program for five
// classic cases, with the same segmentation.
#include "EngineTestSupport.h"

#include "engine/ModelPrep.h"
#include "engine/Solve.h"
#include "model/ResultStore.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>

namespace {

// The published runs took the wavelength as 299.8 / f; the same electrical
// size here needs the frequency scaled to this program's speed of light.
double Published(double fMHz) { return fMHz * (299.792458 / 299.8); }

void ExpectImpedance(double r, double x) {
    const ResultRow* row = Results.Row(0);
    const double tolerance = 1e-3 * std::hypot(r, x);
    EXPECT_NEAR(row->R, r, tolerance) << "R";
    EXPECT_NEAR(row->jX, x, tolerance) << "jX";
}

}  // namespace

TEST(ReferenceCases, WireStub) {
    ResetEngineWorld();
    TestAntenna a(Published(299.8));
    a.Wire(0, 0, -0.01, 0, 0, 0.01, 0.001, 2).Source("1");
    ASSERT_TRUE(PrepareAndRun(a.ant.get()));
    ExpectImpedance(0.0790, -3388);
    EXPECT_NEAR(Results.Row(0)->R, 0.0790, 0.0001);  // the radiation resistance itself
    EXPECT_NEAR(Results.Row(0)->Ga, 1.754, 0.01);
}

TEST(ReferenceCases, HalfWaveDipole) {
    ResetEngineWorld();
    TestAntenna a(Published(293));
    a.Wire(0, 0, -0.25, 0, 0, 0.25, 0.00001, 30).Source("w1c");
    ASSERT_TRUE(PrepareAndRun(a.ant.get()));
    ExpectImpedance(72.21, 0.6485);
    EXPECT_NEAR(Results.Row(0)->Ga, 2.13, 0.01);
}

// The published run of this case is at 286.3 MHz, where impedance and gain
// agree together; at 285.3 MHz this discretization is 1 MHz below it.
TEST(ReferenceCases, FullWaveDipole) {
    ResetEngineWorld();
    TestAntenna a(Published(286.3));
    a.Wire(0, 0, -0.5, 0, 0, 0.5, 0.00001, 30).Source("w1c");
    ASSERT_TRUE(PrepareAndRun(a.ant.get()));
    ExpectImpedance(6958, -26.51);
    EXPECT_NEAR(Results.Row(0)->Ga, 3.63, 0.01);
}

// Also on a ground raised by heights that single precision does not hold:
// the wire's end at minus the height still rests on the ground.
TEST(ReferenceCases, QuarterWaveMonopole) {
    for (double height : {0.0, 0.1, 0.3}) {
        SCOPED_TRACE(height);
        ResetEngineWorld(GroundPerfect, height);
        TestAntenna a(Published(293));
        a.Wire(0, 0, -height, 0, 0, 0.25 - height, 0.00001, 15).Source("w1b");
        ASSERT_TRUE(PrepareAndRun(a.ant.get()));
        ExpectImpedance(36.10, 0.3352);
        EXPECT_NEAR(Results.Row(0)->Ga, 5.145, 0.01);
    }
}

TEST(ReferenceCases, InvertedL) {
    ResetEngineWorld(GroundPerfect, 0.0);
    TestAntenna a(Published(299.8));
    a.Wire(0, 0, 0, 0, 0, 0.191, 0.004, 4).Wire(0, 0, 0.191, 0, 0.309, 0.191, 0.004, 6).Source("w1b");
    ASSERT_TRUE(PrepareAndRun(a.ant.get()));
    ExpectImpedance(311.6818, -468.1982);
}
