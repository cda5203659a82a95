#pragma once
// A small free-space dipole near 14.2 MHz with the engine ready, a host that
// prepares it directly, and a sweep table set up as after a Start.
#include <gtest/gtest.h>

#include <memory>

#include "engine/CalcRuns.h"
#include "model/FedDipole.h"
#include "engine/EngineState.h"
#include "engine/ModelPrep.h"
#include "model/AntDef.h"
#include "model/EnvDef.h"
#include "model/EnvDefaults.h"
#include "model/Messages.h"
#include "model/ResultStore.h"
#include "views/SweepHost.h"

// The default settings and an engine of 512 pulses that writes no log.
inline void ReadySmallEngine() {
    ApplyDefaultMessages();
    InitEnvironmentDefaults(8ull << 30);
    InitJobDefaults(1024);
    if (Engine.MaxPulses != 512) EnvDef.PMAX = AllocEngineArrays(512);
    EnvDef.PMAX = 512;
    SetEngineLog(nullptr);
}

class SweepFixture : public ::testing::Test {
protected:
    std::unique_ptr<AntDef> ant = std::make_unique<AntDef>();
    int prepares = 0;
    int runsNotified = 0;
    bool refuseAbove = false;   // preparation fails above refuseFreq
    bool failRunAbove = false;  // the engine run fails above refuseFreq
    double refuseFreq = 0;

    void SetUp() override {
        ReadySmallEngine();
        *ant = AntDef{};
        ant->Freq = 14.2;
        SetDefaultSegmentation(*ant);
        ant->UseLoads = 1;
        ant->nH = ant->nV = 1;
        double half = 299.792458 / 14.2 / 4.0 * 0.97;
        MakeFedDipole(*ant, WireRec{0, -half, 10, 0, half, 10, 0.001, 21, 0, 0, 0});
        CopyText(ant->Name, "test dipole");
        Results = CResult{};
    }

    SweepHost Host() {
        SweepHost h;
        h.Model = ant.get();
        h.Prepare = [this] {
            ++prepares;
            if (refuseAbove && ant->CalcFreq > refuseFreq) return 0;
            if (PrepareModel(ant.get()) != 1) return 0;
            // Without a source the run fails for want of input power.
            if (failRunAbove && ant->CalcFreq > refuseFreq) Engine.SourceCount = 0;
            return 1;
        };
        h.RowsChanged = [this] { ++runsNotified; };
        // The fixture's antenna is never edited between its runs.
        h.SweepBelongs = [] { return true; };
        return h;
    }

    // A Start at f: one row, far field, the sweep set up around it.
    void StartAt(double f) {
        ant->CalcFreq = f;
        ASSERT_EQ(PrepareModel(ant.get()), 1);
        Results.PushRow();
        ASSERT_TRUE(RunFullCalc());
        Results.HasFarField = 1;
        Results.InitSweep(f);
    }
};
