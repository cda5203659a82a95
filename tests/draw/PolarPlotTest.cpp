// The screen polar plots: radius law, grid rings, curves and the panel layout.
#include "DrawTestSupport.h"
#include "model/EnvDef.h"
#include "model/ResultStore.h"
#include "draw/PatternPanel.h"
#include "draw/PolarPlot.h"
#include "app/RecordsReset.h"

#include <QPainter>
#include <cmath>
#include <gtest/gtest.h>
#include <numbers>

namespace {

class PolarPlot : public ::testing::Test {
protected:
    void SetUp() override {
        ResetRecords();
        PatternHVScale = 1.0;
    }
    void TearDown() override { ResetRecords(); }
    // Pixel of the ring of dB at `deg` degrees clockwise from up, computed independently.
    static void RingPixel(int cx, int cy, double R, double dB, double deg, int& x, int& y) {
        const double rho = R * std::pow(10.0, dB / 40.0);
        const double a = deg * std::numbers::pi / 180.0;
        x = cx + static_cast<int>(std::lround(std::sin(a) * rho));
        y = cy - static_cast<int>(std::lround(std::cos(a) * rho));
    }
};

}  // namespace

TEST_F(PolarPlot, RadiusFollowsTheLogarithmicLaw) {
    int dx = 0, dy = 0;
    PolarPoint(dx, dy, 0.0, -10.0, 1000.0);
    EXPECT_EQ(dy, -562);
    PolarPoint(dx, dy, std::numbers::pi / 2, -20.0, 1000.0);
    EXPECT_EQ(dx, 316);
    PolarPoint(dx, dy, 0.0, -40.0, 1000.0);
    EXPECT_EQ(dy, -100);
    PolarPoint(dx, dy, 0.3, -999.0 - 12.0, 1000.0);
    EXPECT_EQ(dx, 0);
    EXPECT_EQ(dy, 0);
}

TEST_F(PolarPlot, VerticalCoordinatesCarryTheScreenCorrections) {
    ScreenAspect = 1.25;
    PatternHVScale = 0.8;
    int dx = 0, dy = 0;
    PolarPoint(dx, dy, 0.0, 0.0, 100.0);
    EXPECT_EQ(dy, -100);
}

TEST_F(PolarPlot, RingsLieAtMinus3Minus10AndMinus20Decibels) {
    QImage img = WhiteImage(1000, 500);
    const int azCx = 250, elCx = 750, cy = 250;
    const double R = 200;
    {
        Canvas c(&img);
        DrawPolarPattern(c, azCx, cy, elCx, R);
    }
    int x = 0, y = 0;
    // 4 degrees: a ring dot but no radial line.
    RingPixel(azCx, cy, R, -3, 4, x, y);
    EXPECT_EQ(PixelAt(img, x, y), ClRed);
    RingPixel(azCx, cy, R, -10, 94, x, y);
    EXPECT_EQ(PixelAt(img, x, y), ClBlack);
    RingPixel(azCx, cy, R, -20, 184, x, y);
    EXPECT_EQ(PixelAt(img, x, y), ClBlack);
    RingPixel(azCx, cy, R, -30, 274, x, y);
    EXPECT_EQ(PixelAt(img, x, y), ClGray);
    // Elevation plot: upper half only, the -30 dB ring black.
    RingPixel(elCx, cy, R, -3, -86, x, y);
    EXPECT_EQ(PixelAt(img, x, y), ClRed);
    RingPixel(elCx, cy, R, -30, 64, x, y);
    EXPECT_EQ(PixelAt(img, x, y), ClBlack);
    RingPixel(elCx, cy, R, -3, 176, x, y);
    EXPECT_EQ(PixelAt(img, x, y), ClWhite);
    // The frame, and nothing between the rings.
    EXPECT_EQ(PixelAt(img, 0, 0), ClBlack);
    RingPixel(azCx, cy, R, -1.5, 4, x, y);
    EXPECT_EQ(PixelAt(img, x, y), ClWhite);
}

TEST_F(PolarPlot, RadialDotsEveryTenDegrees) {
    QImage img = WhiteImage(1000, 500);
    {
        Canvas c(&img);
        DrawPolarPattern(c, 250, 250, 750, 200);
    }
    int x = 0, y = 0;
    RingPixel(250, 250, 200, -7, 40, x, y);
    EXPECT_EQ(PixelAt(img, x, y), ClBlack);
    RingPixel(250, 250, 200, -7, 44, x, y);
    EXPECT_EQ(PixelAt(img, x, y), ClWhite);
}

