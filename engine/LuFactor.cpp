#include "engine/LuFactor.h"

#include "engine/LuPanel.h"
#include "engine/TeamSize.h"

#include <algorithm>
#include <atomic>
#include <cblas.h>
#include <chrono>
#include <cmath>
#include <exception>
#include <immintrin.h>
#include <omp.h>
#include <utility>
#include <vector>

// Right-looking blocked LU on the row-major matrix, in place. Each step
// takes one panel of columns: it is factored in a column-major copy (its
// columns are then contiguous, whatever the matrix's row stride), and the
// columns right of it are updated with ctrsm/cgemm. The work runs on our own
// OpenMP threads with single-threaded BLAS calls: while one thread factors
// the next panel, the others update the rest of the matrix with the current
// one (look-ahead), which keeps the panel's serial work off the critical
// path while there is trailing work to overlap.

namespace {

int panelWidthOverride = 0;

int PanelWidthFor(int n) {
    if (panelWidthOverride > 0) return panelWidthOverride;
    return n >= 1536 ? 128 : 64;
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
// AllThreadsFrom a panel step is short enough that more than a few threads
// mostly wait at its barriers.
constexpr int ParallelFrom = 384, AllThreadsFrom = 1536;


// The team's barrier: it spins for up to a limit and only then waits in
// OpenMP's barrier, whose threads sleep after a few microseconds. A small
// LU's barriers come every few hundred microseconds, and waking sleeping
// threads at each of them cost a third of its time. Only a few-thread team
// spins: it leaves cores to other programs, while an all-cores team that
// spins under load holds up its own threads that lost their core. The
// limit bounds what a held-up team burns.
constexpr std::chrono::microseconds BarrierSpin(1000);

class TeamBarrier {
public:
    TeamBarrier(int threads, std::chrono::microseconds spinLimit) : threads_(threads), spinLimit_(spinLimit) {}
    // passed: the barriers this thread has passed (each thread keeps its own).
    void Wait(long& passed) {
        const long target = threads_ * ++passed;
        if (arrived_.fetch_add(1, std::memory_order_acq_rel) + 1 < target && spinLimit_.count() > 0) {
            using Clock = std::chrono::steady_clock;
            const auto until = Clock::now() + spinLimit_;
            for (int spins = 1; arrived_.load(std::memory_order_acquire) < target; ++spins) {
                _mm_pause();
                if (spins % 64 == 0 && Clock::now() > until) break;
            }
        }
#pragma omp barrier
    }

private:
    const long threads_;
    const std::chrono::microseconds spinLimit_;
    std::atomic<long> arrived_{0};
};

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

// Tile edge of the trailing update: large enough that packing the operands
// stays small against the products, small enough to keep every thread busy.
int TileFor(int rows, int cols, int threads) {
    constexpr int TileMin = 192, TileMax = 512, TilesPerThread = 3;
    const double area = static_cast<double>(rows) * cols / (static_cast<double>(threads) * TilesPerThread);
    return std::clamp(RoundUp(static_cast<int>(std::sqrt(area)), 16), TileMin, TileMax);
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
    // Task sizes: rows copied per task, columns per exchange-and-solve
    // task, and the least rows of a look-ahead task.
    constexpr int CopyRows = 256, ColumnChunk = 512, RowMin = 128;

    // An exception may not leave a parallel region: the thread that meets
    // it records it, and every thread stops after the next barrier.
    std::exception_ptr failure;
    TeamBarrier barrier(threads, threads <= FewThreads ? BarrierSpin : std::chrono::microseconds(0));

#pragma omp parallel num_threads(threads)
    {
        long passed = 0;
        // The first panel: copied by every thread, factored by one.
        {
            LuComplex* first = buffers.Panel(0);
            const int tasks = (n + CopyRows - 1) / CopyRows;
#pragma omp for schedule(static) nowait
            for (int t = 0; t < tasks; ++t)
                CopyToPanel(a, lda, 0, t * CopyRows, std::min(CopyRows, n - t * CopyRows), 0, nb, first, ld);
            barrier.Wait(passed);
#pragma omp single nowait
            try {
                FactorLuPanel(first, ld, n, nb, pivot, buffers.Magnitudes());
            } catch (...) {
                failure = std::current_exception();
            }
            barrier.Wait(passed);
        }
        for (int k0 = 0, step = 0; k0 < n && !failure; k0 += nb, ++step) {
            const int w = std::min(nb, n - k0);
            const int next = k0 + w;
            const int wNext = std::min(nb, n - next);
            const int below = n - next;
            const LuComplex* cur = buffers.Panel(step);
            LuComplex* nxt = buffers.Panel(step + 1);
            const LuComplex* l21 = cur + w;  // rows below the panel's diagonal block

            // 1. The panel's exchanges on every other column, the top rows
            // of the right columns solved with its unit lower triangle (the
            // column-major panel is that triangle's transpose to a row-major
            // call), and the factored panel written back.
            const int trsmTasks = below > 0 ? (below + ColumnChunk - 1) / ColumnChunk : 0;
            const int leftTasks = (k0 + ColumnChunk - 1) / ColumnChunk;
            const int copyTasks = (n - k0 + CopyRows - 1) / CopyRows;
#pragma omp for schedule(dynamic, 1) nowait
            for (int t = 0; t < trsmTasks + leftTasks + copyTasks; ++t) {
                if (t < trsmTasks) {
                    const int c0 = next + t * ColumnChunk;
                    const int cw = std::min(ColumnChunk, n - c0);
                    SwapRows(a, lda, k0, w, pivot, c0, cw);
                    cblas_ctrsm(CblasRowMajor, CblasLeft, CblasUpper, CblasTrans, CblasUnit, w, cw, &One, cur, ld,
                                At(a, lda, k0, c0), lda);
                } else if (t < trsmTasks + leftTasks) {
                    const int c0 = (t - trsmTasks) * ColumnChunk;
                    SwapRows(a, lda, k0, w, pivot, c0, std::min(ColumnChunk, k0 - c0));
                } else {
                    const int r0 = k0 + (t - trsmTasks - leftTasks) * CopyRows;
                    CopyFromPanel(cur, ld, k0, r0, std::min(CopyRows, n - r0), k0, w, a, lda);
                }
            }
            barrier.Wait(passed);
            if (below <= 0) break;

            // 2. Look-ahead: the next panel's columns updated by every
            // thread and copied into the other panel.
            {
                const int rowStep = std::max(RowMin, RoundUp((below + threads - 1) / threads, 16));
                const int rowTasks = (below + rowStep - 1) / rowStep;
#pragma omp for schedule(dynamic, 1) nowait
                for (int t = 0; t < rowTasks; ++t) {
                    const int r0 = t * rowStep;
                    const int rows = std::min(rowStep, below - r0);
                    cblas_cgemm(CblasRowMajor, CblasTrans, CblasNoTrans, rows, wNext, w, &MinusOne, l21 + r0, ld,
                                At(a, lda, k0, next), lda, &One, At(a, lda, next + r0, next), lda);
                    CopyToPanel(a, lda, next, next + r0, rows, next, wNext, nxt, ld);
                }
                barrier.Wait(passed);
            }

            // 3. One thread factors the next panel while the others update
            // the columns right of it, tile by tile.
            const int rightBegin = next + wNext;
            const int right = n - rightBegin;
            const int tile = right > 0 ? TileFor(below, right, threads) : 1;
            const int tileRows = (below + tile - 1) / tile;
            const int tileCols = right > 0 ? (right + tile - 1) / tile : 0;
#pragma omp single nowait
            {
                try {
                    FactorLuPanel(nxt, ld, below, wNext, pivot + next, buffers.Magnitudes());
                    for (int i = next; i < next + wNext; ++i) pivot[i] += next;
                } catch (...) {
                    failure = std::current_exception();
                }
            }
#pragma omp for schedule(dynamic, 1) nowait
            for (int t = 0; t < tileRows * tileCols; ++t) {
                const int r0 = (t / tileCols) * tile;
                const int c0 = rightBegin + (t % tileCols) * tile;
                cblas_cgemm(CblasRowMajor, CblasTrans, CblasNoTrans, std::min(tile, below - r0),
                            std::min(tile, n - c0), w, &MinusOne, l21 + r0, ld, At(a, lda, k0, c0), lda, &One,
                            At(a, lda, next + r0, c0), lda);
            }
            barrier.Wait(passed);
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
