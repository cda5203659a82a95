#include "editing/StackCheck.h"

#include <algorithm>
#include <cmath>

void GetAntennaExtent(const AntDef& ant, double& zExtent, double& yExtent) {
    zExtent = yExtent = 0.0;
    const int count = std::clamp(ant.WireCount, 0, MaxWires);
    if (count == 0) return;
    double zMin = ant.Wires[0].Z1, zMax = zMin, yMin = ant.Wires[0].Y1, yMax = yMin;
    for (int i = 0; i < count; ++i) {
        const WireRec& w = ant.Wires[i];
        zMin = std::min({zMin, w.Z1, w.Z2});
        zMax = std::max({zMax, w.Z1, w.Z2});
        yMin = std::min({yMin, w.Y1, w.Y2});
        yMax = std::max({yMax, w.Y1, w.Y2});
    }
    zExtent = zMax - zMin;
    yExtent = yMax - yMin;
}

StackVerdict CheckStack(const AntDef& ant, int nH, int nV, double hSpacing, double vSpacing) {
    if (nH < 1 || nV < 1) return StackVerdict::BadCount;
    // 64-bit products: typed counts may be huge.
    // Any count above the wire limit is too many; capped, the products
    // below cannot overflow.
    const long long copies = std::min(static_cast<long long>(nH) * nV, static_cast<long long>(MaxWires) + 1);
    // More copies than wires never fit, even of an antenna without wires:
    // the files refuse such a stack.
    if (copies > MaxWires || copies * ant.WireCount > MaxWires) return StackVerdict::TooManyWires;
    if (copies * ant.SourceCount > MaxSources) return StackVerdict::TooManySources;
    if (copies * ant.LoadCount > MaxLoads) return StackVerdict::TooManyLoads;
    if (!(vSpacing > 0.0) || !(hSpacing > 0.0) || !std::isfinite(vSpacing) || !std::isfinite(hSpacing))
        return StackVerdict::BadSpacing;
    double zExt = 0.0, yExt = 0.0;
    GetAntennaExtent(ant, zExt, yExt);
    if ((nV > 1 && !(vSpacing > zExt)) || (nH > 1 && !(hSpacing > yExt))) return StackVerdict::Overlap;
    return StackVerdict::Ok;
}
