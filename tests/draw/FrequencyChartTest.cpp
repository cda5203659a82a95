// The frequency-response chart: frame and grid, scale labels, curves and
// markers in their colours, and data that must neither crash nor divide by zero.
#include "DrawTestSupport.h"
#include "draw/FrequencyChart.h"

#include <QColor>
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>
#include <gtest/gtest.h>

namespace {

using Strings = std::vector<std::string>;

// The screen plot area of a 400 x 300 box: 60, 10 .. 340, 270.
constexpr int BoxW = 400, BoxH = 300;
constexpr int Left = 60, Top = 10, Right = 340, Bottom = 270;
constexpr double Inf = std::numeric_limits<double>::infinity();

bool Bluish(QColor c) { return c.blue() > 128 && c.red() < 100 && c.green() < 100; }
bool Reddish(QColor c) { return c.red() > 128 && c.blue() < 100 && c.green() < 100; }
bool Dark(QColor c) { return c.red() < 128 && c.green() < 128 && c.blue() < 128; }

int Count(const QImage& img, const std::function<bool(QColor)>& pred, int x1, int y1, int x2, int y2) {
    int n = 0;
    for (int y = std::max(0, y1); y <= std::min(img.height() - 1, y2); ++y)
        for (int x = std::max(0, x1); x <= std::min(img.width() - 1, x2); ++x)
            if (pred(img.pixelColor(x, y))) ++n;
    return n;
}

// Pixels matching outside the plot area (frame included in the area).
int CountOutsidePlot(const QImage& img, const std::function<bool(QColor)>& pred) {
    return Count(img, pred, 0, 0, BoxW - 1, Top - 1) + Count(img, pred, 0, Bottom + 1, BoxW - 1, BoxH - 1) +
           Count(img, pred, 0, Top, Left - 1, Bottom) + Count(img, pred, Right + 1, Top, BoxW - 1, Bottom);
}

bool NearColour(const QImage& img, const std::function<bool(QColor)>& pred, int x, int y, int r = 1) {
    return Count(img, pred, x - r, y - r, x + r, y + r) > 0;
}

// Five points of a sweep round 14.15 MHz.
void AddSweep(CGraph& g, const std::vector<double>& values, const std::vector<int>& marks = {}) {
    const double f[] = {13.95, 14.05, 14.15, 14.25, 14.35};
    for (size_t i = 0; i < values.size(); ++i) g.AddPoint(f[i % 5], values[i], marks.empty() ? 1 : marks[i]);
}

class FrequencyChart : public ::testing::Test {
protected:
    QImage img = WhiteImage(BoxW, BoxH);
    CGraph g;

    // Pixel of a point by the chart's mapping rule, from the chart's ranges.
    int Px(double f) const {
        return Left + static_cast<int>(std::trunc((f - g.XMin()) * (Right - Left) / (g.XMax() - g.XMin())));
    }
    int Py(double v) const {
        return Bottom - static_cast<int>(std::trunc((v - g.AxisBottom()) * (Bottom - Top) / g.AxisSpan()));
    }
    // The sweep display's order of steps for one curve.
    void DrawChart(Canvas& c, double floor, WinColor colour) {
        g.SetArea(c);
        g.FillBack(c);
        g.DrawAxes();
        g.AutoScale(floor);
        g.DrawValueLabels(false);
        g.DrawFreqLabels();
        g.DrawPoints(colour, 1);
    }
};

}  // namespace

TEST_F(FrequencyChart, KeepsAtMostTwentyOnePoints) {
    for (int i = 0; i < 22; ++i) g.AddPoint(14.0 + i * 0.01, i, 0);
    EXPECT_EQ(g.PointCount(), 21);
    g.AutoScale(CGraph::NoFloor);
    EXPECT_DOUBLE_EQ(g.DataMax(), 20.0);
    g.Clear();
    EXPECT_EQ(g.PointCount(), 0);
}

