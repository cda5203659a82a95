// Speed of the engine: one line per case with the time of each stage, the
// reference LAPACK factorization of the same matrix and the peak memory.
//   case=<name> kernel=<BLAS kernel> wait=<how idle OpenMP threads wait>
//   load=<our busy processes> busy=<other processes' share of the cores>
//   pulses=<N> threads=<LU threads> fill_threads=<T> fill_s=.. factor_s=..
//   best_ref_factor_s=.. best_ref_threads=.. factor_vs_best_ref=..
//   solve_s=.. farfield_s=.. total_s=.. [cgemm_n=.. cgemm_by=..
//   cgemm_gflops=.. lu_gflops=.. lu_vs_cgemm=..] peak_rss_mb=..
// The reference is OpenBLAS's cgetrf on the same matrix on 1, 4 and all
// threads, run alternately with ours, round by round (the Yagi's threaded
// ones after its runs, see Yagi), each factorization right after a fill of
// its own as in a calculation; the best of its thread counts is the
// yardstick, since the library's threaded factorization falls apart as soon
// as other work takes a few cores. Every time of a line is the median of its
// rounds, ours and the reference's alike, so that one run's line can be
// trusted on a shared machine. factor_vs_best_ref is our time over the
// reference's (target: at most 1 from 512 pulses up on a quiet machine; and
// 8192 pulses in at most 2.5 s total). From 2048 pulses the line adds the
// rate of our LU (8/3 N^3 flops) against the machine's own product: the
// cgemm of N x N matrices (cgemm_n: smaller only where the memory does not
// hold three of them) on as many threads as our LU ran on, both as the
// library shares it among its threads and in tiles on an OpenMP team as our
// LU runs its update (cgemm_by: the faster), in a process of its own after
// each round, the best of them (lu_vs_cgemm: how close the LU comes to the
// product, at most 1; target at 8192: at least 0.85).
// The load cases repeat the smaller ones while LoadCores processes of the
// bench keep cores busy, as other programs would; their lines add
// fill_vs_idle and total_vs_idle, against the load=0 line of the same run
// (target: at most 2). The reference runs once per thread count there, and
// its thread counts that take long and lie far behind its best only in the
// first round: OpenBLAS's threads wait for each other by spinning and may
// take seconds once other work holds cores.
// First come the BLAS kernels this CPU can run, each forced in a process of
// its own: cgemm GFLOP/s on one thread and on all, beside the kernel this
// process runs and who chose it. Then the cases; then the Yagi and 1024
// pulses again, idle and under load, in processes that wait in other ways
// (case=waiting_..., wait=): passive, the program's spin count, the
// library's default. Then, in a fresh process, the resident memory after a
// small job, and after the same small job that follows a large one
// (case=memory: rss_fresh_mb, rss_large_mb, rss_after_large_mb; target: the
// last at most 50 MB above the first). The last line sums up the targets.
// The reference factorization runs in place on the filled matrix, which is
// then filled again for our own factorization, so no second matrix is held.
// Every line says how busy the machine was meanwhile (busy=, see
// MachineLoad.h).
#include "MachineLoad.h"
#include "engine/CalcRuns.h"
#include "engine/EngineState.h"
#include "engine/LibraryTuning.h"
#include "engine/LuFactor.h"
#include "engine/MatrixFill.h"
#include "engine/ModelPrep.h"
#include "engine/ResidentMemory.h"
#include "engine/TeamSize.h"
#include "engine/Solve.h"
#include "model/EnvDef.h"
#include "model/EnvDefaults.h"
#include "model/Messages.h"
#include "model/ResultStore.h"

#include <cblas.h>
#include <omp.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cmath>
#include <complex>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

extern "C" void cgetrf_(const int* m, const int* n, void* a, const int* lda, int* ipiv, int* info);

