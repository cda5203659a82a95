#include "engine/LuFactor.h"

#include "engine/EngineError.h"

#include <algorithm>
#include <cblas.h>
#include <cmath>
#include <utility>
#include <vector>

namespace {

int panelWidthOverride = 0;

int PanelWidthFor(int n) {
    if (panelWidthOverride > 0) return panelWidthOverride;
    return n >= 1536 ? 128 : 64;
}

const LuComplex One(1.0f, 0.0f);
const LuComplex MinusOne(-1.0f, 0.0f);

float Norm2(LuComplex z) { return z.real() * z.real() + z.imag() * z.imag(); }

// Factors columns c .. c+w-1 of a column-major panel of h rows (leading
// dimension ld, width width) whose diagonal starts at (c, c). Row exchanges
// span the whole panel width, as in plain elimination, and are recorded in
// localPivot (panel-relative rows).
void FactorPanel(LuComplex* p, int ld, int h, int width, int c, int w, int* localPivot) {
    if (w == 1) {
        LuComplex* col = p + static_cast<std::size_t>(c) * ld;
        int best = c;
        float bestMag = Norm2(col[c]);
        for (int m = c + 1; m < h; ++m) {
            const float mag = Norm2(col[m]);
            if (mag >= bestMag) {  // on a tie the later row wins
                best = m;
                bestMag = mag;
            }
        }
        if (!(bestMag > 0.0f) || !std::isfinite(bestMag))
            throw EngineError(bestMag == 0.0f ? "zero pivot" : "non-finite pivot");
        localPivot[c] = best;
        if (best != c)
            for (int k = 0; k < width; ++k)
                std::swap(p[c + static_cast<std::size_t>(k) * ld], p[best + static_cast<std::size_t>(k) * ld]);
        const LuComplex piv = col[c];
        for (int m = c + 1; m < h; ++m) {
            const LuComplex z = col[m];
            col[m] = LuComplex((z.real() * piv.real() + z.imag() * piv.imag()) / bestMag,
                               (z.imag() * piv.real() - z.real() * piv.imag()) / bestMag);
        }
        return;
    }
    const int w1 = w / 2;
    const int w2 = w - w1;
    FactorPanel(p, ld, h, width, c, w1, localPivot);
    LuComplex* a11 = p + c + static_cast<std::size_t>(c) * ld;
    LuComplex* a12 = p + c + static_cast<std::size_t>(c + w1) * ld;
    LuComplex* a21 = p + (c + w1) + static_cast<std::size_t>(c) * ld;
    LuComplex* a22 = p + (c + w1) + static_cast<std::size_t>(c + w1) * ld;
    cblas_ctrsm(CblasColMajor, CblasLeft, CblasLower, CblasNoTrans, CblasUnit, w1, w2, &One, a11, ld, a12, ld);
    if (h - c - w1 > 0)
        cblas_cgemm(CblasColMajor, CblasNoTrans, CblasNoTrans, h - c - w1, w2, w1, &MinusOne, a21, ld, a12, ld,
                    &One, a22, ld);
    FactorPanel(p, ld, h, width, c + w1, w2, localPivot);
}

// Small matrices factor faster on one thread than with the pool's hand-offs.
class BlasThreadsForSize {
public:
    explicit BlasThreadsForSize(int n) : saved_(openblas_get_num_threads()) {
        if (n <= 512 && saved_ > 1) openblas_set_num_threads(1);
    }
    ~BlasThreadsForSize() {
        if (openblas_get_num_threads() != saved_) openblas_set_num_threads(saved_);
    }
    BlasThreadsForSize(const BlasThreadsForSize&) = delete;
    BlasThreadsForSize& operator=(const BlasThreadsForSize&) = delete;

private:
    int saved_;
};

}  // namespace

void SetLuPanelWidth(int width) { panelWidthOverride = width > 0 ? width : 0; }

void LuFactor(LuComplex* a, int n, int lda, int* pivot) {
    if (n <= 0) return;
    BlasThreadsForSize threads(n);
    const int nb = PanelWidthFor(n);
    // One column-major panel buffer: the panel's column scans stay contiguous.
    std::vector<LuComplex> panel(static_cast<std::size_t>(n) * std::min(nb, n));
    std::vector<int> localPivot(nb);
    for (int k0 = 0; k0 < n; k0 += nb) {
        const int w = std::min(nb, n - k0);
        const int h = n - k0;
        for (int r = 0; r < h; ++r) {
            const LuComplex* row = a + static_cast<std::size_t>(k0 + r) * lda + k0;
            for (int c = 0; c < w; ++c) panel[r + static_cast<std::size_t>(c) * h] = row[c];
        }
        FactorPanel(panel.data(), h, h, w, 0, w, localPivot.data());
        for (int r = 0; r < h; ++r) {
            LuComplex* row = a + static_cast<std::size_t>(k0 + r) * lda + k0;
            for (int c = 0; c < w; ++c) row[c] = panel[r + static_cast<std::size_t>(c) * h];
        }
        // The same exchanges on the columns outside the panel.
        for (int i = 0; i < w; ++i) {
            const int from = k0 + i;
            const int to = k0 + localPivot[i];
            pivot[from] = to;
            if (to == from) continue;
            LuComplex* r1 = a + static_cast<std::size_t>(from) * lda;
            LuComplex* r2 = a + static_cast<std::size_t>(to) * lda;
            std::swap_ranges(r1, r1 + k0, r2);
            std::swap_ranges(r1 + k0 + w, r1 + n, r2 + k0 + w);
        }
        const int rest = n - k0 - w;
        if (rest <= 0) continue;
        LuComplex* a11 = a + static_cast<std::size_t>(k0) * lda + k0;
        LuComplex* a12 = a11 + w;
        LuComplex* a21 = a11 + static_cast<std::size_t>(w) * lda;
        LuComplex* a22 = a21 + w;
        cblas_ctrsm(CblasRowMajor, CblasLeft, CblasLower, CblasNoTrans, CblasUnit, w, rest, &One, a11, lda, a12, lda);
        cblas_cgemm(CblasRowMajor, CblasNoTrans, CblasNoTrans, rest, rest, w, &MinusOne, a21, lda, a12, lda, &One,
                    a22, lda);
    }
}

void LuSolve(const LuComplex* a, int n, int lda, const int* pivot, LuComplex* rhs) {
    if (n <= 0) return;
    for (int i = 0; i < n - 1; ++i)
        if (pivot[i] != i) std::swap(rhs[i], rhs[pivot[i]]);
    LuSubstitute(a, n, lda, rhs);
}

void LuSubstitute(const LuComplex* a, int n, int lda, LuComplex* rhs) {
    if (n <= 0) return;
    cblas_ctrsv(CblasRowMajor, CblasLower, CblasNoTrans, CblasUnit, n, a, lda, rhs, 1);
    cblas_ctrsv(CblasRowMajor, CblasUpper, CblasNoTrans, CblasNonUnit, n, a, lda, rhs, 1);
}