TEST_F(FrequencyChart, FrameIsSolidAndTheQuarterGridDotted) {
    img.fill(ToQColor(ClGray));
    {
        Canvas c(&img);
        g.SetArea(c);
        g.FillBack(c);
        g.DrawAxes();
    }
    EXPECT_EQ(PixelAt(img, 0, 0), ClWhite);
    for (auto [x, y] : {std::pair{Left, 140}, std::pair{Right, 140}, std::pair{200, Top}, std::pair{200, Bottom}})
        EXPECT_EQ(PixelAt(img, x, y), ClBlack) << x << "," << y;
    const int inner = Bottom - Top - 1;
    for (int x : {130, 200, 270}) {
        const int grey = CountColour(img, ClGray, x, Top + 1, x, Bottom - 1);
        EXPECT_GT(grey, inner / 4) << "column " << x;
        EXPECT_LT(grey, inner) << "column " << x;
    }
    for (int y : {75, 140, 205}) EXPECT_GT(CountColour(img, ClGray, Left + 1, y, Right - 1, y), 50) << "row " << y;
    EXPECT_EQ(CountColour(img, ClGray, Left + 1, 100, Right - 1, 100), 0);
}

TEST_F(FrequencyChart, ScaleLabelsFollowTheChosenAxis) {
    AddSweep(g, {0.5, 0.8, 1.0, 1.2, 1.5});
    {
        Canvas c(&img);
        DrawChart(c, CGraph::NoFloor, ClBlue);
    }
    EXPECT_DOUBLE_EQ(g.AxisBottom(), 0.0);
    EXPECT_DOUBLE_EQ(g.AxisTop(), 2.0);
    EXPECT_EQ(g.ValueLabelTexts(false), (Strings{"2.0", "1.5", "1.0", "0.5", "0.0"}));
    EXPECT_EQ(g.FreqLabelTexts(), (Strings{"13.95", "14.05", "14.15", "14.25", "14.35"}));
    // Value labels in the left margin at the top, middle and bottom line.
    for (int y : {Top, 140, Bottom}) EXPECT_GT(Count(img, Dark, 0, y - 6, Left - 1, y + 6), 5) << "label at " << y;
    EXPECT_EQ(Count(img, Dark, 0, 40, Left - 1, 60), 0);
    // Frequency labels under the plot at both ends and the middle.
    for (int x : {Left, 200, Right}) EXPECT_GT(Count(img, Dark, x - 15, Bottom + 1, x + 15, BoxH - 1), 5) << x;
}

TEST_F(FrequencyChart, LabelsOnTheRightSideAndSmallSteps) {
    AddSweep(g, {0.05, 0.1, 0.15, 0.1, 0.05});
    g.SetAxisCap(0.2);
    {
        Canvas c(&img);
        g.SetArea(c);
        g.AutoScale(0.0);
        g.DrawValueLabels(true);
    }
    EXPECT_EQ(g.ValueLabelTexts(false), (Strings{"0.2", "0.15", "0.1", "0.05", "0.0"}));
    EXPECT_GT(Count(img, Dark, Right + 1, Top, BoxW - 1, Bottom), 20);
    EXPECT_EQ(Count(img, Dark, 0, 0, Left - 1, BoxH - 1), 0);
}

TEST_F(FrequencyChart, SwrLabelsStepDownToZeroOnAnAxisBelowZero) {
    AddSweep(g, {-1, 0, 1, 0.5, -0.5});
    g.AutoScale(CGraph::NoFloor);
    ASSERT_DOUBLE_EQ(g.AxisBottom(), -2.0);
    ASSERT_DOUBLE_EQ(g.AxisTop(), 2.0);
    EXPECT_EQ(g.ValueLabelTexts(false), (Strings{"2.0", "1.0", "0.0", "-1.0", "-2.0"}));
    EXPECT_EQ(g.ValueLabelTexts(true), (Strings{"2.0", "1.5", "1.0", "0.5", "0.0"}));
}

TEST_F(FrequencyChart, FrequencyLabelsReadWholeThousandthsDespiteRounding) {
    // 0.9 + 0.05 is 0.9500000000000001 in binary; rounded up it would read 0.951.
    for (double f : {0.9, 0.95, 1.0, 1.05, 1.1}) g.AddPoint(f, 1, 0);
    g.AutoScale(1.0);
    EXPECT_EQ(g.FreqLabelTexts(), (Strings{"0.9", "0.95", "1.0", "1.05", "1.1"}));
    g.Clear();
    for (double f : {14.0001, 14.1}) g.AddPoint(f, 1, 0);
    g.AutoScale(1.0);
    EXPECT_EQ(g.FreqLabelTexts().front(), "14.001");  // other values still round away from zero
}

