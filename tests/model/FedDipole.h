#pragma once
// The antenna most tests start from: one wire, fed with 1 V at its centre.
#include "model/AntDef.h"

// Makes the record's wires and sources that dipole; the rest stays.
inline void MakeFedDipole(AntDef& a, const WireRec& wire) {
    a.WireCount = 1;
    a.Wires[0] = wire;
    a.SourceCount = 1;
    a.Sources[0] = SourceRec{};
    CopyText(a.Sources[0].Pos, "w1c");
    a.Sources[0].Voltage = 1.0;
}
