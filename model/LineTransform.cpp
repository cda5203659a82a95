#include "model/LineTransform.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr double NepersPerDb = 0.11512925465;  // ln 10 / 20

double LineAngle(double lengthWaves) {
    if (lengthWaves >= 1.0) lengthWaves = std::fmod(lengthWaves, 1.0);
    return 2.0 * std::numbers::pi * lengthWaves;
}

// A denominator this small against the size of its terms is zero that
// rounding of the line angle has hidden (a quarter-wave line on a short).
constexpr double ZeroDenominator = 1e-12;

// n / d by conjugate, refusing a zero denominator and a non-finite result;
// `scale` is the size of the terms that make up d.
bool Divide(Cplx& out, Cplx n, Cplx d, double scale) {
    double mag2 = std::norm(d);
    if (!std::isfinite(mag2) || std::sqrt(mag2) <= ZeroDenominator * scale || mag2 == 0.0) return false;
    Cplx q = n * std::conj(d) / mag2;
    if (!std::isfinite(q.real()) || !std::isfinite(q.imag())) return false;
    out = q;
    return true;
}

struct HyperbolicPair {
    Cplx cosh;
    Cplx sinh;
};

HyperbolicPair LineFunctions(double lengthWaves, double lossDb) {
    double a = NepersPerDb * lossDb;
    double theta = LineAngle(lengthWaves);
    return {{std::cosh(a) * std::cos(theta), std::sinh(a) * std::sin(theta)},
            {std::sinh(a) * std::cos(theta), std::cosh(a) * std::sin(theta)}};
}

}  // namespace

bool LineTransform(Cplx& zin, Cplx z0, Cplx zl, double lengthWaves) {
    double theta = LineAngle(lengthWaves);
    const Cplx j(0.0, 1.0);
    double c = std::cos(theta), s = std::sin(theta);
    Cplx q;
    if (!Divide(q, zl * c + j * z0 * s, z0 * c + j * zl * s, std::abs(z0) + std::abs(zl))) return false;
    zin = z0 * q;
    return true;
}

bool CalcLineZin(Cplx& zin, Cplx z0, Cplx zl, double lengthWaves, double lossDb) {
    HyperbolicPair g = LineFunctions(lengthWaves, lossDb);
    Cplx q;
    double scale = (std::abs(z0) + std::abs(zl)) * std::max(std::abs(g.cosh), std::abs(g.sinh));
    if (!Divide(q, zl * g.cosh + z0 * g.sinh, z0 * g.cosh + zl * g.sinh, scale)) return false;
    zin = z0 * q;
    return true;
}

bool CalcLineZload(Cplx& zl, Cplx z0, Cplx zin, double lengthWaves, double lossDb) {
    HyperbolicPair g = LineFunctions(lengthWaves, lossDb);
    Cplx q;
    double scale = (std::abs(z0) + std::abs(zin)) * std::max(std::abs(g.cosh), std::abs(g.sinh));
    if (!Divide(q, zin * g.cosh - z0 * g.sinh, z0 * g.cosh - zin * g.sinh, scale)) return false;
    zl = z0 * q;
    return true;
}
