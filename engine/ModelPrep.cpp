#include "engine/ModelPrep.h"

#include "engine/EngineError.h"
#include "engine/EngineMessageLog.h"
#include "engine/PulseLayout.h"
#include "engine/WireExpansion.h"
#include "engine/WireLoss.h"
#include "model/CheckedFormat.h"
#include "model/EnvDef.h"
#include "model/Messages.h"
#include "model/PositionText.h"
#include "model/ResultStore.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdlib>

namespace {

bool modelReady = false;

constexpr double TwoPi = 6.283185307179586;

bool SamePoint(float ax, float ay, float az, float bx, float by, float bz) {
    return ax == bx && ay == by && az == bz;
}

void SetupGround() {
    EngineState& e = Engine;
    e.MediaCount = 0;
    e.BoundaryKind = 1;
    e.RadialCount = 0;
    e.RadialRadius = 0;
    if (EnvDef.Type == GroundFree) {
        e.GroundFlag = 1;
        return;
    }
    e.GroundFlag = -1;
    if (EnvDef.Type != GroundReal) return;
    e.MediaCount = std::clamp(EnvDef.MediaMax, 1, MaxMedia);
    for (int m = 0; m < e.MediaCount; ++m) {
        GroundMedium& g = e.Media[m];
        g.Dielectric = EnvDef.Dieleciric[m];
        g.Conductivity = EnvDef.Conductivity[m];
        g.Boundary = EnvDef.Coord[m] == 0.0 ? 1e6 : EnvDef.Coord[m];
        g.Height = EnvDef.Height[m];
    }
    if (EnvDef.MediaType) {
        e.BoundaryKind = 2;
        // A screen needs wires: no count or no radius means no screen.
        if (EnvDef.RadialCount > 0 && EnvDef.RadialRadius > 0.0) {
            e.RadialCount = EnvDef.RadialCount;
            e.RadialRadius = static_cast<float>(EnvDef.RadialRadius);
        }
    }
    e.Media[e.MediaCount - 1].Boundary = 1e6;
}

// Media values no medium takes are refused, as the media dialog refuses
// them, and so is a surface height whose phase in the far field's sine
// leaves its int range (beyond a million wavelengths).
bool GroundUsable() {
    const EngineState& e = Engine;
    for (int m = 0; m < e.MediaCount; ++m) {
        const GroundMedium& g = e.Media[m];
        if (!MediumValueInRange(MediumValue::Dielectric, g.Dielectric) ||
            !MediumValueInRange(MediumValue::Conductivity, g.Conductivity) ||
            !MediumValueInRange(MediumValue::Coord, g.Boundary) || !MediumValueInRange(MediumValue::Height, g.Height) ||
            !(std::fabs(static_cast<float>(g.Height)) <= 1e6f * e.Wavelength)) {
            AddEngineLog(FormatInCLocale("GROUND MEDIUM %d: VALUES OUT OF RANGE", m + 1));
            return false;
        }
    }
    return true;
}

// Stores the ends of piece w and finds the earlier pieces it is joined to,
// by exact equality of the end coordinates. Returns the signed joined piece
// at end 1 and end 2 (0 free; -w a ground contact).
void WireGeometry(int w, const Point3F& a, const Point3F& b, int& j1, int& j2) {
    EngineState& e = Engine;
    e.PieceGeometry[w] = PieceEnds{a.X, a.Y, a.Z, b.X, b.Y, b.Z};
    j1 = j2 = 0;
    e.PieceEndLink[w][0] = -w;
    e.PieceEndLink[w][1] = -w;
    e.PieceGroundContact[w] = 0;
    const int ground = e.GroundFlag < 0 ? GroundContactEnd(a, b) : -1;
    if (ground == 0) {
        j1 = -w;
        e.PieceGroundContact[w] = -1;
    } else if (ground == 1) {
        j2 = -w;
        e.PieceGroundContact[w] = 1;
    }
    // A join to the same end of the earlier piece runs against it (-), one
    // to its other end along it (+).
    auto link = [&](const PieceJoin& join, int& j, int endOfW) {
        if (join.Piece == 0) return;
        const int v = join.Piece;
        j = join.End == endOfW ? -v : v;
        e.PieceEndLink[w][endOfW] = v;
        if (e.PieceEndLink[v][join.End] == -v) e.PieceEndLink[v][join.End] = v;
    };
    if (ground != 0) link(FindEarlierJoin(e.PieceGeometry, w, a, 0), j1, 0);
    if (ground != 1) link(FindEarlierJoin(e.PieceGeometry, w, b, 1), j2, 1);
}

// One segment of piece v from point p, along v's direction with the sign of
// the join; a join with the piece itself (a ground contact) mirrors Z.
Point3F StepAlong(const Point3F& p, int join, int w, float direction) {
    const EngineState& e = Engine;
    const int v = std::abs(join);
    const float sign = join > 0 ? direction : -direction;
    const Point3F& u = e.PieceDirection[v];
    const float s = e.PieceSegLength[v];
    const float zSign = join == -w ? -sign : sign;
    return Point3F{p.X + sign * s * u.X, p.Y + sign * s * u.Y, p.Z + zSign * s * u.Z};
}

// The kernel takes sines of the wave number times distances between points
// and converts them to int on the way: points beyond a million wavelengths
// (or not finite at all, after the conversion to float) are refused here.
bool GeometryUsable(const Point3F& a, const Point3F& b, float radius, float wavelength) {
    const float limit = 1e6f * wavelength;
    for (float v : {a.X, a.Y, a.Z, b.X, b.Y, b.Z, radius})
        if (!(std::fabs(v) <= limit)) return false;
    return true;
}

bool MakePulses(AntDef& ant, int maxPulses) {
    EngineState& e = Engine;
    const double h = e.AntennaHeight;
    for (int w = 1; w <= e.PieceCount; ++w) {
        const ExpWireRec& piece = ant.ExpWires[w - 1];
        const Point3F a{static_cast<float>(piece.X1), static_cast<float>(piece.Y1), static_cast<float>(piece.Z1 + h)};
        const Point3F b{static_cast<float>(piece.X2), static_cast<float>(piece.Y2), static_cast<float>(piece.Z2 + h)};
        // A negative radius (a taper key without its set) still describes a wire.
        e.PieceRadius[w] = std::fabs(static_cast<float>(piece.R));
        const int segs = std::max(1, piece.Segs);
        if (!GeometryUsable(a, b, e.PieceRadius[w], e.Wavelength)) {
            AddEngineLog(FormatInCLocale("WIRE %d: COORDINATES OR RADIUS OUT OF RANGE", piece.UserWire + 1));
            return false;
        }
        if (SamePoint(a.X, a.Y, a.Z, b.X, b.Y, b.Z)) {
            LogEngineMessage(EngZeroLengthWire, w);
            return false;
        }
        if (e.GroundFlag < 0 && a.Z <= 0.0f && b.Z <= 0.0f) {
            const int userWire = piece.UserWire + 1;
            if (userWire != e.LastUnderGroundWire)
                LogEngineMessage(EngWireUnderGround, userWire, static_cast<double>(std::min(a.Z, b.Z)));
            e.LastUnderGroundWire = userWire;
        }
        int j1 = 0, j2 = 0;
        WireGeometry(w, a, b, j1, j2);
        const float dx = b.X - a.X, dy = b.Y - a.Y, dz = b.Z - a.Z;
        const float length = std::sqrt(dx * dx + dy * dy + dz * dz);
        e.PieceDirection[w] = Point3F{dx / length, dy / length, dz / length};
        e.PieceSegLength[w] = length / static_cast<float>(segs);

        const int first = e.PulseCount + 1;
        // Counted wide: a typed segment count may reach the int range.
        long long wide = static_cast<long long>(e.PulseCount) + segs + 1;
        if (j1 == 0) --wide;
        if (j2 == 0) --wide;
        if (wide > maxPulses) {
            LogEngineMessage(EngPulseDimension, maxPulses);
            return false;
        }
        const int n = static_cast<int>(wide);
        e.PulseCount = n;
        e.PieceFirstPulse[w] = (segs == 1 && j1 == 0) ? 0 : first;
        e.PieceLastPulse[w] = (segs == 1 && j2 == 0) ? 0 : n;
        const int i0 = first + 2 * w - 2;
        if (first > n) {
            e.PieceFirstPulse[w] = 0;
            e.PieceLastPulse[w] = 0;
            e.Points[i0] = a;
            e.Points[i0 + 1] = b;
            continue;
        }
        for (int p = first; p <= n; ++p) {
            e.Halves[p] = PulseHalves{w, w};
            e.PulsePiece[p] = w;
        }
        e.Halves[first].First = j1;
        e.Halves[n].Second = j2;
        const float sx = dx / static_cast<float>(segs), sy = dy / static_cast<float>(segs),
                    sz = dz / static_cast<float>(segs);
        e.Points[i0] = j1 != 0 ? StepAlong(a, j1, w, -1.0f) : a;
        const int d = j1 != 0 ? 1 : 0;
        const int last = 2 * w + n;
        for (int j = 1; j <= last - i0; ++j) {
            const float f = static_cast<float>(j - d);
            e.Points[i0 + j] = Point3F{a.X + f * sx, a.Y + f * sy, a.Z + f * sz};
        }
        if (j2 != 0) e.Points[last] = StepAlong(e.Points[last - 1], j2, w, 1.0f);
    }
    return true;
}

// Records the pulse and point ranges of every piece and gives a free half
// of a pulse its own piece.
void BuildPulseConnections(AntDef& ant) {
    EngineState& e = Engine;
    for (int w = 1; w <= e.PieceCount; ++w) {
        ExpWireRec& piece = ant.ExpWires[w - 1];
        piece.FirstPulse = 0;
        piece.FirstPoint = 0;
        piece.LastPoint = 0;
    }
    for (int p = 1; p <= e.PulseCount; ++p) {
        const int w = e.PulsePiece[p];
        ExpWireRec& piece = ant.ExpWires[w - 1];
        const int point = 2 * w + p - 1;
        if (piece.FirstPulse == 0) {
            piece.FirstPulse = p;
            piece.FirstPoint = point;
        }
        piece.LastPoint = point;
        if (e.Halves[p].First == 0) e.Halves[p].First = w;
        if (e.Halves[p].Second == 0) e.Halves[p].Second = w;
    }
}

double LaplacePart(const float* c, int n, double omega, bool imaginary) {
    // Real part: even powers with signs + - + ...; imaginary: odd powers alike.
    double sum = 0.0, power = 1.0;
    for (int j = 0; j < n; ++j) {
        if ((j % 2 == 1) == imaginary) {
            const int k = j / 2;
            sum += (k % 2 == 0 ? 1.0 : -1.0) * c[j] * power;
        }
        power *= omega;
    }
    return sum;
}

bool SetupLoads(AntDef& ant) {
    EngineState& e = Engine;
    const int requested = ant.UseLoads ? std::clamp(ant.LoadCount, 0, MaxLoads) : 0;
    const double f = e.Frequency;
    int count = 0;
    for (int l = 0; l < requested; ++l) {
        const LoadRec& in = ant.Loads[l];
        if (in.Pulse > e.PulseCount) {
            LogEngineMessage(EngSourcePulseRange);  // entry 9: a load beyond the pulses
            return false;
        }
        if (in.Pulse <= 0) {
            AddEngineLog(FormatInCLocale("LOAD %d (%.8s) LIES ON NO PULSE - IGNORED", l + 1, in.Pos));
            continue;
        }
        EngineLoad out{};
        out.Pulse = in.Pulse;
        out.Order = 0;
        switch (in.Type) {
        case LoadLC: {
            if (in.A[0] == 0.0 && in.B[0] == 0.0) {
                AddEngineLog(FormatInCLocale("LOAD %d (%.8s): L AND C ARE 0 - IGNORED", l + 1, in.Pos));
                continue;
            }
            double r = 0.0, x = 0.0;
            CalcLCLoad(in.A[0], in.B[0], in.A[1], f, r, x);
            out.A[0] = static_cast<float>(r);
            out.B[0] = static_cast<float>(x);
            break;
        }
        case LoadS: {
            const int n = std::min(in.N, MaxLoadPairs);
            if (n < 1) break;  // no coefficients: no impedance
            out.Order = n;
            for (int j = 0; j < n; ++j) {
                out.A[j] = static_cast<float>(in.A[j]);
                out.B[j] = static_cast<float>(in.B[j]);
            }
            break;
        }
        default:
            out.A[0] = static_cast<float>(in.A[0]);
            out.B[0] = static_cast<float>(in.B[0]);
            break;
        }
        e.Loads[++count] = out;
    }
    e.LoadCount = count;
    return true;
}

void AddWireLossLoads(AntDef& ant) {
    EngineState& e = Engine;
    if (EnvDef.Material == 0) return;
    for (int i = 0; i < ant.WireCount && e.LoadCount < MaxEngineLoads; ++i) {
        const WireRec& wire = ant.Wires[i];
        if (wire.R == 0.0) continue;
        const int pulse = wire.FirstPulse + wire.PulseCount / 2;
        if (wire.FirstPulse <= 0 || pulse > e.PulseCount) continue;  // a wire without pulses carries no load
        EngineLoad load{};
        load.Pulse = pulse;
        load.Order = 0;
        load.A[0] = static_cast<float>(WireLossResistance(ant, wire));
        load.B[0] = 0.0f;
        e.Loads[++e.LoadCount] = load;
    }
}

bool SetupSources(AntDef& ant, int maxPulses) {
    EngineState& e = Engine;
    const int count = std::max(1, ant.SourceCount);
    if (count > maxPulses || count > MaxEngineSources) {
        LogEngineMessage(EngSourceDimension);
        return false;
    }
    // Entry k keeps source k of the antenna (its position text is reported);
    // a source on no pulse stays with pulse 0 and is skipped by the solution.
    // Without sources the first, empty entry stands in silently: there is no
    // source to report.
    for (int s = 0; s < count; ++s) {
        const SourceRec& in = ant.Sources[s];
        if (in.Pulse > e.PulseCount) {
            LogEngineMessage(EngLoadPulseRange);  // entry 11: a source beyond the pulses
            return false;
        }
        EngineSource& out = e.Sources[s + 1];
        out.Pulse = std::max(0, in.Pulse);
        const double phi = in.Phase * (TwoPi / 360.0);
        out.Voltage = ComplexF(static_cast<float>(in.Voltage * std::cos(phi)),
                               static_cast<float>(in.Voltage * std::sin(phi)));
        if (out.Pulse == 0 && s < ant.SourceCount)
            AddEngineLog(FormatInCLocale("SOURCE %d (%.8s) LIES ON NO PULSE - IGNORED", s + 1, in.Pos));
        for (int t = 1; t <= s && out.Pulse != 0; ++t)
            if (e.Sources[t].Pulse == out.Pulse) {
                AddEngineLog(FormatInCLocale("SOURCES %d AND %d SHARE PULSE %d - THEIR VOLTAGES ADD", t, s + 1,
                                             out.Pulse));
                break;
            }
    }
    e.SourceCount = count;
    return true;
}

}  // namespace

