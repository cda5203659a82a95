#include "editing/WireCadModel.h"

#include "engine/PointPlacement.h"
#include "model/CheckedFormat.h"
#include "model/NumberText.h"
#include "model/TableRows.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <numbers>

namespace {

constexpr double NewWireRadius = 0.0008;  // m, for a template whose radius is 0
constexpr double DisjoinStep = 0.001;     // m

double Sign(double v) { return v > 0 ? 1.0 : v < 0 ? -1.0 : 0.0; }

bool SameWire(const WireRec& a, const WireRec& b) { return std::memcmp(&a, &b, sizeof a) == 0; }

bool ZeroLength(const WireRec& w) { return SamePoint(WireEnd1(w), WireEnd2(w)); }

}  // namespace

PageAxes AxesOf(int page) {
    switch (page) {
    case PageXZ:
        return {0, 2, 1};
    case PageYZ:
        return {1, 2, 0};
    default:
        return {0, 1, 2};
    }
}

double Coord(const Point3D& p, int axis) { return axis == 0 ? p.X : axis == 1 ? p.Y : p.Z; }

void SetCoord(Point3D& p, int axis, double v) { (axis == 0 ? p.X : axis == 1 ? p.Y : p.Z) = v; }

Point3D EndOf(const WireRec& w, int end) { return end == 1 ? WireEnd1(w) : WireEnd2(w); }

void SetEnd(WireRec& w, int end, const Point3D& p) {
    if (end == 1) {
        w.X1 = p.X, w.Y1 = p.Y, w.Z1 = p.Z;
    } else {
        w.X2 = p.X, w.Y2 = p.Y, w.Z2 = p.Z;
    }
}

bool SamePoint(const Point3D& p, const Point3D& q) { return p.X == q.X && p.Y == q.Y && p.Z == q.Z; }

void WireCadModel::Load(const AntDef& ant) {
    Count = std::clamp(ant.WireCount, 0, MaxWires);
    std::memcpy(Wires, ant.Wires, sizeof Wires);
    for (int i = 0; i < MaxWires; ++i) {
        Live[i] = i < Count;
        Origin[i] = i < Count ? i + 1 : 0;
        CutFrom[i] = 0;
        Marks[i] = 255;
    }
    Selected = -1;
    undoValid_ = false;
}

int WireCadModel::WriteBack(AntDef& ant, std::vector<std::string>* notes) const {
    WireRenumbering change(ant);
    for (int& number : change.NewNumber) number = 0;
    const auto known = [&](int number) { return number > 0 && number <= static_cast<int>(change.NewNumber.size()); };
    int n = 0;
    for (int i = 0; i < Count; ++i) {
        if (!Live[i]) continue;
        if (known(CutFrom[i])) change.Pieces[static_cast<std::size_t>(CutFrom[i] - 1)].push_back(n + 1);
        ++n;
    }
    // A divided wire lives on in its pieces, also when the first is gone.
    for (std::size_t w = 0; w < change.Pieces.size(); ++w)
        if (change.IsCut(w)) change.NewNumber[w] = change.Pieces[w].front();

    n = 0;
    int selected = -1;
    for (int i = 0; i < Count; ++i) {
        if (!Live[i]) continue;
        if (i == Selected) selected = n;
        if (known(Origin[i])) change.NewNumber[static_cast<std::size_t>(Origin[i] - 1)] = n + 1;
        ant.Wires[n++] = Wires[i];
    }
    ant.WireCount = n;
    change.Place = PlaceByPoint(ant, change);
    const std::vector<std::string> lines = FollowWireRenumbering(ant, change);
    if (notes) notes->insert(notes->end(), lines.begin(), lines.end());
    return selected;
}

bool WireCadModel::WireExists(const Point3D& p1, const Point3D& p2) const {
    for (int i = 0; i < MaxWires; ++i) {
        if (!Live[i]) continue;
        const Point3D a = WireEnd1(Wires[i]), b = WireEnd2(Wires[i]);
        if ((SamePoint(a, p1) && SamePoint(b, p2)) || (SamePoint(a, p2) && SamePoint(b, p1))) return true;
    }
    return false;
}

