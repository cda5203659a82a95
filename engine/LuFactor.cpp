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
// step that the threads take in order, step after step: first the next
// panel's columns (solved, then updated by every thread row block by row
// block; whoever finishes the last block factors the next panel), then the
// update of the columns right of it, the strips the panel after next lies in
// first, then the exchanges on the left and the write-back of the panel.
// There is no barrier between steps: a task waits only for the tasks it
// needs (a block of the next panel its solve, a tile its column strip's
// solve, a solve the panel it applies and the previous step's tiles of its
// columns), so threads done with one step go on with the next while others
// finish it, and the next panel's serial factorization overlaps the update.

namespace {

int panelWidthOverride = 0;
int teamSizeOverride = 0;
std::atomic<int> lastTeamSize{0};

// A narrower panel's serial factorization is shorter, but it makes more
// steps, each with its hand-offs among the team: 64 columns are the best
// balance below 1536 pulses, where the panels lie on the critical path, and
// 128 from there.
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
// mostly wait for each other, and the whole factorization lasts a few
// milliseconds.
constexpr int ParallelFrom = 384, AllThreadsFrom = 768;

// Three column-major panels: the current one feeds the trailing update while
// the next one is factored, and a thread still on the previous step's last
// tiles may read the one before. Kept between calls, so calculations of one size
// allocate them once; a much smaller calculation after a large one gives the
// large buffers back. Row 0 of a panel is the matrix row of its diagonal.
class PanelBuffers {
public:
    void Reserve(int n, int nb) {
        ld_ = n + 8;  // off a power of two, so a row's entries spread over the cache
        size_ = static_cast<std::size_t>(ld_) * nb;
        Fit(data_, Count * size_);
        Fit(magnitudes_, static_cast<std::size_t>(n));
    }
    int Ld() const { return ld_; }
    LuComplex* Panel(int step) { return data_.data() + step % Count * size_; }
    float* Magnitudes() { return magnitudes_.data(); }

private:
    // At least `need` entries, and not more than twice as many.
    template <class T>
    static void Fit(std::vector<T>& v, std::size_t need) {
        if (v.size() < need || v.size() > 2 * need) std::vector<T>(need).swap(v);
    }

    static constexpr int Count = 3;
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

// The last rows of a step's update are cut into this many thinner tiles, so
// that the threads finish a step nearly together.
constexpr int TailPieces = 4;

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
//   tiles:  the update of one tile of the strips: first, row by row, those
//           of the strips the panel after next lies in (the next step's
//           look-ahead waits for them), then the others row block by row block;
//   back:   exchanges left of the panel, then the panel written back.
struct StepTasks {
    int k0, w, next, wNext, below, rightBegin;
    int solvePieces, pieceWidth, rowStep, aheadTasks;
    int tile, tileRows, tileCols, fullRows, tailStep, leadStrips;
    int leftTasks, backTasks;
    int solveEnd, aheadEnd, stripsEnd, tilesEnd, end;

    // wAfter: the width of the panel after the next one.
    StepTasks(int n, int k0_, int w_, int wNext_, int wAfter, int threads) : k0(k0_), w(w_), wNext(wNext_) {
        next = k0 + w;
        below = n - next;
        rightBegin = next + wNext;
        const int right = n - rightBegin;
        rowStep = std::max(RowMin, RoundUp((below + threads - 1) / threads, 16));
        aheadTasks = below > 0 ? (below + rowStep - 1) / rowStep : 0;
        tile = right > 0 ? TileFor(below, right, threads) : 1;
        fullRows = threads > 1 && below > tile ? (below - 1) / tile * tile : 0;
        tailStep = threads > 1 ? std::max(16, RoundUp((below - fullRows + TailPieces - 1) / TailPieces, 16)) : tile;
        tileRows = fullRows / tile + (below - fullRows + tailStep - 1) / tailStep;
        tileCols = right > 0 ? (right + tile - 1) / tile : 0;
        leadStrips = std::min(tileCols, (wAfter + tile - 1) / tile);
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

    // The first row (below the next panel's top) of a row of tiles.
    int TileRow(int i) const {
        const int full = fullRows / tile;
        return i < full ? i * tile : fullRows + (i - full) * tailStep;
    }

    // The row and the strip of tile task u (0 .. tileRows * tileCols - 1).
    std::pair<int, int> TileAt(int u) const {
        const int lead = leadStrips * tileRows;
        if (u < lead) return {u % tileRows, u / tileRows};
        const int rest = tileCols - leadStrips;
        return {(u - lead) / rest, leadStrips + (u - lead) % rest};
    }
};

// What the tasks of one step share: the next task to take, the look-ahead
// blocks still to do, the solves done (pieces of the next panel's columns
// in the first count, then one per column strip), the tiles done per strip,
// whether the next panel is factored, the back tasks done and all tasks done.
struct StepProgress {
    std::atomic<int> taken{0};
    std::atomic<int> aheadLeft{0};
    std::vector<std::atomic<int>> solved, tilesDone;
    std::atomic<int> panelReady{0}, backDone{0}, finished{0};

