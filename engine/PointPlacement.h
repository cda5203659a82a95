#pragma once
// A source or load on a wire whose pulses an edit lays out anew stays at its
// point in space: the pulses are numbered wire by wire, a junction's pulse
// belongs to the later of its wires, and a wire segmented anew (the wire
// editor does so to the neighbours of what it changes) has its pulses
// elsewhere. The position is written again against the wire whose pulse
// stands there (a junction is a pulse of either wire), or against the
// nearest pulse of its own wire when none stands there. On a wire whose ends
// moved it keeps its place along the wire. A position that named no pulse
// names none after the edit.
#include "engine/PulseLayout.h"
#include "model/AntDef.h"
#include "model/TableRows.h"

#include <functional>
#include <string>

// LayOutPulses over `ground` instead of the environment's.
bool LayOutPulsesOver(const AntDef& ant, const LayoutGround& ground, PulseLayout& layout);

// The Place of `change` (see WireRenumbering) from the antenna after the edit
// and the wires before it. When the pulses of either antenna cannot be laid
// out, positions follow their wires' numbers, and those on a wire the edit
// may have laid out anew say that their point is not known.
std::function<PositionPlacement(const char*)> PlaceByPoint(const AntDef& after, const WireRenumbering& change);
// The same where more than the wires changed (a frequency, the segmentation,
// a taper set, the ground): `before` and `groundBefore` are what the layout
// read before the change, `before`'s wires those of `change`.
std::function<PositionPlacement(const char*)> PlaceByPoint(const AntDef& before, const LayoutGround& groundBefore,
                                                           const AntDef& after, const WireRenumbering& change);

// A position as the user set it: its text (typed, read from a file, or moved
// with its wire by an edit) and, where that named a pulse then, the wire
// (from 0) and the point it stood at. Every layout places it from here, never
// from where an earlier layout put it, so nothing drifts from layout to layout.
struct PositionAnchor {
    std::string Text;
    int Wire = -1;  // -1: the text named no pulse
    Point3D Point{};
};
// The anchor of `text` as it names a pulse of `layout`.
PositionAnchor AnchorOf(const PulseLayout& layout, const std::string& text);
// Where the anchored position stands in `layout` (of `ant`'s wires): its own
// text where that still names the pulse at its point, else the pulse there
// (a junction is a pulse of either wire), else the nearest of its wire.
PositionPlacement PlaceAnchor(const PulseLayout& layout, const AntDef& ant, const PositionAnchor& anchor);
// Its wire moved from `was` to `now`: the point keeps its place along it.
void CarryAnchor(PositionAnchor& anchor, const WireRec& was, const WireRec& now);