bool WireCadModel::WireHasEndAt(int i, const Point3D& p) const {
    return i >= 0 && i < MaxWires && Live[i] && (SamePoint(WireEnd1(Wires[i]), p) || SamePoint(WireEnd2(Wires[i]), p));
}

bool WireCadModel::IsEndConnected(int i, const Point3D& p) const {
    for (int j = 0; j < Count; ++j)
        if (j != i && WireHasEndAt(j, p)) return true;
    return false;
}

bool WireCadModel::IsWireShown(int i) const {
    return i >= 0 && i < Count && Live[i] && (FilterMode == FilterAll || Marks[i] < 255);
}

int WireCadModel::ShownCount() const {
    int n = 0;
    for (int i = 0; i < Count; ++i) n += IsWireShown(i) ? 1 : 0;
    return n;
}

double WireCadModel::CommonPlaneCoord(int axis) const {
    bool any = false;
    double value = 0.0;
    bool common = true;
    for (int i = 0; i < Count; ++i) {
        if (!IsWireShown(i)) continue;
        const double v1 = Coord(WireEnd1(Wires[i]), axis), v2 = Coord(WireEnd2(Wires[i]), axis);
        if (v1 != v2) return 0.0;
        if (!any) {
            any = true;
            value = v1;
        } else if (v1 != value) {
            common = false;
        }
    }
    return any && common ? value : 0.0;
}

bool WireCadModel::CanAddWires(int n) const {
    int deleted = 0;
    for (int i = 0; i < Count; ++i) deleted += Live[i] ? 0 : 1;
    return n <= MaxWires - Count + deleted;
}

int WireCadModel::AllocWireSlot() {
    for (int i = 0; i < Count; ++i)
        if (!Live[i]) return i;
    return Count < MaxWires ? Count++ : -1;
}

void WireCadModel::MarkConnected(uint8_t mark, const Point3D& p) {
    for (int i = 0; i < Count; ++i) {
        if (!Live[i] || Marks[i] != 255) continue;
        if (SamePoint(WireEnd1(Wires[i]), p)) {
            Marks[i] = mark;
            MarkConnected(mark, WireEnd2(Wires[i]));
        } else if (SamePoint(WireEnd2(Wires[i]), p)) {
            Marks[i] = mark;
            MarkConnected(mark, WireEnd1(Wires[i]));
        }
    }
}

void WireCadModel::ApplySelFilter(int page) {
    std::memset(Marks, 255, sizeof Marks);
    if (Selected < 0 || Selected >= Count || !Live[Selected]) return;
    const WireRec& s = Wires[Selected];
    if (FilterMode == FilterElement) {
        MarkConnected(0, WireEnd1(s));
        MarkConnected(0, WireEnd2(s));
        return;
    }
    if (FilterMode != FilterPlane) return;
    int axis = -1;
    switch (page) {
    case PageXY:
        axis = 2;
        break;
    case PageXZ:
        axis = 1;
        break;
    case PageYZ:
        axis = 0;
        break;
    default:
        axis = s.X1 == s.X2 ? 0 : s.Y1 == s.Y2 ? 1 : s.Z1 == s.Z2 ? 2 : -1;
        break;
    }
    if (axis < 0) return;
    const double v1 = Coord(WireEnd1(s), axis), v2 = Coord(WireEnd2(s), axis);
    for (int i = 0; i < Count; ++i)
        if (Live[i] && Coord(WireEnd1(Wires[i]), axis) == v1 && Coord(WireEnd2(Wires[i]), axis) == v2) Marks[i] = 0;
}

void WireCadModel::ResetSegAround(int i) {
    const Point3D a = WireEnd1(Wires[i]), b = WireEnd2(Wires[i]);
    for (int j = 0; j < Count; ++j)
        if (j != i && (WireHasEndAt(j, a) || WireHasEndAt(j, b))) Wires[j].Seg = -1;
    Wires[i].Seg = -1;
    if (i == Selected) SelectedWireChanged();
}

void WireCadModel::Select(int i) {
    Selected = (i >= 0 && i < Count && Live[i]) ? i : -1;
    SelectedWireChanged();
}

