#include "draw/Projection.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
constexpr double StartZoom = 22.0;
}  // namespace

ViewPoint ViewCentre;
bool ViewCentreOn = false;
double ViewZoom = StartZoom;
int ViewZoomRef = 0;

void ResetViewState() {
    ViewCentre = ViewPoint{};
    ViewCentreOn = false;
    ViewZoom = StartZoom;
    ViewZoomRef = 0;
}

void Project3D(double& xp, double& yp, double sinAz, double cosAz, double sinEl, double cosEl,
               double x, double y, double z) {
    xp = sinAz * x + cosAz * y;
    yp = (sinAz * y - cosAz * x) * sinEl + cosEl * z;
}

int ScreenRound(double v) {
    constexpr double limit = 1.0e8;
    if (!(v > -limit)) return static_cast<int>(-limit);  // also NaN
    if (v > limit) return static_cast<int>(limit);
    return static_cast<int>(std::lround(v));
}

ViewTransform ViewTransform::FromAngles(int cx, int cy, double azDeg, double elDeg, double scale, bool centreOn) {
    const double k = std::numbers::pi / 180.0;
    ViewTransform t;
    t.cx = cx;
    t.cy = cy;
    t.sinAz = std::sin(azDeg * k);
    t.cosAz = std::cos(azDeg * k);
    t.sinEl = std::sin(elDeg * k);
    t.cosEl = std::cos(elDeg * k);
    t.scale = scale;
    t.centreOn = centreOn;
    return t;
}

void ViewTransform::MapExact(double x, double y, double z, double& dx, double& dy) const {
    if (centreOn) {
        x -= ViewCentre.X;
        y -= ViewCentre.Y;
        z -= ViewCentre.Z;
    }
    Project3D(dx, dy, sinAz, cosAz, sinEl, cosEl, x, y, z);
    dx *= scale;
    dy *= scale;
}

void ViewTransform::Map(double x, double y, double z, int& px, int& py) const {
    double dx = 0.0, dy = 0.0;
    MapExact(x, y, z, dx, dy);
    px = cx + ScreenRound(dx);
    py = cy - ScreenRound(dy);
}

namespace {

struct Box {
    double lo[3], hi[3];
    void Add(double x, double y, double z) {
        const double v[3] = {x, y, z};
        for (int i = 0; i < 3; ++i) {
            lo[i] = std::min(lo[i], v[i]);
            hi[i] = std::max(hi[i], v[i]);
        }
    }
};

Box WireBox(const AntDef& ant, double start) {
    Box b{{start, start, start}, {-start, -start, -start}};
    const int n = std::clamp(ant.WireCount, 0, MaxWires);
    for (int i = 0; i < n; ++i) {
        const WireRec& w = ant.Wires[i];
        b.Add(w.X1, w.Y1, w.Z1);
        b.Add(w.X2, w.Y2, w.Z2);
    }
    return b;
}

}  // namespace

void CalcWireBounds(const AntDef& ant, double& x, double& y, double& z) {
    const Box b = WireBox(ant, 100000.0);
    x = (b.lo[0] + b.hi[0]) / 2;
    y = (b.lo[1] + b.hi[1]) / 2;
    z = (b.lo[2] + b.hi[2]) / 2;
}

double CalcViewScale(const AntDef& ant, int width, int height) {
    if (ant.WireCount <= 0 || width <= 0 || height <= 0) return 20.0;
    const Box b = WireBox(ant, 9999.0);
    const double mid[3] = {(b.lo[0] + b.hi[0]) / 2, (b.lo[1] + b.hi[1]) / 2, (b.lo[2] + b.hi[2]) / 2};
    ViewCentre = {mid[0], mid[1], mid[2]};
    double r = 0.0;
    for (int i = 0; i < 3; ++i) r = std::max(r, std::fabs(mid[i] - b.hi[i]));
    r = std::max(r, std::max(ant.hSpacing * (ant.nH - 1), ant.vSpacing * (ant.nV - 1)));
    if (!(r > 0.0)) return 20.0;
    return std::min(width, height) / r;
}
