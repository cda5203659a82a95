#include "model/WireGeometry.h"

#include <cmath>
#include <numbers>

namespace {

bool SamePoint(const Point3D& a, const Point3D& b) { return a.X == b.X && a.Y == b.Y && a.Z == b.Z; }

}  // namespace

double WireLength(const WireRec& w) {
    Point3D v;
    double length;
    WireVector(v, WireEnd1(w), WireEnd2(w), length);
    return length;
}

void WireVector(Point3D& v, const Point3D& end1, const Point3D& end2, double& length) {
    v = {end2.X - end1.X, end2.Y - end1.Y, end2.Z - end1.Z};
    // Without squares, which overflow for wires far shorter than the largest
    // coordinate a file holds.
    length = std::hypot(v.X, v.Y, v.Z);
}

double ArcTan2Deg(double x, double y) { return std::atan2(y, x) * 180.0 / std::numbers::pi; }

void WireLenAzEl(double& length, double& azimuth, double& tilt, const WireRec& w) {
    const double dx = w.X2 - w.X1, dy = w.Y2 - w.Y1, dz = w.Z2 - w.Z1;
    const double h = std::hypot(dx, dy);
    length = std::hypot(h, dz);
    azimuth = ArcTan2Deg(dx, dy);
    tilt = ArcTan2Deg(dz, h);
}

void ScaleCoord(double& coord, double a1, double b1, double a2, double b2) {
    if (a1 == b1) return;  // no reference length: nothing to scale by
    coord = coord * (a2 - b2) / (a1 - b1);
}

void ReplacePoint(WireRec& w, const Point3D& p, const Point3D& q) {
    if (SamePoint(WireEnd1(w), p)) {
        w.X1 = q.X;
        w.Y1 = q.Y;
        w.Z1 = q.Z;
    } else if (SamePoint(WireEnd2(w), p)) {
        w.X2 = q.X;
        w.Y2 = q.Y;
        w.Z2 = q.Z;
    }
}

void MovePoint(WireRec* wires, int count, const Point3D& p, const Point3D& q) {
    for (int i = 0; i < count; ++i) ReplacePoint(wires[i], p, q);
}

void MoveWireEnds(WireRec* wires, int count, const WireRec& newWire, const WireRec& oldWire) {
    // Copies first: newWire or oldWire may be an entry of the table itself.
    const Point3D from[2] = {WireEnd1(oldWire), WireEnd2(oldWire)};
    const Point3D to[2] = {WireEnd1(newWire), WireEnd2(newWire)};
    // Both ends move at once, each wire judged by where its ends were: one
    // after the other, a wire carried to the new end 1 would be carried on
    // when that is where end 2 was.
    for (int i = 0; i < count; ++i) {
        Point3D ends[2] = {WireEnd1(wires[i]), WireEnd2(wires[i])};
        bool moved[2] = {false, false};
        for (int k = 0; k < 2; ++k) {
            if (SamePoint(from[k], to[k])) continue;
            for (int e = 0; e < 2; ++e) {
                if (moved[e] || !SamePoint(ends[e], from[k])) continue;
                ends[e] = to[k];
                moved[e] = true;
                break;
            }
        }
        wires[i].X1 = ends[0].X, wires[i].Y1 = ends[0].Y, wires[i].Z1 = ends[0].Z;
        wires[i].X2 = ends[1].X, wires[i].Y2 = ends[1].Y, wires[i].Z2 = ends[1].Z;
    }
}
