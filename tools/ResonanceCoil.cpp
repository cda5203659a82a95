// LC resonance and the single-layer air coil.
#include "model/AntDef.h"
#include "model/NumberText.h"
#include "tools/RfCalculators.h"

#include <cmath>

namespace {
constexpr double TwoPi = 6.283185307179586;
}

void ResonanceCalc::Calc(int mode) {
    const double w = TwoPi * F;
    switch (mode) {
    case 0:
        L = C = 0;
        if (w * X != 0) {
            L = X / w;
            C = 1 / (w * X);
        }
        break;
    case 1:
        X = C = 0;
        if (w * L != 0) {
            X = w * L;
            C = 1 / (X * w);
        }
        break;
    case 2:
        X = L = 0;
        if (w * C != 0) {
            X = 1 / (w * C);
            L = X / w;
        }
        break;
    default:
        F = X = 0;
        if (L * C > 0) {
            F = 1 / (TwoPi * std::sqrt(L * C));
            X = TwoPi * F * L;
        }
        break;
    }
}

std::string ResonanceCalc::WavelengthText() const {
    if (F == 0) return {};
    const double wl = LightSpeedMHz * 1e6 / F;
    auto len = [](double v) { return DblToStr(RoundTo(v, 3)); };
    return "wl  = " + len(wl) + "m\r\n1/2 = " + len(0.5 * wl) + "m\r\n1/4 = " + len(0.25 * wl) + "m\r\n5/8 = " +
           len(5 * wl * 0.125) + "m";
}

void CoilCalc::Calc(int mode) {
    const double lu = L * 1e6;
    const double pitch = d + s;
    // A zero diameter or turn count (reachable through L = 0) gives 0, not a
    // division by zero.
    switch (mode) {
    case 0: {
        const double den = 45 * D + 102 * N * pitch;
        L = den != 0 ? D * D * N * N / den * 1e-6 : 0;
        break;
    }
    case 1: {
        if (D == 0) {
            N = 0;
            break;
        }
        const double b = 102 * lu * pitch / D;
        const double root = b * b + 180 * D * lu;
        N = root >= 0 ? (b + std::sqrt(root)) / (2 * D) : 0;
        break;
    }
    default: {
        if (N == 0) {
            D = 0;
            break;
        }
        const double root = 2025 * lu * lu + 408 * N * N * N * lu * pitch;
        D = root >= 0 ? (std::sqrt(root) + 45 * lu) / (2 * N * N) : 0;
        break;
    }
    }
}
