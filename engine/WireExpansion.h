#pragma once
// The wire expansion: user wires (WireRec) become the wire pieces
// (ExpWireRec) that the pulse numbering, the matrix fill and the drawing of
// currents work on. A piece has equal segments; a wire becomes one piece,
// several graded pieces, or one group of pieces per section of its tapered
// wire set.
#include "model/AntDef.h"
#include "model/WireGeometry.h"

#include <vector>

// Rebuilds the piece table and LowestZ from the wires and clears every
// wire's FirstPulse and PulseCount. Returns 1 when the model can be
// calculated, 0 when it must be refused: the piece table overflowed, a
// negative radius names no tapered wire set, a piece has an unusable radius
// or the segmentation settings are unusable. The reasons are logged; the
// first one is also shown as a notice, once per call.
int ExpandWires(AntDef& ant);

// Expands one wire (or one section of a tapered wire) by its segmentation
// code. Throws EngineError when the settings that code needs are unusable.
void ExpandWire(AntDef& ant, int wireIndex, const WireRec& wire);

// Appends one piece; a piece beyond the table's 4096 is dropped (and
// counted, so that ExpandWires refuses the model).
void AddWirePiece(AntDef& ant, double x1, double y1, double z1, double x2, double y2, double z2, double r,
                  int segs, int wireIndex);
inline void AddWirePiece(AntDef& ant, const Point3D& a, const Point3D& b, double r, int segs, int wireIndex) {
    AddWirePiece(ant, a.X, a.Y, a.Z, b.X, b.Y, b.Z, r, segs, wireIndex);
}

// Turns round every wire whose end 2 lies exactly on the ground (Z plus the
// added height) while its end 1 does not, so that a grounded end is always
// end 1: exchanges the ends and the codes -2 and -3. The positions of the
// sources and loads on it keep their pulse where its pulse count is given
// (`wirePulses`, from a layout of the antenna as it stands); elsewhere "b"
// and "e" are exchanged, which keeps only counts from an end. Returns the
// indices of the wires turned round.
std::vector<int> NormalizeGroundedWires(AntDef& ant, const std::vector<long long>& wirePulses = {});
// The turn alone: the wires' ends and codes, no position (the window passes
// those through the place that keeps positions). Returns the same indices.
std::vector<int> TurnGroundedWires(AntDef& ant);
// True when NormalizeGroundedWires would turn a wire of `ant`.
bool HasWireToTurn(const AntDef& ant);

// In a position text "w<digits><letter>...", exchanges b and e (keeping the
// case) when the text names wire `wireNo` (1-based; "w0" and "w" name wire 1,
// as the resolution of positions reads them).
void SwapPositionEnd(char (&pos)[PosTextSize], int wireNo);

// The pulses of a turned wire are numbered from its other end: a source or
// load given as a plain pulse number on such a wire is moved to the number
// its pulse has now, so it stays on the same physical pulse. `prepared` is
// the antenna as last prepared (after the turn; the pulse range of a wire
// does not change when it is turned). Returns true when a position changed.
bool KeepPulseNumbersOnTurnedWires(AntDef& ant, const AntDef& prepared, const std::vector<int>& turned);
