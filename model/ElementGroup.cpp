#include "model/ElementGroup.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double Deg = M_PI / 180.0;
enum Axis { AxisX = 0, AxisY = 1, AxisZ = 2 };

double& Coord(WireRec& w, int end, int axis) {
    double* first[3] = {&w.X1, &w.Y1, &w.Z1};
    double* second[3] = {&w.X2, &w.Y2, &w.Z2};
    return end == 0 ? *first[axis] : *second[axis];
}

bool SamePoint(const WireRec& a, int endA, const WireRec& b, int endB) {
    WireRec& x = const_cast<WireRec&>(a);
    WireRec& y = const_cast<WireRec&>(b);
    return Coord(x, endA, 0) == Coord(y, endB, 0) && Coord(x, endA, 1) == Coord(y, endB, 1) &&
           Coord(x, endA, 2) == Coord(y, endB, 2);
}

double Slope(double num, double den) {
    if (num == 0) return 0;
    if (den == 0) return 1.0;
    return num / den;
}

}  // namespace

const char* ElementFormName(int form) {
    static const char* const names[16] = {"none",    "V line",  "V quad",  "V rhomb", "V trian", "V trian",
                                          "V octa.", "V 2trian", "H line", "H quad",  "H rhomb", "H trian",
                                          "H trian", "H 2trian", "H compl", "V compl"};
    return form >= 0 && form < 16 ? names[form] : names[0];
}

void CWGroup::Init(WireRec* table) {
    Table = table;
    Members.clear();
    Members.reserve(4);
    YMin = YMax = ZMin = ZMax = XMin = XMax = 0;
    NoLoop = 0;
    Form = FormNone;
    OneRadius = OneSeg = 1;
    CentreX = CentreY = CentreZ = 0;
}

void CWGroup::AddWire(int wire) {
    GroupMember m;
    m.Wire = wire;
    Members.push_back(m);
}

double CWGroup::Radius() const { return Members.empty() ? 0.005 : MemberWire(0).R; }

void CWGroup::Update() {
    OneRadius = OneSeg = 1;
    if (Members.empty()) {
        YMin = YMax = ZMin = ZMax = XMin = XMax = 0;
        NoLoop = 1;
        Form = FormNone;
        return;
    }
    const WireRec& first = MemberWire(0);
    XMin = XMax = first.X1;
    YMin = YMax = first.Y1;
    ZMin = ZMax = first.Z1;
    for (int i = 0; i < Count(); ++i) {
        WireRec& w = MemberWire(i);
        if (w.R != first.R) OneRadius = 0;
        if (w.Seg != first.Seg) OneSeg = 0;
        for (int end = 0; end < 2; ++end) {
            XMin = std::min(XMin, Coord(w, end, AxisX));
            XMax = std::max(XMax, Coord(w, end, AxisX));
            YMin = std::min(YMin, Coord(w, end, AxisY));
            YMax = std::max(YMax, Coord(w, end, AxisY));
            ZMin = std::min(ZMin, Coord(w, end, AxisZ));
            ZMax = std::max(ZMax, Coord(w, end, AxisZ));
        }
    }
    Analyse();
    // X stays relative to the centre; a re-measured element keeps its boom
    // position by moving its centre with the shift.
    const double mid = (XMin + XMax) / 2;
    CentreX += mid;
    CentreY = (YMin + YMax) / 2;
    CentreZ = (ZMin + ZMax) / 2;
    for (int i = 0; i < Count(); ++i) {
        MemberWire(i).X1 -= mid;
        MemberWire(i).X2 -= mid;
    }
    XMin -= mid;
    XMax -= mid;
}

bool CWGroup::FindJunction(std::vector<int>& chain, std::vector<int>& reversed) {
    chain.assign(1, 0);
    reversed.assign(1, 0);
    Members[0].ChainPlace = 1;
    const WireRec& start = MemberWire(0);
    int cur = 0, curEnd = 1;  // the point we stand on: end curEnd of member cur
    for (int guard = 0; guard < Count(); ++guard) {
        int next = -1, nextEnd = 0;
        for (int i = 0; i < Count() && next < 0; ++i) {
            if (Members[i].ChainPlace != 0) continue;
            for (int end = 0; end < 2; ++end)
                if (SamePoint(MemberWire(i), end, MemberWire(cur), curEnd)) {
                    next = i;
                    nextEnd = end;
                    break;
                }
        }
        if (next < 0) break;
        Members[next].ChainPlace = static_cast<int32_t>(chain.size()) + 1;
        chain.push_back(next);
        reversed.push_back(nextEnd == 1);
        cur = next;
        curEnd = 1 - nextEnd;
        if (SamePoint(MemberWire(cur), curEnd, start, 0)) return true;
    }
    for (auto& m : Members) m.ChainPlace = 0;
    return false;
}

