// Speed of the engine: one line per case with the time of each stage, the
// reference LAPACK factorization of the same matrix and the peak memory.
//   case=<name> kernel=<BLAS kernel> load=<busy cores> pulses=<N> threads=<T>
//   fill_s=.. factor_s=.. ref_factor_s=.. solve_s=.. farfield_s=.. total_s=..
//   peak_rss_mb=..
// The load cases repeat the smaller ones while busy threads of the bench
// itself keep LoadCores cores occupied, as other programs would; compare
// each with its line at load=0 of the same run.
// The reference factorization runs in place on the filled matrix, which is
// then filled again for our own factorization, so no second matrix is held.
// Cases below 8192 pulses report the best of three runs per stage (the
// machine may be shared); the Yagi reports medians over 50 runs.
#include "engine/CalcRuns.h"
#include "engine/EngineState.h"
#include "engine/LibraryTuning.h"
#include "engine/MatrixFill.h"
#include "engine/ModelPrep.h"
#include "engine/Solve.h"
#include "model/EnvDef.h"
#include "model/EnvDefaults.h"
#include "model/Messages.h"
#include "model/ResultStore.h"

#include <cblas.h>
#include <omp.h>
#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

extern "C" void cgetrf_(const int* m, const int* n, void* a, const int* lda, int* ipiv, int* info);

