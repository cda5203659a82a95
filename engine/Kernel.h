#pragma once
// The kernel integrals of the moment method: the integral of the free-space
// Green's function exp(-jkR)/R over a straight source interval, seen from an
// observation point, by Gauss-Legendre quadrature whose order drops with the
// distance, with a closed form (thin wires) or the exact kernel (thick wires)
// for the interval's own segment. Kept inline: the matrix fill calls it tens
// of millions of times.
#include <cmath>
#include <complex>

namespace kernel_detail {
struct GaussPoint {
    float Offset;  // from the interval's centre, in interval units
    float Weight;  // half weight: each offset is sampled on both sides
};
inline constexpr GaussPoint Gauss2[1] = {{0.28867513f, 0.5f}};
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

// Adds one quadrature sample at the point p (relative to the observation
// point) with weight w to (re, im). exact selects the exact-kernel
// correction of the singular part, with the elliptic integral approximated
// by polynomials.
inline void ExactKernel(const KernelVec& p, float radius, bool exact, float w, const KernelConstants& kc, float& re,
                        float& im) {
    const float r2 = p.X * p.X + p.Y * p.Y + p.Z * p.Z;
    const float a2 = radius * radius;
    const float rr = radius <= kc.ThinWireLimit ? std::sqrt(r2) : std::sqrt(r2 + a2);
    float real = 0.0f;
    if (exact) {
        const float m = r2 / (4.0f * a2 + r2);
        const float am = 1.3862944f + m * (0.0966634f + m * (0.0359009f + m * (0.0374256f + m * 0.0145120f)));
        const float bm = 0.5f + m * (0.1249859f + m * (0.0688025f + m * (0.0332835f + m * 0.0044179f)));
        const float ell = am - std::log(m) * bm;
        real += (0.5f * std::log(r2 / (64.0f * a2)) + std::sqrt(1.0f - m) * ell) / (kernel_detail::Pi * radius) -
                1.0f / rr;
    }
    const float phase = kc.WaveNumber * rr;
    real += std::cos(phase) / rr;
    re += w * real;
    im -= w * std::sin(phase) / rr;
}

// The integral over the source interval from a to b (both relative to the
// observation point; an image source has its Z already mirrored), which is
// `segments` segments of length segLength long, on a piece of the given
// radius. sameOrJoined tells whether the observation and source pulses lie
// on one piece or on pieces joined at an end: only then is the interval's own
// segment treated specially. kappa is +1 for the source, -1 for its image.
inline std::complex<float> PsiIntegral(const KernelVec& a, const KernelVec& b, float segments, float segLength,
                                       float radius, int kappa, PotentialKind kind, bool sameOrJoined,
                                       const KernelConstants& kc) {
    using namespace kernel_detail;
    const float ra = std::sqrt(a.X * a.X + a.Y * a.Y + a.Z * a.Z);
    const float rb = std::sqrt(b.X * b.X + b.Y * b.Y + b.Z * b.Z);
    const float rho = (ra + rb) / segLength;
    const float length = segments * segLength;
    // Samples are laid from end a for the source and from end b for the image.
    const KernelVec from = kappa > 0 ? a : b;
    const KernelVec d = kappa > 0 ? KernelVec{b.X - a.X, b.Y - a.Y, b.Z - a.Z} : KernelVec{a.X - b.X, a.Y - b.Y, a.Z - b.Z};
    float re = 0.0f, im = 0.0f;
    if (rho <= 1.1f && kind != PotentialKind::NearField && sameOrJoined) {
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
                ExactKernel(p, radius, true, g.Weight, kc, re, im);
            }
        }
        return {(re + c0) * length, im * length};
    }
    const GaussPoint* points = Gauss8;
    int count = 4;
    if (rho > 10.0f) {
        points = Gauss2;
        count = 1;
    } else if (rho > 6.0f) {
        points = Gauss4;
        count = 2;
    }
    for (int n = 0; n < count; ++n) {
        const GaussPoint& g = points[n];
        for (float f : {0.5f + g.Offset, 0.5f - g.Offset}) {
            const KernelVec p{from.X + f * d.X, from.Y + f * d.Y, from.Z + f * d.Z};
            ExactKernel(p, radius, false, g.Weight, kc, re, im);
        }
    }
    return {re * length, im * length};
}