void WireCadModel::SelectedWireChanged() {
    if (Selected >= 0) Work = Wires[Selected];
}

void WireCadModel::Save(State& s) const {
    s.count = Count;
    s.selected = Selected;
    std::memcpy(s.wires, Wires, sizeof Wires);
    std::memcpy(s.live, Live, sizeof Live);
    std::memcpy(s.origin, Origin, sizeof Origin);
    std::memcpy(s.cutFrom, CutFrom, sizeof CutFrom);
}

void WireCadModel::Restore(const State& s) {
    Count = s.count;
    Selected = s.selected;
    std::memcpy(Wires, s.wires, sizeof Wires);
    std::memcpy(Live, s.live, sizeof Live);
    std::memcpy(Origin, s.origin, sizeof Origin);
    std::memcpy(CutFrom, s.cutFrom, sizeof CutFrom);
}

bool WireCadModel::Transaction(const std::function<bool()>& edit) {
    auto before = std::make_unique<State>();
    Save(*before);
    const WireRec work = Work;
    bool ok = edit();
    // Moving a shared end may pull another wire's two ends together: such a
    // wire cannot be calculated, so the whole edit is refused.
    for (int i = 0; ok && i < Count; ++i) {
        const bool changed = !before->live[i] || i >= before->count || !SameWire(before->wires[i], Wires[i]);
        if (Live[i] && changed && ZeroLength(Wires[i])) ok = false;
    }
    if (!ok) {
        Restore(*before);
        Work = work;
        return false;
    }
    undo_ = *before;
    undoValid_ = true;
    SelectedWireChanged();
    return true;
}

void WireCadModel::AddWire(const WireRec& w) {
    const int slot = AllocWireSlot();
    Wires[slot] = w;
    Live[slot] = true;
    Origin[slot] = 0;
    CutFrom[slot] = 0;
    Marks[slot] = 0;
    ResetSegAround(slot);
    Selected = slot;
}

bool WireCadModel::Connect(int hit) {
    if (Selected < 0) return false;
    const int moving = hit == HitEnd1 ? 1 : 2;
    const Point3D fixed = EndOf(Wires[Selected], 3 - moving), from = EndOf(Wires[Selected], moving);
    int target = -1;
    Point3D best{};
    double bestDist = 0.0;
    for (int i = 0; i < Count; ++i) {
        if (i == Selected || !IsWireShown(i)) continue;
        for (int end = 1; end <= 2; ++end) {
            const Point3D c = EndOf(Wires[i], end);
            if (SamePoint(c, fixed) || WireExists(fixed, c)) continue;
            const double d = std::hypot(c.X - from.X, c.Y - from.Y, c.Z - from.Z);
            if (target < 0 || d < bestDist) {
                target = i;
                best = c;
                bestDist = d;
            }
        }
    }
    if (target < 0) return false;
    return Transaction([&] {
        SetEnd(Wires[Selected], moving, best);
        ResetSegAround(target);
        return true;
    });
}

bool WireCadModel::Disjoin(int hit) {
    if (Selected < 0) return false;
    return Transaction([&] {
        WireRec& w = Wires[Selected];
        const double sx = Sign(w.X2 - w.X1), sy = Sign(w.Y2 - w.Y1), sz = Sign(w.Z2 - w.Z1);
        if (hit == HitEnd1) {
            w.X1 += DisjoinStep * sx, w.Y1 += DisjoinStep * sy, w.Z1 += DisjoinStep * sz;
        } else {
            w.X2 -= DisjoinStep * sx, w.Y2 -= DisjoinStep * sy, w.Z2 -= DisjoinStep * sz;
        }
        ResetSegAround(Selected);
        return true;
    });
}

bool WireCadModel::ExchangeEnds() {
    if (Count <= 0 || Selected < 0) return false;
    return Transaction([&] {
        WireRec& w = Wires[Selected];
        const Point3D a = WireEnd1(w), b = WireEnd2(w);
        SetEnd(w, 1, b);
        SetEnd(w, 2, a);
        return true;
    });
}

