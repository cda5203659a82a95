// The numeric cores of the RF calculators against hand-worked values.
#include "tools/RfCalculators.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <cmath>

namespace {

TEST(Resonance, FrequencyFromLAndC) {
    ResonanceCalc r;
    r.L = 1e-6;
    r.C = 100e-12;
    r.Calc(3);
    EXPECT_NEAR(r.F, 1 / (2 * M_PI * std::sqrt(1e-16)), 1e-3);
    EXPECT_NEAR(r.X, 2 * M_PI * r.F * r.L, 1e-9);
}

TEST(Resonance, LAndCFromReactanceAndBackAgree) {
    ResonanceCalc r;
    r.F = 14e6;
    r.X = 100;
    r.Calc(0);
    const double l = r.L, c = r.C;
    EXPECT_NEAR(l, 100 / (2 * M_PI * 14e6), 1e-15);
    r.Calc(1);
    EXPECT_NEAR(r.X, 100, 1e-9);
    EXPECT_NEAR(r.C, c, 1e-20);
    r.Calc(2);
    EXPECT_NEAR(r.L, l, 1e-15);
}

TEST(Resonance, ZeroInputsGiveZerosNotInfinities) {
    ResonanceCalc r;
    r.Calc(0);
    EXPECT_EQ(r.L, 0);
    EXPECT_EQ(r.C, 0);
    r.Calc(3);
    EXPECT_EQ(r.F, 0);
    EXPECT_EQ(r.WavelengthText(), "");
}

TEST(Resonance, WavelengthLinesAt14MHz) {
    ResonanceCalc r;
    r.F = 14e6;
    EXPECT_EQ(r.WavelengthText(), "wl  = 21.414m\r\n1/2 = 10.707m\r\n1/4 = 5.353m\r\n5/8 = 13.384m");
}

TEST(Coil, DefaultsGiveFifteenMicrohenry) {
    CoilCalc c;
    c.Calc(0);
    EXPECT_NEAR(c.L * 1e6, 10000.0 / 654, 1e-9);
    EXPECT_NEAR(c.Length(), 2.0, 1e-12);
}

TEST(Coil, TurnsAndDiameterInvertTheInductance) {
    CoilCalc c;
    c.Calc(0);
    const double n = c.N, d = c.D;
    c.N = 1;
    c.Calc(1);
    EXPECT_NEAR(c.N, n, 1e-9);
    c.D = 1;
    c.Calc(2);
    EXPECT_NEAR(c.D, d, 1e-9);
}

TEST(Coil, ZeroInductanceOrDiameterStaysFinite) {
    CoilCalc c;
    c.L = 0;
    c.Calc(2);
    EXPECT_EQ(c.D, 0);
    c.Calc(1);  // D is 0 now
    EXPECT_EQ(c.N, 0);
    c.Calc(2);  // N is 0 now
    EXPECT_TRUE(std::isfinite(c.D));
}

TEST(LMatch, QuarterOhmLoadAt14MHz) {
    LMatchCalc m;
    m.F = 14e6;
    m.Z = 50;
    m.R = 25;
    m.X = 0;
    m.Calc();
    EXPECT_EQ(m.Topology, 0);
    EXPECT_NEAR(m.X2, 25, 1e-9);
    EXPECT_EQ(m.K2, 'L');
    EXPECT_NEAR(m.V2, 0.284, 1e-3);
    EXPECT_NEAR(m.X1, -50, 1e-9);
    EXPECT_EQ(m.K1, 'C');
    EXPECT_NEAR(m.V1, 227.4, 0.05);
    m.SeriesC = 1;
    m.Calc();
    EXPECT_EQ(m.K1, 'L');
    EXPECT_EQ(m.K2, 'C');
}

TEST(LMatch, MatchedAndReactiveLoads) {
    LMatchCalc m;
    m.F = 14e6;
    m.Z = m.R = 50;
    m.Calc();
    EXPECT_EQ(m.V1, 0);
    EXPECT_EQ(m.V2, 0);
    m.X = 30;
    m.Calc();
    EXPECT_NEAR(m.X2, -30, 1e-12);
    EXPECT_EQ(m.X1, NoShuntElement);
    EXPECT_EQ(m.V1, 0);
}

TEST(LMatch, HighLoadPutsTheShuntAcrossTheLoad) {
    LMatchCalc m;
    m.F = 7e6;
    m.Z = 50;
    m.R = 200;
    m.X = 0;
    m.Calc();
    EXPECT_EQ(m.Topology, 1);
    // The network's input is the feeder impedance.
    const Cplx shunt(0, m.X1), load(m.R, m.X);
    const Cplx zin = shunt * load / (shunt + load) + Cplx(0, m.X2);
    EXPECT_NEAR(zin.real(), 50, 1e-6);
    EXPECT_NEAR(zin.imag(), 0, 1e-6);
}

TEST(LineMatch, MatchedQLoadNeedsNoTuning) {
    LineMatchCalc l;
    l.ZL2 = l.Ri2 = l.Zo1 = l.Zo2 = Cplx(50, 0);
    l.TuneQMatch();
    EXPECT_NEAR(l.SWRq, 1, 1e-9);
    EXPECT_EQ(l.L1, 0);
    EXPECT_EQ(l.L2, 0);
}

TEST(LineMatch, DefaultQMatchShowsOnePointFive) {
    LineMatchCalc l;
    l.CalcLine();
    EXPECT_NEAR(l.SWRq, 1.5, 1e-9);
}

TEST(LineMatch, TuningFindsTheBestPairOfLengths) {
    LineMatchCalc l;
    l.ZL2 = Cplx(30, 20);
    double best = 1e9;
    for (int a = 0; a <= 100; ++a)
        for (int b = 0; b <= 100; ++b) best = std::min(best, l.QSwr(a * 0.005, b * 0.005));
    l.TuneQMatch();
    EXPECT_LT(l.SWRq, best + 1e-3);
    EXPECT_NEAR(l.QSwr(l.L1, l.L2), l.SWRq, 1e-12);
}

TEST(StubMatch, DefaultsFindTwoSolutions) {
    StubMatchCalc s;
    s.Solve();
    ASSERT_EQ(s.Count, 2);
    EXPECT_NEAR(s.Var[0].L1, 0.0066, 1e-4);
    EXPECT_NEAR(s.Var[1].L1, 0.4934, 1e-4);
    EXPECT_NEAR(s.Var[0].XS, -50.09, 0.2);
    EXPECT_NEAR(s.Var[1].XS, 50.09, 0.2);
    EXPECT_NEAR(s.Var[0].SWR, 1.01, 0.01);
    EXPECT_EQ(s.SolutionText(1).rfind("   L1 : 0.0066lw", 0), 0u);
}

TEST(StubMatch, CapacitiveElementReadsInPicofarad) {
    StubMatchCalc s;
    s.F = 14;
    s.Count = 1;
    s.Var[0].XS = -100;
    EXPECT_NE(s.SolutionText(1).find("   XS : -100.00 Ohm (113.7 pF)\r\n"), std::string::npos);
    EXPECT_EQ(s.SolutionText(2), "None");
}

TEST(Stub, OpenAndShortedRG213At14MHz) {
    StubCalc s;
    s.F = 14e6;
    s.X = -100;
    s.Calc(1);
    EXPECT_NEAR(s.Length, 105.9, 0.05);
    EXPECT_NEAR(s.LC, 113.7, 0.05);
    EXPECT_NEAR(s.Fo, 47.431, 0.001);
    s.Shorted = 1;
    s.X = 100;
    s.Calc(1);
    EXPECT_NEAR(s.Length, 252.8, 0.05);
}

TEST(Stub, OpenStubOfNoLengthAndNoFrequency) {
    StubCalc s;
    s.F = 14e6;
    s.Length = 0;
    s.Calc(3);
    EXPECT_EQ(s.X, OpenStubReactance);
    EXPECT_EQ(s.Fo, 0);
    StubCalc none;
    none.X = 5;
    none.Calc(1);  // no frequency: nothing changes
    EXPECT_EQ(none.X, 5);
    EXPECT_EQ(none.Length, 100);
}

TEST(Stub, CableTableLookup) {
    EXPECT_EQ(FindCable("RG 213"), 8);
    EXPECT_EQ(FindCable("rg 213"), 0);
    EXPECT_EQ(FindCable("5D2V"), 0);
    StubCalc s;
    s.SelectRow(10);
    EXPECT_DOUBLE_EQ(s.Z0, 53.5);
    EXPECT_DOUBLE_EQ(s.Vf, static_cast<double>(0.67f));
}

}  // namespace
