#include "draw/AntennaDrawing.h"

#include "engine/EngineState.h"
#include "engine/TaperWires.h"
#include "model/EnvDef.h"
#include "model/ModelHelpers.h"
#include "model/ResultStore.h"
#include "platform/Canvas.h"

#include <algorithm>
#include <cmath>

namespace {

// Axis letters from short strokes in a 4 x 4 pixel box beside the axis end.
void DrawAxisLetter(Canvas& c, char letter, int x, int y) {
    const int x0 = x + 1, y0 = y - 5;
    switch (letter) {
    case 'X':
        c.Line(x0, y0, x0 + 4, y0 + 4);
        c.Line(x0 + 4, y0, x0, y0 + 4);
        break;
    case 'Y':
        c.Line(x0, y0, x0 + 2, y0 + 2);
        c.Line(x0 + 4, y0, x0 + 2, y0 + 2);
        c.Line(x0 + 2, y0 + 2, x0 + 2, y0 + 4);
        break;
    default:
        c.Line(x0, y0, x0 + 4, y0);
        c.Line(x0 + 4, y0, x0, y0 + 4);
        c.Line(x0, y0 + 4, x0 + 4, y0 + 4);
        break;
    }
}

// Axis points are given in pixels already; only the projection applies.
void AxisPoint(const ViewTransform& t, double x, double y, double z, int& px, int& py) {
    double xp = 0.0, yp = 0.0;
    Project3D(xp, yp, t.sinAz, t.cosAz, t.sinEl, t.cosEl, x, y, z);
    px = t.cx + ScreenRound(xp);
    py = t.cy - ScreenRound(yp);
}

void MarkX(Canvas& c, int px, int py, int half) {
    c.Line(px - half, py - half, px + half, py + half);
    c.Line(px + half, py - half, px - half, py + half);
}

int PieceCount(const AntDef& ant) { return std::clamp(ant.ExpWireCount, 0, MaxExpWires); }

// Screen point of a resolved pulse; false for a pulse that the prepared model does not hold.
bool PulsePoint(const AntDef& ant, const ViewTransform& t, int pulse, int& px, int& py) {
    if (pulse < 1 || pulse > GetPulseCount() || PieceCount(ant) == 0) return false;
    double x = 0.0, y = 0.0, z = 0.0;
    GetPointXYZUser(x, y, z, PieceOfPulse(ant, pulse));
    t.Map(x, y, z, px, py);
    return true;
}

// Blue 4 x 4 squares where the sections of a tapered wire meet; black pen again afterwards.
void DrawTaperJoints(const AntDef& ant, Canvas& c, const ViewTransform& t, const WireRec& w) {
    const TaperSet* set = FindTaperSet(ant, w.R);
    if (!set) return;
    WireRec sections[MaxTaperWireSections];
    const int count = std::clamp(TaperSections(sections, ant, *set, w), 0, MaxTaperWireSections);
    const int width = c.PenWidth();
    c.SetPenColor(ClBlue);
    c.SetPenWidth(1);
    c.SetBrushStyle(BrushStyle::Clear);
    for (int k = 0; k + 1 < count; ++k) {
        int px = 0, py = 0;
        t.Map(sections[k].X2, sections[k].Y2, sections[k].Z2, px, py);
        c.Rectangle(px - 2, py - 2, px + 2, py + 2);
    }
    c.SetBrushStyle(BrushStyle::Solid);
    c.SetPenColor(ClBlack);
    c.SetPenWidth(width);
}

}  // namespace

void DrawAntennaView(Canvas& c, const ViewTransform& t) {
    c.FillRect(0, 0, c.Width(), c.Height(), ClWhite);
    c.SetPenStyle(PenStyle::Solid);
    c.SetPenWidth(1);
    const double ox = t.centreOn ? -ViewCentre.X * t.scale : 0.0;
    const double oy = t.centreOn ? -ViewCentre.Y * t.scale : 0.0;
    const double oz = t.centreOn ? -ViewCentre.Z * t.scale : 0.0;
    const double lenXY = 0.4 * c.Width() - 50.0;
    const double lenZ = 5.0 * c.Height() / 11.0;
    int x0 = 0, y0 = 0;
    AxisPoint(t, ox, oy, oz, x0, y0);
    struct Axis {
        char letter;
        WinColor colour;
        double x, y, z;
    };
    const Axis axes[3] = {{'X', ClMagenta, ox + lenXY, oy, oz},
                          {'Y', ClBlue, ox, oy + lenXY, oz},
                          {'Z', ClGreen, ox, oy, oz + lenZ}};
    for (const Axis& a : axes) {
        int ex = 0, ey = 0;
        AxisPoint(t, a.x, a.y, a.z, ex, ey);
        c.SetPenColor(a.colour);
        c.Line(x0, y0, ex, ey);
        DrawAxisLetter(c, a.letter, ex, ey);
    }
}