TEST_F(FrequencyChart, CurvesAreDrawnInTheirColoursInsideThePlot) {
    Canvas c(&img);
    AddSweep(g, {55, 62, 71, 83, 96});
    DrawChart(c, 0.0, ClBlue);
    const std::vector<std::pair<int, int>> blue = {{Px(13.95), Py(55)}, {Px(14.15), Py(71)}, {Px(14.35), Py(96)}};

    g.Clear();
    AddSweep(g, {-30, -12, 2, 14, 25});
    g.AutoScale(CGraph::NoFloor);
    g.CentreZero();
    EXPECT_DOUBLE_EQ(g.AxisTop(), -g.AxisBottom());
    g.DrawPoints(ClRed, 2);
    c.End();

    for (auto [x, y] : blue) EXPECT_TRUE(NearColour(img, Bluish, x, y)) << x << "," << y;
    for (auto [f, v] : {std::pair{13.95, -30.0}, std::pair{14.15, 2.0}, std::pair{14.35, 25.0}})
        EXPECT_TRUE(NearColour(img, Reddish, Px(f), Py(v))) << f;
    EXPECT_EQ(CountOutsidePlot(img, Bluish), 0);
    EXPECT_EQ(CountOutsidePlot(img, Reddish), 0);
}

TEST_F(FrequencyChart, CapClipsTheCurveAtTheTopOfThePlot) {
    AddSweep(g, {1.2, 3.0, 40.0, 3.0, 1.2});
    g.SetAxisCap(10.0);
    {
        Canvas c(&img);
        DrawChart(c, 1.0, ClBlue);
    }
    EXPECT_DOUBLE_EQ(g.AxisTop(), 10.0);
    EXPECT_GT(Count(img, Bluish, Left, Top, Right, Top + 2), 0);  // the peak leaves through the top
    EXPECT_EQ(CountOutsidePlot(img, Bluish), 0);
}

TEST_F(FrequencyChart, MarksDrawCrossesOnlyAtMarkedPoints) {
    AddSweep(g, {1, 1, 1, 1, 1}, {0, 0, 1, 0, 0});
    {
        Canvas c(&img);
        DrawChart(c, CGraph::NoFloor, ClBlue);
    }
    const int y = Py(1.0);
    const int m = g.MarkerSize();
    ASSERT_EQ(m, 3);
    // Equal values: a level line in the plot.
    EXPECT_GT(Count(img, Bluish, Left, y, Right, y), Right - Left - 2);
    for (auto [dx, dy] : {std::pair{m, m}, std::pair{-m, m}, std::pair{m, -m}, std::pair{-m, -m}})
        EXPECT_EQ(PixelAt(img, Px(14.15) + dx, y + dy), ClBlue);
    EXPECT_EQ(PixelAt(img, Px(14.05) + m, y + m), ClWhite);
}

TEST_F(FrequencyChart, SinglePointSitsInTheMiddleWithAReadableAxis) {
    g.AddPoint(14.15, 1.0, 1);
    {
        Canvas c(&img);
        DrawChart(c, CGraph::NoFloor, ClBlue);
    }
    EXPECT_NEAR(g.AxisSpan(), 0.8, 1e-12);
    EXPECT_EQ(g.FreqLabelTexts(), Strings{"14.15"});
    const int x = (Left + Right) / 2;
    const int y = Bottom - static_cast<int>((1.0 - g.AxisBottom()) * (Bottom - Top) / g.AxisSpan());
    EXPECT_EQ(PixelAt(img, x + 3, y + 3), ClBlue);
    EXPECT_EQ(PixelAt(img, x - 3, y - 3), ClBlue);
    EXPECT_GT(Count(img, Dark, x - 20, Bottom + 1, x + 20, BoxH - 1), 5);
}

