#include "draw/WireInfoBlock.h"

#include "model/Messages.h"
#include "model/ModelHelpers.h"
#include "model/NumberText.h"
#include "draw/LabelFormat.h"
#include "platform/Canvas.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

// A value line of the block: a label holding "%s" takes the value; the
// built-in labels hold none and get " = value unit".
std::string ValueLine(const char* label, const std::string& value, const std::string& unit) {
    if (FormatMatchesKinds(label, "s")) return FormatInCLocale(label, value.c_str());
    return PlainLabel(label) + " = " + value + " " + unit;
}

int MilliRound(double r) {
    const double v = r * 1000.0;
    if (!(std::fabs(v) < 2.0e9)) return v < 0 ? -2000000000 : 2000000000;
    return static_cast<int>(std::lround(v));
}

}  // namespace

std::vector<std::string> WireInfoLines(const WireRec& w, int index) {
    std::vector<std::string> lines;
    lines.push_back(LabelWithInt(ViewLabels[0], index + 1));
    const double ends[6] = {w.X1, w.Y1, w.Z1, w.X2, w.Y2, w.Z2};
    const char* names[6] = {"X1", "Y1", "Z1", "X2", "Y2", "Z2"};
    for (int i = 0; i < 6; ++i) lines.push_back(FormatInCLocale("%s   :  %s m", names[i], DblToStr3(ends[i]).c_str()));
    if (w.R > 0)
        lines.push_back(FormatInCLocale("R    :  %s ", DblToStr3(w.R * 1000.0).c_str()) + "mm");
    else
        lines.push_back(FormatInCLocale("R    :  %d ", MilliRound(w.R)) + PlainLabel(w.R < 0 ? ViewLabels[1] : ViewLabels[2]));
    double length = 0.0, azimuth = 0.0, tilt = 0.0;
    WireLenAzEl(length, azimuth, tilt, w);
    const std::string deg = PlainLabel(ViewLabels[6]);
    lines.push_back(ValueLine(ViewLabels[3], DblToStr3(length), "m"));
    lines.push_back(ValueLine(ViewLabels[4], DblToStr1(azimuth), deg));
    lines.push_back(ValueLine(ViewLabels[5], DblToStr1(tilt), deg));

    return lines;
}

ScreenRect DrawDimension(Canvas& c, const AntDef& ant, int index) {
    if (index < 0 || index >= ant.WireCount || index >= MaxWires) return {};
    return DrawDimensionText(c, ant.Wires[index], index);
}

ScreenRect DrawDimensionText(Canvas& c, const WireRec& w, int index) {
    const int tw = c.TextWidth(" Length = 000.00000 m");
    const int th = c.TextHeight("A");
    const int W = c.Width(), H = c.Height();
    const int top = H - 12 * th, bottom = H - 3;
    const int left = W - tw - 10;
    c.SetPenStyle(PenStyle::Solid);
    c.SetPenColor(ClGray);
    c.SetPenWidth(1);
    c.MoveTo(left - 5, bottom);
    c.LineTo(left - 5, top);
    c.LineTo(W, top);

    const std::vector<std::string> lines = WireInfoLines(w, index);
    const bool wasTransparent = c.TextTransparent();
    c.SetTextTransparent(true);
    int y = top + th / 2;
    int right = W - 1;
    for (const std::string& line : lines) {
        c.TextOut(left + 3, y, line);
        right = std::max(right, left + 3 + c.TextWidth(line) - 1);
        y += th;
    }
    c.SetTextTransparent(wasTransparent);
    return {left - 5, top, right, std::max(bottom, y - 1)};
}
