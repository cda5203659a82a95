// The current pass: one value per pulse for the antenna view, the joint
// current reported once, signs by phase, and the currents table.
#include "EngineTestSupport.h"

#include "engine/CalcRuns.h"
#include "engine/Currents.h"
#include "engine/ModelPrep.h"
#include "model/PulseCurrentRec.h"
#include "model/ResultStore.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

// A bent wire of two joined pieces and a loose single segment (no pulse).
TestAntenna BentWire() {
    TestAntenna a(14.15);
    a.Wire(0, -5, 10, 0, 0, 10, 0.001, 10)
        .Wire(0, 0, 10, 0, 3, 13, 0.001, 8)
        .Wire(4, 4, 10, 4, 4.5, 10, 0.001, 1)
        .Source("w1c");
    return a;
}

}  // namespace

TEST(Currents, EveryPulseOnceAndTheJointOnTheLaterWire) {
    ResetEngineWorld();
    TestAntenna a = BentWire();
    ASSERT_EQ(PrepareModel(a.ant.get()), 1);
    const int n = Engine.PulseCount;
    ASSERT_EQ(n, 9 + 8);  // 9 on wire 1, the joint and 7 more on wire 2, none on the loose segment
    CalcCurrents();
    EXPECT_EQ(Results.LastPulseSlot, n - 1);
    for (int p = 1; p <= n; ++p) {
        const ComplexF i = Engine.Currents[p];
        EXPECT_FLOAT_EQ(std::fabs(Results.PulseCurrent[p - 1]), std::hypot(i.real(), i.imag())) << "pulse " << p;
    }
    EXPECT_EQ(Results.PulseCurrent[n], 0.0f);
    // The joint pulse is the first of wire 2.
    EXPECT_EQ(a->Wires[1].FirstPulse, 10);
}

TEST(Currents, SignsFollowThePhase) {
    CResult r;
    r.LastPulseSlot = 2;
    r.PulseCurrent[0] = 1.0f;
    r.PulseCurrent[1] = 2.0f;
    r.PulseCurrent[2] = 3.0f;
    r.PulseFlags[0] = PulseReNegative;
    r.PulseFlags[1] = PulseImNegative;
    r.MaxAbsRe = r.MaxAbsIm = 1.0;  // equal: the imaginary signs decide
    FixCurrentSigns(r);
    EXPECT_EQ(r.PulseCurrent[0], 1.0f);
    EXPECT_EQ(r.PulseCurrent[1], -2.0f);
    r.MaxAbsRe = 2.0;
    FixCurrentSigns(r);
    EXPECT_EQ(r.PulseCurrent[0], -1.0f);
    EXPECT_EQ(r.PulseCurrent[2], 3.0f);
}

TEST(Currents, TableModeFillsRowsAndLeavesTheStore) {
    ResetEngineWorld(GroundPerfect, 2.0);
    TestAntenna a = BentWire();
    ASSERT_TRUE(PrepareAndRun(a.ant.get()));
    std::vector<float> before(Results.PulseCurrent, Results.PulseCurrent + 64);
    const ResultRow row = *Results.Row(0);

    auto table = std::make_unique<PulseCurrentRec[]>(EnvDef.PMAX);
    for (int i = 0; i < EnvDef.PMAX; ++i) table[i] = PulseCurrentRec{};
    JobDef.CurrentTable = table.get();
    JobDef.Interactive = 0;
    ASSERT_EQ(PrepareModel(a.ant.get()), 1);
    CalcCurrentsOnly();
    JobDef.CurrentTable = nullptr;

    EXPECT_EQ(std::vector<float>(Results.PulseCurrent, Results.PulseCurrent + 64), before);
    EXPECT_EQ(Results.Row(0)->R, row.R);
    const int n = Engine.PulseCount;
    for (int p = 1; p <= n; ++p) {
        const PulseCurrentRec& rec = table[p - 1];
        EXPECT_EQ(rec.Valid, 1) << "pulse " << p;
        EXPECT_EQ(rec.Wire, p <= 9 ? 1 : 2) << "pulse " << p;
        const ComplexF i = Engine.Currents[p];
        EXPECT_FLOAT_EQ(rec.Re, i.real());
        EXPECT_NEAR(rec.Phase, std::atan2(i.imag(), i.real()) * 57.2957795, 1e-3);
    }
    EXPECT_EQ(table[n].Valid, 0);
    EXPECT_FLOAT_EQ(table[9].Z, 12.0f);  // the joint at (0, 0, 10) plus the added height
}
