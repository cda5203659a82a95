#include "engine/PointPlacement.h"

#include "engine/PulseLayout.h"
#include "engine/WireExpansion.h"
#include "model/EnvDef.h"
#include "model/PositionText.h"
#include "model/ScopedValue.h"
#include "model/WireGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

// Without squares, which overflow for wires far shorter than the largest
// coordinate a file holds.
double Distance(const Point3D& p, const Point3D& q) { return std::hypot(p.X - q.X, p.Y - q.Y, p.Z - q.Z); }

bool SamePoint(const Point3D& p, const Point3D& q) { return p.X == q.X && p.Y == q.Y && p.Z == q.Z; }

bool EndsAt(const WireRec& w, const Point3D& p, double tolerance) {
    return Distance(WireEnd1(w), p) <= tolerance || Distance(WireEnd2(w), p) <= tolerance;
}

// The same wire in the same place, whichever end comes first.
bool InPlace(const WireRec& now, const WireRec& was) {
    return SameWireEnds(now, was) || (SamePoint(WireEnd1(now), WireEnd2(was)) && SamePoint(WireEnd2(now), WireEnd1(was)));
}

// The text naming pulse `index` (in the layout's numbering) of `wire` (from
// 0) as typed: the layouts number a turned wire's pulses from its other end.
std::string TypedText(const PulseLayout& layout, char letter, int wire, long long index) {
    const long long count = layout.WirePulses[static_cast<std::size_t>(wire)];
    const bool turned = wire < static_cast<int>(layout.Turned.size()) && layout.Turned[static_cast<std::size_t>(wire)];
    return PulseOnWireText(letter, wire + 1, turned ? count - 1 - index : index, count);
}

// A pulse of the layout after the edit: its wire (from 0) and its index there.
struct PulseFound {
    int Wire = -1;
    long long Index = 0;
    double Distance = 0;
    bool Found() const { return Wire >= 0; }
};

// The pulse of `after` at `at`: on one of `heirs` (wires from 0) first, else
// the junction's pulse on a wire that meets one of them there; else the
// heirs' nearest. Its text starts with `letter`.
PositionPlacement PlaceAtPoint(const PulseLayout& after, const std::vector<WireRec>& wiresAfter,
                               const std::vector<int>& heirs, char letter, const Point3D& at, double tolerance) {
    PulseFound exact, junction, nearest;
    for (const PulseRun& run : after.Runs) {
        const long long k = run.NearestK(at);
        const PulseFound pulse{run.Wire, run.FirstIndex + k - run.FirstK, Distance(run.PointAt(k), at)};
        const bool onHeir = std::find(heirs.begin(), heirs.end(), run.Wire) != heirs.end();
        const bool there = pulse.Distance <= tolerance;
        if (onHeir && there && !exact.Found()) exact = pulse;
        if (!onHeir && there && !junction.Found() &&
            std::any_of(heirs.begin(), heirs.end(), [&](int h) {
                return h < static_cast<int>(wiresAfter.size()) &&
                       EndsAt(wiresAfter[static_cast<std::size_t>(h)], at, tolerance);
            }))
            junction = pulse;
        if (onHeir && (!nearest.Found() || pulse.Distance < nearest.Distance)) nearest = pulse;
    }
    const PulseFound best = exact.Found() ? exact : junction.Found() ? junction : nearest;
    if (!best.Found()) return {PositionPlacement::Removed, "has no pulse left on its wire after the edit"};
    const std::string placed = TypedText(after, letter, best.Wire, best.Index);
    if (placed.size() > static_cast<std::size_t>(PosTextLength)) return {PositionPlacement::Removed, PositionTooLongReason()};
    const auto how = exact.Found() || junction.Found() ? PositionPlacement::Placed : PositionPlacement::Nearest;
    return {how, placed};
}

