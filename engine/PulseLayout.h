#pragma once
// Where the pulses of an antenna will stand, numbered as the model
// preparation numbers them, worked out on a copy without touching the
// engine's state: the copy's grounded wires are turned round and its wires
// expanded as the preparation does, and pieces are joined by the same rule.
#include "engine/EngineState.h"
#include "model/AntDef.h"
#include "model/WireGeometry.h"

#include <memory>
#include <vector>

// The end of an earlier piece that a piece end meets exactly: the piece
// (from 1; 0 when none) and its end (0 the first, 1 the second).
struct PieceJoin {
    int Piece = 0;
    int End = 0;
};

// The earlier piece (1 .. w-1) with an end exactly at p. For the first end of
// piece w each earlier piece's first end is tried before its second, for the
// second end of w the other way round: the pulse numbering joins that way.
template <class Ends>
PieceJoin FindEarlierJoin(const Ends& ends, int w, const Point3F& p, int endOfW) {
    for (int v = 1; v < w; ++v) {
        const PieceEnds& q = ends[v];
        const bool atFirst = p.X == q.X1 && p.Y == q.Y1 && p.Z == q.Z1;
        const bool atSecond = p.X == q.X2 && p.Y == q.Y2 && p.Z == q.Z2;
        if (endOfW == 0 ? atFirst : atSecond) return {v, endOfW};
        if (endOfW == 0 ? atSecond : atFirst) return {v, 1 - endOfW};
    }
    return {};
}

// The end of a piece that rests on the ground (Z 0, the added height
// included): 0 the first, 1 the second, -1 neither. The first end wins.
inline int GroundContactEnd(const Point3F& a, const Point3F& b) {
    if (a.Z == 0.0f) return 0;
    if (b.Z == 0.0f) return 1;
    return -1;
}

struct PulseLayout {
    // The copy: turned round and expanded, with every wire's FirstPulse and
    // PulseCount as the preparation will set them.
    std::unique_ptr<AntDef> Ant;
    std::vector<Point3D> Points;  // pulse p stands at Points[p - 1], without the added height
    std::vector<int> WireOfPulse;  // the wire (from 0) pulse p belongs to, at [p - 1]
    std::vector<bool> Turned;      // each wire: turned round in the copy
};

// Lays out the pulses of `ant` over the ground of EnvDef. False when the
// expansion refuses the antenna, or it has more pulses than the preparation
// takes (MaxPulseLimit): then nothing is known.
bool LayOutPulses(const AntDef& ant, PulseLayout& layout);
