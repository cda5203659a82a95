#pragma once
// Clipping of screen line segments to a rectangle, shared by the charts and
// the wire views of the geometry editors.
#include <cstdint>

// Edges included: a point on the right or bottom edge lies inside.
struct ScreenRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
};

// Clips the segment in place to the part inside the rectangle and returns
// true, or returns false and leaves the coordinates alone when no part of it
// lies inside (also for a segment that passes outside a corner). The ends are
// moved along the segment against the left, right, top and bottom edge in
// turn; the int form writes the result back truncated.
bool ClipLineToRect(const ScreenRect& r, int& x1, int& y1, int& x2, int& y2);
bool ClipLineToRect(const ScreenRect& r, double& x1, double& y1, double& x2, double& y2);
