#include "engine/PulseLayout.h"

#include "engine/WireExpansion.h"
#include "model/EnvDef.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace {

// Expands without a word in the log: the preparation that follows the edit
// says why a model is refused.
int QuietExpansion(AntDef& ant) {
    struct Quiet {
        int32_t saved = JobDef.Interactive;
        Quiet() { JobDef.Interactive = 0; }
        ~Quiet() { JobDef.Interactive = saved; }
        Quiet(const Quiet&) = delete;
        Quiet& operator=(const Quiet&) = delete;
    } quiet;
    return ExpandWires(ant);
}

}  // namespace

bool LayOutPulses(const AntDef& ant, PulseLayout& layout) {
    layout = PulseLayout{};
    layout.Ant = std::make_unique<AntDef>(ant);
    AntDef& copy = *layout.Ant;
    const int wireCount = std::clamp(copy.WireCount, 0, MaxWires);
    layout.Turned.assign(static_cast<std::size_t>(wireCount), false);
    for (int w : NormalizeGroundedWires(copy)) layout.Turned[static_cast<std::size_t>(w)] = true;

    // The wavelength the segmentation works from, as the preparation takes it.
    if (copy.CalcFreq == 0.0) copy.CalcFreq = copy.Freq;
    float f = static_cast<float>(copy.CalcFreq);
    if (f == 0.0f) f = 299.792458f;
    copy.Wavelength = 299.792458f / f;
    if (!(copy.Wavelength > 0.0) || !std::isfinite(copy.Wavelength)) return false;
    if (!QuietExpansion(copy)) return false;

    const bool overGround = EnvDef.Type != GroundFree;
    const double height = overGround ? EnvDef.AntHeight : 0.0;
    const int pieceCount = std::clamp(copy.ExpWireCount, 0, MaxExpWires);
    // Which ends of each piece carry a pulse, by the preparation's rule, and
    // the first and last segment joint (from 0) that stand a pulse.
    std::vector<PieceEnds> ends(static_cast<std::size_t>(pieceCount) + 1);
    std::vector<std::pair<int, int>> joints(static_cast<std::size_t>(pieceCount) + 1);
    long long pulses = 0;
    for (int w = 1; w <= pieceCount; ++w) {
        const ExpWireRec& piece = copy.ExpWires[w - 1];
        const Point3F a{static_cast<float>(piece.X1), static_cast<float>(piece.Y1),
                        static_cast<float>(piece.Z1 + height)};
        const Point3F b{static_cast<float>(piece.X2), static_cast<float>(piece.Y2),
                        static_cast<float>(piece.Z2 + height)};
        ends[static_cast<std::size_t>(w)] = PieceEnds{a.X, a.Y, a.Z, b.X, b.Y, b.Z};
        const int ground = overGround ? GroundContactEnd(a, b) : -1;
        const bool pulseAtA = ground == 0 || FindEarlierJoin(ends, w, a, 0).Piece != 0;
        const bool pulseAtB = ground == 1 || FindEarlierJoin(ends, w, b, 1).Piece != 0;
        const int segs = std::max(1, piece.Segs);
        const std::pair<int, int> range{pulseAtA ? 0 : 1, pulseAtB ? segs : segs - 1};
        joints[static_cast<std::size_t>(w)] = range;
        pulses += std::max(0, range.second - range.first + 1);
    }
    // No more pulses than any preparation takes, counted before a point is
    // listed: a segment count may reach the int range.
    if (pulses > MaxPulseLimit) return false;

    for (int w = 1; w <= pieceCount; ++w) {
        const ExpWireRec& piece = copy.ExpWires[w - 1];
        const int segs = std::max(1, piece.Segs);
        const int first = static_cast<int>(layout.Points.size()) + 1;
        const auto [from, to] = joints[static_cast<std::size_t>(w)];
        for (int k = from; k <= to; ++k) {
            const double t = static_cast<double>(k) / segs;
            layout.Points.push_back({piece.X1 + t * (piece.X2 - piece.X1), piece.Y1 + t * (piece.Y2 - piece.Y1),
                                     piece.Z1 + t * (piece.Z2 - piece.Z1)});
            layout.WireOfPulse.push_back(piece.UserWire);
        }
        const int count = static_cast<int>(layout.Points.size()) + 1 - first;
        if (count == 0 || piece.UserWire < 0 || piece.UserWire >= wireCount) continue;
        WireRec& wire = copy.Wires[piece.UserWire];
        if (wire.FirstPulse == 0) wire.FirstPulse = first;
        wire.PulseCount += count;
    }
    return true;
}
