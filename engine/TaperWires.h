#pragma once
// Tapered wires: a wire whose negative radius names a TaperSet is cut into
// sections of constant radius, each a wire record of its own.
#include "model/AntDef.h"

// At most this many sections per wire (the symmetric layout: 2 x 10 + 1).
constexpr int MaxTaperWireSections = 2 * MaxTaperSections + 1;

// Len[0] + 2 (Len[1] + ... + Len[k]): the length the centre section and k
// pairs cover in the symmetric layout; 1e20 when one of Len[1..k] is 0.
double TaperSetSpan(const TaperSet& set, int k);

// Fills the sections of one wire (ends, radius and segmentation code; the
// other fields copied from the wire) and returns their count, at least 1.
int TaperSections(WireRec (&sections)[MaxTaperWireSections], const AntDef& ant, const TaperSet& set,
                  const WireRec& wire);

// Expands every section of the wire in order, with the user wire's index.
void ExpandTaperWire(AntDef& ant, const TaperSet& set, int wireIndex, const WireRec& wire);
