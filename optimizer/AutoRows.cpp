#include "optimizer/AutoRows.h"

#include <algorithm>

#include "model/EnvDef.h"
#include "model/NumberText.h"

namespace {

bool IsRow(const CACal& cal, int i) { return i >= 0 && i < cal.RowCount(); }

double Round5(double v) { return RoundAwayTo(v, 5); }

void AddWireLink(CACal& cal, int wire, int row, int field, double ref, double value) {
    if (value == ref)
        cal.AddVar(KindWire, wire, field, row, ref, 100);
    else if (value == -ref)
        cal.AddVar(KindWire, wire, field, -2 - row, ref, 100);
}

}  // namespace

void LinkRows(CACal& cal, int row, int master, double masterValue, double ownValue) {
    if (!IsRow(cal, row) || !IsRow(cal, master)) return;
    ACalVarRec& r = cal.Row(row);
    if (NormalizeDbl(masterValue) == NormalizeDbl(ownValue) || masterValue == 0) {
        r.Link = master;
    } else {
        r.Link = master | LinkMultiply;
        r.Step = ownValue / masterValue;
    }
}

void AddElementRows(CACal& cal, int g, ElementQuestion& q, const AskElementSizes& ask) {
    if (g < 0 || g >= cal.Groups().Count) return;
    const CWGroup& group = cal.Groups().Groups[g];
    const bool all = JobDef.EleWidthAll != 0;
    if (!group.NoLoop) {
        const double x = group.GetLength();
        if (x != 0) cal.AddElementVar(g, all ? ElLengthAll : ElLength, x, 500);
        return;
    }
    const double y = group.YMax - group.YMin, z = group.ZMax - group.ZMin, x = group.GetLength();
    if (q.Ask) {
        q.UseY = y != 0;
        q.UseZ = z != 0;
        q.UseX = x != 0;
        if (int(q.UseY) + int(q.UseZ) + int(q.UseX) >= 2) {
            if (ask) ask(q);
            q.Ask = false;
        }
    }
    auto add = [&](bool use, double size, int field, int fieldAll) {
        return use && size != 0 ? cal.AddElementVar(g, all ? fieldAll : field, size, 500) : -1;
    };
    const int rY = add(q.UseY, y, ElWidth, ElWidthAll);
    const int rZ = add(q.UseZ, z, ElHeight, ElHeightAll);
    const int rX = add(q.UseX, x, ElLength, ElLengthAll);
    // Each choice links only when both rows exist.
    if (rY >= 0 && q.CoopY == 1 && rZ >= 0) LinkRows(cal, rY, rZ, z, y);
    if (rY >= 0 && q.CoopY == 2 && rX >= 0) LinkRows(cal, rY, rX, x, y);
    if (rZ >= 0 && q.CoopZ == 1 && rY >= 0) LinkRows(cal, rZ, rY, y, z);
    if (rZ >= 0 && q.CoopZ == 2 && rX >= 0) LinkRows(cal, rZ, rX, x, z);
    if (rX >= 0 && q.CoopX == 1 && rY >= 0) LinkRows(cal, rX, rY, y, x);
    if (rX >= 0 && q.CoopX == 2 && rZ >= 0) LinkRows(cal, rX, rZ, z, x);
}

void AddAllElementRows(CACal& cal, const AskElementSizes& ask) {
    CWGroupList& groups = cal.Groups();
    const int n = groups.Count;
    if (n <= 0) return;
    const int b = groups.Base;
    const bool gaps = JobDef.IntPos != 0;
    ElementQuestion q;
    // The run of elements at the base position ends before the first gap.
    int last = n - 1;
    for (int e = b; e < n; ++e)
        if (groups.Intervals[e] != 0) {
            last = e - 1;
            break;
        }
    for (int g = last; g >= b; --g) AddElementRows(cal, g, q, ask);
    for (int g = b - 1; g >= 0; --g) {
        AddElementRows(cal, g, q, ask);
        if (gaps) {
            if (groups.Intervals[g] != 0) cal.AddElementVar(g, ElInterval, groups.Intervals[g], 100);
        } else if (g > 0 && groups.PosOf(g) != 0) {
            cal.AddElementVar(g, ElPos, groups.PosOf(g), 500);
        }
    }
    if (!gaps && last < n - 1)
        for (int g = last; g >= b; --g)
            if (groups.PosOf(g) != 0) cal.AddElementVar(g, ElPos, groups.PosOf(g), 500);
    for (int g = last + 1; g < n; ++g) {
        AddElementRows(cal, g, q, ask);
        if (gaps) {
            if (groups.Intervals[g] != 0) cal.AddElementVar(g, ElInterval, groups.Intervals[g], 100);
        } else if (g < n - 1 && groups.PosOf(g) != groups.PosOf(n - 1)) {
            cal.AddElementVar(g, ElPos, groups.PosOf(g), 500);
        }
    }
    LinkSameElements(cal);
}

