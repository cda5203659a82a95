#include "engine/LuFactor.h"

#include "engine/LuPanel.h"
#include "engine/TeamSize.h"

#include <algorithm>
#include <atomic>
#include <climits>
#include <cblas.h>
#include <cmath>
#include <exception>
#include <omp.h>
#include <utility>
#include <vector>

// Right-looking blocked LU on the row-major matrix, in place, with a
// look-ahead of one panel. A panel of columns is factored in a column-major
// copy (its columns are then contiguous, whatever the matrix's row stride).
// At each step one thread brings the next panel's columns up to date with
// the current panel and factors it, while the others update the columns
// right of it, block by block: each block takes the panel's row exchanges,
// the solve of its top rows with the panel's unit lower triangle (ctrsm) and
// the product of the rows below (cgemm). So a step has one barrier, and the
// panel's serial work stays off the critical path while there is trailing
// work to overlap. The exchanges of the columns left of each panel wait
// until the end. The work runs on our own OpenMP threads, one team for the
// whole factorization, with single-threaded BLAS calls.

namespace {

int panelWidthOverride = 0;

// The thread that factors the next panel also brings its columns up to
// date, work that grows with the square of the width while the others'
// share of a step grows with it only linearly: narrow panels keep that
// thread off the critical path, down to the width below which the update's
// products lose speed.
int PanelWidthFor(int n) {
    if (panelWidthOverride > 0) return panelWidthOverride;
    return n >= 1536 ? 64 : 32;
}

const LuComplex One(1.0f, 0.0f);
const LuComplex MinusOne(-1.0f, 0.0f);

LuComplex* At(LuComplex* a, int lda, int row, int col) { return a + static_cast<std::size_t>(row) * lda + col; }

int RoundUp(int x, int step) { return (x + step - 1) / step * step; }

// The exchanges of rows k0 .. k0+w-1 on columns c0 .. c0+cw-1.
void SwapRows(LuComplex* a, int lda, int k0, int w, const int* pivot, int c0, int cw) {
    for (int i = k0; i < k0 + w; ++i)
        if (pivot[i] != i) std::swap_ranges(At(a, lda, i, c0), At(a, lda, i, c0 + cw), At(a, lda, pivot[i], c0));
}

// Our threads make the parallelism; BLAS runs single-threaded inside them.
class SingleThreadedBlas {
public:
    SingleThreadedBlas() : saved_(openblas_get_num_threads()) {
        if (saved_ > 1) openblas_set_num_threads(1);
    }
    ~SingleThreadedBlas() {
        if (openblas_get_num_threads() != saved_) openblas_set_num_threads(saved_);
    }
    SingleThreadedBlas(const SingleThreadedBlas&) = delete;
    SingleThreadedBlas& operator=(const SingleThreadedBlas&) = delete;

private:
    int saved_;
};

// Below ParallelFrom the team's hand-offs cost more than they share; below
// AllThreadsFrom a step's update is short enough that more than a few
// threads mostly wait for the panel.
constexpr int ParallelFrom = 384, AllThreadsFrom = 1024;

// Two column-major panels: the current one feeds the trailing update while
// the next one is factored. Kept between calls, so a calculation allocates
// them once. Row 0 of a panel is the matrix row of its diagonal.
class PanelBuffers {
public:
    void Reserve(int n, int nb) {
        ld_ = n + 8;  // off a power of two, so a row's entries spread over the cache
        size_ = static_cast<std::size_t>(ld_) * nb;
        if (data_.size() < 2 * size_) data_.assign(2 * size_, LuComplex());
        if (magnitudes_.size() < static_cast<std::size_t>(n)) magnitudes_.assign(n, 0.0f);
    }
    int Ld() const { return ld_; }
    LuComplex* Panel(int step) { return data_.data() + (step & 1) * size_; }
    float* Magnitudes() { return magnitudes_.data(); }

private:
    std::vector<LuComplex> data_;
    std::vector<float> magnitudes_;
    int ld_ = 0;
    std::size_t size_ = 0;
};

PanelBuffers& Buffers() {
    static PanelBuffers buffers;
    return buffers;
}

// Rows r0 .. r0+rows-1 of matrix columns c0 .. c0+w-1 into panel rows
// r0 - top .. (column-major), and back.
void CopyToPanel(const LuComplex* a, int lda, int top, int r0, int rows, int c0, int w, LuComplex* panel, int ld) {
    for (int r = r0; r < r0 + rows; ++r) {
        const LuComplex* row = a + static_cast<std::size_t>(r) * lda + c0;
        LuComplex* out = panel + (r - top);
        for (int c = 0; c < w; ++c) out[static_cast<std::size_t>(c) * ld] = row[c];
    }
}

void CopyFromPanel(const LuComplex* panel, int ld, int top, int r0, int rows, int c0, int w, LuComplex* a, int lda) {
    for (int r = r0; r < r0 + rows; ++r) {
        LuComplex* row = a + static_cast<std::size_t>(r) * lda + c0;
        const LuComplex* in = panel + (r - top);
        for (int c = 0; c < w; ++c) row[c] = in[static_cast<std::size_t>(c) * ld];
    }
}

}  // namespace

int LuThreadsFor(int n) { return n < ParallelFrom ? 1 : TeamSize(n >= AllThreadsFrom); }

void SetLuPanelWidth(int width) { panelWidthOverride = width > 0 ? width : 0; }