TEST_F(FrequencyChart, NonFiniteValuesAreLeftOutOfScaleAndCurve) {
    const double nan = std::nan("");
    g.AddPoint(13.95, 1.0, 1);
    g.AddPoint(14.05, 2.0, 1);
    g.AddPoint(14.15, nan, 1);
    g.AddPoint(14.25, Inf, 1);
    g.AddPoint(nan, 1.5, 1);
    g.AddPoint(14.35, -Inf, 1);
    {
        Canvas c(&img);
        DrawChart(c, CGraph::NoFloor, ClBlue);
    }
    EXPECT_DOUBLE_EQ(g.DataMin(), 1.0);
    EXPECT_DOUBLE_EQ(g.DataMax(), 2.0);
    EXPECT_TRUE(std::isfinite(g.AxisSpan()));
    // The one good segment is drawn; nothing runs on towards the bad points.
    EXPECT_TRUE(NearColour(img, Bluish, (Px(13.95) + Px(14.05)) / 2, (Py(1.0) + Py(2.0)) / 2));
    EXPECT_EQ(Count(img, Bluish, Px(14.05) + 4, Top, Right, Bottom), 0);
    EXPECT_EQ(CountOutsidePlot(img, Bluish), 0);
}

TEST_F(FrequencyChart, EmptyDataDrawsFrameAndScaleOnly) {
    {
        Canvas c(&img);
        DrawChart(c, 1.0, ClBlue);
        g.CentreZero();
        g.DrawSwrValueLabels(false);
        g.DrawFoLabel2(Inf);
    }
    EXPECT_LT(g.AxisBottom(), g.AxisTop());
    EXPECT_TRUE(g.FreqLabelTexts().empty());
    EXPECT_EQ(g.ValueLabelTexts(false).size(), 5u);
    EXPECT_EQ(Count(img, Bluish, 0, 0, BoxW - 1, BoxH - 1), 0);
    EXPECT_EQ(Count(img, Reddish, 0, 0, BoxW - 1, BoxH - 1), 0);
    EXPECT_EQ(PixelAt(img, Left, 140), ClBlack);
}

TEST_F(FrequencyChart, HugeValuesAreDrawnClippedWithoutHanging) {
    AddSweep(g, {1e300, -1e300, 1.0, std::numeric_limits<double>::max(), 2.0});
    {
        Canvas c(&img);
        DrawChart(c, CGraph::NoFloor, ClBlue);
    }
    EXPECT_TRUE(std::isfinite(g.AxisBottom()) && std::isfinite(g.AxisTop()));
    EXPECT_GT(Count(img, Bluish, Left, Top, Right, Bottom), 0);
    EXPECT_EQ(CountOutsidePlot(img, Bluish), 0);
}

TEST_F(FrequencyChart, TooSmallBoxDrawsNothing) {
    for (auto [w, h] : {std::pair{120, 40}, std::pair{200, 20}, std::pair{50, 300}}) {
        QImage small(w, h, QImage::Format_RGB32);
        small.fill(ToQColor(ClGray));
        {
            Canvas c(&small);
            AddSweep(g, {1, 2, 3, 2, 1});
            DrawChart(c, 1.0, ClBlue);
            g.DrawCaption("SWR", false);
            g.DrawTitle("Title");
            g.DrawLegendLine(0, "SWR", ClBlue);
            g.DrawFoLabel(14.15);
            g.DrawFoLabel2(14.15);
        }
        EXPECT_EQ(CountColour(small, ClGray, 0, 0, w - 1, h - 1), w * h) << w << "x" << h;
    }
    QImage none;
    Canvas c(&none);
    DrawChart(c, 1.0, ClBlue);  // an inactive canvas: nothing to draw on, nothing fails
}

