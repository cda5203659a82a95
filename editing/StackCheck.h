#pragma once
// The checks of a stacking request against the antenna definition's limits
// and against the antenna's own extent.
#include "model/AntDef.h"

enum class StackVerdict {
    Ok,
    BadCount,        // a count below 1: refused without a message
    TooManyWires,    // message 0
    TooManySources,  // message 1
    TooManyLoads,    // message 2
    BadSpacing,      // a spacing of 0 or below: refused without a message
    Overlap,         // message 3
};

// Extent (max - min) of all wire ends in Z and in Y; 0 without wires.
void GetAntennaExtent(const AntDef& ant, double& zExtent, double& yExtent);
StackVerdict CheckStack(const AntDef& ant, int nH, int nV, double hSpacing, double vSpacing);