void DrawWireThickness(const AntDef& ant, Canvas& c, const ViewTransform& t, int selected, int penWidth) {
    c.SetPenStyle(PenStyle::Solid);
    c.SetPenColor(ClBlack);
    const int n = std::clamp(ant.WireCount, 0, MaxWires);
    for (int i = 0; i < n; ++i) {
        const WireRec& w = ant.Wires[i];
        c.SetPenWidth(i == selected ? penWidth + 1 : penWidth);
        int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
        t.Map(w.X1, w.Y1, w.Z1, x1, y1);
        t.Map(w.X2, w.Y2, w.Z2, x2, y2);
        c.Line(x1, y1, x2, y2);
        if (w.R < 0.0) DrawTaperJoints(ant, c, t, w);
    }
    c.SetPenWidth(1);
}

void DrawPulseMarks(const AntDef& ant, Canvas& c, const ViewTransform& t) {
    c.SetPenStyle(PenStyle::Solid);
    c.SetPenColor(ClGreen);
    c.SetPenWidth(1);
    const int last = GetPulseCount() + 2 * PieceCount(ant);
    for (int i = 1; i <= last; ++i) {
        double x = 0.0, y = 0.0, z = 0.0;
        GetPointXYZUser(x, y, z, i);
        int px = 0, py = 0;
        t.Map(x, y, z, px, py);
        MarkX(c, px, py, 3);
    }
}

int PieceOfPulse(const AntDef& ant, int pulse) {
    const int n = PieceCount(ant);
    if (n == 0) return 0;
    int k = 0;
    while (k + 1 < n && ant.ExpWires[k + 1].FirstPulse <= pulse) ++k;
    while (k > 0 && ant.ExpWires[k].FirstPulse == 0) --k;
    return ant.ExpWires[k].FirstPoint + (pulse - ant.ExpWires[k].FirstPulse);
}

void DrawCircleMarks(const AntDef& ant, Canvas& c, const ViewTransform& t, int penWidth) {
    c.SetPenWidth(penWidth);
    const int r = penWidth + 3;
    const int n = std::clamp(ant.SourceCount, 0, MaxSources);
    for (int i = 0; i < n; ++i) {
        int px = 0, py = 0;
        if (PulsePoint(ant, t, ant.Sources[i].Pulse, px, py)) c.Ellipse(px - r, py - r, px + r, py + r);
    }
    c.SetPenWidth(1);
}

void DrawCrossMarks(const AntDef& ant, Canvas& c, const ViewTransform& t, int penWidth) {
    c.SetPenWidth(penWidth);
    const int n = std::clamp(ant.LoadCount, 0, MaxLoads);
    for (int i = 0; i < n; ++i) {
        int px = 0, py = 0;
        if (PulsePoint(ant, t, ant.Loads[i].Pulse, px, py)) MarkX(c, px, py, penWidth + 2);
    }
    c.SetPenWidth(1);
}

void DrawPulseLines(const AntDef& ant, Canvas& c, const ViewTransform& t, double currentScale) {
    c.SetPenStyle(PenStyle::Solid);
    c.SetPenWidth(1);
    const int pulses = std::min(GetPulseCount(), MaxPulseLimit);
    const int wires = std::clamp(ant.WireCount, 0, MaxWires);
    int lastX = 0, lastY = 0, lastWire = -1;
    for (int k = 0; k < PieceCount(ant); ++k) {
        const ExpWireRec& piece = ant.ExpWires[k];
        if (piece.FirstPulse == 0 || piece.UserWire < 0 || piece.UserWire >= wires) continue;
        const WireRec& w = ant.Wires[piece.UserWire];
        const double dX = w.X2 - w.X1, dY = w.Y2 - w.Y1, dZ = w.Z2 - w.Z1;
        const bool vertical = std::fabs(dZ) >= std::fabs(dY) && std::fabs(dZ) >= std::fabs(dX);
        const double d = dZ + dY + dX;
        c.SetPenColor(vertical ? ClRed : ClBlue);
        for (int j = piece.FirstPoint; j <= piece.LastPoint; ++j) {
            // The point j carries the pulse of the same offset; its current sits in slot pulse - 1.
            const int pulse = piece.FirstPulse + (j - piece.FirstPoint);
            if (pulse < 1 || pulse > pulses) break;
            const double m = Results.PulseCurrent[pulse - 1];
            if (m == 0.0) continue;
            double v = currentScale * m;
            if (!JobDef.CurDir)
                v = std::fabs(v);
            else if (d < 0)
                v = -v;
            double x = 0.0, y = 0.0, z = 0.0;
            GetPointXYZUser(x, y, z, j);
            if (vertical)
                y += v;
            else
                z += v;
            int px = 0, py = 0;
            t.Map(x, y, z, px, py);
            ClampToGdi(px, py);
            if (lastWire == piece.UserWire) c.Line(lastX, lastY, px, py);
            lastX = px;
            lastY = py;
            lastWire = piece.UserWire;
        }
    }
}
