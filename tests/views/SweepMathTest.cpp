// The arithmetic of the sweep: LC fit, L network, bandwidth and frequency plan.
#include <gtest/gtest.h>

#include <cmath>

#include "model/Impedance.h"
#include "model/ResultStore.h"
#include "views/SweepMath.h"

namespace {

// Series RLC: R + j(wL - 1/(wC)).
SweepTable SeriesRlc(double r, double lUh, double cPf) {
    SweepTable t;
    t.F0 = 14.0;
    t.Step = 0.1;
    t.BW = 0.4;
    t.CentreIndex = 2;
    t.DotsPerGap = 1;
    for (int k = 0; k < SweepMainPoints; ++k) {
        SweepPoint& p = t.Points[k];
        p.F = 13.8 + 0.1 * k;
        double w = 6.283185307179586 * p.F * 1e6;
        p.R = r;
        p.X = w * lUh * 1e-6 - 1.0 / (w * cPf * 1e-12);
    }
    return t;
}

}  // namespace

TEST(SweepFit, RecoversSeriesLcAndFillsUncomputedPoints) {
    SweepTable t = SeriesRlc(50.0, 10.0, 12.9);
    double trueX4 = t.Points[4].X;
    t.Points[0].State = t.Points[4].State = SweepNotComputed;
    t.Points[1].State = t.Points[2].State = t.Points[3].State = SweepComputed;
    t.Points[4].X = 0;
    t.Count = 3;
    SweepFit fit;
    ASSERT_TRUE(FitSweepTable(t, fit));
    EXPECT_NEAR(fit.L, 10.0, 1e-6);
    EXPECT_NEAR(fit.C, 12.9, 1e-6);
    double f0 = 1e-6 / (6.283185307179586 * std::sqrt(10e-6 * 12.9e-12));
    EXPECT_NEAR(fit.F0, f0, 1e-9);
    EXPECT_NEAR(fit.Q, std::sqrt(10e-6 / 12.9e-12) / 50.0, 1e-9);
    EXPECT_NEAR(fit.BW, fit.F0 * 1000 / fit.Q, 1e-9);
    EXPECT_EQ(t.Points[4].State, SweepNotComputed);
    EXPECT_NEAR(t.Points[4].X, trueX4, 1e-6);
}

TEST(SweepFit, NeedsTwoPointsAndSkipsDegeneratePairs) {
    SweepTable t = SeriesRlc(50.0, 10.0, 12.9);
    t.Points[2].State = SweepComputed;
    t.Count = 1;
    SweepFit fit;
    fit.F0 = 7.0;
    EXPECT_FALSE(FitSweepTable(t, fit));
    EXPECT_EQ(fit.F0, 7.0);
    // Two points at one frequency give no model; nothing changes.
    t.Points[3].State = SweepComputed;
    t.Points[3].F = t.Points[2].F;
    t.Count = 2;
    EXPECT_FALSE(FitSweepTable(t, fit));
    EXPECT_EQ(fit.F0, 7.0);
}

TEST(SweepFit, NonPositiveInterpolatedResistanceIsTiny) {
    SweepTable t = SeriesRlc(50.0, 10.0, 12.9);
    t.Points[1].State = t.Points[2].State = SweepComputed;
    t.Points[1].R = 100;
    t.Points[2].R = 10;   // falls 90 ohm per step: point 4 lands below zero
    t.Count = 2;
    SweepFit fit;
    ASSERT_TRUE(FitSweepTable(t, fit));
    EXPECT_EQ(t.Points[4].R, 1e-30);
}

TEST(LNetwork, MatchesAtTheDesignFrequencyForBothCases) {
    for (auto z : {std::complex<double>(12.0, -30.0), std::complex<double>(300.0, 80.0),
                   std::complex<double>(50.0, 40.0)}) {
        auto zin = MatchedInput(z.real(), z.imag(), 14.0, 50.0, z, 14.0);
        EXPECT_NEAR(CalcSWR(zin.real(), zin.imag(), 50.0, 0.0), 1.0, 1e-6) << z;
        // Away from the design frequency the match degrades.
        auto off = MatchedInput(z.real(), z.imag(), 14.0, 50.0, z, 14.5);
        EXPECT_GT(CalcSWR(off.real(), off.imag(), 50.0, 0.0), 1.0001) << z;
    }
}