    explicit StepProgress(int strips) : solved(1 + strips), tilesDone(strips) {
        for (auto& s : solved) s.store(0, std::memory_order_relaxed);
        for (auto& s : tilesDone) s.store(0, std::memory_order_relaxed);
    }
};

}  // namespace

int LuThreadsFor(int n) {
    if (n < ParallelFrom) return 1;
    return teamSizeOverride > 0 ? teamSizeOverride : TeamSize(n >= AllThreadsFrom);
}

void SetLuPanelWidth(int width) { panelWidthOverride = width > 0 ? width : 0; }

void SetLuTeamSize(int threads) { teamSizeOverride = threads > 0 ? threads : 0; }

int LastLuTeamSize() { return lastTeamSize.load(std::memory_order_relaxed); }

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
    for (int k0 = 0, i = 0; k0 < n; k0 += widths[i], ++i)
        steps.emplace_back(n, k0, widths[i], widths[i + 1], widths[i + 1] > 0 ? widths[i + 2] : 0, threads);
    for (const StepTasks& s : steps) {
        progress.emplace_back(s.tileCols);
        progress.back().aheadLeft.store(s.aheadTasks, std::memory_order_relaxed);
    }

    // An exception may not leave a parallel region: the thread that meets
    // it records it and the step it met it in (-1: the first panel). The
    // panels after it are void, and so are the tasks of the steps that use
    // them: they do nothing but count themselves done, so that no thread
    // waits for them in vain. A task learns of the failure through the
    // counts it waits for, which the failing thread sets after recording it.
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
        if (omp_get_thread_num() == 0) lastTeamSize.store(omp_get_num_threads(), std::memory_order_relaxed);
        placement.SpreadAndHold(n < AllThreadsFrom);
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
        for (int step = 0; step < stepCount; ++step) {
            const StepTasks& s = steps[step];
            StepProgress& p = progress[step];
            // The panel of this step is factored, and the tiles of the
            // previous step over columns c0 .. c0+cw-1 are done.
            auto awaitColumns = [&](int c0, int cw) {
                if (step == 0) return;
                const StepTasks& q = steps[step - 1];
                StepProgress& pq = progress[step - 1];
                WaitFor(pq.panelReady, 1, placement);
                if (q.tileCols == 0 || cw <= 0) return;
                for (int j = (c0 - q.rightBegin) / q.tile; j <= (c0 + cw - 1 - q.rightBegin) / q.tile; ++j)
                    WaitFor(pq.tilesDone[j], q.tileRows, placement);
            };
            auto voided = [&] { return failedInStep.load(std::memory_order_relaxed) < step; };
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
                    const int cw = std::min(s.pieceWidth, s.next + s.wNext - c0);
                    awaitColumns(c0, cw);
                    if (!voided()) solve(c0, cw);
                    CountDone(p.solved[0]);
                } else if (t < s.aheadEnd) {
                    WaitFor(p.solved[0], s.solvePieces, placement);
                    // The panel buffer this writes was last read two steps ago.
                    if (step >= 2) WaitFor(progress[step - 2].finished, steps[step - 2].end, placement);
                    const int r0 = (t - s.solveEnd) * s.rowStep;
                    const int rows = std::min(s.rowStep, s.below - r0);
                    if (!voided()) {
                        update(r0, rows, s.next, s.wNext);
                        CopyToPanel(a, lda, s.next, s.next + r0, rows, s.next, s.wNext, nxt, ld);
                    }
                    if (p.aheadLeft.fetch_sub(1, std::memory_order_acq_rel) == 1) {
                        if (!voided()) factorPanel(nxt, s.below, s.wNext, s.next, step);
                        CountDone(p.panelReady);
                    }
                } else if (t < s.stripsEnd) {
                    const int strip = t - s.aheadEnd;
                    const int c0 = s.rightBegin + strip * s.tile;
                    const int cw = std::min(s.tile, n - c0);
                    awaitColumns(c0, cw);
                    if (!voided()) solve(c0, cw);
                    CountDone(p.solved[1 + strip]);
                } else if (t < s.tilesEnd) {
                    const auto [row, strip] = s.TileAt(t - s.stripsEnd);
                    const int r0 = s.TileRow(row);
                    const int c0 = s.rightBegin + strip * s.tile;
                    WaitFor(p.solved[1 + strip], 1, placement);
                    if (!voided())
                        update(r0, std::min(s.TileRow(row + 1), s.below) - r0, c0, std::min(s.tile, n - c0));
                    CountDone(p.tilesDone[strip]);
                } else {
                    // The exchanges of the previous panel come first on the
                    // same rows, and this panel's pivots must be known.
                    if (step > 0) {
                        WaitFor(progress[step - 1].panelReady, 1, placement);
                        WaitFor(progress[step - 1].backDone, steps[step - 1].backTasks, placement);
                    }
                    if (voided()) {
                    } else if (const int back = t - s.tilesEnd; back < s.leftTasks) {
                        const int c0 = back * ColumnChunk;
                        SwapRows(a, lda, s.k0, s.w, pivot, c0, std::min(ColumnChunk, s.k0 - c0));
                    } else {
                        const int r0 = s.k0 + (back - s.leftTasks) * CopyRows;
                        CopyFromPanel(cur, ld, s.k0, r0, std::min(CopyRows, n - r0), s.k0, s.w, a, lda);
                    }
                    CountDone(p.backDone);
                }
                CountDone(p.finished);
            }
        }
        placement.Release();
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
