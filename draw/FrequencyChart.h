#pragma once
// One chart of a quantity against frequency (impedance, SWR, gain or F/B),
// on a screen paint box or on a printer page. The owner fills the points,
// binds the chart to a canvas and calls the drawing steps in order:
//
//   chart.Clear(); chart.AddPoint(f, value, mark) ...;
//   chart.SetArea(boxCanvas);          or chart.SetPrinter(canvas, l, t, r, b);
//   chart.FillBack(boxCanvas); chart.DrawAxes();
//   chart.AutoScale(1.0);              (CGraph::NoFloor: no lowest bottom)
//   chart.CentreZero();                (optional: 0 on the middle grid line)
//   chart.DrawValueLabels(false); chart.DrawFreqLabels();
//   chart.DrawPoints(ClBlue, 1); chart.DrawLegendLine(0, "R", ClBlue); ...
//
// The chart keeps a pointer to the canvas until the next SetArea or
// SetPrinter; it must not draw after that canvas is gone. While the plot
// area is empty (a box too small for the margins) every step draws nothing.
// Points with a non-finite frequency or value are kept in their place but
// neither drawn, joined nor scaled.
#include "model/ChartScale.h"
#include "model/ScreenClip.h"
#include "platform/Canvas.h"

#include <limits>
#include <string>
#include <vector>

class CGraph {
public:
    static constexpr int MaxPoints = 21;
    // AutoScale argument of a chart whose axis may go down to any value.
    static constexpr double NoFloor = -std::numeric_limits<double>::infinity();

    CGraph();

    // Points.
    void Clear();
    // Appends a point while fewer than MaxPoints are held; a non-zero mark
    // draws a cross at it.
    void AddPoint(double x, double y, int mark);
    int PointCount() const { return count_; }

    // Upper limit of the axis top when positive; -1 for none.
    void SetAxisCap(double cap) { axisCap_ = cap; }
    double AxisCap() const { return axisCap_; }

    // Binding to a canvas.
    // The whole canvas is the paint box: plot area inside margins of 60
    // (left, right), 10 (top) and 30 (bottom) pixels, wider where the box's
    // font needs more room for the labels; screen markers and background.
    void SetArea(Canvas& box);
    // The rectangle of a printed chart: margins of 6 character widths left and
    // right, one line on top and two below; markers of a third of a character width.
    void SetPrinter(Canvas& canvas, int left, int top, int right, int bottom);

    // Drawing steps.
    // White background over the whole box.
    void FillBack(Canvas& box);
    // Frame round the plot area and the dotted quarter grid.
    void DrawAxes();
    // Chooses the value axis for the points; the bottom does not go below
    // `lowestBottom` (1 for SWR).
    void AutoScale(double lowestBottom);
    // When the axis spans zero: makes it symmetric about 0, doubling it until the points fit.
    void CentreZero();
    // Five labels of the value axis, left of the plot area or right of it.
    void DrawValueLabels(bool rightSide);
    // As DrawValueLabels, with the step cut to reach 0 when the axis top lies below one span.
    void DrawSwrValueLabels(bool rightSide);
    // Five frequency labels below the plot area, in quarter steps.
    void DrawFreqLabels();
    // The curve, clipped to the plot area, with crosses at marked points.
    void DrawPoints(WinColor colour, int penWidth, PenStyle style = PenStyle::Solid);
    // Caption of the value axis, beside its labels.
    void DrawCaption(const std::string& text, bool rightSide);
    // Title at the top right inside the plot area.
    void DrawTitle(const std::string& text);
    // Legend and text lines at the top left inside the plot area, line 0 first.
    void DrawLegendLine(int index, const std::string& text, WinColor colour = ClBlack);
    // "fo: <f>MHz" below the title: in black for the printout, in red on screen.
    void DrawFoLabel(double f);
    void DrawFoLabel2(double f);

    // The label texts the drawing steps write, top to bottom and left to right.
    std::vector<std::string> ValueLabelTexts(bool swrSteps) const;
    std::vector<std::string> FreqLabelTexts() const;

    // State the owner may read.
    const ScreenRect& PlotArea() const { return area_; }
    int MarkerSize() const { return markerSize_; }
    WinColor BackgroundColour() const { return background_; }
    double XMin() const { return xMin_; }
    double XMax() const { return xMax_; }
    double AxisBottom() const { return axis_.Bottom; }
    double AxisTop() const { return axis_.Top; }
    double AxisSpan() const { return axis_.Span; }
    double DataMin() const { return dataMin_; }
    double DataMax() const { return dataMax_; }

private:
    struct AxisLabel {
        double Value;
        std::string Text;
    };

    bool Drawable() const;
    void SetPlotArea(int left, int top, int right, int bottom);
    std::vector<AxisLabel> ValueLabels(bool swrSteps) const;
    std::vector<AxisLabel> FreqLabels() const;
    void DrawValueLabelColumn(bool rightSide, bool swrSteps);
    // Left edge of a text of that width moved inside the canvas.
    int InsideBox(int x, int width) const;
    void DrawLabelBeside(const std::string& text, int centreY, bool rightSide);
    void DrawTopRightText(const std::string& text, int line, WinColor colour);
    void DrawText(int x, int y, const std::string& text, WinColor colour);
    bool PointUsable(int i) const;
    double PixelX(double x) const;
    double PixelY(double y) const;
    void DrawClipped(double x1, double y1, double x2, double y2);
    void RestorePen();

    int count_ = 0;
    int marks_[MaxPoints] = {};
    double x_[MaxPoints] = {};
    double y_[MaxPoints] = {};
    ScreenRect area_;
    int width_ = 0;
    int height_ = 0;
    int markerSize_ = 3;
    bool hasX_ = false;
    double xMin_ = 0, xMax_ = 0, xSpan_ = 0;
    double dataMin_ = 0, dataMax_ = 0;
    ChartAxis axis_;
    double axisCap_ = -1.0;
    WinColor background_ = 0;
    Canvas* canvas_ = nullptr;
};
