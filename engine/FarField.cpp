#include "engine/FarField.h"

#include "engine/Kernel.h"
#include "engine/Solve.h"
#include "engine/TeamSize.h"
#include "model/ResultStore.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

constexpr float RadPerDeg = 0.017453292f;
constexpr float GainFactor = 0.016678f;
constexpr float DbPerNeper = 4.343f;
// Point-source terms of a pass from which waking other threads pays, and
// from which it pays to wake them all.
constexpr long long WorkForThreads = 50000, WorkForAllThreads = 1000000;

float ToDb(float g) { return g > 1e-30f ? DbPerNeper * std::log(g) : -999.0f; }

ComplexF Cis(float psi) { return ComplexF(std::cos(psi), std::sin(psi)); }

// The medium under a reflection point at distance r: the lowest-numbered
// whose boundary lies at or beyond it, else the last.
int MediumAt(double r) {
    const EngineState& e = Engine;
    for (int m = 0; m < e.MediaCount; ++m)
        if (e.Media[m].Boundary >= r) return m;
    return e.MediaCount - 1;
}

// Reflection of one pulse's image over a real ground: the Fresnel
// coefficients of the medium under the reflection point and the phase of
// the image; they depend on the pulse centre only, so both halves share them.
struct ImageReflection {
    ComplexF rv, rh;   // vertical and horizontal reflection coefficients
    ComplexF phase;    // exp(j psi) of the image
};

ImageReflection ReflectAt(const EngineState& e, const Point3F& c, float st, float ct, float sp, float cp) {
    const float d = ct == 0.0f ? 1e5f : c.Z * st / ct;
    const float rx = c.X + d * cp, ry = c.Y + d * sp;
    const double r = e.BoundaryKind == 2 ? std::hypot(static_cast<double>(rx), static_cast<double>(ry)) : rx;
    const int m = MediumAt(r);
    ComplexF zs = e.SurfaceImpedance[m];
    if (e.RadialCount > 0 && r <= e.Media[0].Boundary) {
        // The radial screen in parallel with the ground.
        const float nr = static_cast<float>(e.RadialCount) * e.RadialRadius;
        const float s = nr + static_cast<float>(r);
        const float xr = std::log(s / nr) * e.WaveNumber * s / static_cast<float>(e.RadialCount);
        const ComplexF jx(0.0f, xr);
        zs = zs * jx / (zs + jx);
    }
    const ComplexF z2 = zs * zs;
    const ComplexF root = ComplexSqrt(1.0f - z2.real() * st * st, -z2.imag() * st * st);
    ImageReflection out;
    out.rv = (ct - zs * root) / (ct + zs * root);
    out.rh = (root - ct * zs) / (root + ct * zs);
    const float hm = static_cast<float>(e.Media[m].Height);
    out.phase = Cis(e.WaveNumber * (c.X * st * cp + c.Y * st * sp - (c.Z - 2.0f * hm) * ct));
    return out;
}

void AddRealGroundImage(const ImageReflection& ref, const Point3F& u, float sp, float cp, ComplexF t0, ComplexF a[3]) {
    const ComplexF t = t0 * ref.phase;
    const ComplexF b = t * ref.rv;
    const ComplexF q = t * (ref.rh - ref.rv) * (-u.X * sp + u.Y * cp);
    a[0] -= u.X * b - sp * q;
    a[1] -= u.Y * b + cp * q;
    a[2] += u.Z * b;
}

}  // namespace

ComplexF ComplexSqrt(float re, float im) {
    const float r = std::hypot(re, im);
    if (r == 0.0f) return ComplexF(0.0f, 0.0f);
    const float t = std::sqrt((r + std::fabs(re)) / 2.0f);
    const float u = std::fabs(im) / (2.0f * t);
    const float sign = im < 0.0f ? -1.0f : 1.0f;
    return re >= 0.0f ? ComplexF(t, sign * u) : ComplexF(u, sign * t);
}

