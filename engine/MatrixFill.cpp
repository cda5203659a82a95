#include "engine/MatrixFill.h"

#include "engine/Kernel.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

// Read-only view of the prepared model for the fill's worker threads.
struct FillView {
    const Point3F* points;
    const PulseHalves* halves;
    const int* pulsePiece;
    const EngineState* e;
    KernelConstants kc;
    int n;
    bool ground;

    int Centre(int p) const { return 2 * pulsePiece[p] + p - 1; }
    int Piece1(int p) const { return std::abs(halves[p].First); }
    int Piece2(int p) const { return std::abs(halves[p].Second); }
    bool GroundContact(int p) const { return halves[p].First == -halves[p].Second; }

    bool SameOrJoined(int wi, int wj) const {
        if (wi == wj) return true;
        const int* a = e->PieceEndLink[wi];
        const int* b = e->PieceEndLink[wj];
        return a[0] == b[0] || a[0] == b[1] || a[1] == b[0] || a[1] == b[1];
    }
};



// Vector potential from the centre of pulse i over half `half` of pulse j.
ComplexF HalfIntegral(const FillView& v, int i, int j, int kappa, int half) {
    const KernelVec obs = AsKernelVec(v.points[v.Centre(i)]);
    const int t = v.Centre(j);
    KernelVec a, b;
    int piece;
    if (half == 2) {
        a = AsKernelVec(v.points[t]);
        b = MidPoint(v.points[t], v.points[t + 1]);
        piece = v.Piece2(j);
    } else {
        a = MidPoint(v.points[t - 1], v.points[t]);
        b = AsKernelVec(v.points[t]);
        piece = v.Piece1(j);
    }
    return PsiIntegral(RelativeSource(a, obs, kappa), RelativeSource(b, obs, kappa), 0.5f, v.e->PieceSegLength[piece],
                       v.e->PieceRadius[piece], kappa, PotentialKind::Vector,
                       v.SameOrJoined(v.pulsePiece[i], v.pulsePiece[j]), v.kc);
}

// Midpoint of the segment before (side -1) or after (side +1) pulse i's centre.
KernelVec ScalarObservation(const FillView& v, int i, int side) {
    const int t = v.Centre(i);
    return side < 0 ? MidPoint(v.points[t - 1], v.points[t]) : MidPoint(v.points[t], v.points[t + 1]);
}

// Scalar potential from obs (belonging to pulse i) over the whole segment
// before (half 1) or after (half 2) the centre of pulse j.
ComplexF SegmentIntegral(const FillView& v, const KernelVec& obs, int i, int j, int kappa, int half) {
    const int t = v.Centre(j);
    const int first = half == 2 ? t : t - 1;
    const int piece = half == 2 ? v.Piece2(j) : v.Piece1(j);
    return PsiIntegral(RelativeSource(AsKernelVec(v.points[first]), obs, kappa), RelativeSource(AsKernelVec(v.points[first + 1]), obs, kappa),
                       1.0f, v.e->PieceSegLength[piece], v.e->PieceRadius[piece], kappa, PotentialKind::Scalar,
                       v.SameOrJoined(v.pulsePiece[i], v.pulsePiece[j]), v.kc);
}

// The four scalar integrals of one entry: [side][half], side 0 = t_i - 1/2.
struct ScalarSet {
    ComplexF s[2][2];
};

// kappa (A + Phi) of entry (i, j) from its scalar integrals.
ComplexF EntryTerm(const FillView& v, int i, int j, int kappa, const ScalarSet& sc) {
    const EngineState& e = *v.e;
    const PulseHalves& hi = v.halves[i];
    const PulseHalves& hj = v.halves[j];
    const int i1 = std::abs(hi.First), i2 = std::abs(hi.Second);
    const int j1 = std::abs(hj.First), j2 = std::abs(hj.Second);
    const float si1 = hi.First < 0 ? -1.0f : 1.0f, si2 = hi.Second < 0 ? -1.0f : 1.0f;
    const float sj1 = hj.First < 0 ? -1.0f : 1.0f, sj2 = hj.Second < 0 ? -1.0f : 1.0f;

    // Tangent of the observation pulse.
    const Point3F& ui1 = e.PieceDirection[i1];
    const Point3F& ui2 = e.PieceDirection[i2];
    const float f4 = si1 * e.PieceSegLength[i1], f5 = si2 * e.PieceSegLength[i2];
    const float tx = f4 * ui1.X + f5 * ui2.X;
    const float ty = f4 * ui1.Y + f5 * ui2.Y;
    const float tz = v.GroundContact(i) ? (ui1.Z + ui2.Z) * e.PieceSegLength[i1] : f4 * ui1.Z + f5 * ui2.Z;

    // A ground-contact source pulse carries its own image: its Z parts are
    // weighted by the half signs.
    const bool contact = v.GroundContact(j);
    const float z1 = contact ? sj1 : 1.0f, z2 = contact ? sj2 : 1.0f;
    const ComplexF psi2 = sj2 * HalfIntegral(v, i, j, kappa, 2);
    const ComplexF psi1 = sj1 * HalfIntegral(v, i, j, kappa, 1);
    const Point3F& uj1 = e.PieceDirection[j1];
    const Point3F& uj2 = e.PieceDirection[j2];
    const ComplexF ax = psi2 * uj2.X + psi1 * uj1.X;
    const ComplexF ay = psi2 * uj2.Y + psi1 * uj1.Y;
    const ComplexF az = static_cast<float>(kappa) * (z2 * psi2 * uj2.Z + z1 * psi1 * uj1.Z);
    const ComplexF vector = e.HalfWaveNumberSq * (ax * tx + ay * ty + az * tz);

    const ComplexF scalar = (sc.s[0][1] - sc.s[1][1]) / e.PieceSegLength[j2] +
                            (sc.s[1][0] - sc.s[0][0]) / e.PieceSegLength[j1];
    return static_cast<float>(kappa) * (vector + scalar);
}