TEST(LNetwork, ReactancesScaleAsInductorsAndCapacitors) {
    EXPECT_DOUBLE_EQ(ScaleReactance(10.0, 10.0, 20.0), 20.0);
    EXPECT_DOUBLE_EQ(ScaleReactance(-10.0, 10.0, 20.0), -5.0);
    // A match point that cannot be matched leaves the impedance alone.
    auto z = MatchedInput(-5.0, 10.0, 14.0, 50.0, {30.0, 4.0}, 14.0);
    EXPECT_EQ(z, std::complex<double>(30.0, 4.0));
}

TEST(Bandwidth, MinimumMustBeInsideAndBelowOneAndAHalf) {
    double atEnd[5] = {1.1, 1.3, 1.6, 2.0, 3.0};
    EXPECT_EQ(FindMinSwrPoint(atEnd), -1);
    double high[5] = {3.0, 2.0, 1.5, 2.0, 3.0};
    EXPECT_EQ(FindMinSwrPoint(high), -1);
    double good[5] = {3.0, 2.0, 1.1, 1.7, 2.5};
    EXPECT_EQ(FindMinSwrPoint(good), 2);
}

TEST(Bandwidth, InterpolatesCrossingsAndStopsAtTheOuterPoints) {
    double f[5] = {14.0, 14.1, 14.2, 14.3, 14.4};
    double s[5] = {3.0, 2.0, 1.0, 2.0, 3.0};
    // SWR 1.5 is crossed half-way on either side: 0.1 MHz.
    EXPECT_NEAR(BandwidthAtSwr(s, f, 2, 1.5), 100.0, 1e-9);
    EXPECT_NEAR(BandwidthAtSwr(s, f, 2, 2.5), 300.0, 1e-9);
    // Everything below the limit: the outermost main points where the SWR
    // does not rise towards them, else the extrapolated crossing.
    double flat[5] = {1.2, 1.2, 1.0, 1.2, 1.2};
    EXPECT_NEAR(BandwidthAtSwr(flat, f, 2, 2.0), 400.0, 1e-9);
    double rising[5] = {1.3, 1.2, 1.0, 1.2, 1.3};
    EXPECT_NEAR(BandwidthAtSwr(rising, f, 2, 2.0), 1800.0, 1e-6);
    // An SWR above any cap enters uncapped.
    double steep[5] = {20000.0, 1.2, 1.0, 1.2, 20000.0};
    EXPECT_NEAR(BandwidthAtSwr(steep, f, 2, 2.0), 2 * (0.1 + 0.1 * 0.8 / 19998.8) * 1000, 1e-6);
}

TEST(SweepPlan, NewWidthKeepsPointsAndTakesOverDots) {
    CResult r;
    SweepTable& t = r.Sweep;
    t.F0 = 14.0;
    t.Step = 0.05;
    t.BW = 0.2;
    const double f[5] = {13.9, 13.95, 14.0, 14.05, 14.1};
    for (int k = 0; k < 5; ++k) {
        t.Points[k].F = f[k];
        t.Points[k].State = SweepComputed;
        t.Points[k].R = 10 + k;
        t.Points[k].Shown = 1;
    }
    t.Count = 5;
    r.SetSweepDivisions(1);
    t.Dots[1][0].F = 13.975;
    t.Dots[1][0].State = SweepComputed;
    t.Dots[1][0].R = 77;
    SweepTable before = t;
    RetuneSweep(r, before, 0.1);   // step 0.025: 13.95 13.975 14.0 14.025 14.05
    EXPECT_EQ(t.Points[0].State, SweepComputed);   // 13.95 was point 1
    EXPECT_EQ(t.Points[0].R, 11);
    EXPECT_EQ(t.Points[1].State, SweepCopied);     // the former dot
    EXPECT_EQ(t.Points[1].R, 77);
    EXPECT_EQ(t.Points[1].Shown, 0);
    EXPECT_EQ(t.Points[2].R, 12);
    EXPECT_EQ(t.Points[3].State, SweepNotComputed);  // 14.025 was never computed
    EXPECT_EQ(t.Points[4].State, SweepComputed);     // 14.05 was point 3
}
