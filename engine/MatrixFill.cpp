#include "engine/MatrixFill.h"

#include "engine/Kernel.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

// What the fill needs of one pulse, as observation and as source, taken
// from the point table and the piece tables once per fill.
struct PulseGeometry {
    KernelVec centre;                 // point t
    KernelVec midBefore, midAfter;    // segment midpoints around it
    KernelVec pointBefore, pointAfter;  // points t - 1 and t + 1
    KernelVec u1, u2;                 // directions of the half pieces
    float sign1, sign2;               // directions of the halves
    float z1, z2;                     // Z weights of a source (half signs at a ground contact)
    float seg1, seg2;                 // segment lengths of the half pieces
    float rad1, rad2;                 // radii of the half pieces
    float tx, ty, tz;                 // tangent as observation pulse
    int piece;                        // the pulse's own piece
    bool contact;                     // ground contact
};

struct FillModel {
    std::vector<PulseGeometry> pulses;  // 1..N
    const EngineState* e = nullptr;
    KernelConstants kc{};
    int n = 0;
    bool ground = false;

    bool SameOrJoined(int wi, int wj) const {
        if (wi == wj) return true;
        const int* a = e->PieceEndLink[wi];
        const int* b = e->PieceEndLink[wj];
        return a[0] == b[0] || a[0] == b[1] || a[1] == b[0] || a[1] == b[1];
    }
    // The segment after pulse j's centre is the one before pulse j + 1's
    // centre when both lie on one piece in a row: the same evaluation.
    bool SharesSegmentWithNext(int j) const { return j < n && sharesNext[j]; }
    std::vector<char> sharesNext;
};

KernelVec Dir(const Point3F& u) { return KernelVec{u.X, u.Y, u.Z}; }

FillModel BuildModel() {
    const EngineState& e = Engine;
    FillModel m;
    m.e = &e;
    m.kc = KernelConstants{e.WaveNumber, e.ThinWireLimit};
    m.n = e.PulseCount;
    m.ground = e.GroundFlag < 0;
    m.pulses.resize(static_cast<std::size_t>(m.n) + 1);
    m.sharesNext.assign(static_cast<std::size_t>(m.n) + 1, 0);
    const Point3F* pt = e.Points.Data();
    for (int p = 1; p <= m.n; ++p) {
        PulseGeometry& g = m.pulses[p];
        const PulseHalves& h = e.Halves[p];
        const int w = e.PulsePiece[p];
        const int t = 2 * w + p - 1;
        const int p1 = std::abs(h.First), p2 = std::abs(h.Second);
        g.centre = AsKernelVec(pt[t]);
        g.midBefore = MidPoint(pt[t - 1], pt[t]);
        g.midAfter = MidPoint(pt[t], pt[t + 1]);
        g.pointBefore = AsKernelVec(pt[t - 1]);
        g.pointAfter = AsKernelVec(pt[t + 1]);
        g.u1 = Dir(e.PieceDirection[p1]);
        g.u2 = Dir(e.PieceDirection[p2]);
        g.sign1 = h.First < 0 ? -1.0f : 1.0f;
        g.sign2 = h.Second < 0 ? -1.0f : 1.0f;
        g.contact = h.First == -h.Second;
        g.z1 = g.contact ? g.sign1 : 1.0f;
        g.z2 = g.contact ? g.sign2 : 1.0f;
        g.seg1 = e.PieceSegLength[p1];
        g.seg2 = e.PieceSegLength[p2];
        g.rad1 = e.PieceRadius[p1];
        g.rad2 = e.PieceRadius[p2];
        const float f4 = g.sign1 * g.seg1, f5 = g.sign2 * g.seg2;
        g.tx = f4 * g.u1.X + f5 * g.u2.X;
        g.ty = f4 * g.u1.Y + f5 * g.u2.Y;
        g.tz = g.contact ? (g.u1.Z + g.u2.Z) * g.seg1 : f4 * g.u1.Z + f5 * g.u2.Z;
        g.piece = w;
    }
    for (int j = 1; j < m.n; ++j) {
        const int t = 2 * e.PulsePiece[j] + j - 1;
        const int tNext = 2 * e.PulsePiece[j + 1] + j;
        m.sharesNext[j] = tNext == t + 1 && e.PulsePiece[j + 1] == e.PulsePiece[j] &&
                          std::abs(e.Halves[j + 1].First) == std::abs(e.Halves[j].Second);
    }
    return m;
}

