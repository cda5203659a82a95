#pragma once
// The element picture of the element table: every element's wires at the
// element's place relative to the base element (drawn at X offset 0, red),
// the wire under the mouse, and the information block of a selected wire.
#include "draw/Projection.h"

#include <functional>

class Canvas;
struct ElementVariables;
class CWGroupList;

// Visits the live wires in drawing order: from the base element down to the
// first, then from the one after the base up to the last; `dx` is the X
// shift of the element's wires (the accumulated gaps, negative below the base).
void ForEachElementWire(const CWGroupList& groups, const std::function<void(int wire, int element, double dx)>& visit);

// The wires as lines; the base element red, the others black, the selected
// wire 2 pixels wider. With `vars` (pick mode) a wire is red when it already
// is an optimizer variable and black otherwise.
void DrawElementWires(Canvas& c, const CWGroupList& groups, const ViewTransform& t, int selected, int penWidth,
                      const ElementVariables* vars);

// The wire within 8 pixels of (x, y), the nearest in whole pixels and at equal
// distance the first drawn; -1 when none.
int PickElementWire(const CWGroupList& groups, const ViewTransform& t, int x, int y);

// The information block of a working wire at its real place on the boom;
// nothing for a wire in no element.
void DrawDimensionGrp(Canvas& c, const CWGroupList& groups, int wire);