namespace {

using Clock = std::chrono::steady_clock;

constexpr int LoadCores = 4;
constexpr int LibraryDefaultSpinCount = 300000;  // libgomp's, with no setting
int loadProcesses = 0;  // for the lines

double Seconds(const std::function<void()>& f) {
    const auto t0 = Clock::now();
    f();
    return std::chrono::duration<double>(Clock::now() - t0).count();
}

double PeakRssMb() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

// How long OpenBLAS's own threads spin after a threaded call (about 0.1 s),
// and the size from which its cgetrf uses them: Debian 12's release (0.3.21)
// factors on the calling thread below 10000 entries only, so the Yagi's
// 123 pulses already wake them (later releases wait for 40000 entries).
constexpr auto BlasPoolSpins = std::chrono::milliseconds(150);
constexpr long LibraryThreadsFromEntries = 10000;

// ---- BLAS kernels ----

// cgemm GFLOP/s of the kernel this process runs on n x n matrices: best
// of `runs` products.
double CgemmGflops(int n, int threads, int runs = 3) {
    std::vector<std::complex<float>> a(static_cast<std::size_t>(n) * n, {0.5f, 0.25f}), b(a), c(a);
    const std::complex<float> one(1.0f, 0.0f);
    const int saved = openblas_get_num_threads();
    openblas_set_num_threads(threads);
    double best = 1e30;
    for (int r = 0; r < runs; ++r)
        best = std::min(best, Seconds([&] {
                   cblas_cgemm(CblasRowMajor, CblasNoTrans, CblasNoTrans, n, n, n, &one, a.data(), n, b.data(), n,
                               &one, c.data(), n);
               }));
    openblas_set_num_threads(saved);
    return 8.0 * n * n * static_cast<double>(n) / best * 1e-9;
}

constexpr int CgemmAllThreadsSize = 2048;

// cgemm GFLOP/s on one thread and on all.
void PrintCgemm(const char* chosenBy, double busy) {
    bench::BusyMeter meter;
    const double one = CgemmGflops(1024, 1);
    const double all = CgemmGflops(CgemmAllThreadsSize, omp_get_max_threads());
    std::printf("case=cgemm kernel=%s chosen_by=%s busy=%.2f gflops_1=%.0f gflops_all=%.0f\n", BlasKernelName(), chosenBy,
                std::max(busy, meter.Share()), one, all);
    std::fflush(stdout);
}

// Starts this bench again with arguments, settings added to its
// environment, and copies what it prints (unless told not to); returns that too.
std::string RunSelf(const std::string& environment, const std::string& arguments, bool echo = true) {
    char self[PATH_MAX];
    const ssize_t len = readlink("/proc/self/exe", self, sizeof self - 1);
    if (len <= 0) return "";
    self[len] = '\0';
    const std::string command = "env " + environment + " '" + self + "' " + arguments;
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char line[1024];
        while (std::fgets(line, sizeof line, pipe)) {
            if (echo) std::fputs(line, stdout);
            out += line;
        }
        pclose(pipe);
    }
    std::fflush(stdout);
    return out;
}

// The kernel of this process, then each kernel this CPU can run forced in
// a process of its own (this bench started again with OPENBLAS_CORETYPE).
void KernelCases() {
    const char* by = std::getenv("OPENBLAS_CORETYPE") ? "user"
                     : std::strstr(LibraryTuningApplied(), "OPENBLAS_CORETYPE") ? "program"
                                                                                 : "library";
    PrintCgemm(by, 0.0);
    for (const char* kernel : BlasCoreTypesRunBy(DetectCpuVectorUnits()))
        RunSelf(std::string("OPENBLAS_CORETYPE=") + kernel, "--cgemm");
}

double NumberAfter(const std::string& text, const std::string& key) {
    const std::size_t at = text.find(key);
    return at == std::string::npos ? std::nan("") : std::atof(text.c_str() + at + key.size());
}

// ---- the machine's own product, the yardstick of the LU's rate ----

// The largest n x n cgemm, up to want, whose three matrices take at most
// half the memory available now (the engine's matrix is held beside it).
int CgemmSizeHeld(int want) {
    long long available = 0;
    if (FILE* f = std::fopen("/proc/meminfo", "r")) {
        char line[256];
        while (std::fgets(line, sizeof line, f))
            if (std::sscanf(line, "MemAvailable: %lld kB", &available) == 1) {
                available *= 1024;
                break;
            }
        std::fclose(f);
    }
    if (available <= 0) available = static_cast<long long>(sysconf(_SC_AVPHYS_PAGES)) * sysconf(_SC_PAGESIZE);
    const double entries = static_cast<double>(available) / 2 / (3 * sizeof(std::complex<float>));
    constexpr int Step = 256;
    return std::min(want, std::max(Step, static_cast<int>(std::sqrt(entries)) / Step * Step));
}