// Both layouts work out the points from end points in double: only rounding
// tells a pulse that stands at `at` from one that does not.
double PointTolerance(const Point3D& at, double wireLengths) {
    return 1e-9 * (1.0 + std::fabs(at.X) + std::fabs(at.Y) + std::fabs(at.Z) + wireLengths);
}

struct Placer {
    std::shared_ptr<const PulseLayout> Before, After;
    std::vector<WireRec> WiresBefore, WiresAfter;
    std::vector<int> NewNumber;
    // Of each old wire: the new wires (from 0) it lives on in, its pieces
    // when it was cut, else the wire under its new number.
    std::vector<std::vector<int>> Heirs;
    // Of each old wire not cut whose ends moved: its positions keep their
    // place along it, carried from its old ends to its new ones.
    std::vector<bool> Moved;

    PositionPlacement operator()(const char* text) const;
    Point3D Carried(std::size_t old, const Point3D& p) const;
};

Point3D Placer::Carried(std::size_t old, const Point3D& p) const {
    if (!Moved[old]) return p;
    const WireRec& was = WiresBefore[old];
    const WireRec& now = WiresAfter[static_cast<std::size_t>(Heirs[old].front())];
    return PointAlong(WireEnd1(now), WireEnd2(now), FractionAlong(WireEnd1(was), WireEnd2(was), p));
}

PositionPlacement Placer::operator()(const char* text) const {
    const PositionRef ref = SplitPosition(text);
    if (ref.Names != PositionRef::Wire || ref.Number < 1 || ref.Number > static_cast<long long>(Heirs.size()))
        return {};
    const auto old = static_cast<std::size_t>(ref.Number - 1);
    const std::vector<int>& heirs = Heirs[old];
    const int now = NewNumber[old];
    if (heirs.empty() || now < 1 || now > static_cast<int>(After->WirePulses.size())) return {};
    char renamed[PosTextSize] = {};
    CopyText(renamed, text);
    // The text as typed where its wire kept its number ("w0c", " w1c").
    const auto pulsesNow = After->WirePulses[static_cast<std::size_t>(now - 1)];
    const bool fits = now == ref.Number || SetPositionWire(renamed, PosTextSize, now, pulsesNow);

    const long long index = Before->IndexNamed(text, static_cast<int>(old));
    if (index < 0) {
        if (!fits) return {PositionPlacement::Removed, "named no pulse and " + PositionTooLongReason() + " after the edit"};
        if (After->IndexNamed(renamed, now - 1) >= 0)
            return {PositionPlacement::Removed, "named no pulse, would name one after the edit,"};
        return {PositionPlacement::Placed, renamed};
    }
    const std::optional<Point3D> was = Before->PointOnWire(static_cast<int>(old), index);
    if (!was) return {};
    const Point3D at = Carried(old, *was);
    const double tolerance = PointTolerance(at, WireLength(WiresBefore[old]) +
                                                    WireLength(WiresAfter[static_cast<std::size_t>(heirs.front())]));
    if (fits) {
        const std::optional<Point3D> still = After->PointOnWire(now - 1, After->IndexNamed(renamed, now - 1));
        if (still && Distance(*still, at) <= tolerance) return {PositionPlacement::Placed, renamed};
    }

    return PlaceAtPoint(*After, WiresAfter, heirs, ref.Letter, at, tolerance);
}