TEST_F(PolarPlot, AzimuthCurveWithStepTwoIsClosed) {
    float values[360];
    for (int i = 0; i < 180; ++i) values[i] = -6.0f + static_cast<float>(i % 7) * 0.5f;
    QImage img(400, 400, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        Canvas c(&img);
        DrawPolarGrid(values, 2, c, 200, 200, 150, ClBlue);
    }
    // The last point repeats the first: the segment into azimuth 0 comes from azimuth 358.
    const double rho0 = 150 * std::pow(10.0, -6.0 / 40.0);
    EXPECT_EQ(PixelAt(img, 200, 200 - static_cast<int>(std::lround(rho0))), ClBlue);
    int blue = CountColour(img, ClBlue, 0, 0, 399, 399);
    EXPECT_GT(blue, 300);
}

TEST_F(PolarPlot, ElevationCurveRunsFromRearToFrontHorizon) {
    float values[181];
    for (float& v : values) v = 0.0f;
    QImage img = WhiteImage(400, 400);
    {
        Canvas c(&img);
        DrawPolarGridElev(values, 1, c, 200, 300, 100, ClRed);
    }
    EXPECT_EQ(PixelAt(img, 100, 300), ClRed);  // rear horizon left
    EXPECT_EQ(PixelAt(img, 200, 200), ClRed);  // zenith above
    EXPECT_EQ(PixelAt(img, 300, 300), ClRed);  // front horizon right
    EXPECT_EQ(CountColour(img, ClRed, 0, 305, 399, 399), 0);
}

TEST_F(PolarPlot, PanelLayoutFollowsTheImageShape) {
    QImage wide = WhiteImage(800, 400);
    {
        Canvas c(&wide);
        DrawPatternImage(c, false);
    }
    EXPECT_EQ(PatternGeometry.AzCentreX, 200);
    EXPECT_EQ(PatternGeometry.ElCentreX, 600);
    EXPECT_EQ(PatternGeometry.CentreY, 200);
    EXPECT_EQ(PatternGeometry.Radius, 180);  // H / 2 - 20
    QImage tall = WhiteImage(800, 600);
    {
        Canvas c(&tall);
        DrawPatternImage(c, false);
    }
    EXPECT_EQ(PatternGeometry.Radius, 180);  // W / 4 - 20
    ScreenAspect = 1.2;
    {
        Canvas c(&tall);
        DrawPatternImage(c, false);
    }
    EXPECT_EQ(PatternGeometry.Radius, 150);

    // A screen wider than 4:3 and a large font: the rule's radius would push
    // the plots over each other and out of the panel; each keeps to its half.
    for (const int pixels : {13, 24}) {
        for (const double aspect : {0.75, 0.833}) {
            ScreenAspect = aspect;
            QImage panel = WhiteImage(800, 400);
            {
                Canvas c(&panel);
                c.SetFontPixelHeight(pixels);
                DrawPatternImage(c, false);
            }
            ASSERT_EQ(PatternGeometry.Parts.size(), 3u);
            const ScreenRect az = PatternGeometry.Parts[0].Box, el = PatternGeometry.Parts[1].Box;
            EXPECT_GE(az.Left, 0) << pixels << " px, aspect " << aspect;
            EXPECT_GE(az.Top, 0) << pixels << " px, aspect " << aspect;
            EXPECT_LT(az.Right, 400) << pixels << " px, aspect " << aspect;
            EXPECT_GE(el.Left, 400) << pixels << " px, aspect " << aspect;
            EXPECT_LT(PatternGeometry.Parts[2].Box.Right, 800) << pixels << " px, aspect " << aspect;
        }
    }
}

TEST_F(PolarPlot, ATooSmallPanelDrawsNoPlot) {
    QImage tiny = WhiteImage(60, 30);
    {
        Canvas c(&tiny);
        c.FillRect(0, 0, 60, 30, ClRed);
        DrawPatternImage(c, true);
    }
    EXPECT_EQ(PatternGeometry.Radius, 0);
    EXPECT_EQ(CountColour(tiny, ClWhite, 0, 0, 59, 29), 60 * 30);
}

TEST_F(PolarPlot, CurvesAppearOnlyWithCutsAndTheShowFlag) {
    Results.AngleStep = 1;
    Results.RowCount = 1;
    for (int i = 0; i < 360; ++i) Results.AzCut[0][i] = 0.0f;
    for (int i = 0; i < 181; ++i) Results.ElevCut[0][i] = 0.0f;
    JobDef.WaveSel = 0;
    QImage img = WhiteImage(800, 400);
    {
        Canvas c(&img);
        DrawPatternImage(c, false);
    }
    const int redWithout = CountColour(img, ClRed, 0, 0, 799, 399);
    {
        Canvas c(&img);
        DrawPatternImage(c, true);
    }
    EXPECT_GT(CountColour(img, ClRed, 0, 0, 799, 399), redWithout + 500);
}