void PrepareGroundImpedances() {
    EngineState& e = Engine;
    for (int m = 0; m < e.MediaCount; ++m) {
        const float eps = static_cast<float>(e.Media[m].Dielectric);
        const float loss = static_cast<float>(e.Media[m].Conductivity / (6.283185307 * e.Frequency * 8.85e-6));
        const ComplexF root = ComplexSqrt(eps, -loss);
        e.SurfaceImpedance[m] = ComplexF(1.0f, 0.0f) / root;
    }
}

FarFieldSources::FarFieldSources() {
    const EngineState& e = Engine;
    const float k = e.WaveNumber;
    const int n = e.PulseCount;
    const bool ground = e.GroundFlag < 0;
    const bool realGround = ground && e.MediaCount > 0;
    // Each pulse radiates from its centre: its current moment is the sum over
    // its halves of current * f * u, taken once here instead of per direction.
    // Over a perfect ground the image is one more source (mirrored centre,
    // X and Y of the moment reversed); over a real ground its reflection
    // depends on the direction, so the halves are kept for the image sum.
    for (int kappa = 1; kappa >= (ground ? -1 : 1); kappa -= 2) {
        const bool realImage = kappa < 0 && realGround;
        for (int p = 1; p <= n; ++p) {
            const PulseHalves& hv = e.Halves[p];
            const bool contact = hv.First == -hv.Second;
            if (kappa < 0 && contact) continue;
            const Point3F& c = e.Points[2 * e.PulsePiece[p] + p - 1];
            const ComplexF current = e.Currents[p];
            ComplexF m[3] = {};
            for (int half = 0; half < 2; ++half) {
                const int signedPiece = half == 0 ? hv.First : hv.Second;
                const int w = std::abs(signedPiece);
                const float f = (signedPiece < 0 ? -k : k) * e.PieceSegLength[w] / 2.0f;
                if (contact && f < 0.0f) continue;
                const Point3F& u = e.PieceDirection[w];
                if (realImage) {
                    images_.push_back(ImageHalf{p, c, u, current * f});
                    continue;
                }
                const ComplexF t = current * f;
                if (contact) {
                    m[2] += 2.0f * t * u.Z;
                } else {
                    m[0] += static_cast<float>(kappa) * t * u.X;
                    m[1] += static_cast<float>(kappa) * t * u.Y;
                    m[2] += t * u.Z;
                }
            }
            if (realImage) continue;
            x_.push_back(k * c.X);
            y_.push_back(k * c.Y);
            z_.push_back(k * static_cast<float>(kappa) * c.Z);
            for (int i = 0; i < 3; ++i) {
                moment_[2 * i].push_back(m[i].real());
                moment_[2 * i + 1].push_back(m[i].imag());
            }
        }
    }
}

namespace {

// The sum over point sources of exp(j k r.d) times their moments, in plain
// float arrays, built for AVX-512, AVX2 and the baseline; the widest the CPU
// runs is picked when the program loads (measured: twice the baseline's
// speed here, while the fill's loops gained nothing from it).
__attribute__((target_clones("arch=x86-64-v4", "arch=x86-64-v3", "default"))) void SumPointSources(
    int count, const float* x, const float* y, const float* z, const float* const* m, float dx, float dy, float dz,
    float out[6]) {
    const float *mxr = m[0], *mxi = m[1], *myr = m[2], *myi = m[3], *mzr = m[4], *mzi = m[5];
    float axr = 0, axi = 0, ayr = 0, ayi = 0, azr = 0, azi = 0;
#pragma omp simd reduction(+ : axr, axi, ayr, ayi, azr, azi)
    for (int i = 0; i < count; ++i) {
        float sine, cosine;
        SinCos(x[i] * dx + y[i] * dy + z[i] * dz, sine, cosine);
        axr += cosine * mxr[i] - sine * mxi[i];
        axi += cosine * mxi[i] + sine * mxr[i];
        ayr += cosine * myr[i] - sine * myi[i];
        ayi += cosine * myi[i] + sine * myr[i];
        azr += cosine * mzr[i] - sine * mzi[i];
        azi += cosine * mzi[i] + sine * mzr[i];
    }
    out[0] = axr;
    out[1] = axi;
    out[2] = ayr;
    out[3] = ayi;
    out[4] = azr;
    out[5] = azi;
}

}  // namespace