void LuFactor(LuComplex* a, int n, int lda, int* pivot) {
    if (n <= 0) return;
    SingleThreadedBlas blas;
    const int nb = std::min(PanelWidthFor(n), n);
    const int threads = LuThreadsFor(n);
    PanelBuffers& buffers = Buffers();
    buffers.Reserve(n, nb);
    const int ld = buffers.Ld();
    // Task sizes: rows copied per task, and the least columns of an update
    // block and of a block of deferred exchanges.
    constexpr int CopyRows = 256, BlockMin = 32, SwapColumns = 256;

    // Columns c0 .. c0+cw-1 brought up to date with the factored panel of
    // columns k0 .. k0+w-1 (column-major in `panel`).
    auto update = [&](int k0, int w, const LuComplex* panel, int c0, int cw) {
        SwapRows(a, lda, k0, w, pivot, c0, cw);
        cblas_ctrsm(CblasRowMajor, CblasLeft, CblasUpper, CblasTrans, CblasUnit, w, cw, &One, panel, ld,
                    At(a, lda, k0, c0), lda);
        const int below = n - k0 - w;
        if (below > 0)
            cblas_cgemm(CblasRowMajor, CblasTrans, CblasNoTrans, below, cw, w, &MinusOne, panel + w, ld,
                        At(a, lda, k0, c0), lda, &One, At(a, lda, k0 + w, c0), lda);
    };
    // The panel of columns k0 .. k0+w-1, up to date, factored in `panel`;
    // its pivots become matrix rows. It is written back by copyBack.
    auto factor = [&](int k0, int w, LuComplex* panel) {
        CopyToPanel(a, lda, k0, k0, n - k0, k0, w, panel, ld);
        FactorLuPanel(panel, ld, n - k0, w, pivot + k0, buffers.Magnitudes());
        for (int i = k0; i < k0 + w; ++i) pivot[i] += k0;
    };
    auto copyTasks = [&](int k0) { return (n - k0 + CopyRows - 1) / CopyRows; };
    auto copyBack = [&](int k0, int w, const LuComplex* panel, int task) {
        const int r0 = k0 + task * CopyRows;
        CopyFromPanel(panel, ld, k0, r0, std::min(CopyRows, n - r0), k0, w, a, lda);
    };

    // An exception may not leave a parallel region: the thread that meets
    // it records it and the step, and every thread stops after that step's
    // barrier. (A thread may look while another already works on the next
    // step, so the test is "failed in an earlier step", which is the same
    // for every thread at the top of a step.)
    std::exception_ptr failure;
    constexpr int NoFailure = INT_MAX;
    std::atomic<int> failedStep{NoFailure};
    const int last = (n - 1) / nb * nb;  // the first column of the last panel

#pragma omp parallel num_threads(threads)
    {
#pragma omp single
        try {
            factor(0, nb, buffers.Panel(0));
        } catch (...) {
            failure = std::current_exception();
            failedStep = -1;
        }
        for (int k0 = 0, step = 0; k0 < n && failedStep.load(std::memory_order_relaxed) >= step; k0 += nb, ++step) {
            const int w = std::min(nb, n - k0);
            const int next = k0 + w;
            const int wNext = std::min(nb, n - next);
            const LuComplex* cur = buffers.Panel(step);
            LuComplex* nxt = buffers.Panel(step + 1);
            if (next >= n) break;

            // One thread: the next panel.
#pragma omp single nowait
            try {
                update(k0, w, cur, next, wNext);
                factor(next, wNext, nxt);
            } catch (...) {
                failure = std::current_exception();
                failedStep = step;
            }
            // The others: the current panel written back, and the columns
            // right of the next panel, in blocks enough to share.
            const int rightBegin = next + wNext;
            const int right = n - rightBegin;
            const int block =
                std::clamp(RoundUp((right + 3 * threads - 1) / (3 * threads), 16), BlockMin, std::max(BlockMin, right));
            const int blocks = right > 0 ? (right + block - 1) / block : 0;
            const int copies = copyTasks(k0);
#pragma omp for schedule(dynamic, 1) nowait
            for (int t = 0; t < copies + blocks; ++t) {
                if (t < copies) {
                    copyBack(k0, w, cur, t);
                } else {
                    const int c0 = rightBegin + (t - copies) * block;
                    update(k0, w, cur, c0, std::min(block, n - c0));
                }
            }
#pragma omp barrier
        }
        if (failedStep == NoFailure) {
            // The last panel written back, and each panel's exchanges on the
            // columns left of it, in the order of the panels.
            const int wLast = n - last;
            const LuComplex* lastPanel = buffers.Panel(last / nb);
            const int copies = copyTasks(last);
            const int swapTasks = (last + SwapColumns - 1) / SwapColumns;
#pragma omp for schedule(dynamic, 1)
            for (int t = 0; t < copies + swapTasks; ++t) {
                if (t < copies) {
                    copyBack(last, wLast, lastPanel, t);
                } else {
                    const int c0 = (t - copies) * SwapColumns;
                    const int c1 = std::min(c0 + SwapColumns, last);
                    for (int k = nb * (c0 / nb + 1); k < n; k += nb)
                        SwapRows(a, lda, k, std::min(nb, n - k), pivot, c0, std::min(c1, k) - c0);
                }
            }
        }
    }
    if (failure) std::rethrow_exception(failure);
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
