#pragma once
// The kernel integrals of the moment method: the integral of the free-space
// Green's function exp(-jkR)/R over a straight source interval, seen from an
// observation point, by Gauss-Legendre quadrature whose order drops with the
// distance, with a closed form (thin wires) or the exact kernel (thick wires)
// for the interval's own segment. Kept inline: the matrix fill calls it tens
// of millions of times.
#include <cmath>
#include <complex>

// Always inlined, also into loops built for wider vectors than the
// baseline (target_clones), which would otherwise call the baseline's copy
// one sample at a time.
#define KORVA_INLINE inline __attribute__((always_inline))

namespace kernel_detail {
struct GaussPoint {
    float Offset;  // from the interval's centre, in interval units
    float Weight;  // half weight: each offset is sampled on both sides
};
inline constexpr GaussPoint Gauss4[2] = {{0.43056816f, 0.17392742f}, {0.16999052f, 0.32607258f}};
inline constexpr GaussPoint Gauss8[4] = {
    {0.48014492f, 0.05061427f}, {0.39833325f, 0.11119052f}, {0.26276621f, 0.15685332f}, {0.09171732f, 0.18134189f}};
inline constexpr float Pi = 3.14159265f;
}  // namespace kernel_detail

// Which integral is wanted: the vector potential (half-segment intervals),
// the scalar potential (whole segments), or the near field (no shortcuts for
// the interval's own segment).
enum class PotentialKind { Vector, Scalar, NearField };

struct KernelVec {
    float X, Y, Z;
};

// Positions of the point table as kernel vectors: a point, the midpoint of
// two points, and a source end relative to the observation point (an image
// source, kappa -1, mirrored in the plane Z = 0).
template <class Point>
inline KernelVec AsKernelVec(const Point& a) {
    return KernelVec{a.X, a.Y, a.Z};
}
template <class Point>
inline KernelVec MidPoint(const Point& a, const Point& b) {
    return KernelVec{(a.X + b.X) * 0.5f, (a.Y + b.Y) * 0.5f, (a.Z + b.Z) * 0.5f};
}
inline KernelVec RelativeSource(const KernelVec& src, const KernelVec& obs, int kappa) {
    return KernelVec{src.X - obs.X, src.Y - obs.Y, kappa * src.Z - obs.Z};
}

// The constants a kernel evaluation needs from the prepared model.
struct KernelConstants {
    float WaveNumber;     // k = 2 pi / lambda
    float ThinWireLimit;  // radii up to this use the thin-wire kernel
};

// sin and cos of x by reduction to [-pi/4, pi/4] (pi/4 in three parts) and
// minimax polynomials, about one unit in the last place. Plain arithmetic
// without branches: loops over many samples vectorize, and every lane gives
// exactly what a single call gives.
KORVA_INLINE void SinCos(float x, float& sine, float& cosine) {
    const float ax = std::fabs(x);
    int q = static_cast<int>(ax * 1.27323954473516f);  // 4 / pi
    q = (q + 1) & ~1;
    const float y = static_cast<float>(q);
    const float r = ((ax - y * 0.78515625f) - y * 2.4187564849853515625e-4f) - y * 3.77489497744594108e-8f;
    const float z = r * r;
    const float sp = ((-1.9515295891e-4f * z + 8.3321608736e-3f) * z - 1.6666654611e-1f) * z * r + r;
    const float cp = ((2.443315711809948e-5f * z - 1.388731625493765e-3f) * z + 4.166664568298827e-2f) * z * z -
                     0.5f * z + 1.0f;
    // Octant bits: 4 flips the signs, 2 exchanges the two polynomials. Signs
    // and exchange are products with 0, 1 or -1 (exact), not branches.
    const int upper = (q >> 2) & 1;
    const int swap = (q >> 1) & 1;
    const float swapF = static_cast<float>(swap);
    const float keepF = 1.0f - swapF;
    const float signX = 1.0f - 2.0f * static_cast<float>(x < 0.0f);
    const float sinSign = (1.0f - 2.0f * static_cast<float>(upper)) * signX;
    const float cosSign = 1.0f - 2.0f * static_cast<float>(upper ^ swap);
    sine = sinSign * (sp * keepF + cp * swapF);
    cosine = cosSign * (sp * swapF + cp * keepF);
}