namespace {

using Clock = std::chrono::steady_clock;

constexpr int LoadCores = 4;
int busyCores = 0;  // for the lines

// Threads that spin until destroyed, one per core they keep busy.
class BusyCores {
public:
    explicit BusyCores(int count) {
        busyCores = count;
        for (int i = 0; i < count; ++i)
            threads_.emplace_back([this] {
                volatile unsigned sink = 0;
                while (!stop_.load(std::memory_order_relaxed)) sink = sink + 1;
            });
        std::this_thread::sleep_for(std::chrono::milliseconds(50));  // running before the cases start
    }
    ~BusyCores() {
        stop_ = true;
        for (std::thread& t : threads_) t.join();
        busyCores = 0;
    }
    BusyCores(const BusyCores&) = delete;
    BusyCores& operator=(const BusyCores&) = delete;

private:
    std::atomic<bool> stop_{false};
    std::vector<std::thread> threads_;
};

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

void Settle() { std::this_thread::sleep_for(std::chrono::milliseconds(100)); }

struct Stages {
    double fill = 0, factor = 0, refFactor = 0, solve = 0, farField = 0, total = 0;
};

void Print(const char* name, const Stages& s) {
    std::printf("case=%s kernel=%s load=%d pulses=%d threads=%d fill_s=%.4f factor_s=%.4f ref_factor_s=%.4f solve_s=%.4f "
                "farfield_s=%.4f total_s=%.4f peak_rss_mb=%.0f\n",
                name, BlasKernelName(), busyCores, Engine.PulseCount, omp_get_max_threads(), s.fill, s.factor, s.refFactor, s.solve, s.farField,
                s.total, PeakRssMb());
    std::fflush(stdout);
}

std::unique_ptr<AntDef> NewAntenna(double freq) {
    auto ant = std::make_unique<AntDef>();
    *ant = AntDef{};
    ant->Freq = freq;
    ant->DM1 = 800;
    ant->DM2 = 80;
    ant->EC = 1;
    ant->SC = 2.0;
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

// One calculation, stage by stage, with the reference factorization.
Stages TimeStages(AntDef& ant) {
    Stages s;
    const double prepare = Seconds([&] { Prepare(ant); });
    const int n = Engine.PulseCount;
    s.fill = Seconds([] { FillMatrix(); });
    std::vector<int> ipiv(n);
    // The fill's worker threads may still spin for a while; both
    // factorizations start on a quiet machine.
    if (n > 512) Settle();
    // The reference runs on an otherwise idle machine only: OpenBLAS's own
    // threads wait for each other by spinning, and take seconds per case
    // once other work holds some of the cores.
    if (busyCores == 0) {
        // The same thread rule as our factorization: one BLAS thread up to 512.
        const int blasThreads = openblas_get_num_threads();
        if (n <= 512) openblas_set_num_threads(1);
        s.refFactor = Seconds([&] {
            int info = 0;
            cgetrf_(&n, &n, &Engine.MatrixAt(1, 1), &n, ipiv.data(), &info);
        });
        openblas_set_num_threads(blasThreads);
        FillMatrix();
    } else {
        s.refFactor = std::nan("");
    }
    if (n > 512) Settle();
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
    // Best of three below 8192 pulses: the machine is shared.
    Stages best;
    const int runs = pulses < 8192 ? 3 : 1;
    for (int r = 0; r < runs; ++r) {
        Results.PushRow();
        const Stages s = TimeStages(*ant);
        if (r == 0) {
            best = s;
            continue;
        }
        best.fill = std::min(best.fill, s.fill);
        best.factor = std::min(best.factor, s.factor);
        best.refFactor = std::min(best.refFactor, s.refFactor);
        best.solve = std::min(best.solve, s.solve);
        best.farField = std::min(best.farField, s.farField);
        best.total = std::min(best.total, s.total);
    }
    Print(name, best);
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

void Yagi(const char* name, bool quick, bool realGround) {
    // Over a real ground: the default soil, the antenna 10 m above it.
    EnvDef.Type = realGround ? GroundReal : GroundFree;
    auto ant = NewAntenna(14.15);
    const double half[3] = {5.35, 5.08, 4.83};
    const double x[3] = {-3.2, 0.0, 3.6};
    for (int e = 0; e < 3; ++e) AddWire(*ant, x[e], -half[e], 10, x[e], half[e], 10, 0.0125, -1);
    AddSource(*ant, "w2c");
    JobDef.Interactive = 0;  // as the optimizer runs it
    std::vector<double> fill, factor, ref, solve, far, total;
    constexpr int Runs = 50;
    for (int r = 0; r < Runs; ++r) {
        Results.PushRow();
        const Stages s = TimeStages(*ant);
        fill.push_back(s.fill);
        factor.push_back(s.factor);
        ref.push_back(s.refFactor);
        solve.push_back(s.solve);
        // The whole calculation as the optimizer runs it, from the preparation.
        Results.PushRow();
        const double all = Seconds([&] {
            Prepare(*ant);
            if (quick)
                RunQuickCalc();
            else if (!RunFullCalc())
                std::fprintf(stderr, "calculation failed\n");
        });
        total.push_back(all);
        far.push_back(s.farField);
    }
    Stages m;
    m.fill = Median(fill);
    m.factor = Median(factor);
    m.refFactor = Median(ref);
    m.solve = Median(solve);
    m.farField = Median(far);
    m.total = Median(total);
    Print(name, m);
}

}  // namespace

int main(int argc, char** argv) {
    // An argument picks the cases whose names contain it.
    const char* only = argc > 1 ? argv[1] : "";
    auto wanted = [&](const char* name) { return std::strstr(name, only) != nullptr; };
    ApplyDefaultMessages();
    InitEnvironmentDefaults(8ull << 30);
    JobDef.Interactive = 0;
    EnvDef.PMAX = AllocEngineArrays(MaxPulseLimit);
    if (EnvDef.PMAX < MaxPulseLimit) {
        std::fprintf(stderr, "engine arrays for only %d pulses\n", EnvDef.PMAX);
        return 1;
    }
    // "load" runs the load cases only; other arguments pick among the rest.
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
    if (!loadOnly)
        for (const auto& c : cases)
            if (wanted(c.name)) run(c);
    if (loadOnly || argc <= 1) {
        BusyCores busy(LoadCores);
        for (const auto& c : cases)
            if (c.underLoad) run(c);
    }
    return 0;
}
