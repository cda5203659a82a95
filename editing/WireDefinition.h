#pragma once
// One wire in cartesian and polar form: the point that stays in place when
// the length or the angles change, and writing the edited wire back into its
// table.
#include "model/AntDef.h"
#include "model/WireGeometry.h"

enum KeptPoint { KeepStart = 0, KeepEnd = 1, KeepMiddle = 2 };

// The kept point a wire suggests: the middle when it crosses a coordinate
// plane, else the end that lies on one (start first), else the start.
int PresetKeptPoint(const WireRec& w);
// Length (m), azimuth from +X towards +Y and zenith angle from +Z (degrees).
void CartesianToPolar(const WireRec& w, double& length, double& azimuth, double& zenith);
// The point of a wire that stays in place: its start, its end or its middle.
Point3D KeptPointOf(const WireRec& w, int kept);
// Sets the end points of `work` from the polar form around the kept point of
// `orig` (always the wire as it was passed in).
void PolarToCartesian(WireRec& work, const WireRec& orig, double length, double azimuth, double zenith, int kept);
// Rounds the edited end points (those that differ from the entry) to 6
// decimals, keeps the radius as typed and, when the wire differs from the
// table entry, writes it back (moving coincident ends of other wires with
// keepConnected). True when the table changed.
bool ApplyWireEdit(WireRec* wires, int count, int index, WireRec work, bool keepConnected);