TEST_F(FrequencyChart, TextsStandInTheirCorners) {
    AddSweep(g, {1, 2, 3, 2, 1});
    {
        Canvas c(&img);
        DrawChart(c, 1.0, ClBlue);
        g.DrawLegendLine(0, "R", ClBlue);
        g.DrawLegendLine(1, "jx", ClRed);
        g.DrawFoLabel2(14.15);
        g.DrawCaption("SWR", true);
    }
    const int midX = (Left + Right) / 2;
    EXPECT_GT(Count(img, Bluish, Left + 1, Top + 1, midX - 60, Top + 25), 3);
    EXPECT_GT(Count(img, Reddish, Left + 1, Top + 15, midX - 60, Top + 50), 3);
    EXPECT_GT(Count(img, Reddish, midX + 20, Top + 1, Right - 1, Top + 50), 3);
    const int captionY = Top + (Bottom - Top) * 3 / 8;
    EXPECT_GT(Count(img, Dark, Right + 1, captionY - 6, BoxW - 1, captionY + 6), 5);
}

TEST_F(FrequencyChart, PrinterAreaUsesCharacterMetricsUntilTheScreenAgain) {
    QImage page = WhiteImage(800, 600);
    Canvas c(&page);
    c.SetFontPixelHeight(30);
    const int cw = c.TextWidth("A");
    const int ch = c.TextHeight("A");
    ASSERT_GT(cw, 3);
    g.SetPrinter(c, 100, 50, 700, 450);
    EXPECT_EQ(g.PlotArea().Left, 100 + 6 * cw);
    EXPECT_EQ(g.PlotArea().Right, 700 - 6 * cw);
    EXPECT_EQ(g.PlotArea().Top, 50 + ch);
    EXPECT_EQ(g.PlotArea().Bottom, 450 - 2 * ch);
    EXPECT_EQ(g.MarkerSize(), cw / 3);
    EXPECT_EQ(g.BackgroundColour(), 0u);
    AddSweep(g, {1, 2, 3, 2, 1});
    g.AutoScale(1.0);
    g.DrawPoints(ClBlue, 2);
    c.End();
    const int y = g.PlotArea().Bottom -
                  static_cast<int>((3.0 - g.AxisBottom()) * (g.PlotArea().Bottom - g.PlotArea().Top) / g.AxisSpan());
    const int x = (g.PlotArea().Left + g.PlotArea().Right) / 2;
    EXPECT_GT(CountColour(page, ClBlue, x + cw / 3 - 1, y + cw / 3 - 1, x + cw / 3 + 1, y + cw / 3 + 1), 0);

    // The same chart back on screen at a small font: screen markers and
    // margins, not the printer's.
    c.SetFontPixelHeight(12);
    g.SetArea(c);
    EXPECT_EQ(g.MarkerSize(), 3);
    EXPECT_EQ(g.PlotArea().Left, 60);
    EXPECT_EQ(g.PlotArea().Bottom, 600 - 30);
}

// Value labels left and right and the frequency labels below stay whole
// inside the box at every font size the forms scale to: no label text
// reaches the box's outer pixels.
TEST_F(FrequencyChart, LabelsStayInsideTheBoxAtEveryFontSize) {
    const struct {
        std::vector<double> values;
        bool centreZero;
    } curves[] = {{{20, 60, 100, 80, 40}, false}, {{-20, -5, 0, 10, 20}, true}, {{-1500, 300, 2500, 900, -40}, true}};
    for (const int pixels : {13, 18, 21, 24, 30}) {
        for (const auto& curve : curves) {
            QImage box = WhiteImage(BoxW, BoxH);
            {
                Canvas c(&box);
                c.SetFontPixelHeight(pixels);
                AddSweep(g, curve.values);
                g.SetArea(c);
                g.FillBack(c);
                g.DrawAxes();
                g.AutoScale(CGraph::NoFloor);
                if (curve.centreZero) g.CentreZero();
                g.DrawValueLabels(false);
                g.DrawValueLabels(true);
                g.DrawFreqLabels();
                g.DrawCaption("SWR", true);
            }
            g.Clear();
            const int edge = Count(box, Dark, 0, 0, BoxW - 1, 0) + Count(box, Dark, 0, BoxH - 1, BoxW - 1, BoxH - 1) +
                             Count(box, Dark, 0, 0, 0, BoxH - 1) + Count(box, Dark, BoxW - 1, 0, BoxW - 1, BoxH - 1);
            EXPECT_EQ(edge, 0) << pixels << " px font, first value " << curve.values[0];
        }
    }
}