// Without layouts the positions follow their wires by number; those on a
// wire whose pulses the edit may have laid out anew (cut, changed, or meeting
// at an end a wire that is new, deleted or changed; every wire when the
// frequency, the segmentation or the ground changed) say so.
std::function<PositionPlacement(const char*)> UnplacedNotice(const AntDef& after, const WireRenumbering& change,
                                                             bool everyWire) {
    const std::size_t oldCount = std::min<std::size_t>(change.Before.size(), change.NewNumber.size());
    const int wiresAfter = std::clamp(after.WireCount, 0, MaxWires);
    std::vector<bool> changed(oldCount, false), kept(static_cast<std::size_t>(wiresAfter), false);
    for (std::size_t i = 0; i < oldCount; ++i) {
        const int now = change.NewNumber[i];
        const bool same = !change.IsCut(i) && now >= 1 && now <= wiresAfter &&
                          SameWireAsTyped(after.Wires[now - 1], change.Before[i]);
        changed[i] = !same;
        if (same) kept[static_cast<std::size_t>(now - 1)] = true;
    }
    std::vector<Point3D> changedEnds;
    for (std::size_t i = 0; i < oldCount; ++i)
        if (changed[i]) changedEnds.insert(changedEnds.end(), {WireEnd1(change.Before[i]), WireEnd2(change.Before[i])});
    for (int k = 0; k < wiresAfter; ++k)
        if (!kept[static_cast<std::size_t>(k)]) changedEnds.insert(changedEnds.end(), {WireEnd1(after.Wires[k]), WireEnd2(after.Wires[k])});
    std::vector<bool> touched(oldCount, false);
    for (std::size_t i = 0; i < oldCount; ++i) {
        const Point3D a = WireEnd1(change.Before[i]), b = WireEnd2(change.Before[i]);
        touched[i] = everyWire || changed[i] || std::any_of(changedEnds.begin(), changedEnds.end(), [&](const Point3D& p) {
                         return SamePoint(p, a) || SamePoint(p, b);
                     });
    }
    return [touched](const char* text) -> PositionPlacement {
        const PositionRef ref = SplitPosition(text);
        if (ref.Names != PositionRef::Wire || ref.Number > static_cast<long long>(touched.size()) ||
            !touched[static_cast<std::size_t>(ref.Number - 1)])
            return {};
        return {PositionPlacement::Unknown, "the wires cannot be laid out in pulses, so its point is not known"};
    };
}

}  // namespace

bool LayOutPulsesOver(const AntDef& ant, const LayoutGround& ground, PulseLayout& layout) {
    // The layout reads the ground from the environment.
    const ScopedValue<int32_t> type(EnvDef.Type, ground.Over == (EnvDef.Type != GroundFree) ? EnvDef.Type
                                                 : ground.Over                              ? GroundPerfect
                                                                                            : GroundFree);
    const ScopedValue<double> height(EnvDef.AntHeight, ground.Height);
    return LayOutPulses(ant, layout);
}

std::function<PositionPlacement(const char*)> PlaceByPoint(const AntDef& after, const WireRenumbering& change) {
    auto beforeAnt = LayoutFieldsOf(after);
    const std::size_t oldCount = std::min<std::size_t>(change.Before.size(), MaxWires);
    std::memset(beforeAnt->Wires, 0, sizeof beforeAnt->Wires);
    for (std::size_t i = 0; i < oldCount; ++i) beforeAnt->Wires[i] = change.Before[i];
    beforeAnt->WireCount = static_cast<int32_t>(oldCount);
    return PlaceByPoint(*beforeAnt, GroundOfLayout(), after, change);
}