// Adds one quadrature sample at the point p (relative to the observation
// point) with weight w to (re, im). a2 is the squared radius of the reduced
// kernel, 0 for a thin wire. exact adds the exact-kernel correction of the
// singular part, with the elliptic integral approximated by polynomials.
inline void ExactKernel(const KernelVec& p, float radius, float a2, bool exact, float w, const KernelConstants& kc,
                        float& re, float& im) {
    const float r2 = p.X * p.X + p.Y * p.Y + p.Z * p.Z;
    const float rr = std::sqrt(r2 + a2);  // as in DistantSample
    float real = 0.0f;
    if (exact) {
        const float b2 = radius * radius;
        const float m = r2 / (4.0f * b2 + r2);
        const float am = 1.3862944f + m * (0.0966634f + m * (0.0359009f + m * (0.0374256f + m * 0.0145120f)));
        const float bm = 0.5f + m * (0.1249859f + m * (0.0688025f + m * (0.0332835f + m * 0.0044179f)));
        const float ell = am - std::log(m) * bm;
        real += (0.5f * std::log(r2 / (64.0f * b2)) + std::sqrt(1.0f - m) * ell) / (kernel_detail::Pi * radius) -
                1.0f / rr;
    }
    float sine, cosine;
    SinCos(kc.WaveNumber * rr, sine, cosine);
    real += cosine / rr;
    re += w * real;
    im -= w * sine / rr;
}

// Squared radius of the reduced kernel: thin wires use the plain distance.
inline float ReducedKernelA2(float radius, const KernelConstants& kc) {
    return radius <= kc.ThinWireLimit ? 0.0f : radius * radius;
}

// One sample of a distant interval (no singular part): adds w cos(kR)/R to
// re and subtracts w sin(kR)/R from im, exactly as ExactKernel does.
inline void DistantSample(float px, float py, float pz, float a2, float w, float k, float& re, float& im) {
    const float rr = std::sqrt(px * px + py * py + pz * pz + a2);
    float sine, cosine;
    SinCos(k * rr, sine, cosine);
    re += w * (cosine / rr);
    im -= w * sine / rr;
}

// Fractions of the two-point rule along an interval.
inline constexpr float TwoPointFar = 0.5f + 0.28867513f;
inline constexpr float TwoPointNear = 0.5f - 0.28867513f;

// The two-point rule of a distant interval (rho above 10), from `from`
// along d, of the given length.
inline void PsiTwoPoint(const KernelVec& from, const KernelVec& d, float a2, float length, const KernelConstants& kc,
                        float& re, float& im) {
    float r = 0.0f, i = 0.0f;
    DistantSample(from.X + TwoPointFar * d.X, from.Y + TwoPointFar * d.Y, from.Z + TwoPointFar * d.Z, a2, 0.5f,
                  kc.WaveNumber, r, i);
    DistantSample(from.X + TwoPointNear * d.X, from.Y + TwoPointNear * d.Y, from.Z + TwoPointNear * d.Z, a2, 0.5f,
                  kc.WaveNumber, r, i);
    re = r * length;
    im = i * length;
}

// Whether the observation point (the origin) stands where the own-segment
// shortcuts (closed form and exact kernel) assume it: at the middle of a
// whole segment (scalar potential), at an end of a half segment (vector
// potential). Anywhere else, however close, the interval is integrated. The
// tolerance is far above rounding and far below the distance of any other
// observation point: it scales with the shorter of the source segment and
// the observation point's own segment, so a short neighbour's midpoint never
// passes beside a long segment.
inline bool ObservationAtShortcutPoint(const KernelVec& a, const KernelVec& b, float segments, float tolerance) {
    const float t2 = tolerance * tolerance;
    if (segments < 1.0f)
        return std::fmin(a.X * a.X + a.Y * a.Y + a.Z * a.Z, b.X * b.X + b.Y * b.Y + b.Z * b.Z) <= t2;
    const float mx = 0.5f * (a.X + b.X), my = 0.5f * (a.Y + b.Y), mz = 0.5f * (a.Z + b.Z);
    return mx * mx + my * my + mz * mz <= t2;
}

