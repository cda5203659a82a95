#include "engine/MatrixFill.h"

#include "engine/Kernel.h"
#include "engine/TeamPlacement.h"
#include "engine/TeamSize.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

constexpr int ParallelFillFrom = 64, AllThreadsFillFrom = 384;
// From here a fill lasts long enough that moving a thread off a shared
// processor costs nothing against it; on a busy machine that pays.
constexpr int SpreadFillFrom = 1536;

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
    int piece1, piece2;               // the pieces its halves lie on
    bool contact;                     // ground contact
};

// An observation point with what the own-segment shortcuts ask of it: the
// pieces of the segments the point lies on (both halves of a pulse for its
// centre, one segment for a midpoint) and the shorter of their lengths.
struct Observation {
    KernelVec point;
    int piece1, piece2;
    float segShort;
};

Observation AtCentre(const PulseGeometry& g) {
    return Observation{g.centre, g.piece1, g.piece2, std::fmin(g.seg1, g.seg2)};
}
Observation AtMidBefore(const PulseGeometry& g) { return Observation{g.midBefore, g.piece1, g.piece1, g.seg1}; }
Observation AtMidAfter(const PulseGeometry& g) { return Observation{g.midAfter, g.piece2, g.piece2, g.seg2}; }

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

// Per source pulse, by component, what EntryTerm takes from it: the
// directions of its halves times their signs (Z also times the half signs at
// a ground contact; all signs are +-1, so the products are exact), the
// segment lengths and the contact flag.
struct SourceTable {
    std::vector<float> h1x, h1y, h1z, h2x, h2y, h2z, seg1, seg2, contact;
};

