// The printed polar plots and the page of the far-field plots: fitting into a
// rectangle, the radius law, grids of lines or pixels, closed curves, and the
// page layout on wide and tall pages.
#include "DrawTestSupport.h"
#include "model/EnvDef.h"
#include "model/ResultStore.h"
#include "draw/FarFieldPage.h"
#include "draw/PrintedPatterns.h"
#include "app/RecordsReset.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <numbers>

namespace {

constexpr double Deg = std::numbers::pi / 180.0;

// The point of a value dB below the maximum at `deg` degrees clockwise from
// up (azimuth plot: from +X towards the left), computed independently.
void Expected(int cx, int cy, int R, double dB, double deg, int& x, int& y) {
    const double rho = R * std::pow(10.0, dB / 40.0);
    x = cx - static_cast<int>(std::lround(std::sin(deg * Deg) * rho));
    y = cy - static_cast<int>(std::lround(std::cos(deg * Deg) * rho));
}

bool NonWhiteNear(const QImage& img, int x, int y, int d = 1) {
    return CountColour(img, ClWhite, x - d, y - d, x + d, y + d) < (2 * d + 1) * (2 * d + 1);
}

TEST(PrintedPattern, FitsTheLargestCircleIntoTheRectangle) {
    CDrawPtnH h;
    EXPECT_EQ(h.Canvas, nullptr);
    EXPECT_EQ(h.MaxGain, 0.0);
    EXPECT_EQ(h.GridColour, static_cast<int32_t>(ClGray));
    h.SetArea(nullptr, 100, 50, 1100, 650);
    EXPECT_EQ(h.Radius, 300);
    EXPECT_EQ(h.CX, 600);
    EXPECT_EQ(h.CY, 350);
    EXPECT_EQ(h.Left, 300);
    EXPECT_EQ(h.Top, 50);
    EXPECT_EQ(h.Right, 901);
    EXPECT_EQ(h.Bottom, 651);
    CDrawPtnV v;
    v.SetArea(nullptr, 0, 0, 401, 999);
    EXPECT_EQ(v.Radius, 200);
    EXPECT_EQ(v.CX, 200);
    EXPECT_EQ(v.CY, 499);
}

TEST(PrintedPattern, RadiusLawAndDirections) {
    CDrawPtnH h;
    h.SetArea(nullptr, 0, 0, 800, 800);
    int x = 0, y = 0;
    h.PolarPoint(x, y, 0.0, 0.0);  // the maximum on the outer ring, azimuth 0 up
    EXPECT_EQ(x, 400);
    EXPECT_EQ(y, 0);
    h.PolarPoint(x, y, 90 * Deg, -10.0);  // azimuth 90 to the left, at 0.562 R
    EXPECT_EQ(x, 400 - static_cast<int>(std::lround(400 * 0.5623413)));
    EXPECT_EQ(y, 400);
    h.PolarPoint(x, y, 33 * Deg, -999.0);
    EXPECT_EQ(x, 400);
    EXPECT_EQ(y, 400);
    // Garbage in a result lies at the centre or stays on a reachable page.
    h.PolarPoint(x, y, 0.0, std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(y, 400);
    h.PolarPoint(x, y, 0.0, 1e30);
    EXPECT_LT(std::abs(y), 1 << 30);

    CDrawPtnV v;
    v.SetArea(nullptr, 0, 0, 800, 800);
    v.PolarPoint(x, y, 180 * Deg, 0.0);  // zenith up
    EXPECT_EQ(x, 400);
    EXPECT_EQ(y, 0);
    v.PolarPoint(x, y, 90 * Deg, 0.0);  // rear horizon left
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 400);
    v.PolarPoint(x, y, 270 * Deg, -20.0);  // front horizon right, at 0.316 R
    EXPECT_EQ(x, 400 + static_cast<int>(std::lround(400 * 0.3162278)));
}

TEST(PrintedPattern, AzimuthCurveClosesOnItsFirstPoint) {
    QImage img = WhiteImage(420, 420);
    float cut[AzCutSize];
    for (float& v : cut) v = 3.0f;
    {
        Canvas c(&img);
        CDrawPtnH h;
        h.SetArea(&c, 10, 10, 410, 410);
        h.MaxGain = 13.0;  // the curve 10 dB in
        h.DrawCurve(cut, 2, ClRed);
    }
    int x = 0, y = 0;
    // 359 degrees lies only on the closing piece from 358 back to 0.
    for (double deg : {0.0, 90.0, 181.0, 359.0}) {
        Expected(210, 210, 200, -10.0, deg, x, y);
        EXPECT_GT(CountColour(img, ClRed, x - 1, y - 1, x + 1, y + 1), 0) << deg;
    }
    EXPECT_EQ(CountColour(img, ClRed, 200, 200, 220, 220), 0);  // nothing near the centre
}

TEST(PrintedPattern, ElevationCurveIsAnUpperHalfFromRearToFront) {
    QImage img = WhiteImage(420, 420);
    float cut[ElevCutSize];
    for (float& v : cut) v = 0.0f;
    cut[90] = -999.0f;  // no power straight up: the curve dips to the centre
    {
        Canvas c(&img);
        CDrawPtnV v;
        v.SetArea(&c, 10, 10, 410, 410);
        v.DrawCurve(cut, 1, ClBlue);
    }
    EXPECT_GT(CountColour(img, ClBlue, 10, 208, 12, 212), 0);    // rear horizon
    EXPECT_GT(CountColour(img, ClBlue, 408, 208, 410, 212), 0);  // front horizon
    EXPECT_GT(CountColour(img, ClBlue, 208, 150, 212, 208), 0);  // the dip to the centre
    EXPECT_EQ(CountColour(img, ClBlue, 0, 213, 419, 419), 0);    // nothing below the horizon
}

TEST(PrintedPattern, LineGridHasRingsLabelsAndTicks) {
    QImage img = WhiteImage(620, 620);
    {
        Canvas c(&img);
        c.SetFontPixelHeight(24);
        CDrawPtnH h;
        h.SetArea(&c, 10, 10, 610, 610);
        h.GridColour = 0;
        h.DrawGrid(1);
        EXPECT_EQ(c.FontPixelHeight(), 24);  // the labels' half size is undone
    }
    int x = 0, y = 0;
    for (double dB : {-10.0, -20.0, -50.0}) {
        Expected(310, 310, 300, dB, 45.0, x, y);  // a one-degree piece from 44 to 45 is not there; 46 to 47 is
        Expected(310, 310, 300, dB, 46.5, x, y);
        EXPECT_TRUE(NonWhiteNear(img, x, y)) << dB;
    }
    // A tick at -5 dB on a radial of every 10 degrees, none in between.
    Expected(310, 310, 300, -5.25, 120.0, x, y);
    EXPECT_TRUE(NonWhiteNear(img, x, y));
    Expected(310, 310, 300, -5.25, 124.0, x, y);
    EXPECT_FALSE(NonWhiteNear(img, x, y, 1));
    // The labels sit on the top radial, below their ring.
    Expected(310, 310, 300, -20.0, 0.0, x, y);
    EXPECT_GT(CountColour(img, ClBlack, x - 12, y + 2, x + 12, y + 12), 4);
    // Outside the circle the page stays white.
    EXPECT_EQ(CountColour(img, ClBlack, 0, 0, 60, 60), 0);
}

TEST(PrintedPattern, PixelGridDrawsOnlyEvenDirectionsItMeets) {
    QImage img = WhiteImage(620, 620);
    {
        Canvas c(&img);
        CDrawPtnH h;
        h.SetArea(&c, 10, 10, 610, 610);
        h.GridColour = static_cast<int32_t>(ClRed);
        h.DrawGrid(3);  // directions 0, 3, 6, ..: only 0, 6, 12, .. draw
    }
    int x = 0, y = 0;
    Expected(310, 310, 300, -30.0, 6.0, x, y);
    EXPECT_EQ(PixelAt(img, x, y), ClRed);
    Expected(310, 310, 300, -30.0, 3.0, x, y);
    EXPECT_NE(PixelAt(img, x, y), ClRed);
    Expected(310, 310, 300, -30.0, 8.0, x, y);
    EXPECT_NE(PixelAt(img, x, y), ClRed);
    // The frame is silver and the 0 dB ring carries no red pixel.
    EXPECT_GT(CountColour(img, ClSilver, 300, 8, 320, 12), 0);
    EXPECT_EQ(CountColour(img, ClRed, 300, 8, 320, 12), 0);
}

TEST(PrintedPattern, ElevationGridIsAHalfDisc) {
    QImage img = WhiteImage(620, 620);
    {
        Canvas c(&img);
        c.SetBrushColor(ClGreen);
        c.FillRect(0, 0, 620, 620);
        CDrawPtnV v;
        v.SetArea(&c, 10, 10, 610, 610);
        v.GridColour = 0;
        v.DrawGrid(2);
    }
    EXPECT_EQ(PixelAt(img, 280, 200), ClWhite);  // inside the upper half, off rings and radials
    EXPECT_EQ(PixelAt(img, 310, 500), ClGreen);  // the lower half is not drawn
}

TEST(PrintedPattern, NothingIsDrawnWithoutARoom) {
    QImage img = WhiteImage(50, 50);
    float cut[AzCutSize] = {};
    {
        Canvas c(&img);
        CDrawPtnH h;
        h.SetArea(&c, 40, 40, 10, 10);  // an inverted rectangle
        h.DrawGrid(0);
        h.DrawCurve(cut, 0, ClBlack);
        CDrawPtnV v;  // no canvas at all
        v.DrawGrid(1);
        v.DrawCurve(cut, 1, ClBlack);
    }
    EXPECT_EQ(CountColour(img, ClWhite, 0, 0, 49, 49), 2500);
}

class FarFieldPage : public ::testing::Test {
protected:
    void SetUp() override {
        ResetRecords();
        Results.PushRow();
        Results.AngleStep = 1;
        Results.GainMax = 5.0f;
        for (int p = 0; p < 3; ++p) {
            for (float& v : Results.AzCut[p]) v = 5.0f;
            for (float& v : Results.ElevCut[p]) v = 5.0f;
        }
    }
    void TearDown() override { ResetRecords(); }
    static FarFieldPageLayout Draw(QImage& img) {
        Canvas c(&img);
        return DrawFarFieldPage(c, "DejaVu Sans", "KORVA-TEZ  v. 1", "Dipole");
    }
};

TEST_F(FarFieldPage, WidePageHasThePlotsSideBySide) {
    QImage img = WhiteImage(1100, 850);
    for (int i = 0; i < 360; ++i) Results.AzCut[0][i] = 5.0f - 20.0f * std::abs(std::sin(i * Deg));
    for (int i = 0; i < 181; ++i) Results.ElevCut[0][i] = 5.0f - 15.0f * std::abs(std::cos(i * Deg));
    const FarFieldPageLayout page = Draw(img);
    EXPECT_EQ(page.Azimuth.CY, page.Elevation.CY);
    EXPECT_LT(page.Azimuth.Right, page.Elevation.Left);
    EXPECT_GE(page.Azimuth.Left, 1100 / 20);
    EXPECT_LE(page.Elevation.Right, 1100 - 1100 / 20 + 1);
    EXPECT_EQ(page.Azimuth.Canvas, nullptr);  // nothing points at the ended canvas
    // Azimuth 0 at the top: the curve of the maximum touches the top of the circle.
    EXPECT_GT(CountColour(img, ClBlack, page.Azimuth.CX - 2, page.Azimuth.Top - 1, page.Azimuth.CX + 2,
                          page.Azimuth.Top + 1),
              0);
    // The header lines are written in the top margin.
    EXPECT_GT(CountColour(img, ClBlack, 55, 40, 400, page.Azimuth.Top - 5), 20);
}

TEST_F(FarFieldPage, TallPageStacksThePlots) {
    QImage img = WhiteImage(850, 1100);
    const FarFieldPageLayout page = Draw(img);
    EXPECT_EQ(page.Azimuth.CX, page.Elevation.CX);
    EXPECT_LT(page.Azimuth.Bottom, page.Elevation.Top);
    EXPECT_LE(page.Elevation.Bottom, 1100 - 1100 / 20 + 1);
}

TEST_F(FarFieldPage, WithoutCutsOnlyTheGridAndHeaderArePrinted) {
    QImage withCuts = WhiteImage(1100, 850);
    Draw(withCuts);
    Results.AngleStep = 0;
    QImage without = WhiteImage(1100, 850);
    const FarFieldPageLayout page = Draw(without);
    // The result's lines below the elevation plot's centre are missing.
    const int x1 = page.Elevation.Left, y1 = page.Elevation.CY + 6;
    const int x2 = page.Elevation.Right, y2 = page.Elevation.Bottom + 200;
    EXPECT_GT(CountColour(withCuts, ClBlack, x1, y1, x2, y2), CountColour(without, ClBlack, x1, y1, x2, y2) + 50);
    // The outer ring of the grid is there.
    EXPECT_GT(CountColour(without, ClBlack, page.Azimuth.Left, page.Azimuth.CY - 3, page.Azimuth.Left + 3,
                          page.Azimuth.CY + 3),
              0);
}

TEST_F(FarFieldPage, VerticalAndHorizontalGiveTwoCurves) {
    for (float& v : Results.AzCut[PolV]) v = 1.0f;   // 4 dB in
    for (float& v : Results.AzCut[PolH]) v = -3.0f;  // 8 dB in
    JobDef.WaveSel = 3;
    QImage img = WhiteImage(1100, 850);
    const FarFieldPageLayout page = Draw(img);
    int x = 0, y = 0;
    const CDrawPtnH& az = page.Azimuth;
    for (double dB : {-4.0, -8.0}) {
        Expected(az.CX, az.CY, az.Radius, dB, 137.0, x, y);
        EXPECT_TRUE(NonWhiteNear(img, x, y)) << dB;
    }
    JobDef.WaveSel = 1;
    QImage one = WhiteImage(1100, 850);
    Draw(one);
    Expected(az.CX, az.CY, az.Radius, -8.0, 137.0, x, y);
    EXPECT_TRUE(NonWhiteNear(one, x, y));
    Expected(az.CX, az.CY, az.Radius, -4.0, 137.0, x, y);
    EXPECT_FALSE(NonWhiteNear(one, x, y));
}

}  // namespace
