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
    length = std::sqrt(v.X * v.X + v.Y * v.Y + v.Z * v.Z);
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
    const Point3D old1 = WireEnd1(oldWire), old2 = WireEnd2(oldWire);
    const Point3D new1 = WireEnd1(newWire), new2 = WireEnd2(newWire);
    if (!SamePoint(old1, new1)) MovePoint(wires, count, old1, new1);
    if (!SamePoint(old2, new2)) MovePoint(wires, count, old2, new2);
}
