#include "draw/RecordsReset.h"

#include "draw/PolarPlot.h"
#include "draw/Projection.h"
#include "engine/EngineState.h"
#include "model/EnvDef.h"
#include "model/ResultStore.h"

void ResetRecords() {
    EnvDef = EnvRec{};
    JobDef = JobRec{};
    UserMaterialDef = UserMaterialRec{};
    Results = CResult{};
    ResetEngineModel();
    ResetViewState();
    ResetPatternState();
}
