#include "engine/FarField.h"

#include "engine/Solve.h"
#include "model/ResultStore.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

constexpr float RadPerDeg = 0.017453292f;
constexpr float GainFactor = 0.016678f;
constexpr float DbPerNeper = 4.343f;

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

void FarFieldAt(float theta, float phi, ComplexF a[3]) {
    const EngineState& e = Engine;
    a[0] = a[1] = a[2] = ComplexF(0.0f, 0.0f);
    const float th = theta * RadPerDeg, ph = phi * RadPerDeg;
    const float st = std::sin(th), ct = std::cos(th), sp = std::sin(ph), cp = std::cos(ph);
    const float k = e.WaveNumber;
    const int n = e.PulseCount;
    for (int kappa = 1; kappa >= (e.GroundFlag < 0 ? -1 : 1); kappa -= 2) {
        const bool realImage = kappa < 0 && e.MediaCount > 0;
        for (int p = 1; p <= n; ++p) {
            const PulseHalves& hv = e.Halves[p];
            const bool contact = hv.First == -hv.Second;
            if (kappa < 0 && contact) continue;
            const Point3F& c = e.Points[2 * e.PulsePiece[p] + p - 1];
            const ComplexF current = e.Currents[p];
            // Both halves radiate from the pulse centre: one phase per pulse.
            ImageReflection reflection;
            ComplexF phase;
            if (realImage)
                reflection = ReflectAt(e, c, st, ct, sp, cp);
            else
                phase = Cis(k * (c.X * st * cp + c.Y * st * sp + kappa * c.Z * ct));
            for (int half = 0; half < 2; ++half) {
                const int signedPiece = half == 0 ? hv.First : hv.Second;
                const int w = std::abs(signedPiece);
                const float f = (signedPiece < 0 ? -k : k) * e.PieceSegLength[w] / 2.0f;
                if (contact && f < 0.0f) continue;
                const Point3F& u = e.PieceDirection[w];
                if (realImage) {
                    AddRealGroundImage(reflection, u, sp, cp, current * f, a);
                    continue;
                }
                const ComplexF t = current * phase * f;
                if (contact) {
                    a[2] += 2.0f * t * u.Z;
                } else {
                    a[0] += static_cast<float>(kappa) * t * u.X;
                    a[1] += static_cast<float>(kappa) * t * u.Y;
                    a[2] += t * u.Z;
                }
            }
        }
    }
}

FarFieldGains FarFieldGainsAt(float theta, float phi) {
    const EngineState& e = Engine;
    ComplexF a[3];
    FarFieldAt(theta, phi, a);
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
    // Directions are independent; the store takes them in loop order.
#pragma omp parallel for schedule(dynamic, 4) if (static_cast<long long>(total) * e.PulseCount > 50000)
    for (int d = 0; d < total; ++d) {
        const int az = d / zenCount, zen = d % zenCount;
        gains[d] = FarFieldGainsAt(e.ZenithStart + zen * e.ZenithStep, e.AzimuthStart + az * e.AzimuthStep);
    }
    for (const FarFieldGains& g : gains) Results.StorePatternPoint(g.Gv, g.Gh, g.Gtotal);
}
