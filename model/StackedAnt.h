#pragma once
// Stacking: the antenna repeated nH times side by side (along Y) and nV times
// one above the other (along Z). Copy c = m * nH + k is the k-th copy in layer
// m; its wires start at c * W, and the sources and loads of every copy name
// the wires of that copy. Source voltages are shared out over the copies.
#include "model/AntDef.h"

#include <string>

// Effective stacking counts: a count below 1 counts as 1.
int StackCountH(const AntDef& ant);
int StackCountV(const AntDef& ant);

// True when a stack of nH x nV copies can ever fit the record: both counts
// at least 1 and no more copies than wires allowed.
bool StackCountsFit(int nH, int nV);

// Fills `out` with the stacked copy of `src` and notes its copies in
// StackCopies: a source or load then names a wire or pulse of its own copy
// only (see ResolvePositions), so one that names no wire of the antenna is
// ignored in every copy, as it is without a stack. Refuses a stack that would not
// fit the record (wires, sources or loads) or whose copies would lie on one
// another (a spacing of 0) with a message, leaving `out` unchanged.
bool BuildStackedAntenna(const AntDef& src, AntDef& out, std::string& error);

// Shifts the wire reference of a position text by offset wires: "w1c" with 4
// gives "w5c"; a plain pulse number (which each copy counts in its own
// pulses) and a text that names nothing stay. Nothing for offset 0.
void RenumberWireRef(char* pos, std::size_t size, int offset);
template <std::size_t N>
inline void RenumberWireRef(char (&pos)[N], int offset) { RenumberWireRef(pos, N, offset); }