void CWGroup::Analyse() {
    for (auto& m : Members) {
        const WireRec& w = Table[m.Wire];
        m.DX = w.X2 - w.X1;
        m.DY = w.Y2 - w.Y1;
        m.DZ = w.Z2 - w.Z1;
        m.Length = std::sqrt(m.DX * m.DX + m.DY * m.DY + m.DZ * m.DZ);
        m.SlopeYX = Slope(m.DY, m.DX);
        m.SlopeZY = Slope(m.DZ, m.DY);
        m.ChainPlace = 0;
    }
    NoLoop = 0;
    std::vector<int> chain, reversed;
    if (Count() >= 2 && FindJunction(chain, reversed)) {
        Classify(chain, reversed);
        return;
    }
    NoLoop = 1;
    const double xe = XMax - XMin, ye = YMax - YMin, ze = ZMax - ZMin;
    if (ze == 0)
        Form = xe == 0 ? FormHLine : FormHCompl;
    else if (xe == 0 && ye == 0)
        Form = FormVLine;
    else
        Form = ye / 4 <= ze ? FormVCompl : FormHCompl;
}

void CWGroup::Classify(const std::vector<int>& chain, const std::vector<int>& reversed) {
    struct Corner {
        double X, Y, Z;
        int Member;
    };
    std::vector<Corner> corners;
    double sumDZ = 0;
    const int n = static_cast<int>(chain.size());
    for (int k = 0; k < n; ++k) {
        const GroupMember& a = Members[chain[k]];
        const GroupMember& b = Members[chain[(k + 1) % n]];
        sumDZ += std::fabs(a.DZ);
        if (a.SlopeYX == b.SlopeYX && a.SlopeZY == b.SlopeZY) continue;
        WireRec& w = Table[a.Wire];
        const int exitEnd = reversed[k] ? 0 : 1;
        corners.push_back({Coord(w, exitEnd, AxisX), Coord(w, exitEnd, AxisY), Coord(w, exitEnd, AxisZ), chain[k]});
    }
    const bool horizontal = sumDZ == 0;
    const int c = static_cast<int>(corners.size());
    if (c == 3) {
        // The odd corner (apex) differs from the other two in Z (across the
        // boom) or in X (horizontal); it points down or back in the second form.
        auto key = [&](const Corner& k) { return horizontal ? k.X : k.Z; };
        int apex = -1;
        for (int i = 0; i < 3; ++i)
            if (key(corners[(i + 1) % 3]) == key(corners[(i + 2) % 3])) apex = i;
        bool low = apex >= 0 && key(corners[apex]) <= key(corners[(apex + 1) % 3]);
        Form = horizontal ? (low ? FormHTrianBack : FormHTrian) : (low ? FormVTrianDown : FormVTrian);
    } else if (c == 4) {
        const GroupMember& m = Members[corners[0].Member];
        if (horizontal)
            // Sides parallel to the axes make a quad, slanted sides a rhombus.
            Form = (m.DX != 0 && m.DY != 0) ? FormHRhomb : FormHQuad;
        else
            Form = (m.SlopeYX == 0 || m.SlopeZY == 0) ? FormVQuad : FormVRhomb;
    } else if (c == 8 && !horizontal) {
        Form = FormVOcta;
    } else if (c >= 3) {
        Form = horizontal ? FormH2Trian : FormV2Trian;
        NoLoop = 1;
    } else {
        Form = FormNone;
        NoLoop = 1;
    }
}

double CWGroup::Width() const {
    const double w = YMax - YMin;
    return (w == 0 && !NoLoop) ? XExtent() : w;
}

double CWGroup::Height() const {
    const double h = ZMax - ZMin;
    return (h == 0 && !NoLoop) ? XExtent() : h;
}

double CWGroup::GetLength() const {
    const double w = Width(), h = Height();
    switch (Form) {
    case FormVQuad: case FormHQuad: return 2 * (w + h);
    case FormVRhomb: case FormHRhomb: return 2 * std::hypot(w, h);
    case FormVTrian: case FormVTrianDown: case FormHTrian: case FormHTrianBack:
        return w + 2 * std::hypot(w / 2, h);
    case FormVOcta: return 4 * std::tan(22.5 * Deg) * (w + h);
    default: return XExtent();
    }
}

// Gives one axis a new extent. New bounds: from 0 when the old range starts
// at 0, up to 0 when it ends there, both sides scaled when it spans 0, else
// centred. Ends-only moves the ends on or beyond the bounds; scaled maps every
// coordinate from the old range to the new one.
void CWGroup::ResizeAxis(int axis, double extent, bool scaled) {
    double& lo = axis == AxisX ? XMin : axis == AxisY ? YMin : ZMin;
    double& hi = axis == AxisX ? XMax : axis == AxisY ? YMax : ZMax;
    if (Members.empty()) return;
    if (hi == lo) {
        // Nothing to scale from; only an element drawn together to a point
        // (a size set to 0) is laid out anew, so that it can grow again.
        if (IsPoint()) LayOutAlong(axis, extent);
        return;
    }
    const double centre = axis == AxisX ? (XMin + XMax) / 2 : axis == AxisY ? CentreY : CentreZ;
    double newLo, newHi;
    if (lo == 0) {
        newLo = 0;
        newHi = extent;
    } else if (hi == 0) {
        newLo = -extent;
        newHi = 0;
    } else if (lo < 0 && hi > 0) {
        const double k = extent / (hi - lo);
        newLo = lo * k;
        newHi = hi * k;
    } else {
        newLo = centre - extent / 2;
        newHi = centre + extent / 2;
    }
    const double oldLo = lo, oldHi = hi;
    for (int i = 0; i < Count(); ++i)
        for (int end = 0; end < 2; ++end) {
            double& v = Coord(MemberWire(i), end, axis);
            if (scaled)
                v = newLo + (v - oldLo) * (newHi - newLo) / (oldHi - oldLo);
            else if (v == oldLo)
                v = newLo;
            else if (v >= oldHi)
                v += newHi - oldHi;
            else if (v < oldLo)
                v += newLo - oldLo;
        }
    Update();
}

