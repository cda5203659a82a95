#include "draw/PrintedPatterns.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace {

constexpr double DegToRad = std::numbers::pi / 180.0;

// A step below 1 would never advance.
int ValidStep(int step) { return std::max(step, 1); }

int Round(double v) { return static_cast<int>(std::lround(v)); }

// The grid along one direction: rings every 10 dB as one-degree pieces on
// every second degree (the 0 dB ring as short inward ticks), the ring labels
// on the label direction, and a tick at every whole dB to -29 on the radials
// of every 10 degrees. Only even directions draw.
template <class Plot>
void DrawRingsOf(Plot& plot, double angle, int a, int labelDirection) {
    ::Canvas* c = plot.Canvas;
    if (!c) return;
    const int savedHeight = c->FontPixelHeight();
    c->SetFontPixelHeight(std::max(1, savedHeight / 2));
    const bool lines = plot.GridColour == 0;
    const WinColor colour = static_cast<WinColor>(plot.GridColour);
    if (lines) c->SetPenColor(colour);
    int x = 0, y = 0, x2 = 0, y2 = 0;
    if (a % 2 == 0) {
        for (int dB = 0; dB <= 50; ++dB) {
            if (dB % 10 == 0) {
                plot.PolarPoint(x, y, angle, -dB);
                if (lines) {
                    if (dB == 0)
                        plot.PolarPoint(x2, y2, angle, -0.5);
                    else
                        plot.PolarPoint(x2, y2, angle + DegToRad, -dB);
                    c->Line(x, y, x2, y2);
                } else if (dB != 0) {
                    c->SetPixel(x, y, colour);
                }
                if (a == labelDirection && dB <= 40) {
                    char text[16];
                    std::snprintf(text, sizeof text, "%d", -dB);
                    c->SetTextTransparent(true);
                    c->TextOut(x - c->TextWidth(text) / 2, y, text);
                }
            } else if (dB < 30 && a % 10 == 0) {
                plot.PolarPoint(x, y, angle, -dB);
                if (lines) {
                    plot.PolarPoint(x2, y2, angle, -dB - 0.5);
                    c->Line(x, y, x2, y2);
                } else {
                    c->SetPixel(x, y, colour);
                }
            }
        }
    }
    c->SetFontPixelHeight(savedHeight);
}

// Solid pen of the frame, white fill.
void GridPen(const CDrawPtnBase& plot) {
    plot.Canvas->SetPenStyle(PenStyle::Solid);
    plot.Canvas->SetPenColor(plot.GridColour == 0 ? ClBlack : ClSilver);
    plot.Canvas->SetBrushColor(ClWhite);
}

}  // namespace

void CDrawPtnBase::SetArea(::Canvas* canvas, int x1, int y1, int x2, int y2) {
    Canvas = canvas;
    CX = x1 + (x2 - x1) / 2;
    CY = y1 + (y2 - y1) / 2;
    Radius = std::min((y2 - y1) / 2, (x2 - x1) / 2);
    Left = CX - Radius;
    Top = CY - Radius;
    Right = CX + Radius + 1;
    Bottom = CY + Radius + 1;
}

double CDrawPtnBase::RadiusAt(double dB) const {
    // A value that is not a number lies at the centre, and one far above the
    // maximum stays within reach of the page's coordinates.
    if (!std::isfinite(dB)) return 0.0;
    dB = std::min(dB, 100.0);
    return std::sqrt(std::pow(10.0, 0.05 * dB)) * Radius;
}

void CDrawPtnH::PolarPoint(int& x, int& y, double angle, double dB) const {
    const double rho = RadiusAt(dB);
    x = CX - Round(std::sin(angle) * rho);
    y = CY + Round(-std::cos(angle) * rho);
}

void CDrawPtnV::PolarPoint(int& x, int& y, double angle, double dB) const {
    const double rho = RadiusAt(dB);
    x = CX + Round(-std::sin(angle) * rho);
    y = CY + Round(std::cos(angle) * rho);
}

void CDrawPtnH::DrawRings(double angle, int a) { DrawRingsOf(*this, angle, a, 0); }
void CDrawPtnV::DrawRings(double angle, int a) { DrawRingsOf(*this, angle, a, 90); }

void CDrawPtnH::DrawGrid(int step) {
    if (!Canvas || Radius <= 0) return;
    const int s = ValidStep(step);
    GridPen(*this);
    Canvas->Ellipse(Left, Top, Right, Bottom);
    for (int a = 0; a <= 360; a += s) DrawRings(a * DegToRad, a);
}

void CDrawPtnV::DrawGrid(int step) {
    if (!Canvas || Radius <= 0) return;
    const int s = ValidStep(step);
    GridPen(*this);
    Canvas->Pie(Left, Top, Right, Bottom, Right, CY, Left, CY);
    for (int a = 0; a < 180; a += s) DrawRings((a + 90) * DegToRad, a);
}

void CDrawPtnH::DrawCurve(const float* values, int step, WinColor colour) {
    if (!Canvas || !values || Radius <= 0) return;
    const int s = ValidStep(step);
    Canvas->SetPenStyle(PenStyle::Solid);
    Canvas->SetPenColor(colour);
    int index = 0, x = 0, y = 0;
    for (int a = 0; a <= 360; a += s, ++index) {
        // The last point repeats the first, so the curve closes.
        if (a == 360) index -= 360 / s;
        PolarPoint(x, y, a * DegToRad, values[index] - MaxGain);
        if (a == 0)
            Canvas->MoveTo(x, y);
        else
            Canvas->LineTo(x, y);
    }
}

void CDrawPtnV::DrawCurve(const float* values, int step, WinColor colour) {
    if (!Canvas || !values || Radius <= 0) return;
    const int s = ValidStep(step);
    Canvas->SetPenStyle(PenStyle::Solid);
    Canvas->SetPenColor(colour);
    int index = 0, x = 0, y = 0;
    for (int a = 0; a <= 180; a += s, ++index) {
        PolarPoint(x, y, (a + 90) * DegToRad, values[index] - MaxGain);
        if (a == 0)
            Canvas->MoveTo(x, y);
        else
            Canvas->LineTo(x, y);
    }
}