// The same product cut into tiles, each a single-threaded cgemm, that an
// OpenMP team of `threads` takes in turn, as our LU runs its update: the
// library shares one large product among its own threads less well.
double TeamCgemmGflops(int n, int threads, int runs) {
    std::vector<std::complex<float>> a(static_cast<std::size_t>(n) * n, {0.5f, 0.25f}), b(a), c(a);
    const std::complex<float> one(1.0f, 0.0f);
    const int saved = openblas_get_num_threads();
    openblas_set_num_threads(1);
    constexpr int TilesPerThread = 8;
    const int tile = std::clamp(static_cast<int>(n / std::sqrt(TilesPerThread * threads)) / 64 * 64, 128, 512);
    const int across = (n + tile - 1) / tile;
    double best = 1e30;
    for (int r = 0; r < runs; ++r)
        best = std::min(best, Seconds([&] {
#pragma omp parallel for schedule(dynamic) num_threads(threads)
                   for (int t = 0; t < across * across; ++t) {
                       const int r0 = t / across * tile, c0 = t % across * tile;
                       cblas_cgemm(CblasRowMajor, CblasNoTrans, CblasNoTrans, std::min(tile, n - r0),
                                   std::min(tile, n - c0), n, &one, &a[static_cast<std::size_t>(r0) * n], n, &b[c0],
                                   n, &one, &c[static_cast<std::size_t>(r0) * n + c0], n);
                   }
               }));
    openblas_set_num_threads(saved);
    return 8.0 * n * n * static_cast<double>(n) / best * 1e-9;
}

// In a process of its own (--cgemm-rate n threads): the cgemm rate at the
// largest size up to n that the memory holds, the better of the library's
// threads and a team's tiles.
void PrintCgemmRate(int want, int threads) {
    const int n = CgemmSizeHeld(want);
    const int runs = n < 4096 ? 3 : 1;
    const double library = CgemmGflops(n, threads, runs), team = TeamCgemmGflops(n, threads, runs);
    std::printf("cgemm_n=%d gflops=%.1f by=%s\n", n, std::max(library, team), team > library ? "team" : "library");
}

struct Rate {
    int n = 0;
    double gflops = std::nan("");
    std::string by;
};

// The cgemm rate of an n-pulse case on the threads our LU ran on. A process
// of its own holds the three matrices, so they do not count in this one's
// peak memory, and the library's threads end with it instead of spinning
// beside ours.
Rate CgemmRate(int n, int threads) {
    const std::string out = RunSelf("", "--cgemm-rate " + std::to_string(n) + " " + std::to_string(threads), false);
    const std::size_t by = out.find(" by=");
    return {static_cast<int>(NumberAfter(out, "cgemm_n=")), NumberAfter(out, " gflops="),
            by == std::string::npos ? "" : out.substr(by + 4, out.find_first_of(" \n", by + 4) - by - 4)};
}

// ---- engine cases ----
// (the waiting comparison at the end starts this bench again per setting)

// How this process's OpenMP threads wait: "spin=<count>" or the policy, from
// the user's setting or the start-up's.
std::string WaitSetting() {
    if (const char* policy = std::getenv("OMP_WAIT_POLICY")) return std::string("policy=") + policy;
    if (const char* spin = std::getenv("GOMP_SPINCOUNT")) return std::string("spin=") + spin;
    if (const char* applied = std::strstr(LibraryTuningApplied(), "GOMP_SPINCOUNT=")) {
        std::string spin = applied + std::strlen("GOMP_SPINCOUNT=");
        return "spin=" + spin.substr(0, spin.find(','));
    }
    return "library";
}
const std::string waitSetting = WaitSetting();
const char* casePrefix = "";  // "waiting_" in the processes of WaitingCases
bool withReference = true;    // not there: they compare our waiting only

struct Stages {
    double fill = 0, factor = 0, refFactor = 0, solve = 0, farField = 0, total = 0;
    int fillThreads = 0, threads = 0, refThreads = 0;  // of our fill and LU, of the best reference
};

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

// The times of the reference on each of its thread counts.
using ReferenceTimes = std::map<int, std::vector<double>>;