bool CWGroup::IsPoint() const { return XMin == XMax && YMin == YMax && ZMin == ZMax; }

// The member wires one after another along the axis, in member order, each
// first end on the lower side, the whole symmetric about the point: a
// straight line of connected wires, as a dipole of halves was before it was
// drawn together.
void CWGroup::LayOutAlong(int axis, double extent) {
    const double at = axis == AxisX ? XMin : axis == AxisY ? YMin : ZMin;
    const int n = Count();
    std::vector<double> bounds(static_cast<std::size_t>(n) + 1);
    for (int k = 0; k <= n; ++k) bounds[static_cast<std::size_t>(k)] = at - extent / 2 + extent * k / n;
    bounds.back() = at + extent / 2;
    for (int i = 0; i < n; ++i) {
        Coord(MemberWire(i), 0, axis) = bounds[static_cast<std::size_t>(i)];
        Coord(MemberWire(i), 1, axis) = bounds[static_cast<std::size_t>(i) + 1];
    }
    Update();
}

// A closed horizontal form has no Z extent: its "height" runs along X.
void CWGroup::SetWidthEnds(double w) { ResizeAxis(AxisY, w, false); }
void CWGroup::SetWidthScaled(double w) { ResizeAxis(AxisY, w, true); }
void CWGroup::SetHeightEnds(double h) { ResizeAxis((ZMax == ZMin && !NoLoop) ? AxisX : AxisZ, h, false); }
void CWGroup::SetHeightScaled(double h) { ResizeAxis((ZMax == ZMin && !NoLoop) ? AxisX : AxisZ, h, true); }

// Without an X extent only an element drawn together to a point changes.
void CWGroup::ScaleX(double l) { ResizeAxis(AxisX, l, true); }
void CWGroup::SetLineLength(double l) { ResizeAxis(AxisX, l, false); }

void CWGroup::ResizeByForm(double p, bool scaled) {
    const double w = Width(), h = Height();
    double nw = 0, nh = 0;
    switch (Form) {
    case FormVQuad: case FormHQuad:
        if (w + h == 0) return;
        nw = p * w / (2 * (w + h));
        nh = p * h / (2 * (w + h));
        break;
    case FormVRhomb: case FormHRhomb: {
        if (w == 0) return;
        const double r = h / w;
        nw = p / std::sqrt(4 * (r * r + 1));
        nh = r * nw;
        break;
    }
    case FormVTrian: case FormVTrianDown: case FormHTrian: case FormHTrianBack: {
        if (w == 0) return;
        const double r = h / w;
        nw = p / (2 * std::sqrt(r * r + 0.25) + 1);
        nh = r * nw;
        break;
    }
    case FormVOcta:
        SetOctagonLength(p);
        return;
    default:
        scaled ? ScaleX(p) : SetLineLength(p);
        return;
    }
    SetWidth(scaled, nw);
    SetHeight(scaled, nh);
}

void CWGroup::SetLengthEnds(double p) { ResizeByForm(p, false); }
void CWGroup::SetLengthScaled(double p) { ResizeByForm(p, true); }

void CWGroup::SetOctagonLength(double p) {
    const double s = p / 8;
    const double across = s / std::tan(22.5 * Deg);
    SetWidthEnds(across);
    SetHeightEnds(across);
    for (int i = 0; i < Count(); ++i)
        for (int end = 0; end < 2; ++end) {
            WireRec& w = MemberWire(i);
            double& y = Coord(w, end, AxisY);
            double& z = Coord(w, end, AxisZ);
            const bool onZBound = z == ZMin || z == ZMax;
            const bool onYBound = y == YMin || y == YMax;
            if (onZBound) y = y <= CentreY ? CentreY - s / 2 : CentreY + s / 2;
            if (onYBound) z = z <= CentreZ ? CentreZ - s / 2 : CentreZ + s / 2;
        }
    Update();
}

void CWGroup::SetRadius(double r) {
    if (!OneRadius) return;
    for (int i = 0; i < Count(); ++i) MemberWire(i).R = r;
}

void CWGroup::SetSeg(int32_t s) {
    if (!OneSeg) return;
    for (int i = 0; i < Count(); ++i) MemberWire(i).Seg = s;
}