struct FillModel {
    std::vector<PulseGeometry> pulses;  // 1..N
    SourceTable sources;
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
    // What the shortcut test asks of obs over a source segment on piece wj.
    ShortcutSite Site(const Observation& obs, int wj) const {
        return ShortcutSite{SameOrJoined(obs.piece1, wj) || SameOrJoined(obs.piece2, wj), obs.segShort};
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
        g.piece1 = p1;
        g.piece2 = p2;
    }
    const std::size_t size = static_cast<std::size_t>(m.n) + 1;
    SourceTable& st = m.sources;
    for (auto* v : {&st.h1x, &st.h1y, &st.h1z, &st.h2x, &st.h2y, &st.h2z, &st.seg1, &st.seg2, &st.contact})
        v->assign(size, 0.0f);
    for (int p = 1; p <= m.n; ++p) {
        const PulseGeometry& g = m.pulses[p];
        st.h1x[p] = g.sign1 * g.u1.X;
        st.h1y[p] = g.sign1 * g.u1.Y;
        st.h1z[p] = g.z1 * g.sign1 * g.u1.Z;
        st.h2x[p] = g.sign2 * g.u2.X;
        st.h2y[p] = g.sign2 * g.u2.Y;
        st.h2z[p] = g.z2 * g.sign2 * g.u2.Z;
        st.seg1[p] = g.seg1;
        st.seg2[p] = g.seg2;
        st.contact[p] = g.contact ? 1.0f : 0.0f;
    }
    for (IntervalTable* t : {&m.halfAfter, &m.halfBefore, &m.segAfter, &m.segBefore}) t->Resize(size);
    m.halfAfter.segments = m.halfBefore.segments = 0.5f;
    m.halfAfter.kind = m.halfBefore.kind = PotentialKind::Vector;
    for (int p = 1; p <= m.n; ++p) {
        const PulseGeometry& g = m.pulses[p];
        m.halfAfter.Set(p, g.centre, g.midAfter, g.seg2, g.rad2, g.piece2, m.kc);
        m.halfBefore.Set(p, g.midBefore, g.centre, g.seg1, g.rad1, g.piece1, m.kc);
        m.segAfter.Set(p, g.centre, g.pointAfter, g.seg2, g.rad2, g.piece2, m.kc);
        m.segBefore.Set(p, g.pointBefore, g.centre, g.seg1, g.rad1, g.piece1, m.kc);
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
ComplexF HalfIntegral(const FillModel& m, const Observation& obs, const PulseGeometry& src, int kappa, int half) {
    const KernelVec& o = obs.point;
    if (half == 2)
        return PsiIntegral(RelativeSource(src.centre, o, kappa), RelativeSource(src.midAfter, o, kappa), 0.5f,
                           src.seg2, src.rad2, kappa, PotentialKind::Vector, m.Site(obs, src.piece2), m.kc);
    return PsiIntegral(RelativeSource(src.midBefore, o, kappa), RelativeSource(src.centre, o, kappa), 0.5f,
                       src.seg1, src.rad1, kappa, PotentialKind::Vector, m.Site(obs, src.piece1), m.kc);
}

// Scalar potential from obs over the whole segment before (half 1) or after
// (half 2) the centre of source pulse j.
ComplexF SegmentIntegral(const FillModel& m, const Observation& obs, const PulseGeometry& src, int kappa, int half) {
    const KernelVec& o = obs.point;
    if (half == 2)
        return PsiIntegral(RelativeSource(src.centre, o, kappa), RelativeSource(src.pointAfter, o, kappa), 1.0f,
                           src.seg2, src.rad2, kappa, PotentialKind::Scalar, m.Site(obs, src.piece2), m.kc);
    return PsiIntegral(RelativeSource(src.pointBefore, o, kappa), RelativeSource(src.centre, o, kappa), 1.0f,
                       src.seg1, src.rad1, kappa, PotentialKind::Scalar, m.Site(obs, src.piece1), m.kc);
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

// Near intervals of one table row that take a Gauss rule, by component:
// the start of the samples and the interval's vector (both relative to the
// observation point), the reduced-kernel radius and the length.
struct GaussBatch {
    std::vector<float> fx, fy, fz, dx, dy, dz, a2, length, re, im;
    std::vector<int> index;
    int count = 0;

    void Resize(std::size_t n) {
        for (auto* v : {&fx, &fy, &fz, &dx, &dy, &dz, &a2, &length, &re, &im}) v->assign(n, 0.0f);
        index.assign(n, 0);
    }
    void Add(int j, float x, float y, float z, float ddx, float ddy, float ddz, float r2, float len) {
        fx[count] = x;
        fy[count] = y;
        fz[count] = z;
        dx[count] = ddx;
        dy[count] = ddy;
        dz[count] = ddz;
        a2[count] = r2;
        length[count] = len;
        index[count++] = j;
    }
};

// Scratch of one thread for TableIntegrals.
struct RowScratch {
    std::vector<char> near;
    GaussBatch gauss4, gauss8, gauss8Near;
    void Resize(std::size_t n) {
        near.assign(n, 0);
        gauss4.Resize(n);
        gauss8.Resize(n);
        gauss8Near.Resize(n);
    }
};

// The Gauss rule of PsiIntegral over a batch of intervals, sample by sample
// in its order, so every lane gives exactly what PsiIntegral gives. Near
// intervals leave out the 1 / R part (NearPart adds it).
template <bool Near, int Count>
inline void GaussIntegrals(GaussBatch& b, const kernel_detail::GaussPoint (&rule)[Count], float k) {
    const float *fx = b.fx.data(), *fy = b.fy.data(), *fz = b.fz.data();
    const float *dx = b.dx.data(), *dy = b.dy.data(), *dz = b.dz.data(), *a2 = b.a2.data();
    const float* length = b.length.data();
    float *outRe = b.re.data(), *outIm = b.im.data();
#pragma omp simd
    for (int i = 0; i < b.count; ++i) {
        float re = 0.0f, im = 0.0f;
        for (int n = 0; n < Count; ++n) {
            for (int side = 0; side < 2; ++side) {
                const float f = side == 0 ? 0.5f + rule[n].Offset : 0.5f - rule[n].Offset;
                const float px = fx[i] + f * dx[i], py = fy[i] + f * dy[i], pz = fz[i] + f * dz[i];
                if constexpr (Near)
                    NearSample(px, py, pz, a2[i], rule[n].Weight, k, re, im);
                else
                    DistantSample(px, py, pz, a2[i], rule[n].Weight, k, re, im);
            }
        }
        outRe[i] = re * length[i];
        outIm[i] = im * length[i];
    }
}

// The 1 / R part of a batch of near intervals, in closed form, added as
// PsiIntegral adds it.
void NearPart(GaussBatch& b) {
    for (int i = 0; i < b.count; ++i) {
        const KernelVec from{b.fx[i], b.fy[i], b.fz[i]};
        const KernelVec to{b.fx[i] + b.dx[i], b.fy[i] + b.dy[i], b.fz[i] + b.dz[i]};
        b.re[i] = b.re[i] + InverseDistanceIntegral(from, to, b.a2[i]);
    }
}

void ScatterBatch(const GaussBatch& b, Values& out) {
    for (int i = 0; i < b.count; ++i) {
        out.re[b.index[i]] = b.re[i];
        out.im[b.index[i]] = b.im[i];
    }
}

// The integrals of every interval of a table from one observation point.
// The distant ones (two-point rule) run in a loop over the sources that the
// compiler vectorizes, and the near ones that take a Gauss rule in batches
// (the nearest with their 1 / R part in closed form); all give exactly what
// PsiIntegral gives. The few of the interval's own segment go through
// PsiIntegral itself. Built for the widest vectors the CPU has: the lanes
// give the same results at any width.
void TableIntegrals(const FillModel& m, const IntervalTable& t, const Observation& observation, int kappa,
                    Values& out, RowScratch& scratch) {
    const KernelVec& obs = observation.point;
    const int n = m.n;
    const float kf = static_cast<float>(kappa);
    const KernelConstants kc = m.kc;
    const float segments = t.segments;
    float* re = out.re.data();
    float* im = out.im.data();
    char* isNear = scratch.near.data();
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
        // 0 distant, 1 Gauss with 4 points, 2 with 8, 3 with 8 and the 1 / R part
        // in closed form, 4 also near enough for the own-segment shortcut (the
        // bounds nest, so a sum without branches keeps the loop vectorized)
        const int shortcutNear = static_cast<int>(rho <= 1.1f);
        const int near = shortcutNear | static_cast<int>(rho < NearIntervalLengths * segments);
        isNear[j] = static_cast<char>(static_cast<int>(rho <= 10.0f) + static_cast<int>(rho <= 6.0f) + near +
                                      shortcutNear);
    }
    GaussBatch& g4 = scratch.gauss4;
    GaussBatch& g8 = scratch.gauss8;
    GaussBatch& g8Near = scratch.gauss8Near;
    g4.count = g8.count = g8Near.count = 0;
    for (int j = 1; j <= n; ++j) {
        const int kind = isNear[j];
        if (kind == 0) continue;
        if (kind == 4) {
            const ShortcutSite site = m.Site(observation, t.piece[j]);
            const KernelVec a = RelativeSource(KernelVec{t.ax[j], t.ay[j], t.az[j]}, obs, kappa);
            const KernelVec b = RelativeSource(KernelVec{t.bx[j], t.by[j], t.bz[j]}, obs, kappa);
            if (ShortcutApplies(t.kind, site, a, b, segments, t.seg[j])) {
                const ComplexF v = PsiIntegral(a, b, segments, t.seg[j], t.rad[j], kappa, t.kind, site, kc);
                re[j] = v.real();
                im[j] = v.imag();
                continue;
            }
        }
        const float fx = fromX[j] - ox, fy = fromY[j] - oy, fz = kf * fromZ[j] - oz;
        const float tx = toX[j] - ox, ty = toY[j] - oy, tz = kf * toZ[j] - oz;
        GaussBatch& batch = kind == 1 ? g4 : kind == 2 ? g8 : g8Near;
        batch.Add(j, fx, fy, fz, tx - fx, ty - fy, tz - fz, a2[j], segments * seg[j]);
    }
    GaussIntegrals<false>(g4, kernel_detail::Gauss4, k);
    GaussIntegrals<false>(g8, kernel_detail::Gauss8, k);
    GaussIntegrals<true>(g8Near, kernel_detail::Gauss8, k);
    NearPart(g8Near);
    ScatterBatch(g4, out);
    ScatterBatch(g8, out);
    ScatterBatch(g8Near, out);
}

// Scalar integrals of one observation midpoint against the segments before
// (segA) and after (segB) every source centre.
void ScalarRow(const FillModel& m, const Observation& obs, int kappa, Values& segA, Values& segB,
               RowScratch& scratch) {
    TableIntegrals(m, m.segAfter, obs, kappa, segB, scratch);
    for (int j = 1; j <= m.n; ++j) {
        if (j > 1 && m.SharesSegmentWithNext(j - 1)) {
            segA.re[j] = segB.re[j - 1];
            segA.im[j] = segB.im[j - 1];
            continue;
        }
        const ComplexF v = SegmentIntegral(m, obs, m.pulses[j], kappa, 1);
        segA.re[j] = v.real();
        segA.im[j] = v.imag();
    }
}

// The integrals of one observation row for one kappa, as plain arrays:
// the loop below then reads them without reloading the vectors' pointers.
struct RowIntegrals {
    const float *v1r, *v1i, *v2r, *v2i;
    const float *beforeAr, *beforeAi, *beforeBr, *beforeBi, *afterAr, *afterAi, *afterBr, *afterBi;
    RowIntegrals(const Values& v1, const Values& v2, const Values& beforeA, const Values& beforeB,
                 const Values& afterA, const Values& afterB)
        : v1r(v1.re.data()), v1i(v1.im.data()), v2r(v2.re.data()), v2i(v2.im.data()),
          beforeAr(beforeA.re.data()), beforeAi(beforeA.im.data()), beforeBr(beforeB.re.data()),
          beforeBi(beforeB.im.data()), afterAr(afterA.re.data()), afterAi(afterA.im.data()),
          afterBr(afterB.re.data()), afterBi(afterB.im.data()) {}
};

// SourceTable as plain arrays.
struct SourceArrays {
    const float *h1x, *h1y, *h1z, *h2x, *h2y, *h2z, *seg1, *seg2, *contact;
    explicit SourceArrays(const SourceTable& t)
        : h1x(t.h1x.data()), h1y(t.h1y.data()), h1z(t.h1z.data()), h2x(t.h2x.data()), h2y(t.h2y.data()),
          h2z(t.h2z.data()), seg1(t.seg1.data()), seg2(t.seg2.data()), contact(t.contact.data()) {}
};

// One kappa's term of entry j: EntryTerm in the same order of operations.
inline void EntryTermAt(const SourceArrays& s, const RowIntegrals& r, int j, float kappa, float h, float tx,
                        float ty, float tz, float& re, float& im) {
    const float v1r = r.v1r[j], v1i = r.v1i[j], v2r = r.v2r[j], v2i = r.v2i[j];
    const float axr = v2r * s.h2x[j] + v1r * s.h1x[j], axi = v2i * s.h2x[j] + v1i * s.h1x[j];
    const float ayr = v2r * s.h2y[j] + v1r * s.h1y[j], ayi = v2i * s.h2y[j] + v1i * s.h1y[j];
    const float azr = kappa * (v2r * s.h2z[j] + v1r * s.h1z[j]);
    const float azi = kappa * (v2i * s.h2z[j] + v1i * s.h1z[j]);
    const float vr = h * (axr * tx + ayr * ty + azr * tz);
    const float vi = h * (axi * tx + ayi * ty + azi * tz);
    const float sr = (r.beforeBr[j] - r.afterBr[j]) / s.seg2[j] + (r.afterAr[j] - r.beforeAr[j]) / s.seg1[j];
    const float si = (r.beforeBi[j] - r.afterBi[j]) / s.seg2[j] + (r.afterAi[j] - r.beforeAi[j]) / s.seg1[j];
    re = kappa * (vr + sr);
    im = kappa * (vi + si);
}

// Row i of the matrix from its integrals: the source's term plus, over a
// ground, its image's (none for a pulse at a ground contact).
void CombineRow(const FillModel& m, const PulseGeometry& obs, const RowIntegrals& direct, const RowIntegrals& image,
                ComplexF* row) {
    const SourceArrays s(m.sources);
    const float h = m.e->HalfWaveNumberSq, tx = obs.tx, ty = obs.ty, tz = obs.tz;
    float* out = reinterpret_cast<float*>(row);
    const int n = m.n;
    if (!m.ground) {
#pragma omp simd
        for (int j = 1; j <= n; ++j) {
            float re, im;
            EntryTermAt(s, direct, j, 1.0f, h, tx, ty, tz, re, im);
            out[2 * j] = 0.0f + re;
            out[2 * j + 1] = 0.0f + im;
        }
        return;
    }
#pragma omp simd
    for (int j = 1; j <= n; ++j) {
        float re, im, imageRe, imageIm;
        EntryTermAt(s, direct, j, 1.0f, h, tx, ty, tz, re, im);
        EntryTermAt(s, image, j, -1.0f, h, tx, ty, tz, imageRe, imageIm);
        const bool imaged = s.contact[j] == 0.0f;
        out[2 * j] = (0.0f + re) + (imaged ? imageRe : 0.0f);
        out[2 * j + 1] = (0.0f + im) + (imaged ? imageIm : 0.0f);
    }
}

ComplexF DirectEntry(const FillModel& m, int i, int j) {
    const PulseGeometry& obs = m.pulses[i];
    const PulseGeometry& src = m.pulses[j];
    ComplexF sum(0.0f, 0.0f);
    for (int kappa = 1; kappa >= (m.ground ? -1 : 1); kappa -= 2) {
        if (kappa < 0 && src.contact) continue;
        ScalarSet sc;
        for (int half = 1; half <= 2; ++half) {
            sc.s[0][half - 1] = SegmentIntegral(m, AtMidBefore(obs), src, kappa, half);
            sc.s[1][half - 1] = SegmentIntegral(m, AtMidAfter(obs), src, kappa, half);
        }
        const ComplexF v1 = HalfIntegral(m, AtCentre(obs), src, kappa, 1);
        const ComplexF v2 = HalfIntegral(m, AtCentre(obs), src, kappa, 2);
        sum += EntryTerm(m, obs, src, kappa, v1, v2, sc);
    }
    return sum;
}

}  // namespace

ComplexF VectorPotential(int i, int j, int kappa, int half) {
    const FillModel m = BuildModel();
    return HalfIntegral(m, AtCentre(m.pulses[i]), m.pulses[j], kappa, half);
}

ComplexF ScalarPotential(int i, int side, int j, int kappa, int half) {
    const FillModel m = BuildModel();
    const PulseGeometry& obs = m.pulses[i];
    return SegmentIntegral(m, side < 0 ? AtMidBefore(obs) : AtMidAfter(obs), m.pulses[j], kappa, half);
}

ComplexF MatrixEntryDirect(int i, int j) { return DirectEntry(BuildModel(), i, j); }

// Rows are independent. With threads that sleep while idle, waking a few
// pays from small models on; bigger ones take every thread.
int FillThreadsFor(int n) { return n >= ParallelFillFrom ? TeamSize(n >= AllThreadsFillFrom) : 1; }

void FillMatrix() {
    const FillModel m = BuildModel();
    const int n = m.n;
    // Each task reuses the scalar rows of its consecutive rows, so tasks
    // stay a few rows long while there are several per thread.
    const int threads = FillThreadsFor(n);
    const bool parallel = threads > 1;
    const int rowsPerTask = parallel ? std::clamp(n / (4 * threads), 1, 8) : std::max(1, n);
    const int tasks = (n + rowsPerTask - 1) / rowsPerTask;
    const int kappas = m.ground ? 2 : 1;
    TeamPlacement placement(threads);
#pragma omp parallel num_threads(threads)
    {
        if (n >= SpreadFillFrom) placement.Spread();
        // Per source and image: the vector integrals of the row, and the
        // scalar rows of the midpoints before and after the observation
        // centre; the "after" row of one pulse is the "before" row of the
        // next pulse on the same piece.
        const std::size_t size = static_cast<std::size_t>(n) + 1;
        Values v1[2], v2[2], beforeA[2], beforeB[2], afterA[2], afterB[2];
        for (int k = 0; k < 2; ++k)
            for (Values* v : {&v1[k], &v2[k], &beforeA[k], &beforeB[k], &afterA[k], &afterB[k]}) v->Resize(size);
        RowScratch scratch;
        scratch.Resize(size);
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
                    TableIntegrals(m, m.halfAfter, AtCentre(obs), kappa, v2[k], scratch);
                    TableIntegrals(m, m.halfBefore, AtCentre(obs), kappa, v1[k], scratch);
                    if (reuse) {
                        std::swap(beforeA[k], afterA[k]);
                        std::swap(beforeB[k], afterB[k]);
                    } else {
                        ScalarRow(m, AtMidBefore(obs), kappa, beforeA[k], beforeB[k], scratch);
                    }
                    ScalarRow(m, AtMidAfter(obs), kappa, afterA[k], afterB[k], scratch);
                }
                CombineRow(m, obs, RowIntegrals(v1[0], v2[0], beforeA[0], beforeB[0], afterA[0], afterB[0]),
                           RowIntegrals(v1[1], v2[1], beforeA[1], beforeB[1], afterA[1], afterB[1]), row);
            }
        }
    }
}
