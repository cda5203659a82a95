#include "model/ScreenClip.h"

#include <algorithm>
#include <cmath>

namespace {

// Interpolation leaves ends a rounding error beyond an edge they were moved onto.
constexpr double EdgeTolerance = 1e-6;

// Moves the end (a, b) onto the edge a = edge along the line through it and
// the other end; across an edge parallel to the line the other end's b is taken.
void MoveOntoEdge(double& a, double& b, double otherA, double otherB, double edge) {
    if (otherA != a)
        b = b + (otherB - b) * (edge - a) / (otherA - a);
    else
        b = otherB;
    a = edge;
}

}  // namespace

bool ClipLineToRect(const ScreenRect& r, double& x1, double& y1, double& x2, double& y2) {
    if (!std::isfinite(x1) || !std::isfinite(y1) || !std::isfinite(x2) || !std::isfinite(y2)) return false;
    if (r.Left > r.Right || r.Top > r.Bottom) return false;
    const double left = r.Left, right = r.Right, top = r.Top, bottom = r.Bottom;
    if ((x1 < left && x2 < left) || (x1 > right && x2 > right) || (y1 < top && y2 < top) ||
        (y1 > bottom && y2 > bottom))
        return false;
    double ax = x1, ay = y1, bx = x2, by = y2;
    if (ax < left) MoveOntoEdge(ax, ay, bx, by, left);
    if (bx < left) MoveOntoEdge(bx, by, ax, ay, left);
    if (ax > right) MoveOntoEdge(ax, ay, bx, by, right);
    if (bx > right) MoveOntoEdge(bx, by, ax, ay, right);
    if (ay < top) MoveOntoEdge(ay, ax, by, bx, top);
    if (by < top) MoveOntoEdge(by, bx, ay, ax, top);
    if (ay > bottom) MoveOntoEdge(ay, ax, by, bx, bottom);
    if (by > bottom) MoveOntoEdge(by, bx, ay, ax, bottom);
    // A segment that misses the rectangle near a corner still has an end
    // outside after the four cuts; drawing it would mark the margin.
    auto outside = [&](double x, double y) {
        return x < left - EdgeTolerance || x > right + EdgeTolerance || y < top - EdgeTolerance ||
               y > bottom + EdgeTolerance;
    };
    if (outside(ax, ay) || outside(bx, by)) return false;
    x1 = std::clamp(ax, left, right);
    y1 = std::clamp(ay, top, bottom);
    x2 = std::clamp(bx, left, right);
    y2 = std::clamp(by, top, bottom);
    return true;
}

bool ClipLineToRect(const ScreenRect& r, int& x1, int& y1, int& x2, int& y2) {
    double ax = x1, ay = y1, bx = x2, by = y2;
    if (!ClipLineToRect(r, ax, ay, bx, by)) return false;
    x1 = static_cast<int>(std::trunc(ax));
    y1 = static_cast<int>(std::trunc(ay));
    x2 = static_cast<int>(std::trunc(bx));
    y2 = static_cast<int>(std::trunc(by));
    return true;
}
