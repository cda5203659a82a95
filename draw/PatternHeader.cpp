#include "draw/PatternHeader.h"

#include "model/EnvDef.h"
#include "model/Impedance.h"
#include "model/Messages.h"
#include "model/NumberText.h"
#include "model/ResultStore.h"
#include "draw/LabelFormat.h"
#include "platform/Canvas.h"

#include <algorithm>
#include <cmath>

namespace {

// A translated text is used only when its conversions fit the arguments.
template <class... Args>
std::string Fit(const char* text, const char* builtIn, const char* kinds, Args... args) {
    return FormatInCLocale(FormatMatchesKinds(text, kinds) ? text : builtIn, args...);
}

double FloorGain(double g) { return g < -999.0 ? -999.0 : g; }

}  // namespace

std::vector<std::string> PatternHeaderLines(const CResult& res) {
    std::vector<std::string> lines;
    if (res.RowCount <= 0) return lines;
    const ResultRow& row = *res.Row(0);
    const char* polar = row.Vertical() ? PlotTexts[3] : PlotTexts[4];
    lines.push_back(FormatInCLocale("Ga : %s dBi = 0 dB  (%s)", DblToStr2(FloorGain(row.Ga)).c_str(), PlainLabel(polar).c_str()));
    if (row.Ground == GroundFree)
        lines.push_back(FormatInCLocale("Gh : %s dBd", DblToStr2(FloorGain(row.Ga - 2.15)).c_str()));

    const int rearAz = RearAzimuth(row.AzEl), rearEl = RearElevation(row.AzEl);
    std::string fb = Fit(PlotTexts[7], DefaultPlotTexts[7], "f", RoundTo(row.FB, 2));
    if (rearEl == 0)
        fb += ' ', fb += Fit(PlotTexts[5], DefaultPlotTexts[5], "i", rearAz);
    else
        fb += ' ', fb += Fit(PlotTexts[6], DefaultPlotTexts[6], "ii", static_cast<unsigned>(rearAz),
                        static_cast<unsigned>(rearEl));
    lines.push_back(fb);
    lines.push_back(Fit(PlotTexts[8], DefaultPlotTexts[8], "f", static_cast<double>(row.F)));
    lines.push_back(Fit(PlotTexts[9], DefaultPlotTexts[9], "fif", static_cast<double>(row.R),
                        ShowsBelowZero(row.jX, 3) ? '-' : '+',
                        std::fabs(static_cast<double>(row.jX))));
    const std::string z0 = CplxToStr1(row.Z0R, row.Z0X);
    std::string swr = Fit(PlotTexts[11], DefaultPlotTexts[11], "fs", static_cast<double>(row.SWR), z0.c_str());
    swr += ' ';
    swr += Fit(PlotTexts[10], DefaultPlotTexts[10], "f", CalcSWR(row.R, row.jX, 600.0, 0.0));
    lines.push_back(swr);

    const int ground = row.Ground >= 0 && row.Ground <= 2 ? row.Ground : 0;
    std::string elev = Fit(PlotTexts[13], DefaultPlotTexts[13], "fs", static_cast<double>(row.Elev),
                           PlainLabel(PlotTexts[ground]).c_str());
    if (row.Ground == GroundPerfect || row.Ground == GroundReal)
        elev += ' ', elev += Fit(PlotTexts[12], DefaultPlotTexts[12], "f", static_cast<double>(row.Height));
    elev += ')';
    lines.push_back(elev);
    if (row.Elev != res.CutElevation) {
        const double peak = FloorGain(row.GvMax >= row.GhMax ? row.GvMax : row.GhMax);
        lines.push_back(Fit(PlotTexts[14], DefaultPlotTexts[14], "ff",
                            static_cast<double>(res.CutElevation), peak));
    }
    return lines;
}

void PatternHeaderSize(Canvas& c, int& width, int& height) {
    const std::vector<std::string> lines = PatternHeaderLines(Results);
    width = 0;
    for (const std::string& line : lines) width = std::max(width, c.TextWidth(line));
    height = static_cast<int>(lines.size()) * c.TextHeight("A");
}

ScreenRect PrintPatternHeader(Canvas& c, int x, int y) {
    int width = 0, height = 0;
    PatternHeaderSize(c, width, height);
    const bool wasTransparent = c.TextTransparent();
    c.SetTextTransparent(true);
    const int th = c.TextHeight("A");
    int line = y;
    for (const std::string& text : PatternHeaderLines(Results)) {
        c.TextOut(x, line, text);
        line += th;
    }
    c.SetTextTransparent(wasTransparent);
    return {x, y, x + std::max(0, width - 1), y + std::max(0, height - 1)};
}
