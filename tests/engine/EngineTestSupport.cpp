#include "EngineTestSupport.h"

#include "engine/CalcRuns.h"
#include "engine/ModelPrep.h"
#include "model/EnvDefaults.h"
#include "model/Messages.h"
#include "model/ResultStore.h"

#include <gtest/gtest.h>

namespace {
std::vector<std::string> logLines;
}

std::vector<std::string>& EngineLogLines() { return logLines; }

void ResetEngineWorld(int ground, double height, int maxPulses) {
    ApplyDefaultMessages();
    InitEnvironmentDefaults(8ull << 30);
    InitJobDefaults(1024);
    EnvDef.Type = ground;
    EnvDef.AntHeight = height;
    EnvDef.PMAX = maxPulses;
    if (Engine.MaxPulses != maxPulses) EnvDef.PMAX = AllocEngineArrays(maxPulses);
    logLines.clear();
    SetEngineLog(&logLines);
    JobDef.Interactive = 1;
    Results = CResult{};
    Results.PushRow();
}

bool PrepareAndRun(AntDef* ant) {
    if (PrepareModel(ant) != 1) {
        ADD_FAILURE() << "preparation refused";
        return false;
    }
    return RunFullCalc();
}