// Each stage's median over the rounds; the reference's best thread count by
// its median.
Stages MedianOf(const std::vector<Stages>& rounds, const ReferenceTimes& refs) {
    auto median = [&](double Stages::*stage) {
        std::vector<double> v;
        for (const Stages& r : rounds) v.push_back(r.*stage);
        return Median(v);
    };
    Stages m = rounds.back();
    m.fill = median(&Stages::fill);
    m.factor = median(&Stages::factor);
    m.solve = median(&Stages::solve);
    m.farField = median(&Stages::farField);
    m.total = median(&Stages::total);
    m.refFactor = std::nan("");
    for (const auto& [threads, times] : refs)
        if (const double t = Median(times); !(t >= m.refFactor)) {
            m.refFactor = t;
            m.refThreads = threads;
        }
    return m;
}

struct Targets {
    double worstFactorVsRef = 0, worstLoadVsIdle = 0, total8192 = std::nan(""), luVsCgemm8192 = std::nan("");
    double rssGrowth = std::nan("");
    double busyMax = 0;
};
Targets targets;
std::map<std::string, Stages> idle;  // the load=0 lines of this run, by case

// From this size the line compares our LU's rate with cgemm's.
constexpr int RateFrom = 2048;

void Print(const char* name, const Stages& s, double busy, const Rate& cgemm = {}) {
    const double ratio = s.factor / s.refFactor;
    const int n = Engine.PulseCount;
    std::printf("case=%s%s kernel=%s wait=%s load=%d busy=%.2f pulses=%d threads=%d fill_threads=%d fill_s=%.4f "
                "factor_s=%.4f best_ref_factor_s=%.4f best_ref_threads=%d factor_vs_best_ref=%.2f solve_s=%.4f "
                "farfield_s=%.4f total_s=%.4f",
                casePrefix, name, BlasKernelName(), waitSetting.c_str(), loadProcesses, busy, n, s.threads,
                s.fillThreads, s.fill, s.factor, s.refFactor, s.refThreads, ratio, s.solve, s.farField, s.total);
    if (n >= RateFrom && cgemm.gflops > 0) {
        const double lu = 8.0 / 3.0 * n * static_cast<double>(n) * n / s.factor * 1e-9;
        std::printf(" cgemm_n=%d cgemm_by=%s cgemm_gflops=%.0f lu_gflops=%.0f lu_vs_cgemm=%.2f", cgemm.n,
                    cgemm.by.c_str(), cgemm.gflops, lu, lu / cgemm.gflops);
        if (n == 8192 && loadProcesses == 0) targets.luVsCgemm8192 = lu / cgemm.gflops;
    }
    targets.busyMax = std::max(targets.busyMax, busy);
    if (loadProcesses == 0) {
        idle[name] = s;
        if (n >= 512 && std::isfinite(ratio)) targets.worstFactorVsRef = std::max(targets.worstFactorVsRef, ratio);
        if (n == 8192) targets.total8192 = s.total;
    } else if (auto it = idle.find(name); it != idle.end()) {
        const double fill = s.fill / it->second.fill, total = s.total / it->second.total;
        std::printf(" fill_vs_idle=%.2f total_vs_idle=%.2f", fill, total);
        targets.worstLoadVsIdle = std::max({targets.worstLoadVsIdle, fill, total});
    }
    std::printf(" peak_rss_mb=%.0f\n", PeakRssMb());
    std::fflush(stdout);
}

std::unique_ptr<AntDef> NewAntenna(double freq) {
    auto ant = std::make_unique<AntDef>();
    *ant = AntDef{};
    ant->Freq = freq;
    SetDefaultSegmentation(*ant);
    ant->UseLoads = 1;
    ant->nH = ant->nV = 1;
    return ant;
}

void AddWire(AntDef& ant, double x1, double y1, double z1, double x2, double y2, double z2, double r, int seg) {
    ant.Wires[ant.WireCount++] = WireRec{x1, y1, z1, x2, y2, z2, r, seg, 0, 0, 0};
}

void AddSource(AntDef& ant, const char* pos) {
    SourceRec& s = ant.Sources[ant.SourceCount++];
    s = SourceRec{};
    CopyText(s.Pos, pos);
    s.Voltage = 1.0;
}

