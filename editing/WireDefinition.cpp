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

Point3D KeptPointOf(const WireRec& w, int kept) {
    if (kept == KeepEnd) return WireEnd2(w);
    if (kept == KeepMiddle) return {(w.X1 + w.X2) / 2, (w.Y1 + w.Y2) / 2, (w.Z1 + w.Z2) / 2};
    return WireEnd1(w);
}

void PolarToCartesian(WireRec& work, const WireRec& orig, double length, double azimuth, double zenith, int kept) {
    const double rad = std::numbers::pi / 180.0;
    const double dx = length * std::sin(zenith * rad) * std::cos(azimuth * rad);
    const double dy = length * std::sin(zenith * rad) * std::sin(azimuth * rad);
    const double dz = length * std::cos(zenith * rad);
    const Point3D p = KeptPointOf(orig, kept);
    if (kept == KeepEnd) {
        work.X2 = p.X, work.Y2 = p.Y, work.Z2 = p.Z;
        work.X1 = p.X - dx, work.Y1 = p.Y - dy, work.Z1 = p.Z - dz;
    } else if (kept == KeepMiddle) {
        work.X1 = p.X - dx / 2, work.Y1 = p.Y - dy / 2, work.Z1 = p.Z - dz / 2;
        work.X2 = p.X + dx / 2, work.Y2 = p.Y + dy / 2, work.Z2 = p.Z + dz / 2;
    } else {
        work.X1 = p.X, work.Y1 = p.Y, work.Z1 = p.Z;
        work.X2 = p.X + dx, work.Y2 = p.Y + dy, work.Z2 = p.Z + dz;
    }
}

bool ApplyWireEdit(WireRec* wires, int count, int index, WireRec work, bool keepConnected) {
    if (!wires || index < 0 || index >= count) return false;
    const WireRec orig = wires[index];
    // A value the dialog left as it was keeps all its digits: rounding it
    // would move a wire end off the joint it shares. The radius is kept as
    // typed: six decimals of a metre would make a radius of 12.5 um 13 um,
    // and a taper key of such a radius no key.
    double WireRec::* const fields[] = {&WireRec::X1, &WireRec::Y1, &WireRec::Z1, &WireRec::X2,
                                        &WireRec::Y2, &WireRec::Z2, &WireRec::R};
    for (const auto field : fields) {
        double& v = work.*field;
        if (field != &WireRec::R && v != orig.*field) v = NormalizeDbl(v);
        if (!std::isfinite(v)) return false;
    }
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