bool WireCadModel::CentreOnAxis(int page) {
    if (Selected < 0 || page == PageAll) return false;
    return Transaction([&] {
        const PageAxes ax = AxesOf(page);
        const WireRec old = Wires[Selected];
        Point3D p1 = WireEnd1(old), p2 = WireEnd2(old);
        const double da = Coord(p2, ax.a) - Coord(p1, ax.a), db = Coord(p2, ax.b) - Coord(p1, ax.b);
        const int axis = std::fabs(db) >= std::fabs(da) ? ax.b : ax.a;
        const double d = axis == ax.b ? db : da;
        SetCoord(p1, axis, -d / 2);
        SetCoord(p2, axis, d / 2);
        WireRec moved = old;
        SetEnd(moved, 1, p1);
        SetEnd(moved, 2, p2);
        MoveWireEnds(Wires, Count, moved, old);
        Wires[Selected] = moved;
        return true;
    });
}

bool WireCadModel::Divide(int n) {
    if (Selected < 0 || n < 2 || Count >= MaxWires || !CanAddWires(n - 1)) return false;
    return Transaction([&] {
        const int first = Selected;
        // A piece of a piece still comes from the antenna's wire.
        const int from = CutFrom[first] ? CutFrom[first] : Origin[first];
        CutFrom[first] = from;
        const WireRec whole = Wires[first];
        const Point3D end = WireEnd2(whole);
        const Point3D step{(whole.X2 - whole.X1) / n, (whole.Y2 - whole.Y1) / n, (whole.Z2 - whole.Z1) / n};
        Point3D p = WireEnd1(whole);
        p = {p.X + step.X, p.Y + step.Y, p.Z + step.Z};
        SetEnd(Wires[first], 2, p);
        for (int k = 2; k <= n; ++k) {
            WireRec piece = whole;
            SetEnd(piece, 1, p);
            p = k == n ? end : Point3D{p.X + step.X, p.Y + step.Y, p.Z + step.Z};
            SetEnd(piece, 2, p);
            AddWire(piece);
            CutFrom[Selected] = from;
        }
        Selected = first;
        return true;
    });
}

bool WireCadModel::DeleteSelected() {
    if (Selected < 0) return false;
    return Transaction([&] {
        Live[Selected] = false;
        Selected = -1;
        return true;
    });
}

bool WireCadModel::Undo() {
    if (!undoValid_) return false;
    auto current = std::make_unique<State>();
    Save(*current);
    Restore(undo_);
    undo_ = *current;
    SelectedWireChanged();
    return true;
}

bool WireCadModel::EditSelected(const std::function<bool(WireRec*, int, int)>& edit) {
    if (Selected < 0) return false;
    return Transaction([&] { return edit(Wires, Selected, Count); });
}

WireRec WireCadModel::NewWireTemplate(int page, double a, double b) const {
    WireRec w = Wires[0];
    if (w.R == 0) w.R = NewWireRadius;
    const PageAxes ax = AxesOf(page);
    Point3D p{};
    SetCoord(p, ax.a, a);
    SetCoord(p, ax.b, b);
    SetCoord(p, ax.depth, CommonPlaneCoord(ax.depth));
    SetEnd(w, 1, p);
    SetEnd(w, 2, p);
    return w;
}

bool WireCadModel::CommitNewWire2D(int page) {
    const PageAxes ax = AxesOf(page);
    const Point3D p1 = WireEnd1(Work), p2 = WireEnd2(Work);
    if (Coord(p1, ax.a) == Coord(p2, ax.a) && Coord(p1, ax.b) == Coord(p2, ax.b)) return false;
    if (!CanAddWires(1) || WireExists(p1, p2)) return false;
    return Transaction([&] {
        WireRec w = Work;
        w.Seg = -1;
        AddWire(w);
        return true;
    });
}

