#pragma once
// Plain Gaussian elimination exactly as the engine's factorization is
// defined, for comparison with the blocked one.
#include "engine/LuFactor.h"

#include <cmath>
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


// Gaussian elimination in double precision, largest |z| as pivot: the
// reference that shows how accurate single precision can be.
inline std::vector<std::complex<double>> DoubleGaussSolve(std::vector<std::complex<double>> a,
                                                          std::vector<std::complex<double>> b, int n) {
    using cd = std::complex<double>;
    for (int i = 0; i < n; ++i) {
        int p = i;
        for (int m = i + 1; m < n; ++m)
            if (std::abs(a[m * n + i]) > std::abs(a[p * n + i])) p = m;
        for (int c = 0; c < n; ++c) std::swap(a[i * n + c], a[p * n + c]);
        std::swap(b[i], b[p]);
        for (int m = i + 1; m < n; ++m) {
            const cd q = a[m * n + i] / a[i * n + i];
            for (int c = i; c < n; ++c) a[m * n + c] -= q * a[i * n + c];
            b[m] -= q * b[i];
        }
    }
    for (int i = n - 1; i >= 0; --i) {
        for (int c = i + 1; c < n; ++c) b[i] -= a[i * n + c] * b[c];
        b[i] /= a[i * n + i];
    }
    return b;
}

// The same system solved in double precision.
inline std::vector<std::complex<double>> DoubleSolve(const Matrix& matrix, int n, const std::vector<LuComplex>& rhs) {
    return DoubleGaussSolve({matrix.begin(), matrix.end()}, {rhs.begin(), rhs.end()}, n);
}

// Relative distance of a float solution from the double one.
inline double RelativeError(const std::vector<LuComplex>& x, const std::vector<std::complex<double>>& exact) {
    double diff = 0.0, norm = 0.0;
    for (std::size_t i = 0; i < x.size(); ++i) {
        diff += std::norm(std::complex<double>(x[i]) - exact[i]);
        norm += std::norm(exact[i]);
    }
    return std::sqrt(diff / norm);
}