FillView MakeView() {
    const EngineState& e = Engine;
    FillView v{};
    v.points = e.Points.Data();
    v.halves = e.Halves.Data();
    v.pulsePiece = e.PulsePiece.Data();
    v.e = &e;
    v.kc = KernelConstants{e.WaveNumber, e.ThinWireLimit};
    v.n = e.PulseCount;
    v.ground = e.GroundFlag < 0;
    return v;
}

ComplexF* MatrixRow(int i) { return &Engine.MatrixAt(i, 0); }

// The segment after pulse j's centre is the one before pulse j + 1's centre
// when both pulses lie on one piece in a row: their scalar integrals are the
// same evaluation.
bool SharesSegmentWithNext(const FillView& v, int j) {
    return j < v.n && v.Centre(j + 1) == v.Centre(j) + 1 && v.pulsePiece[j + 1] == v.pulsePiece[j] &&
           v.Piece1(j + 1) == v.Piece2(j);
}

// Scalar integrals of one observation midpoint against every source
// segment: out[j][half - 1].
void ScalarRow(const FillView& v, const KernelVec& obs, int i, int kappa, std::vector<ComplexF>& out) {
    for (int j = 1; j <= v.n; ++j) {
        if (j > 1 && SharesSegmentWithNext(v, j - 1))
            out[2 * j] = out[2 * (j - 1) + 1];
        else
            out[2 * j] = SegmentIntegral(v, obs, i, j, kappa, 1);
        out[2 * j + 1] = SegmentIntegral(v, obs, i, j, kappa, 2);
    }
}

}  // namespace

ComplexF VectorPotential(int i, int j, int kappa, int half) { return HalfIntegral(MakeView(), i, j, kappa, half); }

ComplexF ScalarPotential(int i, int side, int j, int kappa, int half) {
    const FillView v = MakeView();
    return SegmentIntegral(v, ScalarObservation(v, i, side), i, j, kappa, half);
}

ComplexF MatrixEntryDirect(int i, int j) {
    const FillView v = MakeView();
    ComplexF sum(0.0f, 0.0f);
    for (int kappa = 1; kappa >= (v.ground ? -1 : 1); kappa -= 2) {
        if (kappa < 0 && v.GroundContact(j)) continue;
        ScalarSet sc;
        for (int side = 0; side < 2; ++side) {
            const KernelVec obs = ScalarObservation(v, i, side == 0 ? -1 : 1);
            for (int half = 1; half <= 2; ++half) sc.s[side][half - 1] = SegmentIntegral(v, obs, i, j, kappa, half);
        }
        sum += EntryTerm(v, i, j, kappa, sc);
    }
    return sum;
}

void FillMatrix() {
    const FillView v = MakeView();
    const int n = v.n;
    // Small models fill faster on one thread than with the team's start-up
    // and barrier; one task then reuses every scalar row it can.
    const bool parallel = n >= 192;
    const int rowsPerTask = parallel ? 8 : std::max(1, n);
    const int tasks = (n + rowsPerTask - 1) / rowsPerTask;
#pragma omp parallel if (parallel)
    {
        // Scalar rows of the midpoints before and after the current pulse,
        // for the source and its image; the "after" row of one pulse is the
        // "before" row of the next pulse on the same piece.
        std::vector<ComplexF> before[2], after[2];
        for (int k = 0; k < 2; ++k) {
            before[k].resize(2 * static_cast<std::size_t>(n) + 2);
            after[k].resize(2 * static_cast<std::size_t>(n) + 2);
        }
#pragma omp for schedule(dynamic, 1)
        for (int task = 0; task < tasks; ++task) {
            const int firstRow = task * rowsPerTask + 1;
            const int lastRow = std::min(n, firstRow + rowsPerTask - 1);
            for (int i = firstRow; i <= lastRow; ++i) {
                const bool reuse = i > firstRow && SharesSegmentWithNext(v, i - 1);
                ComplexF* row = MatrixRow(i);
                for (int kappa = 1, k = 0; kappa >= (v.ground ? -1 : 1); kappa -= 2, ++k) {
                    if (reuse)
                        before[k].swap(after[k]);
                    else
                        ScalarRow(v, ScalarObservation(v, i, -1), i, kappa, before[k]);
                    ScalarRow(v, ScalarObservation(v, i, 1), i, kappa, after[k]);
                }
                for (int j = 1; j <= n; ++j) {
                    ComplexF sum(0.0f, 0.0f);
                    for (int kappa = 1, k = 0; kappa >= (v.ground ? -1 : 1); kappa -= 2, ++k) {
                        if (kappa < 0 && v.GroundContact(j)) continue;
                        ScalarSet sc;
                        sc.s[0][0] = before[k][2 * j];
                        sc.s[0][1] = before[k][2 * j + 1];
                        sc.s[1][0] = after[k][2 * j];
                        sc.s[1][1] = after[k][2 * j + 1];
                        sum += EntryTerm(v, i, j, kappa, sc);
                    }
                    row[j] = sum;
                }
            }
        }
    }
}
