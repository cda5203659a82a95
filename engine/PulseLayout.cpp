#include "engine/PulseLayout.h"

#include "engine/WireExpansion.h"
#include "model/EnvDef.h"
#include "model/PositionText.h"

#include <algorithm>
#include <cmath>
#include <memory>

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

double FractionAlong(const Point3D& a, const Point3D& b, const Point3D& p) {
    // Along the unit direction and then over the length: the squares of a
    // wire's length overflow long before its coordinates do.
    const double dx = b.X - a.X, dy = b.Y - a.Y, dz = b.Z - a.Z;
    const double length = std::hypot(dx, dy, dz);
    if (!(length > 0) || !std::isfinite(length)) return 0.0;
    return ((p.X - a.X) * (dx / length) + (p.Y - a.Y) * (dy / length) + (p.Z - a.Z) * (dz / length)) / length;
}

Point3D PointAlong(const Point3D& a, const Point3D& b, double t) {
    return {a.X + t * (b.X - a.X), a.Y + t * (b.Y - a.Y), a.Z + t * (b.Z - a.Z)};
}

Point3D PulseRun::PointAt(long long k) const { return PointAlong(A, B, static_cast<double>(k) / Segs); }

long long PulseRun::NearestK(const Point3D& p) const {
    // Pulses stand evenly on a line: the nearest in t is the nearest in space.
    const double k = std::ceil(std::clamp(FractionAlong(A, B, p), 0.0, 1.0) * Segs - 0.5);
    if (!std::isfinite(k)) return FirstK;  // a point at no number: no pulse is nearer than another
    return std::clamp(static_cast<long long>(k), static_cast<long long>(FirstK), static_cast<long long>(LastK));
}

std::optional<Point3D> PulseLayout::PointOnWire(int wire, long long index) const {
    if (index < 0) return std::nullopt;
    for (const PulseRun& run : Runs)
        if (run.Wire == wire && index >= run.FirstIndex && index < run.FirstIndex + run.Count())
            return run.PointAt(run.FirstK + index - run.FirstIndex);
    return std::nullopt;
}

long long PulseLayout::IndexNamed(const char* text, int wire) const {
    if (wire < 0 || wire >= static_cast<int>(WirePulses.size())) return -1;
    const PositionRef ref = SplitPosition(text);
    if (ref.Names != PositionRef::Wire || ref.Number != wire + 1) return -1;
    const long long count = WirePulses[static_cast<std::size_t>(wire)];
    const long long index = PulseIndexOnWire(ref.Rest, count);
    // The text names its pulse on the wire as typed; the preparation numbers
    // a turned wire's pulses from its other end.
    return index >= 0 && Turned[static_cast<std::size_t>(wire)] ? count - 1 - index : index;
}

std::optional<Point3D> PulseLayout::PointNamed(const char* text) const {
    const PositionRef ref = SplitPosition(text);
    if (ref.Names != PositionRef::Wire || ref.Number > static_cast<long long>(WirePulses.size())) return std::nullopt;
    const int wire = static_cast<int>(ref.Number - 1);
    return PointOnWire(wire, IndexNamed(text, wire));
}

LayoutGround GroundOfLayout() { return {EnvDef.Type != GroundFree, EnvDef.AntHeight}; }

double LayoutFrequency(const AntDef& ant) { return ant.CalcFreq == 0.0 ? ant.Freq : ant.CalcFreq; }

std::unique_ptr<AntDef> LayoutFieldsOf(const AntDef& ant) {
    auto fields = std::make_unique<AntDef>();
    fields->WireCount = std::clamp(ant.WireCount, 0, MaxWires);
    std::copy(ant.Wires, ant.Wires + fields->WireCount, fields->Wires);
    fields->Freq = ant.Freq;
    fields->CalcFreq = ant.CalcFreq;
    fields->DM1 = ant.DM1;
    fields->DM2 = ant.DM2;
    fields->EC = ant.EC;
    fields->SC = ant.SC;
    fields->TaperSetCount = std::clamp(ant.TaperSetCount, 0, MaxTaperSets);
    std::copy(ant.TaperSets, ant.TaperSets + fields->TaperSetCount, fields->TaperSets);
    fields->nH = fields->nV = 1;
    return fields;
}

