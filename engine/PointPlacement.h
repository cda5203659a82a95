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