// Vector potential from obs over the half interval before (half 1) or after
// (half 2) the centre of source pulse j.
ComplexF HalfIntegral(const FillModel& m, const KernelVec& obs, const PulseGeometry& src, bool joined, int kappa,
                      int half) {
    if (half == 2)
        return PsiIntegral(RelativeSource(src.centre, obs, kappa), RelativeSource(src.midAfter, obs, kappa), 0.5f,
                           src.seg2, src.rad2, kappa, PotentialKind::Vector, joined, m.kc);
    return PsiIntegral(RelativeSource(src.midBefore, obs, kappa), RelativeSource(src.centre, obs, kappa), 0.5f,
                       src.seg1, src.rad1, kappa, PotentialKind::Vector, joined, m.kc);
}

// Scalar potential from obs over the whole segment before (half 1) or after
// (half 2) the centre of source pulse j.
ComplexF SegmentIntegral(const FillModel& m, const KernelVec& obs, const PulseGeometry& src, bool joined, int kappa,
                         int half) {
    if (half == 2)
        return PsiIntegral(RelativeSource(src.centre, obs, kappa), RelativeSource(src.pointAfter, obs, kappa), 1.0f,
                           src.seg2, src.rad2, kappa, PotentialKind::Scalar, joined, m.kc);
    return PsiIntegral(RelativeSource(src.pointBefore, obs, kappa), RelativeSource(src.centre, obs, kappa), 1.0f,
                       src.seg1, src.rad1, kappa, PotentialKind::Scalar, joined, m.kc);
}

// The four scalar integrals of one entry: [side][half], side 0 = t_i - 1/2.
struct ScalarSet {
    ComplexF s[2][2];
};

// kappa (A + Phi) of entry (i, j) from its scalar integrals.
ComplexF EntryTerm(const FillModel& m, const PulseGeometry& obs, const PulseGeometry& src, int kappa,
                   const ScalarSet& sc) {
    const bool joined = m.SameOrJoined(obs.piece, src.piece);
    const ComplexF v2 = HalfIntegral(m, obs.centre, src, joined, kappa, 2);
    const ComplexF v1 = HalfIntegral(m, obs.centre, src, joined, kappa, 1);
    // psi2 = s2 v2, psi1 = s1 v1; the source's Z parts also carry kappa and,
    // at a ground contact, the half signs (its own image half).
    const float p2r = src.sign2 * v2.real(), p2i = src.sign2 * v2.imag();
    const float p1r = src.sign1 * v1.real(), p1i = src.sign1 * v1.imag();
    const float axr = p2r * src.u2.X + p1r * src.u1.X, axi = p2i * src.u2.X + p1i * src.u1.X;
    const float ayr = p2r * src.u2.Y + p1r * src.u1.Y, ayi = p2i * src.u2.Y + p1i * src.u1.Y;
    const float k = static_cast<float>(kappa);
    const float azr = k * (src.z2 * p2r * src.u2.Z + src.z1 * p1r * src.u1.Z);
    const float azi = k * (src.z2 * p2i * src.u2.Z + src.z1 * p1i * src.u1.Z);
    const float h = m.e->HalfWaveNumberSq;
    const float vr = h * (axr * obs.tx + ayr * obs.ty + azr * obs.tz);
    const float vi = h * (axi * obs.tx + ayi * obs.ty + azi * obs.tz);
    const float sr = (sc.s[0][1].real() - sc.s[1][1].real()) / src.seg2 + (sc.s[1][0].real() - sc.s[0][0].real()) / src.seg1;
    const float si = (sc.s[0][1].imag() - sc.s[1][1].imag()) / src.seg2 + (sc.s[1][0].imag() - sc.s[0][0].imag()) / src.seg1;
    return ComplexF(k * (vr + sr), k * (vi + si));
}