void Prepare(AntDef& ant) {
    if (PrepareModel(&ant) != 1) {
        std::fprintf(stderr, "preparation refused\n");
        std::exit(1);
    }
}

// cgetrf in place on the engine's matrix, on a number of BLAS threads.
double ReferenceFactor(int n, int threads) {
    std::vector<int> ipiv(n);
    const int blasThreads = openblas_get_num_threads();
    openblas_set_num_threads(threads);
    const double s = Seconds([&] {
        int info = 0;
        cgetrf_(&n, &n, &Engine.MatrixAt(1, 1), &n, ipiv.data(), &info);
    });
    openblas_set_num_threads(blasThreads);
    return s;
}

// A thread count of the reference whose first time is within this factor of
// its best one, or below ShortReference, is timed in every round: a first
// run that other work held up does not take it out of the comparison.
constexpr double ContenderSlack = 1.5;
constexpr double ShortReference = 1.0;  // seconds

// The thread counts of the reference: 1, 4 and all.
std::vector<int> ReferenceThreads() {
    std::vector<int> counts{1};
    for (int t : {FewThreads, omp_get_max_threads()})
        if (t > counts.back()) counts.push_back(t);
    return counts;
}
const std::vector<int> referenceThreads = ReferenceThreads();

// One calculation, stage by stage; before it, the reference on each thread
// count that wanted() picks (its times go into refs). Every factorization,
// ours and the reference's, starts right after a fill of its own, as in a
// calculation (the fill's threads spin only briefly, OpenMpSpinCount). A
// threaded reference's own threads spin for longer, so the next fill waits
// until they sleep.
Stages TimeStages(AntDef& ant, ReferenceTimes* refs = nullptr,
                  const std::function<bool(int threads)>& wanted = [](int) { return true; }) {
    Stages s;
    const double prepare = Seconds([&] { Prepare(ant); });
    const int n = Engine.PulseCount;
    s.fillThreads = FillThreadsFor(n);
    s.refFactor = std::nan("");
    if (refs && withReference) {
        bool threaded = false;
        for (int threads : referenceThreads) {
            if (!wanted(threads)) continue;
            if (threaded) std::this_thread::sleep_for(BlasPoolSpins);
            FillMatrix();
            (*refs)[threads].push_back(ReferenceFactor(n, threads));
            threaded = threads > 1 && static_cast<long>(n) * n >= LibraryThreadsFromEntries;
        }
        if (threaded) std::this_thread::sleep_for(BlasPoolSpins);
    }
    s.fill = Seconds([] { FillMatrix(); });
    s.threads = LuThreadsFor(n);
    s.factor = Seconds([] { FactorMatrix(); });
    s.solve = Seconds([] {
        ExciteAndSolve();
        ReportSources();
    });
    s.farField = Seconds([] {
        if (!RunFullCalc()) std::fprintf(stderr, "calculation failed\n");
    });
    s.total = prepare + s.fill + s.factor + s.solve + s.farField;
    return s;
}

void StraightWire(const char* name, int pulses, bool overGround) {
    bench::BusyMeter meter;
    EnvDef.Type = overGround ? GroundPerfect : GroundFree;
    EnvDef.AntHeight = 0.0;
    auto ant = NewAntenna(14.15);
    const double len = 0.5 * 299.792458 / 14.15;
    if (overGround) {
        AddWire(*ant, 0, 0, 0, 0, 0, len / 2, 0.001, pulses);  // every segment has a pulse, the base one too
        AddSource(*ant, "w1b");
    } else {
        AddWire(*ant, -len / 2, 0, 10, len / 2, 0, 10, 0.001, pulses + 1);
        AddSource(*ant, "w1c");
    }
    // Rounds of ours beside the reference and the product: the machine is
    // shared, and where the system puts the threads varies from run to run.
    std::vector<Stages> rounds;
    ReferenceTimes refs;
    Rate cgemm;
    const int count = pulses >= 8192 ? 3 : pulses >= 4096 ? 5 : pulses >= 2048 ? 9 : 21;
    for (int r = 0; r < count; ++r) {
        Results.PushRow();
        // After the first round the reference runs again on the thread
        // counts that are quick or near its best only; under load, where
        // OpenBLAS's threads, which wait for each other by spinning, may take
        // seconds, on none.
        const Stages s = TimeStages(*ant, &refs, [&](int threads) {
            if (r == 0) return true;
            if (loadProcesses > 0) return false;
            double best = INFINITY;
            for (const auto& [t, times] : refs) best = std::min(best, times.front());
            const auto it = refs.find(threads);
            return it != refs.end() &&
                   (it->second.front() < ShortReference || it->second.front() <= ContenderSlack * best);
        });
        rounds.push_back(s);
        if (pulses >= RateFrom)
            if (const Rate rate = CgemmRate(pulses, s.threads); !(rate.gflops <= cgemm.gflops)) cgemm = rate;
    }
    Print(name, MedianOf(rounds, refs), meter.Share(), cgemm);
}

