#include "editing/WireCadView.h"

#include "draw/Projection.h"
#include "model/NumberText.h"

#include <algorithm>
#include <cmath>
#include <numbers>

double TableStepAtLeast(double t, double unit, bool strictlyAbove) {
    for (int entry : GridStepTable) {
        const double v = entry * unit;
        if (strictlyAbove ? v > t : v >= t) return NormalizeDbl(v);
    }
    return NormalizeDbl(GridStepTable[std::size(GridStepTable) - 1] * unit);
}

double AutoGridStepFor(int width, double scale) { return TableStepAtLeast(width / (scale * 100.0), 0.01, false); }

double ScaleBarLength(int width, double scale) { return TableStepAtLeast(width / (8.0 * scale), 0.001, true); }

void WireCadView::SetAngles(double azimuthDeg, double elevationDeg) {
    const double k = std::numbers::pi / 180.0;
    SinAz = std::sin(azimuthDeg * k);
    CosAz = std::cos(azimuthDeg * k);
    SinEl = std::sin(elevationDeg * k);
    CosEl = std::cos(elevationDeg * k);
}

void WireCadView::UpdateOrigin() {
    OriginX = W / 2 + ScreenRound(OffA * Scale);
    OriginY = H / 2 + ScreenRound(OffB * Scale);
}

Point2D WireCadView::ToPage(const Point3D& p) const {
    if (Page == PageAll) {
        Point2D r{};
        Project3D(r.a, r.b, SinAz, CosAz, SinEl, CosEl, p.X, p.Y, p.Z);
        return r;
    }
    const PageAxes ax = AxesOf(Page);
    return {Coord(p, ax.a), Coord(p, ax.b)};
}

void WireCadView::ToScreen(const Point2D& p, int& x, int& y) const {
    x = ScreenRound(OriginX + std::round(p.a * Scale));
    y = ScreenRound(OriginY - std::round(p.b * Scale));
}

Point2D WireCadView::FromScreen(int x, int y) const { return {(x - OriginX) / Scale, (OriginY - y) / Scale}; }

bool WireCadView::CentreOn(const WireCadModel& m) {
    double minA = 1e10, minB = 1e10, maxA = -1e10, maxB = -1e10;
    bool any = false;
    for (int i = 0; i < m.Count; ++i) {
        if (!m.IsWireShown(i)) continue;
        any = true;
        for (const Point3D& p : {WireEnd1(m.Wires[i]), WireEnd2(m.Wires[i])}) {
            const Point2D q = ToPage(p);
            minA = std::min(minA, q.a), maxA = std::max(maxA, q.a);
            minB = std::min(minB, q.b), maxB = std::max(maxB, q.b);
        }
    }
    if (any) {
        OffA = -(minA + maxA) / 2;
        OffB = (minB + maxB) / 2;
    } else {
        OffA = OffB = 0.0;
    }
    UpdateOrigin();
    return any;
}

void WireCadView::CentreAt(int x, int y) {
    OffA += (W / 2 - x) / Scale;
    OffB += (H / 2 - y) / Scale;
    UpdateOrigin();
}

void GridState::Snap(double& a, double& b) const {
    if (!On || !(Step > 0)) return;
    a = A0 + RoundByFactor(a - A0, 1.0 / Step);
    b = B0 + RoundByFactor(b - B0, 1.0 / Step);
}

void GridState::SnapEnd(double& a, double& b, double ra, double rb) const {
    if (!On || !(Step > 0)) return;
    if (a != ra) {
        a = A0 + RoundByFactor(a - A0, 1.0 / Step);
        if (b != rb) b = B0 + RoundByFactor(b - B0, 1.0 / Step);
    } else {
        b = B0 + RoundByFactor(b - B0, 1.0 / Step);
    }
}

void LockToAxis(double a1, double b1, double& a2, double& b2) {
    if (std::fabs(b2 - b1) >= std::fabs(a2 - a1))
        a2 = a1;
    else
        b2 = b1;
}

void RotateKeepLength(double& a, double& b, double fa, double fb, double length) {
    const double deg = RoundTo(std::atan2(b - fb, a - fa) * 180.0 / std::numbers::pi, 1);
    const double rad = deg * std::numbers::pi / 180.0;
    a = fa + length * std::cos(rad);
    b = fb + length * std::sin(rad);
}
