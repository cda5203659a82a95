#pragma once
// Geometry of single wires: length, direction, angles, and moving wire ends
// so that connected wires stay connected.
#include "model/AntDef.h"

struct Point3D {
    double X, Y, Z;
};

inline Point3D WireEnd1(const WireRec& w) { return {w.X1, w.Y1, w.Z1}; }
inline Point3D WireEnd2(const WireRec& w) { return {w.X2, w.Y2, w.Z2}; }
// The same end points, exactly.
inline bool SameWireEnds(const WireRec& a, const WireRec& b) {
    return a.X1 == b.X1 && a.Y1 == b.Y1 && a.Z1 == b.Z1 && a.X2 == b.X2 && a.Y2 == b.Y2 && a.Z2 == b.Z2;
}
// The same wire as typed: ends, radius (or taper key) and segmentation, so
// its pulses stand in the same places.
inline bool SameWireAsTyped(const WireRec& a, const WireRec& b) {
    return SameWireEnds(a, b) && a.R == b.R && a.Seg == b.Seg;
}

// Distance between the two ends.
double WireLength(const WireRec& w);
// End 2 minus end 1 (not normalised) and its length.
void WireVector(Point3D& v, const Point3D& end1, const Point3D& end2, double& length);

// atan2(y, x) in degrees, -180..180.
double ArcTan2Deg(double x, double y);
// Length, azimuth of the horizontal projection (from +X toward +Y) and tilt
// from the +Z axis (0 straight up, 90 horizontal, 180 straight down).
void WireLenAzEl(double& length, double& azimuth, double& tilt, const WireRec& w);
// coord x (a2 - b2) / (a1 - b1); unchanged when a1 equals b1.
void ScaleCoord(double& coord, double a1, double b1, double a2, double b2);

// When end 1 equals p exactly it becomes q; otherwise the same for end 2.
void ReplacePoint(WireRec& w, const Point3D& p, const Point3D& q);
// ReplacePoint on every wire of the table.
void MovePoint(WireRec* wires, int count, const Point3D& p, const Point3D& q);
// Carries the ends that changed from oldWire to newWire over to every wire
// of the table that shared them.
void MoveWireEnds(WireRec* wires, int count, const WireRec& newWire, const WireRec& oldWire);
