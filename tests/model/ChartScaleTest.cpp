// The value axis of the frequency charts and the clipping of their lines.
#include "model/ChartScale.h"
#include "model/ScreenClip.h"

#include <cmath>
#include <limits>
#include <gtest/gtest.h>

namespace {

constexpr double NoFloor = -std::numeric_limits<double>::infinity();

void ExpectAxis(const ChartAxis& a, double bottom, double top) {
    EXPECT_NEAR(a.Bottom, bottom, 1e-9);
    EXPECT_NEAR(a.Top, top, 1e-9);
    EXPECT_NEAR(a.Span, top - bottom, 1e-9);
}

}  // namespace

TEST(ChartAxis, SwrCurveEndsOnTheFloorWithAUnitSpan) {
    ExpectAxis(ChooseChartAxis(1.1, 1.9, 1.0), 1.0, 2.0);
}

TEST(ChartAxis, NarrowDataGetsTheSmallestReadableSpan) {
    ExpectAxis(ChooseChartAxis(1.0, 1.0), 0.5, 1.3);
    ExpectAxis(ChooseChartAxis(0.0, 0.0), -0.5, 0.3);
}

TEST(ChartAxis, WideDataIsNarrowedAndMovedOntoTheData) {
    ExpectAxis(ChooseChartAxis(0.5, 1.5), 0.0, 2.0);
    ExpectAxis(ChooseChartAxis(-10, 30), -30, 50);
    // A floor of 0 halves an axis whose upper half would stay empty.
    ExpectAxis(ChooseChartAxis(0.05, 0.15, 0.0), 0.0, 0.4);
}

TEST(ChartAxis, EveryAxisHoldsItsDataAndRespectsTheFloor) {
    const double ranges[][2] = {{1.0, 1.0},    {5, 5},         {3, 3.001},    {-999, -999}, {-3.2, 7.7},
                                {0, 10000},    {1.5e6, 1.5e6}, {1e6, 1e6 + 1}, {-1e-9, 1e-9}, {72.2, 73.1},
                                {-40, -12.5},  {1e90, 2e90},   {-1e99, 1e99}, {0.001, 0.002}, {1.02, 9999}};
    for (const auto& r : ranges) {
        for (double floor : {NoFloor, 0.0, 1.0}) {
            SCOPED_TRACE(testing::Message() << r[0] << " .. " << r[1] << " floor " << floor);
            const ChartAxis a = ChooseChartAxis(r[0], r[1], floor);
            ASSERT_TRUE(std::isfinite(a.Bottom) && std::isfinite(a.Top));
            EXPECT_LT(a.Bottom, a.Top);
            EXPECT_GE(a.Bottom, std::isfinite(floor) ? floor : -1e300);
            // The floor may push data below the axis; above it the data fits.
            if (!std::isfinite(floor) || r[0] >= floor) {
                EXPECT_LE(a.Bottom, r[0] + 1e-9 * std::fabs(r[0]));
                EXPECT_GE(a.Top, r[1] - 1e-9 * std::fabs(r[1]));
            }
        }
    }
}

TEST(ChartAxis, ValuesBeyondTheLimitNeitherHangNorOverflow) {
    const double max = std::numeric_limits<double>::max();
    for (const auto& [lo, hi] : {std::pair{-max, max}, std::pair{max, max}, std::pair{-max, -max}}) {
        const ChartAxis a = ChooseChartAxis(lo, hi, NoFloor, -1);
        EXPECT_TRUE(std::isfinite(a.Span));
        EXPECT_LT(a.Bottom, a.Top);
    }
    const ChartAxis nan = ChooseChartAxis(std::nan(""), std::nan(""), std::nan(""), std::nan(""));
    EXPECT_LT(nan.Bottom, nan.Top);
}

TEST(ChartAxis, CapLimitsTheTopOnlyWhenPositiveAndBelowIt) {
    ExpectAxis(ChooseChartAxis(1.0, 25.0, 1.0, 10.0), 1.0, 10.0);
    const ChartAxis free = ChooseChartAxis(1.0, 25.0, 1.0, -1.0);
    EXPECT_GE(free.Top, 25.0);
    EXPECT_EQ(ChooseChartAxis(1.0, 25.0, 1.0, 1000.0).Top, free.Top);
    ExpectAxis(ChooseChartAxis(0.05, 0.15, 0.0, 0.2), 0.0, 0.2);
}

