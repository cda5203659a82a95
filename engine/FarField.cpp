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

// The medium under a reflection point at distance r: the lowest-numbered
// whose boundary lies at or beyond it, else the last.
int MediumAt(double r) {
    const EngineState& e = Engine;
    for (int m = 0; m < e.MediaCount; ++m)
        if (e.Media[m].Boundary >= r) return m;
    return e.MediaCount - 1;
}

// A as the sum over point sources of exp(j k r.d) times their moments, in plain
// float arrays, built for AVX-512, AVX2 and the baseline; the widest the CPU
// runs is picked when the program loads (measured: twice the baseline's
// speed here, while the fill's loops gained nothing from it).
__attribute__((target_clones("arch=x86-64-v4", "arch=x86-64-v3", "default"))) void SumPointSources(
    int count, const float* x, const float* y, const float* z, const float* const* m, float dx, float dy, float dz,
    ComplexF a[3]) {
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
    a[0] = ComplexF(axr, axi);
    a[1] = ComplexF(ayr, ayi);
    a[2] = ComplexF(azr, azi);
}

// The surface impedance under the reflection point of an image seen from a
// direction, and the height of its medium: the medium whose boundary lies
// at or beyond the point (else the last), with the radial screen in
// parallel with the ground inside the first boundary.
void GroundUnder(const EngineState& e, float x, float y, float z, float st, float ct, float sp, float cp,
                 float& zsRe, float& zsIm, float& height) {
    const float d = ct == 0.0f ? 1e5f : z * st / ct;
    const float rx = x + d * cp, ry = y + d * sp;
    const double r = e.BoundaryKind == 2 ? std::hypot(static_cast<double>(rx), static_cast<double>(ry)) : rx;
    const int m = MediumAt(r);
    ComplexF zs = e.SurfaceImpedance[m];
    if (e.RadialCount > 0 && r <= e.Media[0].Boundary) {
        const float nr = static_cast<float>(e.RadialCount) * e.RadialRadius;
        const float s = nr + static_cast<float>(r);
        const float xr = std::log(s / nr) * e.WaveNumber * s / static_cast<float>(e.RadialCount);
        const ComplexF jx(0.0f, xr);
        zs = zs * jx / (zs + jx);
    }
    zsRe = zs.real();
    zsIm = zs.imag();
    height = static_cast<float>(e.Media[m].Height);
}

// (a + jb) / (c + jd) for values of moderate size.
KORVA_INLINE void Divide(float a, float b, float c, float d, float& re, float& im) {
    const float den = c * c + d * d;
    re = (a * c + b * d) / den;
    im = (b * c - a * d) / den;
}