namespace {

bool SameTaperSet(const TaperSet& a, const TaperSet& b) {
    return a.Key == b.Key && a.Type == b.Type && std::equal(std::begin(a.Len), std::end(a.Len), std::begin(b.Len)) &&
           std::equal(std::begin(a.Rad), std::end(a.Rad), std::begin(b.Rad));
}

}  // namespace

bool SameLayoutFields(const AntDef& a, const AntDef& b) {
    const int wires = std::clamp(a.WireCount, 0, MaxWires), sets = std::clamp(a.TaperSetCount, 0, MaxTaperSets);
    return wires == std::clamp(b.WireCount, 0, MaxWires) && std::equal(a.Wires, a.Wires + wires, b.Wires, SameWireAsTyped) &&
           LayoutFrequency(a) == LayoutFrequency(b) && a.DM1 == b.DM1 && a.DM2 == b.DM2 && a.EC == b.EC &&
           a.SC == b.SC && sets == std::clamp(b.TaperSetCount, 0, MaxTaperSets) &&
           std::equal(a.TaperSets, a.TaperSets + sets, b.TaperSets, SameTaperSet);
}

bool LayOutPulses(const AntDef& ant, PulseLayout& layout) {
    layout = PulseLayout{};
    auto copy = std::make_unique<AntDef>(ant);
    const int wireCount = std::clamp(copy->WireCount, 0, MaxWires);
    layout.Turned.assign(static_cast<std::size_t>(wireCount), false);
    layout.WirePulses.assign(static_cast<std::size_t>(wireCount), 0);
    for (int w : NormalizeGroundedWires(*copy)) layout.Turned[static_cast<std::size_t>(w)] = true;

    // The wavelength the segmentation works from, as the preparation takes it.
    copy->CalcFreq = LayoutFrequency(*copy);
    float f = static_cast<float>(copy->CalcFreq);
    if (f == 0.0f) f = 299.792458f;
    copy->Wavelength = 299.792458f / f;
    if (!(copy->Wavelength > 0.0) || !std::isfinite(copy->Wavelength)) return false;
    if (!QuietExpansion(*copy)) return false;

    const bool overGround = EnvDef.Type != GroundFree;
    const double height = overGround ? EnvDef.AntHeight : 0.0;
    const int pieceCount = std::clamp(copy->ExpWireCount, 0, MaxExpWires);
    std::vector<PieceEnds> ends(static_cast<std::size_t>(pieceCount) + 1);
    for (int w = 1; w <= pieceCount; ++w) {
        const ExpWireRec& piece = copy->ExpWires[w - 1];
        const Point3F a{static_cast<float>(piece.X1), static_cast<float>(piece.Y1),
                        static_cast<float>(piece.Z1 + height)};
        const Point3F b{static_cast<float>(piece.X2), static_cast<float>(piece.Y2),
                        static_cast<float>(piece.Z2 + height)};
        // A wire of no length is a row not typed yet, which the preparation
        // refuses: nothing joins it. Asked of the typed ends, since ends
        // far apart can round to one float (both infinite).
        if (piece.X1 == piece.X2 && piece.Y1 == piece.Y2 && piece.Z1 == piece.Z2) {
            const float none = std::nanf("");
            ends[static_cast<std::size_t>(w)] = PieceEnds{none, none, none, none, none, none};
            continue;
        }
        ends[static_cast<std::size_t>(w)] = PieceEnds{a.X, a.Y, a.Z, b.X, b.Y, b.Z};
        const int ground = overGround ? GroundContactEnd(a, b) : -1;
        const bool pulseAtA = ground == 0 || FindEarlierJoin(ends, w, a, 0).Piece != 0;
        const bool pulseAtB = ground == 1 || FindEarlierJoin(ends, w, b, 1).Piece != 0;
        PulseRun run;
        run.Wire = piece.UserWire;
        run.A = {piece.X1, piece.Y1, piece.Z1};
        run.B = {piece.X2, piece.Y2, piece.Z2};
        run.Segs = std::max(1, piece.Segs);
        run.FirstK = pulseAtA ? 0 : 1;
        run.LastK = pulseAtB ? run.Segs : run.Segs - 1;
        if (run.Count() <= 0 || run.Wire < 0 || run.Wire >= wireCount) continue;
        long long& pulses = layout.WirePulses[static_cast<std::size_t>(run.Wire)];
        run.FirstIndex = pulses;
        pulses += run.Count();
        layout.Runs.push_back(run);
    }
    return true;
}