std::function<PositionPlacement(const char*)> PlaceByPoint(const AntDef& beforeAnt, const LayoutGround& groundBefore,
                                                           const AntDef& after, const WireRenumbering& change) {
    const std::size_t oldCount = std::min<std::size_t>(change.Before.size(), MaxWires);
    auto before = std::make_shared<PulseLayout>();
    auto laidOut = std::make_shared<PulseLayout>();
    const bool laidOutBefore = LayOutPulsesOver(beforeAnt, groundBefore, *before);
    if (!laidOutBefore || !LayOutPulses(after, *laidOut)) {
        // A change of the frequency, the segmentation or the ground lays
        // every wire out anew.
        auto wiresAfter = LayoutFieldsOf(beforeAnt);
        wiresAfter->WireCount = std::clamp(after.WireCount, 0, MaxWires);
        std::copy(after.Wires, after.Wires + wiresAfter->WireCount, wiresAfter->Wires);
        const bool everyWire = !SameLayoutFields(*wiresAfter, after) || !(groundBefore == GroundOfLayout());
        return UnplacedNotice(after, change, everyWire);
    }
    Placer placer;
    placer.Before = before;
    placer.After = laidOut;
    placer.WiresBefore.assign(change.Before.begin(), change.Before.begin() + static_cast<std::ptrdiff_t>(oldCount));
    placer.WiresAfter.assign(after.Wires, after.Wires + std::clamp(after.WireCount, 0, MaxWires));
    placer.NewNumber = change.NewNumber;
    placer.Heirs.resize(oldCount);
    placer.Moved.assign(oldCount, false);
    const int wiresAfter = std::clamp(after.WireCount, 0, MaxWires);
    for (std::size_t i = 0; i < oldCount && i < change.NewNumber.size(); ++i) {
        std::vector<int>& heirs = placer.Heirs[i];
        if (change.IsCut(i)) {
            for (int piece : change.Pieces[i])
                if (piece >= 1 && piece <= wiresAfter) heirs.push_back(piece - 1);
            continue;
        }
        const int now = change.NewNumber[i];
        if (now < 1 || now > wiresAfter) continue;
        heirs.push_back(now - 1);
        placer.Moved[i] = !InPlace(after.Wires[now - 1], change.Before[i]);
    }
    return placer;
}

PositionAnchor AnchorOf(const PulseLayout& layout, const std::string& text) {
    PositionAnchor anchor;
    anchor.Text = text;
    const PositionRef ref = SplitPosition(text.c_str());
    if (ref.Names != PositionRef::Wire || ref.Number < 1 || ref.Number > static_cast<long long>(layout.WirePulses.size()))
        return anchor;
    const int wire = static_cast<int>(ref.Number - 1);
    if (const std::optional<Point3D> at = layout.PointOnWire(wire, layout.IndexNamed(text.c_str(), wire))) {
        anchor.Wire = wire;
        anchor.Point = *at;
    }
    return anchor;
}

PositionPlacement PlaceAnchor(const PulseLayout& layout, const AntDef& ant, const PositionAnchor& anchor) {
    const int wires = std::clamp(ant.WireCount, 0, MaxWires);
    if (anchor.Wire < 0) {
        // A text that named no pulse names none now either, or says so.
        const PositionRef ref = SplitPosition(anchor.Text.c_str());
        if (ref.Names == PositionRef::Wire && ref.Number >= 1 && ref.Number <= static_cast<long long>(layout.WirePulses.size()) &&
            layout.IndexNamed(anchor.Text.c_str(), static_cast<int>(ref.Number - 1)) >= 0)
            return {PositionPlacement::Removed, "named no pulse, would name one after the edit,"};
        return {PositionPlacement::Placed, anchor.Text};
    }
    if (anchor.Wire >= wires || anchor.Wire >= static_cast<int>(layout.WirePulses.size()))
        return {PositionPlacement::Removed, "has no pulse left on its wire after the edit"};
    const double tolerance = PointTolerance(anchor.Point, WireLength(ant.Wires[anchor.Wire]));
    // The text as the user gave it, wherever it still names the pulse there.
    if (const std::optional<Point3D> named =
            layout.PointOnWire(anchor.Wire, layout.IndexNamed(anchor.Text.c_str(), anchor.Wire));
        named && Distance(*named, anchor.Point) <= tolerance)
        return {PositionPlacement::Placed, anchor.Text};
    const std::vector<WireRec> wiresNow(ant.Wires, ant.Wires + wires);
    return PlaceAtPoint(layout, wiresNow, {anchor.Wire}, SplitPosition(anchor.Text.c_str()).Letter, anchor.Point,
                        tolerance);
}

void CarryAnchor(PositionAnchor& anchor, const WireRec& was, const WireRec& now) {
    if (anchor.Wire < 0 || InPlace(now, was)) return;
    anchor.Point = PointAlong(WireEnd1(now), WireEnd2(now), FractionAlong(WireEnd1(was), WireEnd2(was), anchor.Point));
}
