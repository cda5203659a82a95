#include "engine/LuFactor.h"

#include "engine/LuPanel.h"
#include "engine/TeamPlacement.h"
#include "engine/TeamSize.h"
#include "engine/TeamWait.h"

#include <algorithm>
#include <atomic>
#include <cblas.h>
#include <climits>
#include <cmath>
#include <deque>
#include <exception>
#include <omp.h>
#include <utility>
#include <vector>

// Right-looking blocked LU on the row-major matrix, in place. Each step
// takes one panel of columns: it is factored in a column-major copy (its
// columns are then contiguous, whatever the matrix's row stride), and the
// columns right of it are updated with ctrsm/cgemm. The work runs on our own
// OpenMP threads with single-threaded BLAS calls, as one list of tasks per
// step that the threads take in order, with one barrier between steps:
// first the next panel's columns (solved, then updated by every thread row
// block by row block; whoever finishes the last block factors the next
// panel), then the update of the columns right of it, then the exchanges on
// the left and the write-back of the panel. So the next panel's serial
// factorization overlaps the update, and a task that needs an earlier one
// (a block of the next panel needs its solve, a tile its column strip's
// solve) waits for that task alone, not for the whole team.

namespace {

int panelWidthOverride = 0;

int PanelWidthFor(int n) {
    if (panelWidthOverride > 0) return panelWidthOverride;
    return n >= 1536 ? 128 : 64;
}

// The widths of the panels, with a 0 after the last. A panel's serial
// factorization costs more per column the wider it is, so wide panels are
// narrowed where nothing hides it: the first panel, which the other threads
// wait for, takes a quarter of the width, and once fewer than
// NarrowTailRows rows are left, where it takes longer than the update
// beside it, panels are halved.
constexpr int NarrowTailRows = 768, NarrowFrom = 128;

std::vector<int> PanelWidths(int n, int nb) {
    std::vector<int> widths;
    for (int k0 = 0; k0 < n;) {
        const bool wide = nb >= NarrowFrom;
        const int width = wide && k0 == 0 ? nb / 4 : wide && n - k0 < NarrowTailRows ? nb / 2 : nb;
        widths.push_back(std::min(width, n - k0));
        k0 += widths.back();
    }
    widths.push_back(0);
    return widths;
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
// The program starts the library on one thread (LibraryTuning); this holds
// where the user chose more.
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

// Two column-major panels: the current one feeds the trailing update while
// the next one is factored. Kept between calls, so calculations of one size
// allocate them once; a much smaller calculation after a large one gives the
// large buffers back. Row 0 of a panel is the matrix row of its diagonal.
class PanelBuffers {
public:
    void Reserve(int n, int nb) {
        ld_ = n + 8;  // off a power of two, so a row's entries spread over the cache
        size_ = static_cast<std::size_t>(ld_) * nb;
        Fit(data_, 2 * size_);
        Fit(magnitudes_, static_cast<std::size_t>(n));
    }
    int Ld() const { return ld_; }
    LuComplex* Panel(int step) { return data_.data() + (step & 1) * size_; }
    float* Magnitudes() { return magnitudes_.data(); }

private:
    // At least `need` entries, and not more than twice as many.
    template <class T>
    static void Fit(std::vector<T>& v, std::size_t need) {
        if (v.size() < need || v.size() > 2 * need) std::vector<T>(need).swap(v);
    }

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
// stays small against the products, small enough that the last tiles of a
// step leave few threads idle.
int TileFor(int rows, int cols, int threads) {
    constexpr int TileMin = 128, TileMax = 512, TilesPerThread = 8;
    const double area = static_cast<double>(rows) * cols / (static_cast<double>(threads) * TilesPerThread);
    return std::clamp(RoundUp(static_cast<int>(std::sqrt(area)), 16), TileMin, TileMax);
}

// Task sizes: rows copied per task, columns per exchange task left of the
// panel, and the least rows of a look-ahead task.
constexpr int CopyRows = 256, ColumnChunk = 512, RowMin = 128;
// The next panel's solve: at most this many pieces, of at least this width.
constexpr int SolvePieces = 4, SolvePieceMin = 16;

// The tasks of one step, in the order the threads take them:
//   solve:  exchanges and triangular solve on the next panel's columns,
//           in pieces, so that the look-ahead waits for a short while;
//   ahead:  the next panel's columns updated and copied, by row blocks;
//   strips: exchanges and solve on a column strip right of the next panel;
//   tiles:  the update of one tile of the strips;
//   back:   exchanges left of the panel, then the panel written back.
struct StepTasks {
    int k0, w, next, wNext, below, rightBegin;
    int solvePieces, pieceWidth, rowStep, aheadTasks;
    int tile, tileRows, tileCols;
    int leftTasks, backTasks;
    int solveEnd, aheadEnd, stripsEnd, tilesEnd, end;

    StepTasks(int n, int k0_, int w_, int wNext_, int threads) : k0(k0_), w(w_), wNext(wNext_) {
        next = k0 + w;
        below = n - next;
        rightBegin = next + wNext;
        const int right = n - rightBegin;
        rowStep = std::max(RowMin, RoundUp((below + threads - 1) / threads, 16));
        aheadTasks = below > 0 ? (below + rowStep - 1) / rowStep : 0;
        tile = right > 0 ? TileFor(below, right, threads) : 1;
        tileRows = (below + tile - 1) / tile;
        tileCols = right > 0 ? (right + tile - 1) / tile : 0;
        leftTasks = (k0 + ColumnChunk - 1) / ColumnChunk;
        backTasks = leftTasks + (n - k0 + CopyRows - 1) / CopyRows;
        pieceWidth = std::max(SolvePieceMin, RoundUp((wNext + SolvePieces - 1) / SolvePieces, 8));
        solvePieces = below > 0 ? (wNext + pieceWidth - 1) / pieceWidth : 0;
        solveEnd = solvePieces;
        aheadEnd = solveEnd + aheadTasks;
        stripsEnd = aheadEnd + tileCols;
        tilesEnd = stripsEnd + tileRows * tileCols;
        end = tilesEnd + backTasks;
    }
};

// What the tasks of one step share: the next task to take, the look-ahead
// blocks still to do, and the solves done: pieces of the next panel's
// columns in the first count, then one per column strip.
struct StepProgress {
    std::atomic<int> taken{0};
    std::atomic<int> aheadLeft{0};
    std::vector<std::atomic<int>> solved;

    explicit StepProgress(int solves) : solved(solves) {
        for (auto& s : solved) s.store(0, std::memory_order_relaxed);
    }
};

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

    std::vector<StepTasks> steps;
    std::deque<StepProgress> progress;
    const std::vector<int> widths = PanelWidths(n, nb);
    for (int k0 = 0, i = 0; k0 < n; k0 += widths[i], ++i) steps.emplace_back(n, k0, widths[i], widths[i + 1], threads);
    for (const StepTasks& s : steps) {
        progress.emplace_back(1 + s.tileCols);
        progress.back().aheadLeft.store(s.aheadTasks, std::memory_order_relaxed);
    }

    // An exception may not leave a parallel region: the thread that meets
    // it records it and the step it met it in (-1: the first panel), and
    // every thread stops after that step's barrier. A thread that is quick
    // to start the next step may record a failure there while a slower one
    // is still deciding whether to go on: the step number keeps the slower
    // one going, so all pass the same barriers.
    std::exception_ptr failure;
    std::atomic<int> failedInStep{INT_MAX};
    auto factorPanel = [&](LuComplex* panel, int rows, int width, int first, int step) {
        try {
            FactorLuPanel(panel, ld, rows, width, pivot + first, buffers.Magnitudes());
            for (int i = first; i < first + width; ++i) pivot[i] += first;
        } catch (...) {
            failure = std::current_exception();
            failedInStep.store(step, std::memory_order_relaxed);
        }
    };
    TeamPlacement placement(threads);
    TeamBarrier barrier(placement);

#pragma omp parallel num_threads(threads)
    {
        placement.Spread();
        long passed = 0;
        // The first panel: copied by every thread, factored by one.
        {
            LuComplex* first = buffers.Panel(0);
            const int tasks = (n + CopyRows - 1) / CopyRows;
#pragma omp for schedule(static) nowait
            for (int t = 0; t < tasks; ++t)
                CopyToPanel(a, lda, 0, t * CopyRows, std::min(CopyRows, n - t * CopyRows), 0, widths[0], first, ld);
            barrier.Wait(passed);
#pragma omp single nowait
            {
                placement.Note();
                factorPanel(first, n, widths[0], 0, -1);
            }
            barrier.Wait(passed);
        }
        const int stepCount = static_cast<int>(steps.size());
        for (int step = 0; step < stepCount && failedInStep.load(std::memory_order_relaxed) >= step; ++step) {
            const StepTasks& s = steps[step];
            StepProgress& p = progress[step];
            const LuComplex* cur = buffers.Panel(step);
            LuComplex* nxt = buffers.Panel(step + 1);
            const LuComplex* l21 = cur + s.w;  // rows below the panel's diagonal block
            // The top rows of columns c0 .. c0+cw-1: the panel's exchanges,
            // then its unit lower triangle solved (the column-major panel is
            // that triangle's transpose to a row-major call).
            auto solve = [&](int c0, int cw) {
                SwapRows(a, lda, s.k0, s.w, pivot, c0, cw);
                cblas_ctrsm(CblasRowMajor, CblasLeft, CblasUpper, CblasTrans, CblasUnit, s.w, cw, &One, cur, ld,
                            At(a, lda, s.k0, c0), lda);
            };
            // Rows r0 .. r0+rows-1 below the panel, columns c0 .. c0+cw-1.
            auto update = [&](int r0, int rows, int c0, int cw) {
                cblas_cgemm(CblasRowMajor, CblasTrans, CblasNoTrans, rows, cw, s.w, &MinusOne, l21 + r0, ld,
                            At(a, lda, s.k0, c0), lda, &One, At(a, lda, s.next + r0, c0), lda);
            };
            for (int t; (t = p.taken.fetch_add(1, std::memory_order_relaxed)) < s.end;) {
                placement.Note();
                if (t < s.solveEnd) {
                    const int c0 = s.next + t * s.pieceWidth;
                    solve(c0, std::min(s.pieceWidth, s.next + s.wNext - c0));
                    CountDone(p.solved[0]);
                } else if (t < s.aheadEnd) {
                    WaitFor(p.solved[0], s.solvePieces, placement);
                    const int r0 = (t - s.solveEnd) * s.rowStep;
                    const int rows = std::min(s.rowStep, s.below - r0);
                    update(r0, rows, s.next, s.wNext);
                    CopyToPanel(a, lda, s.next, s.next + r0, rows, s.next, s.wNext, nxt, ld);
                    if (p.aheadLeft.fetch_sub(1, std::memory_order_acq_rel) == 1)
                        factorPanel(nxt, s.below, s.wNext, s.next, step);
                } else if (t < s.stripsEnd) {
                    const int strip = t - s.aheadEnd;
                    const int c0 = s.rightBegin + strip * s.tile;
                    solve(c0, std::min(s.tile, n - c0));
                    CountDone(p.solved[1 + strip]);
                } else if (t < s.tilesEnd) {
                    const int strip = (t - s.stripsEnd) % s.tileCols;
                    const int r0 = (t - s.stripsEnd) / s.tileCols * s.tile;
                    const int c0 = s.rightBegin + strip * s.tile;
                    WaitFor(p.solved[1 + strip], 1, placement);
                    update(r0, std::min(s.tile, s.below - r0), c0, std::min(s.tile, n - c0));
                } else if (const int back = t - s.tilesEnd; back < s.leftTasks) {
                    const int c0 = back * ColumnChunk;
                    SwapRows(a, lda, s.k0, s.w, pivot, c0, std::min(ColumnChunk, s.k0 - c0));
                } else {
                    const int r0 = s.k0 + (back - s.leftTasks) * CopyRows;
                    CopyFromPanel(cur, ld, s.k0, r0, std::min(CopyRows, n - r0), s.k0, s.w, a, lda);
                }
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
