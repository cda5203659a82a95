#pragma once
// Screen hit tests of the wire views, in pixels.
#include <cstdint>

struct ScreenPoint {
    int32_t x, y;
};

// True when p lies within the rectangle of corners c1 and c2, edges
// included, whichever order the corners come in.
bool PointInRect(ScreenPoint p, ScreenPoint c1, ScreenPoint c2);
// PointInRect with the square centre +- t.
bool PointNearPoint(ScreenPoint p, ScreenPoint centre, int t);
// 1 near a, 2 near b, 3 near the line between them, 0 miss. The ends are
// put in order of x (in the caller's variables too).
int HitTestSegment(ScreenPoint p, ScreenPoint& a, ScreenPoint& b, int t);
// HitTestSegment with a tight end test and a looser line test.
int HitTestLine(ScreenPoint p, ScreenPoint a, ScreenPoint b);
// Keeps screen coordinates within what the drawing layer takes.
void ClampToGdi(int& x, int& y);
void ClampToGdi(double& x, double& y);
