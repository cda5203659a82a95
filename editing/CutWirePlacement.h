#pragma once
// A source or load on a wire that the wire editor cut into pieces stays at
// its point in space: its position is written again against the piece whose
// pulse stands there (a junction between pieces is a pulse too), or against
// the nearest pulse of the pieces when none stands there.
#include "engine/PulseLayout.h"
#include "model/TableRows.h"

#include <memory>
#include <vector>

struct CutWirePlacement {
    std::shared_ptr<const PulseLayout> Before, After;  // the antenna before and after the edit
    // Of each old wire: the new indices (from 0) of the pieces it was cut into.
    std::vector<std::vector<int>> Pieces;

    // The text naming the pulse of the pieces at the point where `text`
    // stood on the old wire; empty when that point is not known.
    WireRenumbering::Placement operator()(const char* text) const;
};

// A text that names pulse `index` (from 0) of a wire of `count` pulses: the
// shortest of "c", "b", "e" with an offset. `letter` is the "w" as typed.
std::string PulseOnWireText(char letter, int wire, int index, int count);
