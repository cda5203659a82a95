#include "draw/PolarPlot.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>

namespace {
constexpr double StartHVScale = 0.965;
}  // namespace

double PatternMaxGain = 0.0;
int PatternOrient = 0;
double ScreenAspect = 1.0;
double PatternHVScale = StartHVScale;
PatternGeometryRec PatternGeometry;

void ResetPatternState() {
    PatternMaxGain = 0.0;
    PatternOrient = 0;
    ScreenAspect = 1.0;
    PatternHVScale = StartHVScale;
    PatternGeometry = PatternGeometryRec{};
}

namespace {

constexpr double DegToRad = std::numbers::pi / 180.0;

int SafeRound(double v) {
    if (!(std::fabs(v) < 1.0e8)) return v < 0 ? -100000000 : 100000000;
    return static_cast<int>(std::lround(v));
}

double Radius(double dB, double R) { return R * std::pow(10.0, 0.025 * dB); }

// The elevation plot maps a (0 rear horizon .. 90 zenith .. 180 front horizon) to the upper half.
void ElevPoint(int& x, int& y, int cx, int cy, double a, double dB, double R) {
    int dx = 0, dy = 0;
    PolarPoint(dx, dy, (a + 90.0) * DegToRad, dB, R);
    x = cx - dx;
    y = cy - dy;
}

void AzPoint(int& x, int& y, int cx, int cy, double a, double dB, double R) {
    int dx = 0, dy = 0;
    PolarPoint(dx, dy, a * DegToRad, dB, R);
    x = cx + dx;
    y = cy + dy;
}

double RingDb(int k) { return k == 0 ? 0.0 : k == 1 ? -3.0 : -10.0 * (k - 1); }

void CentredText(Canvas& c, int cx, int y, const std::string& text) {
    c.TextOut(cx - c.TextWidth(text) / 2, y, text);
}

}  // namespace

void PolarPoint(int& dx, int& dy, double angle, double dB, double R) {
    const double rho = Radius(dB, R);
    dx = SafeRound(std::sin(angle) * rho);
    dy = SafeRound(-std::cos(angle) * rho * ScreenAspect * PatternHVScale);
}

int FittedPlotRadius(Canvas& c, int R, int azCx, int cy) {
    const int side = std::max(c.TextWidth("X"), c.TextWidth("Y")) + 4;
    const int above = c.TextHeight("X") + 3;
    R = std::min(R, azCx - side);
    const double vertical = (ScreenAspect > 0.0 ? ScreenAspect : 1.0) * PatternHVScale;
    if (vertical > 0.0 && std::isfinite(vertical))
        R = std::min(R, static_cast<int>(std::floor((cy - above) / vertical)));
    return R;
}

PolarPlotBoxes DrawPolarPattern(Canvas& c, int azCx, int cy, int elCx, double R) {
    c.SetBrushColor(ClWhite);
    c.SetPenStyle(PenStyle::Solid);
    c.SetPenColor(ClBlack);
    c.SetPenWidth(1);
    c.Rectangle(0, 0, azCx + elCx, 2 * cy);
    c.SetTextTransparent(true);
    c.SetFontColor(ClBlack);

    for (int k = 0; k <= 6; ++k) {
        const double dB = RingDb(k);
        const WinColor azColour = k == 1 ? ClRed : k >= 4 ? ClGray : ClBlack;
        const WinColor elColour = k == 1 ? ClRed : ClBlack;
        for (int a = 0; a <= 360; a += 2) {
            int x = 0, y = 0;
            AzPoint(x, y, azCx, cy, a, dB, R);
            c.SetPixel(x, y, azColour);
            if (a <= 180) {
                ElevPoint(x, y, elCx, cy, a, dB, R);
                c.SetPixel(x, y, elColour);
            }
        }
    }
    for (int k = 0; k <= 4; ++k) {
        const double dB = RingDb(k);
        int dx = 0, dy = 0;
        PolarPoint(dx, dy, 0.0, dB, R);
        const std::string label = std::to_string(static_cast<int>(dB));
        CentredText(c, azCx, cy + dy + 2, label);
        CentredText(c, elCx, cy + dy + 2, label);
    }
    for (int a = 0; a < 360; a += 10) {
        for (int n = 0; n < 30; ++n) {
            int x = 0, y = 0;
            AzPoint(x, y, azCx, cy, a, -n, R);
            c.SetPixel(x, y, ClBlack);
            if (a <= 180) {
                ElevPoint(x, y, elCx, cy, a, -n, R);
                c.SetPixel(x, y, ClBlack);
            }
        }
    }

    // Axis letters just outside the outer ring.
    int dx = 0, dy = 0;
    PolarPoint(dx, dy, 0.0, 0.0, R);
    const int ringTop = cy + dy;
    const int r = SafeRound(R);
    const int th = c.TextHeight("X");
    const std::string above = PatternOrient == 0 ? "X" : "Y";
    CentredText(c, azCx, ringTop - 2 - th, above);
    CentredText(c, elCx, ringTop - 2 - th, "Z");
    PolarPlotBoxes boxes;
    const int sideTop = cy - th / 2, sideBottom = sideTop + th - 1;
    boxes.Azimuth = {azCx - r, ringTop - 2 - th, azCx + r, std::max(cy + (cy - ringTop), sideBottom)};
    if (PatternOrient == 0) {
        c.TextOut(azCx - r - 3 - c.TextWidth("Y"), sideTop, "Y");
        boxes.Azimuth.Left -= 3 + c.TextWidth("Y");
    } else {
        c.TextOut(azCx + r + 3, sideTop, "X");
        boxes.Azimuth.Right += 3 + c.TextWidth("X");
    }
    c.TextOut(elCx + r + 1, sideTop, "X");
    boxes.Elevation = {elCx - r, ringTop - 2 - th, elCx + r, cy};
    boxes.ElevationSideLetter = {elCx + r + 1, sideTop, elCx + r + c.TextWidth("X"), sideBottom};
    return boxes;
}

void DrawPolarGrid(const float* values, int step, Canvas& c, int cx, int cy, double R, WinColor colour) {
    if (!values) return;
    if (step < 1) step = 1;
    c.SetPenStyle(PenStyle::Solid);
    c.SetPenColor(colour);
    int index = 0;
    for (int a = 0; a <= 360; a += step, ++index) {
        if (a == 360) index -= 360 / step;
        int dx = 0, dy = 0;
        PolarPoint(dx, dy, (a - PatternOrient) * DegToRad, values[index] - PatternMaxGain, R);
        if (a == 0)
            c.MoveTo(cx - dx, cy + dy);
        else
            c.LineTo(cx - dx, cy + dy);
    }
}

void DrawPolarGridElev(const float* values, int step, Canvas& c, int cx, int cy, double R, WinColor colour) {
    if (!values) return;
    if (step < 1) step = 1;
    c.SetPenStyle(PenStyle::Solid);
    c.SetPenColor(colour);
    int index = 0;
    for (int a = 0; a <= 180; a += step, ++index) {
        int x = 0, y = 0;
        ElevPoint(x, y, cx, cy, a, values[index] - PatternMaxGain, R);
        if (a == 0)
            c.MoveTo(x, y);
        else
            c.LineTo(x, y);
    }
}
