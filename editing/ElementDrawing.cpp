#include "editing/ElementDrawing.h"

#include "draw/WireInfoBlock.h"
#include "editing/ElementTable.h"
#include "model/ScreenHitTest.h"
#include "platform/Canvas.h"

namespace {

constexpr int PickTolerance = 9;

void MapEnds(const WireRec& w, double dx, const ViewTransform& t, ScreenPoint& a, ScreenPoint& b) {
    t.Map(w.X1 + dx, w.Y1, w.Z1, a.x, a.y);
    t.Map(w.X2 + dx, w.Y2, w.Z2, b.x, b.y);
}

}  // namespace

void ForEachElementWire(const CWGroupList& groups, const std::function<void(int, int, double)>& visit) {
    if (groups.Count <= 0) return;
    auto visitElement = [&](int g, double dx) {
        for (const GroupMember& m : groups.Groups[g].Members)
            if (CWGroupList::IsLive(groups.Wires[m.Wire])) visit(m.Wire, g, dx);
    };
    double offset = 0.0;
    for (int g = groups.Base; g >= 0; --g) {
        offset += groups.Intervals[g];
        visitElement(g, -offset);
    }
    offset = 0.0;
    for (int g = groups.Base + 1; g < groups.Count; ++g) {
        offset += groups.Intervals[g];
        visitElement(g, offset);
    }
}

void DrawElementWires(Canvas& c, const CWGroupList& groups, const ViewTransform& t, int selected, int penWidth,
                      const ElementVariables* vars) {
    c.SetPenStyle(PenStyle::Solid);
    ForEachElementWire(groups, [&](int wire, int element, double dx) {
        const bool red = vars ? ElementTable::IsVariableWire(vars, wire) : element == groups.Base;
        c.SetPenColor(red ? ClRed : ClBlack);
        c.SetPenWidth(wire == selected ? penWidth + 2 : penWidth);
        ScreenPoint a{}, b{};
        MapEnds(groups.Wires[wire], dx, t, a, b);
        c.Line(a.x, a.y, b.x, b.y);
    });
    c.SetPenWidth(1);
    c.SetPenColor(ClBlack);
}

int PickElementWire(const CWGroupList& groups, const ViewTransform& t, int x, int y) {
    int best = PickTolerance;
    int candidate = -1;
    const ScreenPoint p{x, y};
    ForEachElementWire(groups, [&](int wire, int, double dx) {
        for (int tol = 1; tol < best; ++tol) {
            ScreenPoint a{}, b{};
            MapEnds(groups.Wires[wire], dx, t, a, b);
            if (HitTestSegment(p, a, b, tol) != 0) {
                candidate = wire;
                best = tol;
                break;
            }
        }
    });
    return best < PickTolerance ? candidate : -1;
}

void DrawDimensionGrp(Canvas& c, const CWGroupList& groups, int wire) {
    if (wire < 0 || wire >= groups.WireCount) return;
    const int g = groups.GroupOfWire(wire);
    if (g < 0) return;
    WireRec w = groups.Wires[wire];
    const double pos = groups.AbsolutePos(g);
    w.X1 += pos;
    w.X2 += pos;
    DrawDimensionText(c, w, wire);
}
