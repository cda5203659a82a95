#pragma once
// A source or load on a wire that an edit renumbers or cuts into pieces
// stays at its point in space: the pulses are numbered wire by wire, and a
// junction's pulse belongs to the later of its wires, so renumbering one
// wire moves the pulses of its neighbours too. The position is written
// again against the wire whose pulse stands there (a junction is a pulse of
// either wire), or against the nearest pulse of its own wire when none
// stands there. A position that named no pulse names none after the edit.
#include "model/AntDef.h"
#include "model/TableRows.h"

#include <functional>

// The Place of `change` (see WireRenumbering) from the antenna after the edit
// and the wires before it; empty when the pulses of either antenna cannot be
// laid out (the preparation that follows the edit says why).
std::function<PositionPlacement(const char*)> PlaceByPoint(const AntDef& after, const WireRenumbering& change);