// What an observation point brings to the shortcut test: whether its pulse
// lies on the source's piece or a piece joined to it, and the shorter of the
// segments the point lies on.
struct ShortcutSite {
    bool joined = false;
    float obsSegment = 0.0f;
};

// Whether the shortcut stands in for the quadrature of an interval from a
// to b (relative to the observation point).
inline bool ShortcutApplies(PotentialKind kind, const ShortcutSite& site, const KernelVec& a, const KernelVec& b,
                            float segments, float segLength) {
    if (kind == PotentialKind::NearField || !site.joined) return false;
    return ObservationAtShortcutPoint(a, b, segments, 0.01f * std::fmin(segLength, site.obsSegment));
}

// The integral of 1 / sqrt(r^2 + a2) over the straight interval from a to b
// (relative to the observation point), in closed form: the part of the
// kernel that the quadrature misses when the point is close to the
// interval. A point on the interval's line inside it (only where wires
// overlap without a join) is held a thousandth of the length off it.
inline float InverseDistanceIntegral(const KernelVec& a, const KernelVec& b, float a2) {
    const float dx = b.X - a.X, dy = b.Y - a.Y, dz = b.Z - a.Z;
    const float length = std::sqrt(dx * dx + dy * dy + dz * dz);
    const float z1 = (a.X * dx + a.Y * dy + a.Z * dz) / length;
    const float z2 = (b.X * dx + b.Y * dy + b.Z * dz) / length;
    const float r1 = std::sqrt(a.X * a.X + a.Y * a.Y + a.Z * a.Z + a2);
    const float r2 = std::sqrt(b.X * b.X + b.Y * b.Y + b.Z * b.Z + a2);
    if (z1 >= 0.0f) return std::log((z2 + r2) / (z1 + r1));
    if (z2 <= 0.0f) return std::log((r1 - z1) / (r2 - z2));
    // Across the foot of the perpendicular: its squared distance from the
    // cross product, which keeps its precision where the point is close.
    const float cx = a.Y * b.Z - a.Z * b.Y, cy = a.Z * b.X - a.X * b.Z, cz = a.X * b.Y - a.Y * b.X;
    const float floor = 1e-6f * length * length;
    const float d2 = std::fmax((cx * cx + cy * cy + cz * cz) / (length * length) + a2, floor);
    return std::log((z2 + r2) * (r1 - z1) / d2);
}

// Intervals whose distances from the observation point sum to less than
// this many lengths take their 1 / R part in closed form, and so do those
// near enough for the own-segment shortcut where it does not apply. Farther
// out the eight-point rule alone is as exact (to about 1e-8), so the switch
// makes no step; and no common layout stands on it (the next segment of a
// straight wire sums to 2 or 3 lengths and keeps the plain rule).
inline constexpr float NearIntervalLengths = 1.8f;

// Whether an interval of the given rho and length in segments is near in
// that sense (the matrix only: the near field keeps the plain rule).
inline bool NearInterval(PotentialKind kind, float rho, float segments) {
    return kind != PotentialKind::NearField && (rho <= 1.1f || rho < NearIntervalLengths * segments);
}

// One sample of a near interval without its 1 / R part, which
// InverseDistanceIntegral adds in closed form: adds w (cos(kR) - 1) / R to
// re and subtracts w sin(kR) / R from im.
KORVA_INLINE void NearSample(float px, float py, float pz, float a2, float w, float k, float& re, float& im) {
    const float rr = std::sqrt(px * px + py * py + pz * pz + a2);
    float sine, cosine;
    SinCos(k * rr, sine, cosine);
    re += w * ((cosine - 1.0f) / rr);
    im -= w * sine / rr;
}