void Yagi(const char* name, bool quick, bool realGround) {
    bench::BusyMeter meter;
    // Over a real ground: the default soil, the antenna 10 m above it.
    EnvDef.Type = realGround ? GroundReal : GroundFree;
    auto ant = NewAntenna(14.15);
    const double half[3] = {5.35, 5.08, 4.83};
    const double x[3] = {-3.2, 0.0, 3.6};
    for (int e = 0; e < 3; ++e) AddWire(*ant, x[e], -half[e], 10, x[e], half[e], 10, 0.0125, -1);
    AddSource(*ant, "w2c");
    JobDef.Interactive = 0;  // as the optimizer runs it
    std::vector<Stages> rounds;
    ReferenceTimes refs;
    constexpr int Runs = 50;
    // The optimizer runs calculations back to back. A threaded reference
    // leaves the library's threads spinning beside the next ones for about
    // 0.1 s, and waiting for them leaves the processors idle, which makes the
    // next milliseconds slow; so only the one-thread reference runs between
    // ours, and the threaded ones run after them.
    for (int r = 0; r < Runs; ++r) {
        Results.PushRow();
        Stages s = TimeStages(*ant, &refs, [](int t) { return t == 1; });
        // The whole calculation as the optimizer runs it, from the preparation.
        Results.PushRow();
        s.total = Seconds([&] {
            Prepare(*ant);
            if (quick)
                RunQuickCalc();
            else if (!RunFullCalc())
                std::fprintf(stderr, "calculation failed\n");
        });
        rounds.push_back(s);
    }
    if (withReference) {
        Prepare(*ant);
        for (int r = 0; r < Runs; ++r)
            for (int t : referenceThreads)
                if (t > 1) {
                    FillMatrix();
                    refs[t].push_back(ReferenceFactor(Engine.PulseCount, t));
                }
        std::this_thread::sleep_for(BlasPoolSpins);  // the next case starts without them
    }
    Print(name, MedianOf(rounds, refs), meter.Share());
}

// The same cases with other ways of waiting, each in a process of its own:
// sleeping at once (passive), the program's bounded spinning, and the
// library's default spin count.
void WaitingCases() {
    const std::string settings[] = {"OMP_WAIT_POLICY=passive", std::string("GOMP_SPINCOUNT=") + OpenMpSpinCount,
                                    "GOMP_SPINCOUNT=" + std::to_string(LibraryDefaultSpinCount)};
    for (const std::string& setting : settings) RunSelf("-u OMP_WAIT_POLICY -u GOMP_SPINCOUNT " + setting, "--waiting");
}

// ---- memory ----

// In a fresh process (--memory): a small job, a large one, the small one again.
void MemoryCase() {
    bench::BusyMeter meter;
    EnvDef.Type = GroundFree;
    EnvDef.AntHeight = 0.0;
    auto job = [](int pulses) {
        auto ant = NewAntenna(14.15);
        const double len = 0.5 * 299.792458 / 14.15;
        AddWire(*ant, -len / 2, 0, 10, len / 2, 0, 10, 0.001, pulses + 1);
        AddSource(*ant, "w1c");
        Results.PushRow();
        Prepare(*ant);
        if (!RunFullCalc()) std::fprintf(stderr, "calculation failed\n");
    };
    constexpr int Small = 100, Large = 8192;
    job(Small);
    const double fresh = ResidentMegabytes();
    job(Large);
    const double large = ResidentMegabytes();
    job(Small);
    const double after = ResidentMegabytes();
    std::printf("case=memory kernel=%s busy=%.2f small_pulses=%d large_pulses=%d rss_fresh_mb=%.0f rss_large_mb=%.0f "
                "rss_after_large_mb=%.0f\n",
                BlasKernelName(), meter.Share(), Small, Large, fresh, large, after);
    std::fflush(stdout);
}

