#pragma once
// The information block of one wire in the lower right corner of the antenna
// view: its number, ends, radius, length, azimuth and tilt from +Z.
#include "model/AntDef.h"
#include "model/ScreenClip.h"

#include <string>
#include <vector>

class Canvas;

// The block of wire `index` (0-based) of the antenna; nothing for an index
// out of range. Returns where the block lies (empty for none).
ScreenRect DrawDimension(Canvas& c, const AntDef& ant, int index);
// The lines of the block of a wire record shown as wire number index + 1.
std::vector<std::string> WireInfoLines(const WireRec& w, int index);
// The block of a wire record shown as wire number index + 1.
ScreenRect DrawDimensionText(Canvas& c, const WireRec& w, int index);