bool WireCadModel::CommitNewLoop2D(int page) {
    const PageAxes ax = AxesOf(page);
    const Point3D p1 = WireEnd1(Work), p2 = WireEnd2(Work);
    const double a1 = std::min(Coord(p1, ax.a), Coord(p2, ax.a)), a2 = std::max(Coord(p1, ax.a), Coord(p2, ax.a));
    const double b1 = std::max(Coord(p1, ax.b), Coord(p2, ax.b)), b2 = std::min(Coord(p1, ax.b), Coord(p2, ax.b));
    if (a1 == a2 && b1 == b2) return false;
    if (!CanAddWires(4)) return false;
    // A loop of zero width or height would hold two wires of zero length;
    // the transaction refuses it.
    return Transaction([&] {
        const double corners[4][4] = {{a1, b2, a2, b2}, {a1, b1, a1, b2}, {a1, b1, a2, b1}, {a2, b1, a2, b2}};
        for (const auto& c : corners) {
            WireRec w = Work;
            w.Seg = -1;
            Point3D s = p1, e = p1;
            SetCoord(s, ax.a, c[0]);
            SetCoord(s, ax.b, c[1]);
            SetCoord(e, ax.a, c[2]);
            SetCoord(e, ax.b, c[3]);
            SetEnd(w, 1, s);
            SetEnd(w, 2, e);
            AddWire(w);
        }
        return true;
    });
}

bool WireCadModel::CommitMovedEnd2D(int end) {
    if (Selected < 0) return false;
    return Transaction([&] {
        MovePoint(Wires, Count, EndOf(Templ, end), EndOf(Work, end));
        Wires[Selected] = Work;
        return true;
    });
}

bool WireCadModel::CommitMovedBody2D() {
    if (Selected < 0) return false;
    const Point3D t1 = WireEnd1(Templ), t2 = WireEnd2(Templ), n1 = WireEnd1(Work);
    SetEnd(Work, 2, {n1.X + (t2.X - t1.X), n1.Y + (t2.Y - t1.Y), n1.Z + (t2.Z - t1.Z)});
    return Transaction([&] {
        MoveWireEnds(Wires, Count, Work, Templ);
        Wires[Selected] = Work;
        return true;
    });
}

bool WireCadModel::CommitMovedEnd3D(int end, const Point3D& target) {
    if (Selected < 0) return false;
    SetEnd(Work, end, target);
    if (ZeroLength(Work) || WireExists(WireEnd1(Work), WireEnd2(Work))) return false;
    return Transaction([&] {
        MovePoint(Wires, Count, EndOf(Templ, end), target);
        Wires[Selected] = Work;
        ResetSegAround(Selected);
        return true;
    });
}

bool WireCadModel::CommitNewWire3D(const Point3D& target) {
    SetEnd(Work, 2, target);
    if (!CanAddWires(1) || ZeroLength(Work) || WireExists(WireEnd1(Work), WireEnd2(Work))) return false;
    return Transaction([&] {
        WireRec w = Work;
        w.Seg = -1;
        AddWire(w);
        return true;
    });
}

std::string WireCadModel::InfoText(int page, bool drawingNew) const {
    if (Selected < 0 && !drawingNew) return "Wire isn't selected";
    const WireRec& w = Work;
    const double dx = w.X2 - w.X1, dy = w.Y2 - w.Y1, dz = w.Z2 - w.Z1;
    // The 3D page has no view plane: it shows the angle in the X-Y plane.
    double deg = 0.0;
    switch (page) {
    case PageXZ:
        deg = std::atan2(dz, dx);
        break;
    case PageYZ:
        deg = std::atan2(dz, dy);
        break;
    default:
        deg = std::atan2(dy, dx);
        break;
    }
    deg *= 180.0 / std::numbers::pi;
    return FormatInCLocale(
        "   Wire No.%d\n   X1: %.3f m\n   Y1: %.3f m\n   Z1: %.3f m\n   X2: %.3f m\n   Y2: %.3f m\n"
        "   Z2: %.3f m\n   R : %.3f mm\n   SEG: %s\n   Len: %.4f m\n   Deg:%.1f\n ",
        drawingNew ? Count + 1 : Selected + 1, w.X1, w.Y1, w.Z1, w.X2, w.Y2, w.Z2, w.R * 1000.0,
        IntOrPairToStr(w.Seg).c_str(), std::sqrt(dx * dx + dy * dy + dz * dz), deg);
}
