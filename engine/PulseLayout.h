#pragma once
// Where the pulses of an antenna will stand, numbered as the model
// preparation numbers them, worked out on a copy without touching the
// engine's state: the copy's grounded wires are turned round and its wires
// expanded as the preparation does, and pieces are joined by the same rule.
// A piece's pulses are kept as a run, not one by one, so that a wire of any
// segment count is laid out in the time and memory of its pieces.
#include "engine/EngineState.h"
#include "model/AntDef.h"
#include "model/WireGeometry.h"

#include <memory>
#include <optional>
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

// Where p lies along the line from a to b, projected onto it: 0 at a, 1 at
// b (0 when a and b are one point); and the point at fraction t.
double FractionAlong(const Point3D& a, const Point3D& b, const Point3D& p);
Point3D PointAlong(const Point3D& a, const Point3D& b, double t);

// The pulses of one piece: they stand at A + k / Segs * (B - A) for k from
// FirstK to LastK, and are the pulses FirstIndex.. (from 0) of their wire.
struct PulseRun {
    int Wire = 0;  // from 0
    Point3D A{}, B{};
    int Segs = 1;
    int FirstK = 0, LastK = -1;
    long long FirstIndex = 0;

    long long Count() const { return static_cast<long long>(LastK) - FirstK + 1; }
    Point3D PointAt(long long k) const;
    // The run's pulse (its k) nearest to p; the earlier one of two as near.
    long long NearestK(const Point3D& p) const;
};

struct PulseLayout {
    std::vector<PulseRun> Runs;           // in the order the pulses are numbered
    std::vector<long long> WirePulses;    // each wire's pulse count
    std::vector<bool> Turned;             // each wire: turned round as the preparation will

    // Pulse `index` (from 0) of wire `wire` (from 0); none beyond its pulses.
    std::optional<Point3D> PointOnWire(int wire, long long index) const;
    // The pulse (from 0) of wire `wire` that a position text names on the
    // wire as typed, in the numbering of the preparation (which on a turned
    // wire counts from the other end); -1 for none.
    long long IndexNamed(const char* text, int wire) const;
    // The point a position text names ("w3c", not a plain pulse number).
    std::optional<Point3D> PointNamed(const char* text) const;
};

// Lays out the pulses of `ant` over the ground of EnvDef. False when the
// expansion refuses the antenna: then nothing is known.
bool LayOutPulses(const AntDef& ant, PulseLayout& layout);

// The ground LayOutPulses lays the pulses out over, as EnvDef gives it:
// whether there is one (a wire end on it has a pulse) and the added height
// (which decides the ends on it, over any ground, for the turn as well).
struct LayoutGround {
    bool Over = false;
    double Height = 0;
    bool operator==(const LayoutGround&) const = default;
};
LayoutGround GroundOfLayout();

// The frequency the pulses are laid out at, MHz: the calculation frequency,
// or the design frequency where none is set.
double LayoutFrequency(const AntDef& ant);
// A record holding only what LayOutPulses reads of `ant` (the wires, the
// frequencies, the segmentation fields, the taper sets); the rest is zero.
std::unique_ptr<AntDef> LayoutFieldsOf(const AntDef& ant);
// The pulses of `a` and `b` stand alike over the same ground: they read the
// same wires as typed, frequency, segmentation fields and taper sets.
bool SameLayoutFields(const AntDef& a, const AntDef& b);
