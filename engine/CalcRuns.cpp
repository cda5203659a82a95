#include "engine/CalcRuns.h"

#include "engine/Currents.h"
#include "engine/EngineMessageLog.h"
#include "engine/FarField.h"
#include "model/CheckedFormat.h"
#include "model/Messages.h"
#include "model/ResultStore.h"

#include <algorithm>
#include <cstdlib>
#include <cmath>

namespace {

void StartPass(PatternPass mode, int index) {
    Results.PassMode = mode;
    Results.PointIndex = index;
}

// The passes shared by the full (step 1) and the quick (step 2) run.
void PatternPasses(int step) {
    Results.AngleStep = step;
    const int quarter = 90 / step;
    // Pass 1: zenith to the front horizon.
    SetFarFieldLoops(0.0f, 1.0f, 1, 0.0f, static_cast<float>(step), quarter + 1);
    StartPass(PassElevation, quarter);
    CalcFarField();
    // Pass 2: the back horizon up to just before the zenith.
    SetFarFieldLoops(0.0f, 1.0f, 1, 270.0f, static_cast<float>(step), quarter);
    StartPass(PassElevation, 0);
    CalcFarField();
    // Fine search around the elevation maximum, always at azimuth 0.
    const int a = Results.PatternMaxElev();
    const int z = std::min(std::abs(a - 90) + 1, 90);
    SetFarFieldLoops(0.0f, 1.0f, 1, static_cast<float>(z), -0.1f, 21);
    StartPass(PassFineSearch, (90 - z) * 10);
    Results.FineMax = Results.ElevMax;
    const int i = Results.ElevMaxIndex;
    Results.ElevOfMax = static_cast<float>(step * (i < 90 / step ? i : 180 / step - i));
    CalcFarField();
    // The azimuth cut at the elevation of the beam.
    const double e = Results.PatternElevAngle();
    SetFarFieldLoops(0.0f, static_cast<float>(step), 360 / step, static_cast<float>(std::fabs(90.0 - e)), 1.0f, 1);
    StartPass(PassAzimuth, 0);
    CalcFarField();
}

}  // namespace

bool RunFullCalc() {
    try {
        CalcCurrents();
        LogEngineMessage(EngFarField);
        PatternPasses(1);
        LogEngineMessage(EngNoFatalError);
        Results.PatternMaxAzimuth();
        return true;
    } catch (...) {
        LogEngineMessage(EngFatalError);
        return false;
    }
}

void RunQuickCalc() {
    CalcCurrents();
    PatternPasses(2);
    Results.PatternMaxAzimuth();
}

void CalcFarFieldAtElevation() {
    const int step = std::max(1, static_cast<int>(Results.AngleStep));
    const float e = Results.CutElevation;
    SetFarFieldLoops(0.0f, static_cast<float>(step), 360, std::fabs(90.0f - e), 1.0f, 1);
    StartPass(PassAzimuth, 0);
    CalcFarField();
    Results.PatternMaxAzimuth2();
}
