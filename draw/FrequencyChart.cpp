#include "draw/FrequencyChart.h"

#include "model/NumberText.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPalette>
#include <QRect>
#include <algorithm>
#include <cmath>

namespace {

constexpr int ScreenMarginLeft = 60;
constexpr int ScreenMarginRight = 60;
constexpr int ScreenMarginTop = 10;
constexpr int ScreenMarginBottom = 30;
constexpr int ScreenMarkerSize = 3;
// A value label as wide as the usual ones; a wider one is kept inside the box.
constexpr const char* WideValueLabel = "-000.0";
constexpr WinColor GridColour = ClGray;
constexpr WinColor ScreenFoColour = ClRed;
// Pixel coordinates beyond this are far outside any plot; keeping them here
// keeps the clipping arithmetic finite.
constexpr double PixelLimit = 1e9;

WinColor ButtonFaceColour() {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return FromQColor(QGuiApplication::palette().color(QPalette::Button));
    return 0xF0F0F0;
}

double ClampPixel(double v) {
    if (std::isnan(v)) return 0.0;
    return std::trunc(std::clamp(v, -PixelLimit, PixelLimit));
}

// Two decimals where the second one is needed (0.15), else one (0.5, 2.0).
std::string ValueLabelText(double v) {
    const double hundredths = std::round(std::fabs(v) * 100);
    if (hundredths < 1e15 && std::fmod(hundredths, 10.0) != 0.0) return DblToStr2(v);
    return DblToStr1(v);
}

// Rounds away from zero to 3 decimals. A frequency a rounding error above a
// whole thousandth (0.9 + 0.05 = 0.9500000000000001) keeps that thousandth
// instead of reading one more.
double FreqLabelValue(double f) {
    const double thousandths = f * 1000;
    const double nearest = std::round(thousandths);
    if (std::fabs(thousandths - nearest) < 1e-6) return nearest / 1000;
    return RoundAwayTo(f, 3);
}

bool ScalableValue(double v) { return std::isfinite(v) && std::fabs(v) <= ChartValueLimit; }

// Takes v into the range from lo to hi; the first value starts it.
void WidenRange(bool& started, double& lo, double& hi, double v) {
    if (!started) {
        lo = hi = v;
        started = true;
    }
    lo = std::min(lo, v);
    hi = std::max(hi, v);
}

}  // namespace

CGraph::CGraph() : background_(ButtonFaceColour()) {}

void CGraph::Clear() {
    count_ = 0;
    std::fill(std::begin(marks_), std::end(marks_), 0);
    std::fill(std::begin(x_), std::end(x_), 0.0);
    std::fill(std::begin(y_), std::end(y_), 0.0);
}

void CGraph::AddPoint(double x, double y, int mark) {
    if (count_ >= MaxPoints) return;
    x_[count_] = x;
    y_[count_] = y;
    marks_[count_] = mark;
    ++count_;
}

void CGraph::SetPlotArea(int left, int top, int right, int bottom) {
    area_ = ScreenRect{left, top, right, bottom};
    width_ = right - left;
    height_ = bottom - top;
}

void CGraph::SetArea(Canvas& box) {
    canvas_ = &box;
    // The margins hold the labels in the box's font: a value label and its
    // quarter-width gap beside the plot, half a label above it, a frequency
    // label and its gap below. At the design font these are the fixed margins.
    const int labelWidth = box.TextWidth(WideValueLabel);
    const int side = labelWidth + labelWidth / 4 + 2;
    const int h = box.TextHeight("0");
    SetPlotArea(std::max(ScreenMarginLeft, side), std::max(ScreenMarginTop, h / 2 + 1),
                box.Width() - std::max(ScreenMarginRight, side),
                box.Height() - std::max(ScreenMarginBottom, h + std::max(2, h / 4) + 1));
    // A chart printed before keeps no printer markers or background on screen.
    markerSize_ = ScreenMarkerSize;
    background_ = ButtonFaceColour();
}

void CGraph::SetPrinter(Canvas& canvas, int left, int top, int right, int bottom) {
    canvas_ = &canvas;
    const int cw = canvas.TextWidth("A");
    const int ch = canvas.TextHeight("A");
    SetPlotArea(left + 6 * cw, top + ch, right - 6 * cw, bottom - 2 * ch);
    background_ = 0;
    markerSize_ = std::max(1, cw / 3);
}

bool CGraph::Drawable() const { return canvas_ && canvas_->Active() && width_ > 0 && height_ > 0; }