// The integral over the source interval from a to b (both relative to the
// observation point; an image source has its Z already mirrored), which is
// `segments` segments of length segLength long, on a piece of the given
// radius. site tells whether the own-segment shortcuts may stand in. kappa
// is +1 for the source, -1 for its image. Near intervals of the matrix take
// their 1 / R part in closed form and the rest by the eight-point rule, so
// that a point close to the interval (beside a sharp bend, a much longer
// segment or a folded wire) is integrated as well as a distant one.
inline std::complex<float> PsiIntegral(const KernelVec& a, const KernelVec& b, float segments, float segLength,
                                       float radius, int kappa, PotentialKind kind, const ShortcutSite& site,
                                       const KernelConstants& kc) {
    using namespace kernel_detail;
    const float ra = std::sqrt(a.X * a.X + a.Y * a.Y + a.Z * a.Z);
    const float rb = std::sqrt(b.X * b.X + b.Y * b.Y + b.Z * b.Z);
    const float rho = (ra + rb) / segLength;
    const float length = segments * segLength;
    // Samples are laid from end a for the source and from end b for the image.
    const KernelVec from = kappa > 0 ? a : b;
    const KernelVec d = kappa > 0 ? KernelVec{b.X - a.X, b.Y - a.Y, b.Z - a.Z} : KernelVec{a.X - b.X, a.Y - b.Y, a.Z - b.Z};
    const float a2 = ReducedKernelA2(radius, kc);
    float re = 0.0f, im = 0.0f;
    if (rho > 10.0f) {
        PsiTwoPoint(from, d, a2, length, kc, re, im);
        return {re, im};
    }
    if (rho <= 1.1f && ShortcutApplies(kind, site, a, b, segments, segLength)) {
        if (radius <= kc.ThinWireLimit) {
            const float f = kind == PotentialKind::Scalar ? 2.0f : 1.0f;
            return {f * std::log(segLength / radius), -f * kc.WaveNumber * segLength / 2.0f};
        }
        // Exact kernel: the first half of a centred segment, doubled by the
        // factor length, plus the analytic part c0 of the singularity.
        const float c0 = (1.0f - std::log(length / (16.0f * segments * radius))) / (Pi * radius);
        const float scale = 1.0f / (2.0f * segments);
        for (const GaussPoint& g : Gauss8) {
            for (float f : {(0.5f + g.Offset) * scale, (0.5f - g.Offset) * scale}) {
                const KernelVec p{from.X + f * d.X, from.Y + f * d.Y, from.Z + f * d.Z};
                ExactKernel(p, radius, a2, true, g.Weight, kc, re, im);
            }
        }
        return {(re + c0) * length, im * length};
    }
    if (rho > 6.0f) {
        for (const GaussPoint& g : Gauss4) {
            for (float f : {0.5f + g.Offset, 0.5f - g.Offset}) {
                const KernelVec p{from.X + f * d.X, from.Y + f * d.Y, from.Z + f * d.Z};
                ExactKernel(p, radius, a2, false, g.Weight, kc, re, im);
            }
        }
        return {re * length, im * length};
    }
    const bool near = NearInterval(kind, rho, segments);
    for (const GaussPoint& g : Gauss8) {
        for (float f : {0.5f + g.Offset, 0.5f - g.Offset}) {
            const KernelVec p{from.X + f * d.X, from.Y + f * d.Y, from.Z + f * d.Z};
            if (near)
                NearSample(p.X, p.Y, p.Z, a2, g.Weight, kc.WaveNumber, re, im);
            else
                ExactKernel(p, radius, a2, false, g.Weight, kc, re, im);
        }
    }
    if (!near) return {re * length, im * length};
    return {re * length + InverseDistanceIntegral(from, KernelVec{from.X + d.X, from.Y + d.Y, from.Z + d.Z}, a2),
            im * length};
}