// Scalar integrals of one observation midpoint (of pulse i) against every
// source segment: out[2 j + half - 1].
void ScalarRow(const FillModel& m, const KernelVec& obs, int i, int kappa, std::vector<ComplexF>& out) {
    const int wi = m.pulses[i].piece;
    for (int j = 1; j <= m.n; ++j) {
        const PulseGeometry& src = m.pulses[j];
        const bool joined = m.SameOrJoined(wi, src.piece);
        if (j > 1 && m.SharesSegmentWithNext(j - 1))
            out[2 * j] = out[2 * (j - 1) + 1];
        else
            out[2 * j] = SegmentIntegral(m, obs, src, joined, kappa, 1);
        out[2 * j + 1] = SegmentIntegral(m, obs, src, joined, kappa, 2);
    }
}

ComplexF DirectEntry(const FillModel& m, int i, int j) {
    const PulseGeometry& obs = m.pulses[i];
    const PulseGeometry& src = m.pulses[j];
    const bool joined = m.SameOrJoined(obs.piece, src.piece);
    ComplexF sum(0.0f, 0.0f);
    for (int kappa = 1; kappa >= (m.ground ? -1 : 1); kappa -= 2) {
        if (kappa < 0 && src.contact) continue;
        ScalarSet sc;
        for (int half = 1; half <= 2; ++half) {
            sc.s[0][half - 1] = SegmentIntegral(m, obs.midBefore, src, joined, kappa, half);
            sc.s[1][half - 1] = SegmentIntegral(m, obs.midAfter, src, joined, kappa, half);
        }
        sum += EntryTerm(m, obs, src, kappa, sc);
    }
    return sum;
}

}  // namespace

ComplexF VectorPotential(int i, int j, int kappa, int half) {
    const FillModel m = BuildModel();
    const PulseGeometry& obs = m.pulses[i];
    const PulseGeometry& src = m.pulses[j];
    return HalfIntegral(m, obs.centre, src, m.SameOrJoined(obs.piece, src.piece), kappa, half);
}

ComplexF ScalarPotential(int i, int side, int j, int kappa, int half) {
    const FillModel m = BuildModel();
    const PulseGeometry& obs = m.pulses[i];
    const PulseGeometry& src = m.pulses[j];
    return SegmentIntegral(m, side < 0 ? obs.midBefore : obs.midAfter, src, m.SameOrJoined(obs.piece, src.piece),
                           kappa, half);
}

ComplexF MatrixEntryDirect(int i, int j) { return DirectEntry(BuildModel(), i, j); }

void FillMatrix() {
    const FillModel m = BuildModel();
    const int n = m.n;
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
                const PulseGeometry& obs = m.pulses[i];
                const bool reuse = i > firstRow && m.SharesSegmentWithNext(i - 1);
                ComplexF* row = &Engine.MatrixAt(i, 0);
                for (int kappa = 1, k = 0; kappa >= (m.ground ? -1 : 1); kappa -= 2, ++k) {
                    if (reuse)
                        before[k].swap(after[k]);
                    else
                        ScalarRow(m, obs.midBefore, i, kappa, before[k]);
                    ScalarRow(m, obs.midAfter, i, kappa, after[k]);
                }
                for (int j = 1; j <= n; ++j) {
                    const PulseGeometry& src = m.pulses[j];
                    ComplexF sum(0.0f, 0.0f);
                    for (int kappa = 1, k = 0; kappa >= (m.ground ? -1 : 1); kappa -= 2, ++k) {
                        if (kappa < 0 && src.contact) continue;
                        ScalarSet sc;
                        sc.s[0][0] = before[k][2 * j];
                        sc.s[0][1] = before[k][2 * j + 1];
                        sc.s[1][0] = after[k][2 * j];
                        sc.s[1][1] = after[k][2 * j + 1];
                        sum += EntryTerm(m, obs, src, kappa, sc);
                    }
                    row[j] = sum;
                }
            }
        }
    }
}
