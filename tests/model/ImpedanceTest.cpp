#include "model/Impedance.h"
#include "model/LineTransform.h"

#include <cmath>
#include <gtest/gtest.h>

namespace {

TEST(SWR, AgainstTheReferenceImpedance) {
    EXPECT_DOUBLE_EQ(CalcSWR(50, 0, 50, 0), 1.0);
    EXPECT_DOUBLE_EQ(CalcSWR(100, 0, 50, 0), 2.0);
    EXPECT_DOUBLE_EQ(CalcSWR(25, 0, 50, 0), 2.0);
    EXPECT_DOUBLE_EQ(CalcSWR(-50, 10, 50, 0), CalcSWR(50, -10, 50, 0));
    EXPECT_DOUBLE_EQ(CalcSWR2({73, 42.5}, {50, 0}), CalcSWR(73, 42.5, 50, 0));
    EXPECT_NEAR(CalcSWR(75, 0, 75, 0), 1.0, 1e-12);
    // A reactive reference: matched at Z0 itself, and a passive load far off
    // it shows its own SWR, not the cap (rho = 677.14 / 681.01).
    EXPECT_NEAR(CalcSWR(75, 10, 75, 10), 1.0, 1e-12);
    EXPECT_NEAR(CalcSWR(17.5, -664.7, 75, 10), 351.35, 0.01);
    const double capped = (1 + MaxReflection) / (1 - MaxReflection);
    for (double r : {0.1, 3.0, 50.0, 900.0})
        for (double x : {-1000.0, -40.0, 0.0, 25.0, 1000.0})
            for (double z0x : {-30.0, 10.0}) EXPECT_LT(CalcSWR(r, x, 75, z0x), capped) << r << " " << x << " " << z0x;
}

TEST(SWR, ShortsAndReactancesGiveTheCappedValue) {
    const double capped = 1.999999 / 0.000001;
    EXPECT_NEAR(CalcSWR(0, 0, 50, 0), capped, 1e-3);
    EXPECT_NEAR(CalcSWR(0, 120, 50, 0), capped, 1e-3);
    EXPECT_DOUBLE_EQ(CalcSWR(0, 0, 0, 0), 1.0);
    EXPECT_NEAR(CalcSWR(std::nan(""), 0, 50, 0), capped, 1e-3);
}

TEST(ImpedanceText, OneAndTwoDecimals) {
    EXPECT_EQ(CplxToStr1(73.04, 0), "73.0");
    EXPECT_EQ(CplxToStr1(73.04, -12.36), "73.0-j12.4");
    EXPECT_EQ(CplxToStr1(73.04, 12.36), "73.0+j12.4");
    EXPECT_EQ(CplxToStr2(73.04, 0), "73.04+j0.00");
    EXPECT_EQ(CplxToStr2(-1.5, -0.004), "-1.50+j0.00");  // a reactance that rounds to zero shows no sign
}

void ExpectNear(Cplx a, Cplx b) {
    EXPECT_NEAR(a.real(), b.real(), 1e-9 * (1 + std::abs(b)));
    EXPECT_NEAR(a.imag(), b.imag(), 1e-9 * (1 + std::abs(b)));
}

TEST(LineTransformation, QuarterAndHalfWaveLines) {
    Cplx zin;
    ASSERT_TRUE(LineTransform(zin, 50, 100, 0.25));
    ExpectNear(zin, 25);
    ASSERT_TRUE(LineTransform(zin, 50, {30, -20}, 0.5));
    ExpectNear(zin, {30, -20});
    ASSERT_TRUE(LineTransform(zin, 50, 100, 1.25));
    ExpectNear(zin, 25);
    ASSERT_TRUE(LineTransform(zin, 50, {30, -20}, 1.0));
    ExpectNear(zin, {30, -20});
}

TEST(LineTransformation, LossyLineRoundTripsAndMatchesLossless) {
    Cplx z0(50, 0), zl(120, -35), zin, lossless, back;
    ASSERT_TRUE(CalcLineZin(zin, z0, zl, 0.18, 1.5));
    ASSERT_TRUE(CalcLineZload(back, z0, zin, 0.18, 1.5));
    ExpectNear(back, zl);
    ASSERT_TRUE(CalcLineZin(zin, z0, zl, 0.37, 0));
    ASSERT_TRUE(LineTransform(lossless, z0, zl, 0.37));
    ExpectNear(zin, lossless);
}

TEST(LineTransformation, ZeroDenominatorIsReportedNotDivided) {
    Cplx out(1, 2);
    EXPECT_FALSE(LineTransform(out, 50, 0, 0.25));  // quarter wave on a short
    EXPECT_EQ(out, Cplx(1, 2));
    EXPECT_FALSE(LineTransform(out, 0, 0, 0.1));
    EXPECT_FALSE(CalcLineZin(out, 50, 0, 0.25, 0));
    EXPECT_FALSE(CalcLineZload(out, 50, 0, 0.25, 0));  // a short seen through a quarter wave: open load
    EXPECT_EQ(out, Cplx(1, 2));
    EXPECT_TRUE(CalcLineZin(out, 50, 0, 0.25, 1.0));  // loss keeps it finite
    EXPECT_TRUE(std::isfinite(out.real()));
}

}  // namespace