TEST(ChartAxis, CapBelowAllDataKeepsAnAxisDownToTheFloor) {
    // 40 .. 60 alone scales to 30 .. 70; a cap of 30 would leave no axis at all.
    ExpectAxis(ChooseChartAxis(40, 60, 1.0, 30.0), 1.0, 30.0);
    ExpectAxis(ChooseChartAxis(40, 60, NoFloor, 20.0), -20.0, 20.0);
}

TEST(ChartAxis, CentringPutsZeroOnTheMiddleLine) {
    ExpectAxis(CentreChartAxisOnZero({-30, 50, 80}, -10, 30), -40, 40);
    ExpectAxis(CentreChartAxisOnZero({-10, 10, 20}, -1, 15), -20, 20);
    // An axis that does not span zero stays.
    ExpectAxis(CentreChartAxisOnZero({0, 2, 2}, 0.5, 1.5), 0, 2);
    ExpectAxis(CentreChartAxisOnZero({-5, -1, 4}, -4, -2), -5, -1);
    const double max = std::numeric_limits<double>::max();
    EXPECT_TRUE(std::isfinite(CentreChartAxisOnZero({-1, 1, 2}, -max, max).Span));
}

TEST(ClipLine, SegmentsInsideStayAndSegmentsOutsideAreRefused) {
    const ScreenRect r{10, 20, 110, 120};
    int x1 = 10, y1 = 20, x2 = 110, y2 = 120;
    EXPECT_TRUE(ClipLineToRect(r, x1, y1, x2, y2));
    EXPECT_EQ(x1, 10);
    EXPECT_EQ(y2, 120);
    for (auto [a, b, c, d] : {std::tuple{0, 30, 5, 100}, std::tuple{111, 30, 200, 40}, std::tuple{20, 0, 90, 19},
                              std::tuple{20, 121, 90, 500}}) {
        int p = a, q = b, s = c, t = d;
        EXPECT_FALSE(ClipLineToRect(r, p, q, s, t));
        EXPECT_EQ(std::tuple(p, q, s, t), std::tuple(a, b, c, d));
    }
}

TEST(ClipLine, EndsBeyondAnEdgeMoveOntoItAlongTheLine) {
    const ScreenRect r{0, 0, 100, 100};
    int x1 = -50, y1 = 50, x2 = 150, y2 = 50;
    ASSERT_TRUE(ClipLineToRect(r, x1, y1, x2, y2));
    EXPECT_EQ(std::tuple(x1, y1, x2, y2), std::tuple(0, 50, 100, 50));
    x1 = -100, y1 = -100, x2 = 50, y2 = 50;
    ASSERT_TRUE(ClipLineToRect(r, x1, y1, x2, y2));
    EXPECT_EQ(std::tuple(x1, y1, x2, y2), std::tuple(0, 0, 50, 50));
    x1 = 30, y1 = -1000000, x2 = 30, y2 = 1000000;  // vertical: the other end's x is kept
    ASSERT_TRUE(ClipLineToRect(r, x1, y1, x2, y2));
    EXPECT_EQ(std::tuple(x1, y1, x2, y2), std::tuple(30, 0, 30, 100));
    // Written back truncated.
    x1 = 0, y1 = 0, x2 = 300, y2 = 100;
    ASSERT_TRUE(ClipLineToRect(r, x1, y1, x2, y2));
    EXPECT_EQ(std::tuple(x1, y1, x2, y2), std::tuple(0, 0, 100, 33));
}

TEST(ClipLine, SegmentPassingOutsideACornerIsRefused) {
    const ScreenRect r{0, 0, 100, 100};
    int x1 = -10, y1 = 5, x2 = 5, y2 = -10;
    EXPECT_FALSE(ClipLineToRect(r, x1, y1, x2, y2));
    EXPECT_EQ(std::tuple(x1, y1, x2, y2), std::tuple(-10, 5, 5, -10));
    double a = 95, b = -20, c = 130, d = 10;
    EXPECT_FALSE(ClipLineToRect(r, a, b, c, d));
    // Touching the corner is inside.
    a = -10, b = 10, c = 10, d = -10;
    EXPECT_TRUE(ClipLineToRect(r, a, b, c, d));
}

TEST(ClipLine, NonFiniteEndsAndEmptyRectanglesAreRefused) {
    const double inf = std::numeric_limits<double>::infinity();
    double a = 0, b = 0, c = inf, d = 5;
    EXPECT_FALSE(ClipLineToRect(ScreenRect{0, 0, 10, 10}, a, b, c, d));
    a = 1, b = 1, c = 2, d = 2;
    EXPECT_FALSE(ClipLineToRect(ScreenRect{10, 0, 0, 10}, a, b, c, d));
}
