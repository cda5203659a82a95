#pragma once
// Rows the optimizer dialog makes by itself: the sizes and positions of every
// element ("All elements"), element rows of equal value tied together, and
// the coordinates, radii or load values of other wires and loads tied to a
// row when they equal (or mirror) it. No Qt: the one question the element
// rows ask goes through a callback.
#include <functional>

#include "optimizer/OptimizerState.h"

// Which sizes of an element become rows and how they cooperate, as the
// element variable box answers it once per "All elements" run.
struct ElementQuestion {
    bool Ask = true;
    bool UseY = true, UseZ = true, UseX = true;
    int CoopY = 0;  // 0 none, 1 with Z, 2 with X
    int CoopZ = 0;  // 0 none, 1 with Y, 2 with X
    int CoopX = 0;  // 0 none, 1 with Y, 2 with Z
};
// Shows the element variable box: the availability flags in and out, the
// cooperation choices out.
using AskElementSizes = std::function<void(ElementQuestion&)>;

// Rows for every element in the order base run, elements before the base,
// elements after it; then equal elements at the same position are linked.
// The caller empties the table first.
void AddAllElementRows(CACal& cal, const AskElementSizes& ask);
void AddElementRows(CACal& cal, int element, ElementQuestion& question, const AskElementSizes& ask);
// Ties `row` to `master`: the plain link when both values agree to 6
// decimals, else the factor link with their ratio.
void LinkRows(CACal& cal, int row, int master, double masterValue, double ownValue);
void LinkSameElements(CACal& cal);
// "Cooperation setting an element": later free element rows of the same
// size kind (width and height count as one) and equal value follow the first.
void LinkEqualElements(CACal& cal);
// "Automatic cooperation" on one wire or load row.
void AutoLinkRow(CACal& cal, int row);
void AutoLinkWires(CACal& cal, int row);
void AutoLinkLoads(CACal& cal, int row);
bool FindWireAtPoint(const CACal& cal, double x, double y, double z);