void CGraph::RestorePen() {
    canvas_->SetPenStyle(PenStyle::Solid);
    canvas_->SetPenColor(ClBlack);
    canvas_->SetPenWidth(1);
}

void CGraph::FillBack(Canvas& box) {
    if (!Drawable()) return;
    box.FillRect(0, 0, box.Width(), box.Height(), ClWhite);
}

void CGraph::DrawAxes() {
    if (!Drawable()) return;
    Canvas& c = *canvas_;
    const ScreenRect& a = area_;
    RestorePen();
    c.MoveTo(a.Left, a.Top);
    c.LineTo(a.Right, a.Top);
    c.LineTo(a.Right, a.Bottom);
    c.LineTo(a.Left, a.Bottom);
    c.LineTo(a.Left, a.Top);
    c.SetPenColor(GridColour);
    c.SetPenStyle(PenStyle::Dot);
    for (int k = 1; k <= 3; ++k) {
        const int x = a.Left + width_ * k / 4;
        const int y = a.Top + height_ * k / 4;
        c.Line(x, a.Top + 1, x, a.Bottom - 1);
        c.Line(a.Left + 1, y, a.Right - 1, y);
    }
    RestorePen();
}

void CGraph::AutoScale(double lowestBottom) {
    hasX_ = false;
    bool hasY = false;
    for (int i = 0; i < count_; ++i) {
        // A point without a value still holds its place on the frequency axis.
        if (!ScalableValue(x_[i])) continue;
        WidenRange(hasX_, xMin_, xMax_, x_[i]);
        if (ScalableValue(y_[i])) WidenRange(hasY, dataMin_, dataMax_, y_[i]);
    }
    if (!hasX_) xMin_ = xMax_ = 0;
    if (!hasY) dataMin_ = dataMax_ = 0;
    xSpan_ = xMax_ - xMin_;
    axis_ = ChooseChartAxis(dataMin_, dataMax_, lowestBottom, axisCap_);
}

void CGraph::CentreZero() {
    axis_ = CentreChartAxisOnZero(axis_, dataMin_, dataMax_);
}

bool CGraph::PointUsable(int i) const {
    return std::isfinite(y_[i]) && ScalableValue(x_[i]);
}

double CGraph::PixelX(double x) const {
    if (!(xSpan_ > 0) || !std::isfinite(xSpan_)) return area_.Left + width_ / 2;
    return area_.Left + ClampPixel((x - xMin_) * width_ / xSpan_);
}

double CGraph::PixelY(double y) const {
    if (!(axis_.Span > 0) || !std::isfinite(axis_.Span)) return area_.Top + height_ / 2;
    return area_.Bottom - ClampPixel((y - axis_.Bottom) * height_ / axis_.Span);
}

std::vector<CGraph::AxisLabel> CGraph::ValueLabels(bool swrSteps) const {
    std::vector<AxisLabel> labels;
    if (!std::isfinite(axis_.Top) || !std::isfinite(axis_.Span)) return labels;
    double step = axis_.Span / 4;
    if (swrSteps && axis_.Top < 4 * step) step = axis_.Top / 4;
    for (int k = 0; k <= 4; ++k) {
        double v = axis_.Top - k * step;
        // The bottom of an axis through 0 must read "0.0", not "-0.0".
        if (std::fabs(v) < std::fabs(step) * 1e-9) v = 0.0;
        labels.push_back({v, ValueLabelText(v)});
        if (step == 0) break;
    }
    return labels;
}

std::vector<CGraph::AxisLabel> CGraph::FreqLabels() const {
    std::vector<AxisLabel> labels;
    if (!hasX_) return labels;
    const int n = (xSpan_ > 0) ? 5 : 1;
    for (int k = 0; k < n; ++k) {
        const double f = xMin_ + k * xSpan_ / 4;
        labels.push_back({f, DblToStr3(FreqLabelValue(f))});
    }
    return labels;
}

std::vector<std::string> CGraph::ValueLabelTexts(bool swrSteps) const {
    std::vector<std::string> texts;
    for (const AxisLabel& l : ValueLabels(swrSteps)) texts.push_back(l.Text);
    return texts;
}

std::vector<std::string> CGraph::FreqLabelTexts() const {
    std::vector<std::string> texts;
    for (const AxisLabel& l : FreqLabels()) texts.push_back(l.Text);
    return texts;
}

void CGraph::DrawText(int x, int y, const std::string& text, WinColor colour) {
    Canvas& c = *canvas_;
    const bool transparent = c.TextTransparent();
    const WinColor fontColour = c.FontColor();
    c.SetTextTransparent(true);
    c.SetFontColor(colour);
    c.TextOut(x, y, text);
    c.SetFontColor(fontColour);
    c.SetTextTransparent(transparent);
}

