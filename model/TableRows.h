#pragma once
// Deleting and inserting rows of the wire, source and load tables. Rows are
// 1-based as the tables show them; the row below the last entry is the
// table's empty row and takes neither command.
#include "model/AntDef.h"

enum class EditTable { Wires, Sources, Loads };

// Insertion stops one entry short of each table's capacity: the last entry
// is reached only by typing into the empty row.
int InsertLimit(EditTable table);

// Removes entry `row`; the entries below move up and the freed last slot is
// cleared. False (nothing changed) when the row holds no entry.
bool DeleteTableEntry(AntDef& ant, EditTable table, int row);

// Opens a cleared entry at `row`, moving it and the entries below down one.
// A new wire has all coordinates 0 and the radius and segmentation of the
// wire above it (at the top, of the wire below it); a new load is an LC load
// with all coefficients 0. False (nothing changed) when the row holds no
// entry or the table is at its insertion limit.
bool InsertTableEntry(AntDef& ant, EditTable table, int row);