void MemoryCaseInFreshProcess() {
    const std::string out = RunSelf("", "--memory");
    targets.rssGrowth = NumberAfter(out, " rss_after_large_mb=") - NumberAfter(out, " rss_fresh_mb=");
}

void PrintTargets() {
    std::printf("case=targets kernel=%s busy_max=%.2f factor_vs_best_ref_max=%.2f (target 1) load_vs_idle_max=%.2f "
                "(target 2) total_8192_s=%.3f (target 2.5) lu_vs_cgemm_8192=%.2f (target 0.85) "
                "rss_after_large_minus_fresh_mb=%.0f (target 50)\n",
                BlasKernelName(), targets.busyMax, targets.worstFactorVsRef, targets.worstLoadVsIdle, targets.total8192,
                targets.luVsCgemm8192, targets.rssGrowth);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    // An argument picks the cases whose names contain it.
    const char* only = argc > 1 ? argv[1] : "";
    if (std::strcmp(only, "--cgemm") == 0) {
        PrintCgemm("user", 0.0);
        return 0;
    }
    if (std::strcmp(only, "--cgemm-rate") == 0 && argc == 4) {
        PrintCgemmRate(std::atoi(argv[2]), std::atoi(argv[3]));
        return 0;
    }
    auto wanted = [&](const char* name) { return std::strstr(name, only) != nullptr; };
    ApplyDefaultMessages();
    InitEnvironmentDefaults(8ull << 30);
    JobDef.Interactive = 0;
    EnvDef.PMAX = AllocEngineArrays(MaxPulseLimit);
    if (EnvDef.PMAX < MaxPulseLimit) {
        std::fprintf(stderr, "engine arrays for only %d pulses\n", EnvDef.PMAX);
        return 1;
    }
    if (std::strcmp(only, "--memory") == 0) {
        MemoryCase();
        return 0;
    }
    const bool waitingChild = std::strcmp(only, "--waiting") == 0;
    if (waitingChild) {
        casePrefix = "waiting_";
        withReference = false;
    }
    if (!waitingChild && wanted("cgemm")) KernelCases();
    // "load" runs the load cases (and their load=0 lines) only; other
    // arguments pick among all cases.
    const bool loadOnly = std::strcmp(only, "load") == 0;
    const struct {
        const char* name;
        int pulses;  // 0: the Yagi
        bool ground, quick, underLoad;  // ground: perfect under a wire, real under the Yagi
    } cases[] = {{"yagi3_full", 0, false, false, true},
                 {"yagi3_quick", 0, false, true, true},
                 {"yagi3_real_ground_full", 0, true, false, false},
                 {"wire_free_512", 512, false, false, true},
                 {"wire_free_1024", 1024, false, false, true},
                 {"wire_free_2048", 2048, false, false, true},
                 {"wire_perfect_ground_2048", 2048, true, false, false},
                 {"wire_free_4096", 4096, false, false, false},
                 {"wire_free_8192", 8192, false, false, false}};
    auto run = [](const auto& c) {
        if (c.pulses == 0)
            Yagi(c.name, c.quick, c.ground);
        else
            StraightWire(c.name, c.pulses, c.ground);
    };
    // The waiting comparison: the Yagi and 1024 pulses, idle and under load.
    auto waitingCase = [](const auto& c) { return std::strcmp(c.name, "yagi3_full") == 0 || c.pulses == 1024; };
    for (const auto& c : cases)
        if (waitingChild ? waitingCase(c) : loadOnly ? c.underLoad : wanted(c.name)) run(c);
    if (loadOnly || waitingChild || argc <= 1) {
        bench::BusyProcesses busy(LoadCores);
        loadProcesses = busy.Count();
        for (const auto& c : cases)
            if (c.underLoad && (!waitingChild || waitingCase(c))) run(c);
        loadProcesses = 0;
    }
    if (waitingChild) return 0;
    if (argc <= 1 || wanted("waiting")) WaitingCases();
    if (argc <= 1 || wanted("memory")) MemoryCaseInFreshProcess();
    if (argc <= 1) PrintTargets();
    return 0;
}
