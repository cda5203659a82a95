#pragma once
// One row of the currents table: the current of one pulse at its point.
// Row p - 1 holds pulse p.
#include <cstdint>

struct PulseCurrentRec {
    int32_t Valid;
    int32_t Wire;        // 1-based user wire
    float X, Y, Z;       // m, with the added height
    float Re, Im, Mag;   // A
    float Phase;         // degrees
};
