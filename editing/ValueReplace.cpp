#include "editing/ValueReplace.h"

#include <algorithm>
#include <cmath>

namespace {

double Sign(double v) { return v > 0.0 ? 1.0 : (v < 0.0 ? -1.0 : 0.0); }

}  // namespace

void MatchReplace(bool& changed, double& value, double search, double replacement, bool mirror) {
    if (value == search) {
        value = replacement;
        changed = true;
    } else if (mirror && std::fabs(value) == std::fabs(search)) {
        value = std::fabs(replacement) * Sign(search) * Sign(replacement) * Sign(value);
        changed = true;
    }
}

bool ReplaceCoordinates(AntDef& ant, int axes, double search, double replacement, bool mirror) {
    bool changed = false;
    const int count = std::clamp(ant.WireCount, 0, MaxWires);
    const bool x = axes == ReplaceAll || axes == ReplaceOnlyX;
    const bool y = axes == ReplaceAll || axes == ReplaceOnlyY;
    const bool z = axes == ReplaceAll || axes == ReplaceOnlyZ;
    for (int i = 0; i < count; ++i) {
        WireRec& w = ant.Wires[i];
        for (double* c : {&w.X1, &w.X2})
            if (x) MatchReplace(changed, *c, search, replacement, mirror);
        for (double* c : {&w.Y1, &w.Y2})
            if (y) MatchReplace(changed, *c, search, replacement, mirror);
        for (double* c : {&w.Z1, &w.Z2})
            if (z) MatchReplace(changed, *c, search, replacement, mirror);
    }
    return changed;
}

bool ReplaceRadius(AntDef& ant, double search, double replacement) {
    bool changed = false;
    const int count = std::clamp(ant.WireCount, 0, MaxWires);
    for (int i = 0; i < count; ++i)
        if (ant.Wires[i].R == search) {
            ant.Wires[i].R = replacement;
            changed = true;
        }
    return changed;
}

bool ReplaceSegmentation(AntDef& ant, int32_t search, int32_t replacement) {
    bool changed = false;
    const int count = std::clamp(ant.WireCount, 0, MaxWires);
    for (int i = 0; i < count; ++i)
        if (ant.Wires[i].Seg == search) {
            ant.Wires[i].Seg = replacement;
            changed = true;
        }
    return changed;
}
