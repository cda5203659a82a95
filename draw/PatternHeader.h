#pragma once
// The summary lines of the newest result above the pattern plots: gain and
// polarization, F/B with the rear sector, frequency, impedance, SWR, elevation
// and ground, and the elevation of the horizontal cut when it differs.
#include "model/ScreenClip.h"

#include <string>
#include <vector>

class CResult;
class Canvas;

// The lines in order; empty when the store holds no row.
std::vector<std::string> PatternHeaderLines(const CResult& res);
// Draws them from (x, y) down, one text height apart, on a transparent
// background; returns where they lie (empty at (x, y) without lines).
ScreenRect PrintPatternHeader(Canvas& c, int x, int y);
// Width and height of the lines as PrintPatternHeader draws them.
void PatternHeaderSize(Canvas& c, int& width, int& height);