// Adds what the images over a real ground give to A in one direction: per image
// the Fresnel coefficients rv, rh of the surface impedance under it, its
// phase psi and its moment m (current * f * u summed over its halves):
//   A -= (rv m_x - sp Q, rv m_y + cp Q, -rv m_z) exp(j psi),
//   Q = (rh - rv) (-m_x sp + m_y cp) exp(j psi).
__attribute__((target_clones("arch=x86-64-v4", "arch=x86-64-v3", "default"))) void SumRealGroundImages(
    int count, const float* x, const float* y, const float* z, const float* const* m, const float* zsRe,
    const float* zsIm, const float* height, float k, float st, float ct, float sp, float cp, ComplexF a[3]) {
    const float *mxr = m[0], *mxi = m[1], *myr = m[2], *myi = m[3], *mzr = m[4], *mzi = m[5];
    float axr = 0, axi = 0, ayr = 0, ayi = 0, azr = 0, azi = 0;
#pragma omp simd reduction(+ : axr, axi, ayr, ayi, azr, azi)
    for (int i = 0; i < count; ++i) {
        const float zr = zsRe[i], zi = zsIm[i];
        // root = sqrt(1 - zs^2 st^2), the principal root by the half-angle rule
        const float sre = 1.0f - (zr * zr - zi * zi) * st * st, sim = -(zr * zi + zi * zr) * st * st;
        const float mag = std::sqrt(sre * sre + sim * sim);
        const float t = std::sqrt((mag + std::fabs(sre)) / 2.0f);
        const float u = t > 0.0f ? std::fabs(sim) / (2.0f * t) : 0.0f;
        const float sign = sim < 0.0f ? -1.0f : 1.0f;
        const float rootR = sre >= 0.0f ? t : u, rootI = sign * (sre >= 0.0f ? u : t);
        const float zRootR = zr * rootR - zi * rootI, zRootI = zr * rootI + zi * rootR;
        float rvR, rvI, rhR, rhI;
        Divide(ct - zRootR, -zRootI, ct + zRootR, zRootI, rvR, rvI);
        Divide(rootR - ct * zr, rootI - ct * zi, rootR + ct * zr, rootI + ct * zi, rhR, rhI);
        float sine, cosine;
        SinCos(k * (x[i] * st * cp + y[i] * st * sp - (z[i] - 2.0f * height[i]) * ct), sine, cosine);
        // p = rv exp(j psi), g = (rh - rv) exp(j psi)
        const float pR = rvR * cosine - rvI * sine, pI = rvR * sine + rvI * cosine;
        const float dR = rhR - rvR, dI = rhI - rvI;
        const float gR = dR * cosine - dI * sine, gI = dR * sine + dI * cosine;
        const float wR = -mxr[i] * sp + myr[i] * cp, wI = -mxi[i] * sp + myi[i] * cp;
        const float qR = gR * wR - gI * wI, qI = gR * wI + gI * wR;
        axr -= (pR * mxr[i] - pI * mxi[i]) - sp * qR;
        axi -= (pR * mxi[i] + pI * mxr[i]) - sp * qI;
        ayr -= (pR * myr[i] - pI * myi[i]) + cp * qR;
        ayi -= (pR * myi[i] + pI * myr[i]) + cp * qI;
        azr += pR * mzr[i] - pI * mzi[i];
        azi += pR * mzi[i] + pI * mzr[i];
    }
    a[0] += ComplexF(axr, axi);
    a[1] += ComplexF(ayr, ayi);
    a[2] += ComplexF(azr, azi);
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

void FarFieldSources::Radiators::Add(float px, float py, float pz, const ComplexF m[3]) {
    x.push_back(px);
    y.push_back(py);
    z.push_back(pz);
    for (int i = 0; i < 3; ++i) {
        moment[2 * i].push_back(m[i].real());
        moment[2 * i + 1].push_back(m[i].imag());
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
    // Over a perfect ground the image is one more point source (mirrored
    // centre, X and Y of the moment reversed); over a real ground the
    // reflection of the image depends on the direction.
    for (int kappa = 1; kappa >= (ground ? -1 : 1); kappa -= 2) {
        const bool realImage = kappa < 0 && realGround;
        const float sign = realImage ? 1.0f : static_cast<float>(kappa);
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
                const ComplexF t = current * f;
                if (contact) {
                    m[2] += 2.0f * t * u.Z;
                } else {
                    m[0] += sign * t * u.X;
                    m[1] += sign * t * u.Y;
                    m[2] += t * u.Z;
                }
            }
            if (realImage)
                realImages_.Add(c.X, c.Y, c.Z, m);
            else
                points_.Add(k * c.X, k * c.Y, k * static_cast<float>(kappa) * c.Z, m);
        }
    }
}

void FarFieldSources::FieldAt(float theta, float phi, ComplexF a[3]) const {
    const float th = theta * RadPerDeg, ph = phi * RadPerDeg;
    const float st = std::sin(th), ct = std::cos(th), sp = std::sin(ph), cp = std::cos(ph);
    const float* m[6];
    for (int i = 0; i < 6; ++i) m[i] = points_.moment[i].data();
    SumPointSources(points_.Count(), points_.x.data(), points_.y.data(), points_.z.data(), m, st * cp, st * sp, ct, a);
    const int images = realImages_.Count();
    if (images == 0) return;
    // The ground under each image (a medium lookup, the radial screen's
    // logarithm) one by one, then the reflections in one vectorized pass.
    const EngineState& e = Engine;
    thread_local std::vector<float> zsRe, zsIm, height;
    zsRe.resize(images);
    zsIm.resize(images);
    height.resize(images);
    for (int i = 0; i < images; ++i)
        GroundUnder(e, realImages_.x[i], realImages_.y[i], realImages_.z[i], st, ct, sp, cp, zsRe[i], zsIm[i],
                    height[i]);
    for (int i = 0; i < 6; ++i) m[i] = realImages_.moment[i].data();
    SumRealGroundImages(images, realImages_.x.data(), realImages_.y.data(), realImages_.z.data(), m, zsRe.data(),
                        zsIm.data(), height.data(), e.WaveNumber, st, ct, sp, cp, a);
}

int FarFieldSources::ThreadsFor(int directions) const {
    // Work per direction: the point sources, and the real-ground images at
    // several times their cost.
    const long long work =
        static_cast<long long>(directions) * (points_.Count() + 4 * static_cast<long long>(realImages_.Count()));
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
