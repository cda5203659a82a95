#pragma once
// The summary lines of the newest result above the pattern plots: gain and
// polarization, F/B with the rear sector, frequency, impedance, SWR, elevation
// and ground, and the elevation of the horizontal cut when it differs.
#include <string>
#include <vector>

class CResult;
class Canvas;

// The lines in order; empty when the store holds no row.
std::vector<std::string> PatternHeaderLines(const CResult& res);
// Draws them from (x, y) down, one text height apart, on a transparent background.
void PrintPatternHeader(Canvas& c, int x, int y);