void CalcLCLoad(double l, double c, double q, double fMHz, double& r, double& x) {
    const double omega = TwoPi * fMHz;
    if (l != 0.0 && c != 0.0) {
        const double xl = omega * l;
        const double rl = q != 0.0 ? xl / q : 0.0;
        const double b = omega * c * 1e-6;
        // Y = 1 / (rl + j xl) + j b
        const double d = rl * rl + xl * xl;
        const double yr = rl / d;
        const double yi = -xl / d + b;
        const double y2 = yr * yr + yi * yi;
        if (y2 == 0.0) {
            r = FLT_MAX;
            x = -FLT_MAX;
            return;
        }
        r = yr / y2;
        x = -yi / y2;
    } else if (l != 0.0) {
        x = omega * l;
        r = q != 0.0 ? x / q : 0.0;
    } else {
        x = -1.0 / (omega * c * 1e-6);
        r = q != 0.0 ? -x / q : 0.0;
    }
}

ComplexF LoadImpedance(const EngineLoad& load, double fMHz) {
    if (load.Order == 0) return ComplexF(load.A[0], load.B[0]);
    const double omega = TwoPi * fMHz * 1e6;
    const double nr = LaplacePart(load.A, load.Order, omega, false);
    const double ni = LaplacePart(load.A, load.Order, omega, true);
    const double dr = LaplacePart(load.B, load.Order, omega, false);
    const double di = LaplacePart(load.B, load.Order, omega, true);
    const double d = dr * dr + di * di;
    if (d == 0.0 || !std::isfinite(d)) throw EngineError("Laplace load with a zero denominator");
    return ComplexF(static_cast<float>((nr * dr + ni * di) / d), static_cast<float>((ni * dr - nr * di) / d));
}

