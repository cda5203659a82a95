#include "editing/WireDefinition.h"

#include "model/NumberText.h"
#include "model/WireGeometry.h"

#include <cmath>
#include <numbers>

namespace {

int Sign(double v) { return v > 0.0 ? 1 : (v < 0.0 ? -1 : 0); }

}  // namespace

int PresetKeptPoint(const WireRec& w) {
    const double starts[3] = {w.Y1, w.Z1, w.X1};
    const double ends[3] = {w.Y2, w.Z2, w.X2};
    for (int i = 0; i < 3; ++i)
        if (Sign(starts[i]) * Sign(ends[i]) < 0) return KeepMiddle;
    for (int i = 0; i < 3; ++i)
        if (starts[i] == 0.0 && ends[i] != 0.0) return KeepStart;
    for (int i = 0; i < 3; ++i)
        if (ends[i] == 0.0 && starts[i] != 0.0) return KeepEnd;
    return KeepStart;
}

void CartesianToPolar(const WireRec& w, double& length, double& azimuth, double& zenith) {
    WireLenAzEl(length, azimuth, zenith, w);
}

void PolarToCartesian(WireRec& work, const WireRec& orig, double length, double azimuth, double zenith, int kept) {
    const double rad = std::numbers::pi / 180.0;
    const double dx = length * std::sin(zenith * rad) * std::cos(azimuth * rad);
    const double dy = length * std::sin(zenith * rad) * std::sin(azimuth * rad);
    const double dz = length * std::cos(zenith * rad);
    if (kept == KeepEnd) {
        work.X2 = orig.X2, work.Y2 = orig.Y2, work.Z2 = orig.Z2;
        work.X1 = work.X2 - dx, work.Y1 = work.Y2 - dy, work.Z1 = work.Z2 - dz;
    } else if (kept == KeepMiddle) {
        const double mx = (orig.X1 + orig.X2) / 2, my = (orig.Y1 + orig.Y2) / 2, mz = (orig.Z1 + orig.Z2) / 2;
        work.X1 = mx - dx / 2, work.Y1 = my - dy / 2, work.Z1 = mz - dz / 2;
        work.X2 = mx + dx / 2, work.Y2 = my + dy / 2, work.Z2 = mz + dz / 2;
    } else {
        work.X1 = orig.X1, work.Y1 = orig.Y1, work.Z1 = orig.Z1;
        work.X2 = work.X1 + dx, work.Y2 = work.Y1 + dy, work.Z2 = work.Z1 + dz;
    }
}

bool ApplyWireEdit(WireRec* wires, int count, int index, WireRec work, bool keepConnected) {
    if (!wires || index < 0 || index >= count) return false;
    // The radius is kept as typed: six decimals of a metre would make a
    // radius of 12.5 um 13 um, and a taper key of such a radius no key.
    for (double* v : {&work.X1, &work.Y1, &work.Z1, &work.X2, &work.Y2, &work.Z2}) *v = NormalizeDbl(*v);
    for (const double v : {work.X1, work.Y1, work.Z1, work.X2, work.Y2, work.Z2, work.R})
        if (!std::isfinite(v)) return false;
    const WireRec orig = wires[index];
    bool changed = false;
    const Point3D oldStart = WireEnd1(orig), newStart = WireEnd1(work);
    if (oldStart.X != newStart.X || oldStart.Y != newStart.Y || oldStart.Z != newStart.Z) {
        changed = true;
        if (keepConnected) MovePoint(wires, count, oldStart, newStart);
    }
    const Point3D oldEnd = WireEnd2(orig), newEnd = WireEnd2(work);
    if (oldEnd.X != newEnd.X || oldEnd.Y != newEnd.Y || oldEnd.Z != newEnd.Z) {
        changed = true;
        if (keepConnected) MovePoint(wires, count, oldEnd, newEnd);
    }
    if (work.R != orig.R || work.Seg != orig.Seg) changed = true;
    if (changed) wires[index] = work;
    return changed;
}
