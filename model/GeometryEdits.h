#pragma once
// Edits of the whole antenna that need no dialog: exchange of two axes,
// rounding of the values as the tables show them, exchange of a wire's ends
// and moving a source along its wire.
#include "model/AntDef.h"

// Which two axes change places at every wire end.
enum AxisExchange : int { ExchangeXY = 1, ExchangeXZ = 2, ExchangeYZ = 3 };

// Exchanges the two coordinates at both ends of every wire; any other value
// changes nothing. Applying the same exchange twice restores the antenna.
void ExchangeAxes(AntDef& ant, int which);

// Rounds every wire coordinate to `digits` decimals in the unit the wire
// table shows (metres or wavelengths); with `radii` also every radius above
// 0 (in millimetres when the table shows metres). Negative radii are keys of
// tapered wire sets and stay as they are. Non-zero load coefficients are
// rounded to `digits` decimals.
void RoundAntennaValues(AntDef& ant, int digits, bool radii);

// End 1 and end 2 change places; radius and segmentation stay.
void ExchangeWireEnds(WireRec& wire);

// Moves the first source placed on wire `wire` (1-based) to the begin, centre
// or end of it: the letter after the wire number becomes `letter`
// ('b', 'c' or 'e') and an offset after it is kept; a wire named without a
// letter ("w3", its centre) takes the letter. A plain pulse number names no
// wire and is passed over. False when no source was moved.
bool MoveWireSource(AntDef& ant, int wire, char letter);
