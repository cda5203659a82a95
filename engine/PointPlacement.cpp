#include "engine/PointPlacement.h"

#include "engine/PulseLayout.h"
#include "engine/WireExpansion.h"
#include "model/PositionText.h"
#include "model/WireGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

double Distance(const Point3D& p, const Point3D& q) {
    return std::sqrt((p.X - q.X) * (p.X - q.X) + (p.Y - q.Y) * (p.Y - q.Y) + (p.Z - q.Z) * (p.Z - q.Z));
}

// The layouts number the pulses of turned wires from their other end, as the
// preparation will: a text on such a wire reads with b and e exchanged.
std::string AsLaidOut(const PulseLayout& layout, const std::string& text, int wire) {
    if (wire < 0 || wire >= static_cast<int>(layout.Turned.size()) || !layout.Turned[static_cast<std::size_t>(wire)])
        return text;
    char pos[PosTextSize] = {};
    CopyText(pos, text.c_str());
    SwapPositionEnd(pos, wire + 1);
    return pos;
}

// The pulse `text` names on wire `wire` (from 0) of the layout; 0 for none.
int PulseIn(const PulseLayout& layout, const std::string& text, int wire) {
    const int pulse = ParseSourcePos(*layout.Ant, AsLaidOut(layout, text, wire).c_str());
    return pulse >= 1 && pulse <= static_cast<int>(layout.Points.size()) ? pulse : 0;
}

// Pulses stand where the wire's ends and segmentation put them.
bool SameSegmentation(const WireRec& a, const WireRec& b) { return a.R == b.R && a.Seg == b.Seg; }

bool EndsAt(const WireRec& w, const Point3D& p, double tolerance) {
    return Distance(WireEnd1(w), p) <= tolerance || Distance(WireEnd2(w), p) <= tolerance;
}

struct Placer {
    std::shared_ptr<const PulseLayout> Before, After;
    std::vector<int> NewNumber;
    // Of each old wire: the new wires (from 0) it lives on in, its pieces
    // when it was cut; none when its ends moved: its positions follow it.
    std::vector<std::vector<int>> Heirs;
    // Of each old wire: kept in place but segmented anew (the wire editor
    // does so to the neighbours of what it changed).
    std::vector<bool> Resegmented;

    PositionPlacement operator()(const char* text) const;
};

