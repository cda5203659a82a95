#include "draw/PatternPanel.h"

#include "model/EnvDef.h"
#include "model/ResultStore.h"
#include "draw/LabelFormat.h"
#include "draw/PatternHeader.h"
#include "draw/PolarPlot.h"
#include "platform/Canvas.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double RadToDeg = 180.0 / std::numbers::pi;
constexpr double DegToRad = std::numbers::pi / 180.0;

int ValidStep(int step) { return std::clamp(step, 1, 180); }

}  // namespace

void DrawPatternImage(Canvas& c, bool showCurves) {
    const int W = c.Width(), H = c.Height();
    PatternGeometry = {};
    if (W <= 0 || H <= 0) return;
    const int azCx = W / 4;
    const int elCx = 3 * azCx;
    const int cy = H / 2;
    const double aspect = ScreenAspect > 0.0 ? ScreenAspect : 1.0;
    const int r0 = H > W / 2 ? W / 4 - 20 : H / 2 - 20;
    const int R = FittedPlotRadius(c, static_cast<int>(std::lround(r0 / aspect)), azCx, cy);
    PatternGeometry = {azCx, elCx, cy, R, {}};
    if (R <= 0) {
        // Too small for a plot: a blank panel, and no readout.
        c.FillRect(0, 0, W, H, ClWhite);
        PatternGeometry.Radius = 0;
        return;
    }
    const PolarPlotBoxes boxes = DrawPolarPattern(c, azCx, cy, elCx, R);
    PatternGeometry.Parts = {{"azimuth plot", boxes.Azimuth},
                             {"elevation plot", boxes.Elevation},
                             {"elevation axis letter", boxes.ElevationSideLetter}};
    if (!showCurves || Results.AngleStep == 0) return;
    const int step = ValidStep(Results.AngleStep);
    const int sel = JobDef.WaveSel;
    c.SetPenWidth(1);
    if (sel == 3) {
        DrawPolarGrid(Results.AzCut[0], step, c, azCx, cy, R, ClRed);
        DrawPolarGridElev(Results.ElevCut[0], step, c, elCx, cy, R, ClRed);
        DrawPolarGrid(Results.AzCut[1], step, c, azCx, cy, R, ClBlue);
        DrawPolarGridElev(Results.ElevCut[1], step, c, elCx, cy, R, ClBlue);
    } else {
        const int pol = std::clamp(sel, 0, 2);
        const WinColor colours[3] = {ClRed, ClBlue, ClBlack};
        DrawPolarGrid(Results.AzCut[pol], step, c, azCx, cy, R, colours[pol]);
        DrawPolarGridElev(Results.ElevCut[pol], step, c, elCx, cy, R, colours[pol]);
    }
    c.SetFontColor(ClBlack);
    // The summary lines stand under the elevation plot; wide lines move left
    // as far as the azimuth plot allows, and below the side letter they would cross.
    int width = 0, height = 0;
    PatternHeaderSize(c, width, height);
    const int x = std::max(boxes.Azimuth.Right + 4, std::min(elCx - R, W - 2 - width));
    int y = cy + 4;
    if (x + width > boxes.ElevationSideLetter.Left) y = std::max(y, boxes.ElevationSideLetter.Bottom + 2);
    PatternGeometry.Parts.push_back({"summary lines", PrintPatternHeader(c, x, y)});
}

PatternReadoutRec PatternReadout(int polarization, int mouseX, int mouseY, int azCx, int cy, int elCx,
                                 int imageWidth) {
    PatternReadoutRec out;
    const int R = PatternGeometry.Radius;
    if (R <= 0 || Results.AngleStep == 0) return out;
    const int pol = std::clamp(polarization, 0, 2);
    const int step = ValidStep(Results.AngleStep);
    double G = 0.0;
    int dx = 0, dy = 0;
    out.CentreY = cy;
    if (mouseX < imageWidth / 2) {
        const int a = static_cast<int>(std::lround(std::atan2(cy - mouseY, mouseX - azCx) * RadToDeg));
        int az = PatternOrient == 0 ? a - 90 : a;
        if (az < 0) az += 360;
        // The cut holds one value per step; the nearest one stands for the angle.
        const int count = 360 / step;
        const int index = static_cast<int>(std::lround(static_cast<double>(az) / step)) % count;
        G = Results.AzCut[pol][index];
        PolarPoint(dx, dy, (az - PatternOrient) * DegToRad, G - PatternMaxGain, R);
        out.CentreX = azCx;
        out.MarkX = azCx - dx;
        out.MarkY = cy + dy;
        out.Lines[0] = FormatInCLocale("Azimuth angle = %d dg", az > 180 ? az - 360 : az);
    } else {
        const int e = std::clamp(
            static_cast<int>(std::lround(std::atan2(cy - std::min(mouseY, cy), mouseX - elCx) * RadToDeg)), 0, 180);
        const int index = std::clamp(static_cast<int>(std::lround((180.0 - e) / step)), 0, 180 / step);
        G = Results.ElevCut[pol][index];
        PolarPoint(dx, dy, (180.0 - e + 90.0) * DegToRad, G - PatternMaxGain, R);
        out.CentreX = elCx;
        out.MarkX = elCx - dx;
        out.MarkY = cy - dy;
        out.Lines[0] = FormatInCLocale("Elevation angle = %3ddg", e);
    }
    static const char* const gainFormats[3] = {"Gv = %.1f dBi", "Gh = %.1f dBi", "Ga = %.1f dBi"};
    static const char* const diffFormats[3] = {"Gmax-Gv = %.1f dB", "Gmax-Gh = %.1f dB", "Gmax-Ga = %.1f dB"};
    out.Lines[1] = FormatInCLocale(gainFormats[pol], G);
    out.Lines[2] = FormatInCLocale(diffFormats[pol], PatternMaxGain - G);
    out.Gain = G;
    out.Valid = true;
    return out;
}

void PatternCursorText(Canvas& c, int polarization, int mouseX, int mouseY, int azCx, int cy, int elCx,
                       int imageWidth) {
    const PatternReadoutRec r = PatternReadout(polarization, mouseX, mouseY, azCx, cy, elCx, imageWidth);
    if (!r.Valid) return;
    c.SetPenStyle(PenStyle::Solid);
    c.SetPenColor(ClGray);
    c.SetBrushStyle(BrushStyle::Clear);
    c.SetPenWidth(2);
    c.Ellipse(r.CentreX - 2, cy - 2, r.CentreX + 2, cy + 2);
    c.SetPenWidth(1);
    c.Line(r.CentreX, cy, r.MarkX, r.MarkY);
    c.SetPenColor(ClRed);
    c.SetBrushColor(ClWhite);
    c.SetPenWidth(3);
    c.Ellipse(r.MarkX - 4, r.MarkY - 4, r.MarkX + 4, r.MarkY + 4);
    c.SetPenWidth(1);

    const int th = c.TextHeight("A");
    const int ys[3] = {2, th + 2, 2 * th + 4};
    c.SetTextTransparent(true);
    c.SetFontColor(ClBlack);
    const int mid = imageWidth / 2;
    for (int i = 0; i < 3; ++i) c.TextOut(mid - c.TextWidth(r.Lines[i]) / 2, ys[i], r.Lines[i]);
}
