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

// One kind of source interval for every pulse, by component (index j), so
// that a loop over the sources vectorizes.
struct IntervalTable {
    std::vector<float> ax, ay, az, bx, by, bz, seg, rad, a2;
    std::vector<int> piece;
    float segments = 1.0f;
    PotentialKind kind = PotentialKind::Scalar;

    void Resize(std::size_t n) {
        for (auto* v : {&ax, &ay, &az, &bx, &by, &bz, &seg, &rad, &a2}) v->assign(n, 0.0f);
        piece.assign(n, 0);
    }
    void Set(int j, const KernelVec& a, const KernelVec& b, float s, float r, int w, const KernelConstants& kc) {
        ax[j] = a.X;
        ay[j] = a.Y;
        az[j] = a.Z;
        bx[j] = b.X;
        by[j] = b.Y;
        bz[j] = b.Z;
        seg[j] = s;
        rad[j] = r;
        a2[j] = ReducedKernelA2(r, kc);
        piece[j] = w;
    }
};

struct FillModel {
    std::vector<PulseGeometry> pulses;  // 1..N
    // Half intervals after and before each centre (vector potential) and
    // whole segments after and before it (scalar potential).
    IntervalTable halfAfter, halfBefore, segAfter, segBefore;
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
    const std::size_t size = static_cast<std::size_t>(m.n) + 1;
    for (IntervalTable* t : {&m.halfAfter, &m.halfBefore, &m.segAfter, &m.segBefore}) t->Resize(size);
    m.halfAfter.segments = m.halfBefore.segments = 0.5f;
    m.halfAfter.kind = m.halfBefore.kind = PotentialKind::Vector;
    for (int p = 1; p <= m.n; ++p) {
        const PulseGeometry& g = m.pulses[p];
        m.halfAfter.Set(p, g.centre, g.midAfter, g.seg2, g.rad2, g.piece, m.kc);
        m.halfBefore.Set(p, g.midBefore, g.centre, g.seg1, g.rad1, g.piece, m.kc);
        m.segAfter.Set(p, g.centre, g.pointAfter, g.seg2, g.rad2, g.piece, m.kc);
        m.segBefore.Set(p, g.pointBefore, g.centre, g.seg1, g.rad1, g.piece, m.kc);
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

// kappa (A + Phi) of entry (i, j) from its vector integrals v1, v2 and its
// scalar integrals.
ComplexF EntryTerm(const FillModel& m, const PulseGeometry& obs, const PulseGeometry& src, int kappa, ComplexF v1,
                   ComplexF v2, const ScalarSet& sc) {
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
    const float sr =
        (sc.s[0][1].real() - sc.s[1][1].real()) / src.seg2 + (sc.s[1][0].real() - sc.s[0][0].real()) / src.seg1;
    const float si =
        (sc.s[0][1].imag() - sc.s[1][1].imag()) / src.seg2 + (sc.s[1][0].imag() - sc.s[0][0].imag()) / src.seg1;
    return ComplexF(k * (vr + sr), k * (vi + si));
}

// Real and imaginary parts by source pulse.
struct Values {
    std::vector<float> re, im;
    void Resize(std::size_t n) {
        re.assign(n, 0.0f);
        im.assign(n, 0.0f);
    }
    ComplexF At(int j) const { return ComplexF(re[j], im[j]); }
};

// The integrals of every interval of a table from one observation point.
// The distant ones (two-point rule) run in a loop over the sources that the
// compiler vectorizes, and give exactly what PsiIntegral gives; the few near
// ones go through PsiIntegral itself.
void TableIntegrals(const FillModel& m, const IntervalTable& t, const KernelVec& obs, int obsPiece, int kappa,
                    Values& out, std::vector<char>& near) {
    const int n = m.n;
    const float kf = static_cast<float>(kappa);
    const KernelConstants kc = m.kc;
    const float segments = t.segments;
    float* re = out.re.data();
    float* im = out.im.data();
    char* isNear = near.data();
    // The sample runs from end a for the source and from end b for its image.
    const float* fromX = kappa > 0 ? t.ax.data() : t.bx.data();
    const float* fromY = kappa > 0 ? t.ay.data() : t.by.data();
    const float* fromZ = kappa > 0 ? t.az.data() : t.bz.data();
    const float* toX = kappa > 0 ? t.bx.data() : t.ax.data();
    const float* toY = kappa > 0 ? t.by.data() : t.ay.data();
    const float* toZ = kappa > 0 ? t.bz.data() : t.az.data();
    const float* seg = t.seg.data();
    const float* a2 = t.a2.data();
    const float ox = obs.X, oy = obs.Y, oz = obs.Z, k = kc.WaveNumber;
#pragma omp simd
    for (int j = 1; j <= n; ++j) {
        const float fx = fromX[j] - ox, fy = fromY[j] - oy, fz = kf * fromZ[j] - oz;
        const float tx = toX[j] - ox, ty = toY[j] - oy, tz = kf * toZ[j] - oz;
        const float rFrom = std::sqrt(fx * fx + fy * fy + fz * fz);
        const float rTo = std::sqrt(tx * tx + ty * ty + tz * tz);
        const float rho = (rFrom + rTo) / seg[j];
        const float dx = tx - fx, dy = ty - fy, dz = tz - fz;
        float r = 0.0f, i = 0.0f;
        DistantSample(fx + TwoPointFar * dx, fy + TwoPointFar * dy, fz + TwoPointFar * dz, a2[j], 0.5f, k, r, i);
        DistantSample(fx + TwoPointNear * dx, fy + TwoPointNear * dy, fz + TwoPointNear * dz, a2[j], 0.5f, k, r, i);
        const float length = segments * seg[j];
        re[j] = r * length;
        im[j] = i * length;
        isNear[j] = !(rho > 10.0f);
    }
    for (int j = 1; j <= n; ++j) {
        if (!isNear[j]) continue;
        const KernelVec a{t.ax[j], t.ay[j], t.az[j]}, b{t.bx[j], t.by[j], t.bz[j]};
        const ComplexF v = PsiIntegral(RelativeSource(a, obs, kappa), RelativeSource(b, obs, kappa), segments,
                                       t.seg[j], t.rad[j], kappa, t.kind, m.SameOrJoined(obsPiece, t.piece[j]), kc);
        re[j] = v.real();
        im[j] = v.imag();
    }
}

// Scalar integrals of one observation midpoint against the segments before
// (segA) and after (segB) every source centre.
void ScalarRow(const FillModel& m, const KernelVec& obs, int i, int kappa, Values& segA, Values& segB,
               std::vector<char>& near) {
    const int wi = m.pulses[i].piece;
    TableIntegrals(m, m.segAfter, obs, wi, kappa, segB, near);
    for (int j = 1; j <= m.n; ++j) {
        if (j > 1 && m.SharesSegmentWithNext(j - 1)) {
            segA.re[j] = segB.re[j - 1];
            segA.im[j] = segB.im[j - 1];
            continue;
        }
        const ComplexF v = SegmentIntegral(m, obs, m.pulses[j], m.SameOrJoined(wi, m.pulses[j].piece), kappa, 1);
        segA.re[j] = v.real();
        segA.im[j] = v.imag();
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
        const ComplexF v1 = HalfIntegral(m, obs.centre, src, joined, kappa, 1);
        const ComplexF v2 = HalfIntegral(m, obs.centre, src, joined, kappa, 2);
        sum += EntryTerm(m, obs, src, kappa, v1, v2, sc);
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
    const int kappas = m.ground ? 2 : 1;
#pragma omp parallel if (parallel)
    {
        // Per source and image: the vector integrals of the row, and the
        // scalar rows of the midpoints before and after the observation
        // centre; the "after" row of one pulse is the "before" row of the
        // next pulse on the same piece.
        const std::size_t size = static_cast<std::size_t>(n) + 1;
        Values v1[2], v2[2], beforeA[2], beforeB[2], afterA[2], afterB[2];
        for (int k = 0; k < 2; ++k)
            for (Values* v : {&v1[k], &v2[k], &beforeA[k], &beforeB[k], &afterA[k], &afterB[k]}) v->Resize(size);
        std::vector<char> near(size);
#pragma omp for schedule(dynamic, 1)
        for (int task = 0; task < tasks; ++task) {
            const int firstRow = task * rowsPerTask + 1;
            const int lastRow = std::min(n, firstRow + rowsPerTask - 1);
            for (int i = firstRow; i <= lastRow; ++i) {
                const PulseGeometry& obs = m.pulses[i];
                const bool reuse = i > firstRow && m.SharesSegmentWithNext(i - 1);
                ComplexF* row = &Engine.MatrixAt(i, 0);
                for (int k = 0; k < kappas; ++k) {
                    const int kappa = k == 0 ? 1 : -1;
                    TableIntegrals(m, m.halfAfter, obs.centre, obs.piece, kappa, v2[k], near);
                    TableIntegrals(m, m.halfBefore, obs.centre, obs.piece, kappa, v1[k], near);
                    if (reuse) {
                        std::swap(beforeA[k], afterA[k]);
                        std::swap(beforeB[k], afterB[k]);
                    } else {
                        ScalarRow(m, obs.midBefore, i, kappa, beforeA[k], beforeB[k], near);
                    }
                    ScalarRow(m, obs.midAfter, i, kappa, afterA[k], afterB[k], near);
                }
                for (int j = 1; j <= n; ++j) {
                    const PulseGeometry& src = m.pulses[j];
                    ComplexF sum(0.0f, 0.0f);
                    for (int k = 0; k < kappas; ++k) {
                        if (k == 1 && src.contact) continue;
                        ScalarSet sc;
                        sc.s[0][0] = beforeA[k].At(j);
                        sc.s[0][1] = beforeB[k].At(j);
                        sc.s[1][0] = afterA[k].At(j);
                        sc.s[1][1] = afterB[k].At(j);
                        sum += EntryTerm(m, obs, src, k == 0 ? 1 : -1, v1[k].At(j), v2[k].At(j), sc);
                    }
                    row[j] = sum;
                }
            }
        }
    }
}