void FarFieldSources::FieldAt(float theta, float phi, ComplexF a[3]) const {
    const float th = theta * RadPerDeg, ph = phi * RadPerDeg;
    const float st = std::sin(th), ct = std::cos(th), sp = std::sin(ph), cp = std::cos(ph);
    const float* m[6];
    for (int i = 0; i < 6; ++i) m[i] = moment_[i].data();
    float sum[6];
    SumPointSources(static_cast<int>(x_.size()), x_.data(), y_.data(), z_.data(), m, st * cp, st * sp, ct, sum);
    for (int i = 0; i < 3; ++i) a[i] = ComplexF(sum[2 * i], sum[2 * i + 1]);
    if (images_.empty()) return;
    // Real-ground images: the reflection depends on the pulse centre only,
    // and the halves of a pulse follow each other.
    const EngineState& e = Engine;
    int reflected = 0;
    ImageReflection reflection;
    for (const ImageHalf& h : images_) {
        if (h.pulse != reflected) reflection = ReflectAt(e, h.centre, st, ct, sp, cp);
        reflected = h.pulse;
        AddRealGroundImage(reflection, h.direction, sp, cp, h.moment, a);
    }
}

int FarFieldSources::ThreadsFor(int directions) const {
    // Work per direction: the vectorized point sources, and the scalar
    // reflections of the real-ground images at several times their cost.
    const long long work = static_cast<long long>(directions) * (static_cast<long long>(x_.size()) + 8 * images_.size());
    return work <= WorkForThreads ? 1 : TeamSize(work > WorkForAllThreads);
}

FarFieldGains FarFieldSources::GainsAt(float theta, float phi) const {
    const EngineState& e = Engine;
    ComplexF a[3];
    FieldAt(theta, phi, a);
    const float th = theta * RadPerDeg, ph = phi * RadPerDeg;
    const float st = std::sin(th), ct = std::cos(th), sp = std::sin(ph), cp = std::cos(ph);
    const ComplexF eTheta = e.FieldFactor * (a[0] * (ct * cp) + a[1] * (ct * sp) - a[2] * st);
    const ComplexF ePhi = e.FieldFactor * (-a[0] * sp + a[1] * cp);
    const float gv = std::norm(eTheta) * GainFactor / e.InputPower;
    const float gh = std::norm(ePhi) * GainFactor / e.InputPower;
    return FarFieldGains{ToDb(gv), ToDb(gh), ToDb(gv + gh)};
}

void SetFarFieldLoops(float azStart, float azStep, int azCount, float zenStart, float zenStep, int zenCount) {
    EngineState& e = Engine;
    e.AzimuthStart = azStart;
    e.AzimuthStep = azStep;
    e.AzimuthCount = std::max(1, azCount);
    e.ZenithStart = zenStart;
    e.ZenithStep = zenStep;
    e.ZenithCount = std::max(1, zenCount);
}

void CalcFarField() {
    EngineState& e = Engine;
    if (e.MatrixState != MatrixSolved) FillAndSolve();
    RequireInputPower();
    PrepareGroundImpedances();
    const int azCount = std::max(1, e.AzimuthCount);
    const int zenCount = std::max(1, e.ZenithCount);
    const int total = azCount * zenCount;
    std::vector<FarFieldGains> gains(static_cast<std::size_t>(total));
    const FarFieldSources sources;
    // Directions are independent; the store takes them in loop order.
#pragma omp parallel for schedule(dynamic, 4) num_threads(sources.ThreadsFor(total))
    for (int d = 0; d < total; ++d) {
        const int az = d / zenCount, zen = d % zenCount;
        gains[d] = sources.GainsAt(e.ZenithStart + zen * e.ZenithStep, e.AzimuthStart + az * e.AzimuthStep);
    }
    for (const FarFieldGains& g : gains) Results.StorePatternPoint(g.Gv, g.Gh, g.Gtotal);
}
