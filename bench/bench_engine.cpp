// Google Benchmark cases of the engine's two big steps, the matrix fill and
// the factorization, on a straight wire, and a full calculation.
#include "MachineLoad.h"
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

#include <benchmark/benchmark.h>

#include <memory>

namespace {

std::unique_ptr<AntDef> wire;

// Prepares a centre-fed straight wire of the given pulse count.
void PrepareWire(int pulses) {
    static bool started = false;
    if (!started) {
        ApplyDefaultMessages();
        InitEnvironmentDefaults(8ull << 30);
        JobDef.Interactive = 0;
        EnvDef.PMAX = AllocEngineArrays(4096);
        started = true;
    }
    wire = std::make_unique<AntDef>();
    *wire = AntDef{};
    wire->Freq = 14.15;
    SetDefaultSegmentation(*wire);
    wire->WireCount = 1;
    wire->Wires[0] = WireRec{-5.3, 0, 10, 5.3, 0, 10, 0.001, pulses + 1, 0, 0, 0};
    wire->SourceCount = 1;
    CopyText(wire->Sources[0].Pos, "w1c");
    wire->Sources[0].Voltage = 1.0;
    Results.PushRow();
    PrepareModel(wire.get());
}

void BM_Fill(benchmark::State& state) {
    PrepareWire(static_cast<int>(state.range(0)));
    const bench::BusyMeter meter;
    for (auto _ : state) FillMatrix();
    state.counters["busy"] = meter.Share();
}

void BM_Factor(benchmark::State& state) {
    PrepareWire(static_cast<int>(state.range(0)));
    const bench::BusyMeter meter;
    for (auto _ : state) {
        state.PauseTiming();
        FillMatrix();
        state.ResumeTiming();
        FactorMatrix();
    }
    state.counters["busy"] = meter.Share();
}

void BM_FullCalculation(benchmark::State& state) {
    PrepareWire(static_cast<int>(state.range(0)));
    const bench::BusyMeter meter;
    for (auto _ : state) {
        PrepareModel(wire.get());
        benchmark::DoNotOptimize(RunFullCalc());
    }
    state.counters["busy"] = meter.Share();
}

}  // namespace

BENCHMARK(BM_Fill)->Arg(500)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Factor)->Arg(500)->Arg(1000)->Arg(2000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FullCalculation)->Arg(3000)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    benchmark::AddCustomContext("kernel", BlasKernelName());
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
