#include "model/ScreenHitTest.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr int GdiLimit = 32000;
constexpr int EndTolerance = 4;
constexpr int LineTolerance = 10;

}  // namespace

bool PointInRect(ScreenPoint p, ScreenPoint c1, ScreenPoint c2) {
    return p.x >= std::min(c1.x, c2.x) && p.x <= std::max(c1.x, c2.x) && p.y >= std::min(c1.y, c2.y) &&
           p.y <= std::max(c1.y, c2.y);
}

bool PointNearPoint(ScreenPoint p, ScreenPoint centre, int t) {
    // 64-bit sums: the corners must not wrap for points near the int limits.
    const int64_t x = p.x, y = p.y, cx = centre.x, cy = centre.y;
    return x >= cx - t && x <= cx + t && y >= cy - t && y <= cy + t;
}

int HitTestSegment(ScreenPoint p, ScreenPoint& a, ScreenPoint& b, int t) {
    if (PointNearPoint(p, a, t)) return 1;
    if (PointNearPoint(p, b, t)) return 2;
    if (b.x < a.x) std::swap(a, b);
    const double px = p.x, py = p.y, ax = a.x, ay = a.y, bx = b.x, by = b.y;
    if (ax - t > px || px > bx + t) return 0;
    if (a.x != b.x) {
        const double slope = (by - ay) / (bx - ax);
        const double y = std::trunc(ay + (px - ax) * slope);
        double tolerance = t;
        if (std::fabs(slope) >= 1) tolerance = std::trunc(t * std::fabs(slope));
        return (y - tolerance <= py && py < y + tolerance) ? 3 : 0;
    }
    return (py > std::min(ay, by) && py < std::max(ay, by)) ? 3 : 0;
}

int HitTestLine(ScreenPoint p, ScreenPoint a, ScreenPoint b) {
    const int nearEnd = HitTestSegment(p, a, b, EndTolerance);
    if (nearEnd == 1 || nearEnd == 2) return nearEnd;
    return HitTestSegment(p, a, b, LineTolerance) != 0 ? 3 : 0;
}

void ClampToGdi(int& x, int& y) {
    x = std::clamp(x, -GdiLimit, GdiLimit);
    y = std::clamp(y, -GdiLimit, GdiLimit);
}

void ClampToGdi(double& x, double& y) {
    // NaN (a degenerate projection) goes to the origin rather than through.
    x = std::isnan(x) ? 0.0 : std::clamp(x, double(-GdiLimit), double(GdiLimit));
    y = std::isnan(y) ? 0.0 : std::clamp(y, double(-GdiLimit), double(GdiLimit));
}
