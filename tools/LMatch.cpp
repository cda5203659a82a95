// The two-element L network.
#include "tools/RfCalculators.h"

#include <cmath>

void LMatchCalc::Calc() {
    const double w = 6.283185307179586 * F;
    if (w == 0 || R * Z == 0) return;
    if (X == 0 && R == Z) {
        V1 = V2 = 0;
        return;
    }
    if (R <= Z) {
        Topology = 0;
        const double r = std::sqrt(R * Z - R * R);
        X2 = SeriesC ? -X - r : r - X;
        const double sum = X + X2;
        X1 = sum == 0 ? NoShuntElement : -(R * R + sum * sum) / sum;
    } else {
        const double disc = 4 * Z * Z * X * X - 4 * Z * (Z - R) * (R * R + X * X);
        if (disc < 0) return;
        Topology = 1;
        const double a = -2 * Z * X;
        const double q = 2 * (Z - R);
        X1 = q == 0 ? 0 : (SeriesC ? (a - std::sqrt(disc)) / q : (a + std::sqrt(disc)) / q);
        const double sx = X + X1;
        const double den = sx * sx + R * R;
        X2 = -(X1 * R * R + sx * X * X1) / den;
    }
    if (X1 == NoShuntElement) {
        K1 = 'C';
        V1 = 0;
    } else if (X1 >= 0) {
        K1 = 'L';
        V1 = X1 * 1e6 / w;
    } else {
        K1 = 'C';
        V1 = -1e12 / (w * X1);
    }
    if (X2 >= 0) {
        K2 = 'L';
        V2 = X2 * 1e6 / w;
    } else {
        K2 = 'C';
        V2 = -1e12 / (w * X2);
    }
}