void LinkSameElements(CACal& cal) {
    for (int i = 0; i < cal.RowCount(); ++i) {
        const ACalVarRec& ri = cal.Row(i);
        if (ri.Kind != KindElement || ri.Link != LinkFree || ri.Field == ElInterval || ri.Field == ElRadius) continue;
        const double p = NormalizeDbl(cal.Groups().PosOf(ri.Item));
        const double v = NormalizeDbl(cal.GetValue(i));
        for (int j = i + 1; j < cal.RowCount(); ++j) {
            ACalVarRec& rj = cal.Row(j);
            if (rj.Kind != KindElement || rj.Field != ri.Field) continue;
            if (NormalizeDbl(cal.Groups().PosOf(rj.Item)) == p && NormalizeDbl(cal.GetValue(j)) == v) rj.Link = i;
        }
    }
}

void LinkEqualElements(CACal& cal) {
    auto sizeKind = [](int field) { return field == ElWidth || field == ElHeight ? ElWidth : field; };
    for (int i = 0; i < cal.RowCount(); ++i) {
        const ACalVarRec& ri = cal.Row(i);
        if (ri.Kind != KindElement || ri.Link != LinkFree) continue;
        const double v = NormalizeDbl(cal.GetValue(i));
        for (int j = i + 1; j < cal.RowCount(); ++j) {
            ACalVarRec& rj = cal.Row(j);
            if (rj.Kind != KindElement || rj.Link != LinkFree) continue;
            if (sizeKind(rj.Field) == sizeKind(ri.Field) && NormalizeDbl(cal.GetValue(j)) == v) rj.Link = i;
        }
    }
}

bool FindWireAtPoint(const CACal& cal, double x, double y, double z) {
    if (!cal.Ant) return false;
    for (int i = 0; i < cal.RowCount(); ++i) {
        const ACalVarRec& r = cal.Row(i);
        if (r.Kind != KindWire || r.Item < 0 || r.Item >= cal.Ant->WireCount) continue;
        const WireRec& w = cal.Ant->Wires[r.Item];
        const bool start = r.Field == 0 || r.Field == 1 || r.Field == 5;
        if (start ? (w.X1 == x && w.Y1 == y && w.Z1 == z) : (w.X2 == x && w.Y2 == y && w.Z2 == z)) return true;
    }
    return false;
}

void AutoLinkWires(CACal& cal, int row) {
    if (!IsRow(cal, row) || !cal.Ant) return;
    const ACalVarRec& r = cal.Row(row);
    const int w0 = r.Item, f = r.Field;
    const int wires = std::min(cal.Groups().WireCount, cal.Ant->WireCount);
    if (w0 < 0 || w0 >= wires) return;
    const WireRec& own = cal.Ant->Wires[w0];
    const double ref = Round5(f == 5 ? own.X1 : f == 6 ? own.X2 : cal.GetValue(row));
    for (int w = 0; w < wires; ++w) {
        const WireRec& wr = cal.Ant->Wires[w];
        if (f == 4) {
            if (w != w0 && Round5(wr.R) == ref) cal.AddVar(KindWire, w, 4, row, ref, 100);
            continue;
        }
        if (f == 5 || f == 6) {
            if (!(w == w0 && f == 5) && !FindWireAtPoint(cal, wr.X1, wr.Y1, wr.Z1))
                AddWireLink(cal, w, row, 5, ref, Round5(wr.X1));
            if (!(w == w0 && f == 6) && !FindWireAtPoint(cal, wr.X2, wr.Y2, wr.Z2))
                AddWireLink(cal, w, row, 6, ref, Round5(wr.X2));
            continue;
        }
        const double coords[4] = {wr.Y1, wr.Z1, wr.Y2, wr.Z2};
        for (int field = 0; field < 4; ++field) {
            if (w == w0 && field == f) continue;
            const bool start = field < 2;
            const bool taken = start ? FindWireAtPoint(cal, wr.X1, wr.Y1, wr.Z1)
                                     : FindWireAtPoint(cal, wr.X2, wr.Y2, wr.Z2);
            if (!taken) AddWireLink(cal, w, row, field, ref, Round5(coords[field]));
        }
    }
}

void AutoLinkLoads(CACal& cal, int row) {
    if (!IsRow(cal, row) || !cal.Ant) return;
    const ACalVarRec& r = cal.Row(row);
    const int l0 = r.Item, f = r.Field;
    if (l0 < 0 || l0 >= cal.Ant->LoadCount) return;
    const double ref = Round5(cal.GetValue(row));
    for (int l = 0; l < cal.Ant->LoadCount; ++l) {
        const LoadRec& load = cal.Ant->Loads[l];
        if (l == l0 || load.Type != cal.Ant->Loads[l0].Type) continue;
        if (Round5(f == 0 ? load.A[0] : load.B[0]) == ref) cal.AddVar(KindLoad, l, f, row, ref, 100);
    }
}

void AutoLinkRow(CACal& cal, int row) {
    if (!IsRow(cal, row)) return;
    if (cal.Row(row).Kind == KindWire) AutoLinkWires(cal, row);
    else if (cal.Row(row).Kind == KindLoad) AutoLinkLoads(cal, row);
}
