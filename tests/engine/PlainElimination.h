#pragma once
// Plain Gaussian elimination exactly as the engine's factorization is
// defined, for comparison with the blocked one.
#include "engine/LuFactor.h"

#include <complex>
#include <utility>
#include <vector>

using Matrix = std::vector<LuComplex>;

// Textbook elimination: largest |z|^2 as pivot, the later row on a tie,
// whole rows exchanged, multipliers stored below the diagonal.
inline void PlainFactor(Matrix& a, int n, std::vector<int>& pivot) {
    pivot.assign(n, 0);
    for (int i = 0; i < n; ++i) {
        int best = i;
        float bestMag = std::norm(a[i * n + i]);
        for (int m = i + 1; m < n; ++m) {
            const float mag = std::norm(a[m * n + i]);
            if (mag >= bestMag) {
                best = m;
                bestMag = mag;
            }
        }
        pivot[i] = best;
        if (best != i)
            for (int c = 0; c < n; ++c) std::swap(a[i * n + c], a[best * n + c]);
        const LuComplex p = a[i * n + i];
        for (int m = i + 1; m < n; ++m) {
            const LuComplex q = a[m * n + i] * std::conj(p) / bestMag;
            a[m * n + i] = q;
            for (int c = i + 1; c < n; ++c) a[m * n + c] -= q * a[i * n + c];
        }
    }
}

inline void PlainSolve(const Matrix& a, int n, const std::vector<int>& pivot, std::vector<LuComplex>& x) {
    for (int i = 0; i < n - 1; ++i) std::swap(x[i], x[pivot[i]]);
    for (int i = 1; i < n; ++i)
        for (int c = 0; c < i; ++c) x[i] -= a[i * n + c] * x[c];
    for (int i = n - 1; i >= 0; --i) {
        for (int c = i + 1; c < n; ++c) x[i] -= a[i * n + c] * x[c];
        x[i] /= a[i * n + i];
    }
}

