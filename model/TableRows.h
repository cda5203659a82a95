#pragma once
// Deleting and inserting rows of the wire, source and load tables. Rows are
// 1-based as the tables show them; the row below the last entry is the
// table's empty row and takes neither command.
#include "model/AntDef.h"

#include <string>
#include <vector>

enum class EditTable { Wires, Sources, Loads };

// What an edit of the wire table did to the wires that were there before it:
// the new number (from 1) of each old wire, 0 for a deleted one; and where
// each old wire's pulses began at the last preparation (0 when not known).
struct WireRenumbering {
    std::vector<int> NewNumber;
    std::vector<int> FirstPulse;
    // Every wire of `before` keeps its number.
    explicit WireRenumbering(const AntDef& before);
};

// Sources and loads are placed by wire number, so every deletion and
// insertion of wires goes through here: a source or load on a wire that
// moved moves with it (the rest of its position text kept), one on a deleted
// wire is removed. Returns a line for the log for each removed entry and for
// each entry given as a plain pulse number whose pulse moved.
std::vector<std::string> FollowWireRenumbering(AntDef& ant, const WireRenumbering& change);

// Insertion stops one entry short of each table's capacity: the last entry
// is reached only by typing into the empty row.
int InsertLimit(EditTable table);

// Removes entry `row`; the entries below move up and the freed last slot is
// cleared. False (nothing changed) when the row holds no entry. A wire takes
// its sources and loads along (FollowWireRenumbering); the log lines that
// gives go to `notes`.
bool DeleteTableEntry(AntDef& ant, EditTable table, int row, std::vector<std::string>* notes = nullptr);

// Opens a cleared entry at `row`, moving it and the entries below down one.
// A new wire has all coordinates 0 and the radius and segmentation of the
// wire above it (at the top, of the wire below it); a new load is an LC load
// with all coefficients 0. False (nothing changed) when the row holds no
// entry or the table is at its insertion limit. Sources and loads on the
// wires below move down with them.
bool InsertTableEntry(AntDef& ant, EditTable table, int row, std::vector<std::string>* notes = nullptr);
