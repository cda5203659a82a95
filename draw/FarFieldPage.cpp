#include "draw/FarFieldPage.h"

#include "model/EnvDef.h"
#include "model/ResultStore.h"
#include "draw/PatternHeader.h"
#include "platform/Canvas.h"

#include <algorithm>
#include <cmath>

namespace {

void DrawCuts(FarFieldPageLayout& page, int pol, int step) {
    page.Azimuth.DrawCurve(Results.AzCut[pol], step, ClBlack);
    page.Elevation.DrawCurve(Results.ElevCut[pol], step, ClBlack);
}

}  // namespace

FarFieldPageLayout DrawFarFieldPage(Canvas& c, const QString& fontFamily, const QString& title,
                                    const QString& antennaName) {
    FarFieldPageLayout page;
    QFont font = c.Font();
    font.setFamily(fontFamily);
    c.SetFont(font);

    const int w = c.Width(), h = c.Height();
    c.SetFontPixelHeight(static_cast<int>(std::lround(std::sqrt(static_cast<double>(w) * h) / 45.0)));
    const int left = w / 20;
    int top = h / 20;
    const int U = 18 * w / 20;
    int V = 18 * h / 20;
    const int t = c.TextHeight("A");

    c.SetTextTransparent(true);
    c.SetFontColor(ClBlack);
    c.TextOut(left, top, title);
    top += 2 * t;
    c.TextOut(left, top, antennaName);
    top += t;
    V -= 3 * t;

    CDrawPtnH& az = page.Azimuth;
    CDrawPtnV& el = page.Elevation;
    if (V < U) {
        az.SetArea(&c, left, top, left + U / 2 - t, top + V);
        el.SetArea(&c, left + U / 2 + t, top, left + U, top + V);
    } else {
        az.SetArea(&c, left, top, left + U, top + V / 2 - t);
        el.SetArea(&c, left, top + V / 2 + t, left + U, top + V);
    }
    az.MaxGain = el.MaxGain = Results.GainMax;
    az.GridColour = el.GridColour = 0;
    az.DrawGrid(Results.AngleStep);
    el.DrawGrid(Results.AngleStep);

    if (Results.AngleStep != 0) {
        const int step = std::clamp(Results.AngleStep, 1, 180);
        if (JobDef.WaveSel == 3) {
            DrawCuts(page, PolV, step);
            DrawCuts(page, PolH, step);
        } else {
            DrawCuts(page, std::clamp(JobDef.WaveSel, 0, 2), step);
        }
        c.SetFontColor(ClBlack);
        PrintPatternHeader(c, el.Left, el.CY + 4);
    }
    // The page outlives the canvas; its plots keep no pointer to it.
    az.Canvas = nullptr;
    el.Canvas = nullptr;
    return page;
}