int CGraph::InsideBox(int x, int width) const {
    return std::max(1, std::min(x, canvas_->Width() - 1 - width));
}

void CGraph::DrawLabelBeside(const std::string& text, int centreY, bool rightSide) {
    const int w = canvas_->TextWidth(text);
    const int h = canvas_->TextHeight(text.c_str());
    const int x = rightSide ? area_.Right + w / 4 : area_.Left - w - w / 4;
    DrawText(InsideBox(x, w), centreY - h / 2, text, ClBlack);
}

void CGraph::DrawValueLabelColumn(bool rightSide, bool swrSteps) {
    if (!Drawable()) return;
    for (const AxisLabel& l : ValueLabels(swrSteps))
        DrawLabelBeside(l.Text, static_cast<int>(PixelY(l.Value)), rightSide);
}

void CGraph::DrawValueLabels(bool rightSide) { DrawValueLabelColumn(rightSide, false); }

void CGraph::DrawSwrValueLabels(bool rightSide) { DrawValueLabelColumn(rightSide, true); }

void CGraph::DrawFreqLabels() {
    if (!Drawable()) return;
    for (const AxisLabel& l : FreqLabels()) {
        const int w = canvas_->TextWidth(l.Text);
        const int h = canvas_->TextHeight(l.Text.c_str());
        const int x = static_cast<int>(PixelX(l.Value)) - w / 2;
        DrawText(InsideBox(x, w), area_.Bottom + std::max(2, h / 4), l.Text, ClBlack);
    }
}

void CGraph::DrawClipped(double x1, double y1, double x2, double y2) {
    if (!ClipLineToRect(area_, x1, y1, x2, y2)) return;
    canvas_->Line(static_cast<int>(x1), static_cast<int>(y1), static_cast<int>(x2), static_cast<int>(y2));
}

void CGraph::DrawPoints(WinColor colour, int penWidth, PenStyle style) {
    if (!Drawable()) return;
    Canvas& c = *canvas_;
    // A wide pen would reach past the clipped ends into the margin.
    QPainter& painter = c.Painter();
    painter.save();
    painter.setClipRect(QRect(area_.Left, area_.Top, width_ + 1, height_ + 1), Qt::IntersectClip);
    c.SetPenColor(colour);
    c.SetPenWidth(penWidth);
    c.SetPenStyle(style);
    for (int i = 1; i < count_; ++i)
        if (PointUsable(i - 1) && PointUsable(i))
            DrawClipped(PixelX(x_[i - 1]), PixelY(y_[i - 1]), PixelX(x_[i]), PixelY(y_[i]));
    c.SetPenStyle(PenStyle::Solid);
    const double m = markerSize_;
    for (int i = 0; i < count_; ++i) {
        if (!marks_[i] || !PointUsable(i)) continue;
        const double x = PixelX(x_[i]);
        const double y = PixelY(y_[i]);
        DrawClipped(x - m, y - m, x + m, y + m);
        DrawClipped(x - m, y + m, x + m, y - m);
    }
    painter.restore();
    RestorePen();
}

void CGraph::DrawCaption(const std::string& text, bool rightSide) {
    if (!Drawable()) return;
    DrawLabelBeside(text, area_.Top + height_ * 3 / 8, rightSide);
}

void CGraph::DrawTopRightText(const std::string& text, int line, WinColor colour) {
    if (!Drawable()) return;
    const int w = canvas_->TextWidth(text);
    const int h = canvas_->TextHeight(text.c_str());
    const int inset = canvas_->TextWidth("A") / 2;
    DrawText(area_.Right - w - inset, area_.Top + h / 2 + line * h, text, colour);
}

void CGraph::DrawTitle(const std::string& text) { DrawTopRightText(text, 0, ClBlack); }

void CGraph::DrawLegendLine(int index, const std::string& text, WinColor colour) {
    if (!Drawable()) return;
    const int h = canvas_->TextHeight(text.c_str());
    const int inset = canvas_->TextWidth("A") / 2;
    DrawText(area_.Left + inset, area_.Top + h / 2 + index * h, text, colour);
}

void CGraph::DrawFoLabel(double f) {
    if (!std::isfinite(f)) return;
    DrawTopRightText("fo: " + DblToStr3(f) + "MHz", 1, ClBlack);
}

void CGraph::DrawFoLabel2(double f) {
    if (!std::isfinite(f)) return;
    DrawTopRightText("fo: " + DblToStr3(f) + "MHz", 1, ScreenFoColour);
}
