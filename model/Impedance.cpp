#include "model/Impedance.h"

#include "model/NumberText.h"

#include <algorithm>
#include <cmath>

double CalcSWR2(std::complex<double> z, std::complex<double> z0) {
    if (z.real() < 0) z = -z;
    // Against the conjugate: with a reactive reference, |Z + Z0| falls below
    // |Z - Z0| for some passive loads, and every such load would show the cap.
    // For a real Z0 both are one; the match (rho 0) stays at Z = Z0.
    double rho = std::abs(z - z0) / std::max(1e-6, std::abs(z + std::conj(z0)));
    // A NaN input must not slip past the cap.
    if (!(rho <= MaxReflection)) rho = MaxReflection;
    return (1.0 + rho) / (1.0 - rho);
}

double CalcSWR(double r, double x, double z0r, double z0x) { return CalcSWR2({r, x}, {z0r, z0x}); }

namespace {
std::string Complex(double r, double x, int decimals) {
    return FormatFixed(r, decimals) + (ShowsBelowZero(x, decimals) ? "-j" : "+j") + FormatFixed(std::fabs(x), decimals);
}
}  // namespace

std::string CplxToStr1(double r, double x) { return x == 0.0 ? FormatFixed(r, 1) : Complex(r, x, 1); }

std::string CplxToStr2(double r, double x) { return Complex(r, x, 2); }
