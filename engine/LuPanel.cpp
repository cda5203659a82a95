#include "engine/LuPanel.h"

#include "engine/EngineError.h"

#include <cblas.h>
#include <cmath>
#include <cstddef>
#include <utility>

// The panel is factored recursively: the left half, then the right half
// updated with ctrsm/cgemm, down to a few columns that are eliminated
// plainly with loops over contiguous columns.

namespace {

// Columns eliminated plainly at the bottom of the recursion.
constexpr int BaseWidth = 8;

const LuComplex One(1.0f, 0.0f);
const LuComplex MinusOne(-1.0f, 0.0f);

LuComplex* Column(LuComplex* p, int ld, int c) { return p + static_cast<std::size_t>(c) * ld; }

// The pivot among rows 0 .. count-1 of a column: the largest |z|^2, the
// later row on a tie, exactly as a running ">=" comparison from row 0 picks
// it (so a non-finite first entry stays the pivot and is refused).
int FindPivot(const LuComplex* column, int count, float* magnitudes) {
    const float* z = reinterpret_cast<const float*>(column);
    for (int m = 0; m < count; ++m) magnitudes[m] = z[2 * m] * z[2 * m] + z[2 * m + 1] * z[2 * m + 1];
    float best = magnitudes[0];
    if (!std::isnan(best)) {
        // Independent lanes keep the search from waiting on each comparison;
        // the maximum is exact, so the lanes change nothing.
        constexpr int Lanes = 16;
        float lane[Lanes];
        for (float& l : lane) l = best;
        int m = 1;
        for (; m + Lanes <= count; m += Lanes)
            for (int k = 0; k < Lanes; ++k) lane[k] = magnitudes[m + k] > lane[k] ? magnitudes[m + k] : lane[k];
        for (; m < count; ++m) best = magnitudes[m] > best ? magnitudes[m] : best;
        for (float l : lane) best = l > best ? l : best;
    }
    int row = 0;
    if (!std::isnan(best))
        for (int m = count - 1; m > 0; --m)
            if (magnitudes[m] == best) {
                row = m;
                break;
            }
    if (!(best > 0.0f) || !std::isfinite(best)) throw EngineError(best == 0.0f ? "zero pivot" : "non-finite pivot");
    return row;
}

// Multipliers: z conj(pivot) / |pivot|^2 for each entry.
void Scale(LuComplex* column, int count, LuComplex pivot, float magnitude) {
    float* z = reinterpret_cast<float*>(column);
    const float pr = pivot.real(), pi = pivot.imag();
    for (int m = 0; m < count; ++m) {
        const float re = z[2 * m], im = z[2 * m + 1];
        z[2 * m] = (re * pr + im * pi) / magnitude;
        z[2 * m + 1] = (im * pr - re * pi) / magnitude;
    }
}

// target -= multipliers * u, element by element.
void SubtractMultiple(LuComplex* target, const LuComplex* multipliers, int count, LuComplex u) {
    float* t = reinterpret_cast<float*>(target);
    const float* q = reinterpret_cast<const float*>(multipliers);
    const float ur = u.real(), ui = u.imag();
    for (int m = 0; m < count; ++m) {
        const float qr = q[2 * m], qi = q[2 * m + 1];
        t[2 * m] -= qr * ur - qi * ui;
        t[2 * m + 1] -= qr * ui + qi * ur;
    }
}

// Plain elimination of columns c .. c+w-1; the update reaches only these
// columns, the caller updates the ones right of them. It is the panel's one
// loop outside BLAS, so it gets a wider-vector build where the processor
// has one (no fused multiply-add: the results do not change).
__attribute__((target_clones("avx2", "default"))) void EliminateColumns(LuComplex* p, int ld, int h, int width, int c, int w, int* pivot, float* magnitudes) {
    for (int j = c; j < c + w; ++j) {
        LuComplex* col = Column(p, ld, j);
        const int best = j + FindPivot(col + j, h - j, magnitudes);
        pivot[j] = best;
        if (best != j)
            for (int k = 0; k < width; ++k) std::swap(Column(p, ld, k)[j], Column(p, ld, k)[best]);
        const LuComplex piv = col[j];
        Scale(col + j + 1, h - j - 1, piv, piv.real() * piv.real() + piv.imag() * piv.imag());
        for (int k = j + 1; k < c + w; ++k) {
            LuComplex* target = Column(p, ld, k);
            SubtractMultiple(target + j + 1, col + j + 1, h - j - 1, target[j]);
        }
    }
}

void FactorColumns(LuComplex* p, int ld, int h, int width, int c, int w, int* pivot, float* magnitudes) {
    if (w <= BaseWidth) {
        EliminateColumns(p, ld, h, width, c, w, pivot, magnitudes);
        return;
    }
    const int w1 = w / 2;
    const int w2 = w - w1;
    FactorColumns(p, ld, h, width, c, w1, pivot, magnitudes);
    LuComplex* a11 = Column(p, ld, c) + c;
    LuComplex* a12 = Column(p, ld, c + w1) + c;
    LuComplex* a21 = Column(p, ld, c) + c + w1;
    LuComplex* a22 = Column(p, ld, c + w1) + c + w1;
    cblas_ctrsm(CblasColMajor, CblasLeft, CblasLower, CblasNoTrans, CblasUnit, w1, w2, &One, a11, ld, a12, ld);
    if (h - c - w1 > 0)
        cblas_cgemm(CblasColMajor, CblasNoTrans, CblasNoTrans, h - c - w1, w2, w1, &MinusOne, a21, ld, a12, ld, &One,
                    a22, ld);
    FactorColumns(p, ld, h, width, c + w1, w2, pivot, magnitudes);
}

}  // namespace

void FactorLuPanel(LuComplex* p, int ld, int h, int w, int* pivot, float* magnitudes) {
    FactorColumns(p, ld, h, w, 0, w, pivot, magnitudes);
}