bool ModelPrepared() { return modelReady; }

int PrepareModel(AntDef* ant) {
    EngineState& e = Engine;
    modelReady = false;
    e.Model = ant;
    ClearEngineLog();
    const int maxPulses = std::min(EnvDef.PMAX, e.MaxPulses);
    e.PulseCount = 0;
    e.PieceCount = 0;
    e.SourceCount = 0;
    e.LoadCount = 0;
    e.LastUnderGroundWire = 0;
    e.MatrixState = MatrixNotFilled;

    if (ant->CalcFreq == 0.0) ant->CalcFreq = ant->Freq;
    // Below the lowest frequency an antenna takes, single precision may
    // turn the frequency into 0, which would read as "none" below.
    if (ant->CalcFreq != 0.0 && ant->CalcFreq < MinFrequencyMHz) {
        AddEngineLog(FormatInCLocale("FREQUENCY %.6g MHZ IS BELOW 0.001 MHZ - NOT CALCULATED", ant->CalcFreq));
        return 0;
    }
    if (ant->CalcFreq > MaxFrequencyMHz) {
        AddEngineLog(FormatInCLocale("FREQUENCY %.6g MHZ IS ABOVE 1000000 MHZ - NOT CALCULATED", ant->CalcFreq));
        return 0;
    }
    float f = static_cast<float>(ant->CalcFreq);
    if (f == 0.0f) f = 299.792458f;
    const float lambda = 299.792458f / f;
    LogEngineMessage(EngWaveLength, static_cast<double>(lambda));
    if (!(lambda > 0.0f) || !std::isfinite(lambda)) return 0;  // a negative or absurd frequency
    e.Frequency = f;
    e.Wavelength = lambda;
    e.NearDisplacement = 0.001f * lambda;
    e.MatrixScale = 4.77783352f * lambda;
    e.ThinWireLimit = 1e-4f * lambda;
    ant->Wavelength = lambda;
    e.WaveNumber = 6.2831853f / lambda;
    e.HalfWaveNumberSq = e.WaveNumber * e.WaveNumber / 2.0f;

    // The expansion logs why it refuses (a full piece table, a missing
    // tapered set, unusable segmentation): a model with dropped or broken
    // pieces would give a wrong result.
    if (!ExpandWires(*ant)) return 0;
    SetupGround();
    if (!GroundUsable()) return 0;
    e.PieceCount = std::clamp(ant->ExpWireCount, 0, MaxExpWires);
    e.AntennaHeight = EnvDef.Type != GroundFree ? EnvDef.AntHeight : 0.0;
    if (e.MaxPulses <= 0 || !e.Points) {
        LogEngineMessage(EngPulseDimension, maxPulses);
        return 0;
    }
    if (!MakePulses(*ant, maxPulses)) return 0;
    if (e.PulseCount == 0) {
        LogEngineMessage(EngNoPulses);
        return 0;
    }
    BuildPulseConnections(*ant);
    e.MatrixStride = e.PulseCount;
    e.Matrix.KeepPagesFor(EngineState::MatrixEntriesFor(e.PulseCount));
    LogEngineMessage(EngTotalPulse, e.PulseCount);
    ResolvePositions(*ant);

    if (!SetupLoads(*ant)) return 0;
    AddWireLossLoads(*ant);
    if (!SetupSources(*ant, maxPulses)) return 0;

    e.MatrixState = MatrixNotFilled;
    Results.HasFarField = 0;
    modelReady = true;
    return 1;
}
