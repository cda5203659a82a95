#include "editing/CutWirePlacement.h"

#include "engine/WireExpansion.h"
#include "model/PositionText.h"

#include <cmath>
#include <string>

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

}  // namespace

std::string PulseOnWireText(char letter, int wire, int index, int count) {
    const std::string w = letter + std::to_string(wire);
    const int fromCentre = index - count / 2;
    const int fromEnd = count - 1 - index;
    auto form = [&](char end, int offset) {
        if (offset == 0) return w + end;
        return w + end + (offset > 0 ? "+" : "") + std::to_string(offset);
    };
    std::string best = form('c', fromCentre);
    for (const std::string& other : {form('b', index), form('e', fromEnd)})
        if (other.size() < best.size()) best = other;
    return best;
}

WireRenumbering::Placement CutWirePlacement::operator()(const char* text) const {
    if (!Before || !After || !text) return {};
    const PositionRef ref = SplitPosition(text);
    if (ref.Names != PositionRef::Wire || ref.Number < 1 || ref.Number > static_cast<long long>(Pieces.size())) return {};
    const int oldWire = static_cast<int>(ref.Number - 1);
    const int pulse = ParseSourcePos(*Before->Ant, AsLaidOut(*Before, text, oldWire).c_str());
    if (pulse < 1 || pulse > static_cast<int>(Before->Points.size())) return {};
    const Point3D at = Before->Points[static_cast<std::size_t>(pulse - 1)];

    const std::vector<int>& pieces = Pieces[static_cast<std::size_t>(oldWire)];
    int best = -1;
    double bestDistance = 0;
    for (std::size_t p = 0; p < After->Points.size(); ++p) {
        bool onPiece = false;
        for (int piece : pieces) onPiece = onPiece || After->WireOfPulse[p] == piece;
        const double d = Distance(After->Points[p], at);
        if (onPiece && (best < 0 || d < bestDistance)) {
            best = static_cast<int>(p);
            bestDistance = d;
        }
    }
    if (best < 0) return {};
    const int wire = After->WireOfPulse[static_cast<std::size_t>(best)];
    const WireRec& w = After->Ant->Wires[wire];
    std::string placed = PulseOnWireText(ref.Letter, wire + 1, best + 1 - w.FirstPulse, w.PulseCount);
    if (placed.size() > static_cast<std::size_t>(PosTextLength)) return {};
    placed = AsLaidOut(*After, placed, wire);
    // Both points are worked out from the same end points in double: only
    // rounding tells a pulse that stands there from one that does not.
    const WireRec& old = Before->Ant->Wires[oldWire];
    const double length = Distance(WireEnd1(old), WireEnd2(old));
    return {placed, bestDistance > 1e-9 * (1.0 + length)};
}