PositionPlacement Placer::operator()(const char* text) const {
    const PositionRef ref = SplitPosition(text);
    if (ref.Names != PositionRef::Wire || ref.Number < 1 || ref.Number > static_cast<long long>(Heirs.size()))
        return {};
    const auto old = static_cast<std::size_t>(ref.Number - 1);
    const std::vector<int>& heirs = Heirs[old];
    const int now = NewNumber[old];
    if (heirs.empty() || now < 1) return {};
    const AntDef& after = *After->Ant;
    char renamed[PosTextSize] = {};
    CopyText(renamed, text);
    // The text as typed where its wire kept its number ("w0c", " w1c").
    const bool fits = now == ref.Number || SetPositionWire(renamed, PosTextSize, now, after.Wires[now - 1].PulseCount);

    const int pulse = PulseIn(*Before, text, static_cast<int>(old));
    if (pulse == 0) {
        if (!fits) return {PositionPlacement::Removed, "named no pulse and " + PositionTooLongReason() + " after the edit"};
        if (PulseIn(*After, renamed, now - 1) != 0)
            return {PositionPlacement::Removed, "named no pulse, would name one after the edit,"};
        return {PositionPlacement::Placed, renamed};
    }
    const Point3D at = Before->Points[static_cast<std::size_t>(pulse - 1)];
    // Both layouts work out the points from the same end points in double:
    // only rounding tells a pulse that stands there from one that does not.
    const WireRec& was = Before->Ant->Wires[old];
    const double tolerance = 1e-9 * (1.0 + std::fabs(at.X) + std::fabs(at.Y) + std::fabs(at.Z) +
                                     Distance(WireEnd1(was), WireEnd2(was)));
    if (fits) {
        const int still = PulseIn(*After, renamed, now - 1);
        if (still != 0 && Distance(After->Points[static_cast<std::size_t>(still - 1)], at) <= tolerance)
            return {PositionPlacement::Placed, renamed};
    }

    // The pulse there: on the wire's heirs first, else the junction's pulse
    // on a wire that meets an heir there; else the heirs' nearest.
    int exact = -1, junction = -1, nearest = -1;
    double nearestDistance = 0;
    for (std::size_t p = 0; p < After->Points.size(); ++p) {
        const int wire = After->WireOfPulse[p];
        bool onHeir = false, meetsHeir = false;
        const double d = Distance(After->Points[p], at);
        for (int heir : heirs) {
            onHeir = onHeir || wire == heir;
            meetsHeir = meetsHeir || (d <= tolerance && EndsAt(after.Wires[heir], at, tolerance));
        }
        if (onHeir && d <= tolerance && exact < 0) exact = static_cast<int>(p);
        if (!onHeir && meetsHeir && junction < 0) junction = static_cast<int>(p);
        if (onHeir && (nearest < 0 || d < nearestDistance)) {
            nearest = static_cast<int>(p);
            nearestDistance = d;
        }
    }
    // A wire segmented anew has its pulses elsewhere: what no pulse stands
    // at any more follows the wire, as after a change of its segments.
    if (exact < 0 && junction < 0 && Resegmented[old]) return {};
    const int best = exact >= 0 ? exact : junction >= 0 ? junction : nearest;
    if (best < 0) return {PositionPlacement::Removed, "has no pulse left on its wire after the edit"};
    const int wire = After->WireOfPulse[static_cast<std::size_t>(best)];
    const WireRec& w = after.Wires[wire];
    const std::string placed = PulseOnWireText(ref.Letter, wire + 1, best + 1 - w.FirstPulse, w.PulseCount);
    if (placed.size() > static_cast<std::size_t>(PosTextLength)) return {PositionPlacement::Removed, PositionTooLongReason()};
    const auto how = best == nearest && exact < 0 ? PositionPlacement::Nearest : PositionPlacement::Placed;
    return {how, AsLaidOut(*After, placed, wire)};
}

}  // namespace

std::function<PositionPlacement(const char*)> PlaceByPoint(const AntDef& after, const WireRenumbering& change) {
    auto beforeAnt = std::make_unique<AntDef>(after);
    const std::size_t oldCount = std::min<std::size_t>(change.Before.size(), MaxWires);
    std::memset(beforeAnt->Wires, 0, sizeof beforeAnt->Wires);
    for (std::size_t i = 0; i < oldCount; ++i) beforeAnt->Wires[i] = change.Before[i];
    beforeAnt->WireCount = static_cast<int32_t>(oldCount);

    Placer placer;
    auto before = std::make_shared<PulseLayout>();
    auto laidOut = std::make_shared<PulseLayout>();
    if (!LayOutPulses(*beforeAnt, *before) || !LayOutPulses(after, *laidOut)) return {};
    placer.Before = before;
    placer.After = laidOut;
    placer.NewNumber = change.NewNumber;
    placer.Heirs.resize(oldCount);
    placer.Resegmented.assign(oldCount, false);
    const int wiresAfter = std::clamp(after.WireCount, 0, MaxWires);
    for (std::size_t i = 0; i < oldCount && i < change.NewNumber.size(); ++i) {
        std::vector<int>& heirs = placer.Heirs[i];
        if (change.IsCut(i)) {
            for (int piece : change.Pieces[i])
                if (piece >= 1 && piece <= wiresAfter) heirs.push_back(piece - 1);
        } else {
            const int now = change.NewNumber[i];
            if (now >= 1 && now <= wiresAfter && SameWireEnds(after.Wires[now - 1], change.Before[i])) {
                heirs.push_back(now - 1);
                placer.Resegmented[i] = !SameSegmentation(after.Wires[now - 1], change.Before[i]);
            }
        }
    }
    return placer;
}
