#include "app/RecordsReset.h"

#include "app/MainWnd.h"
#include "draw/PolarPlot.h"
#include "draw/Projection.h"
#include "editing/ElementView.h"
#include "editing/StackDlgBox.h"
#include "editing/WireCadDlg.h"
#include "engine/EngineState.h"
#include "model/EnvDef.h"
#include "model/LanguageState.h"
#include "model/Messages.h"
#include "model/ResultStore.h"
#include "views/OpenGLForm.h"

#include <cstring>

void ResetRecords() {
    EnvDef = EnvRec{};
    JobDef = JobRec{};
    UserMaterialDef = UserMaterialRec{};
    for (UserProgramSlot& slot : UserProgramSlots) slot = UserProgramSlot{};
    Results = CResult{};
    ResetEngineModel();
    ResetViewState();
    ResetPatternState();

    LanguageIndex = -1;
    LanguageText.clear();
    ApplyDefaultMessages();

    WireCadZoomPosition = WireCadZoomStart;
    for (WireCadScreen& screen : ScreenSlot) screen = WireCadScreen{};
    ElementViewState = ElementViewAngles{};
    std::memset(StackMessages, 0, sizeof StackMessages);
    GLElevStep = GLElevStepStart;
    GLAzimStep = GLAzimStepStart;

    FirstStart = false;
    TempMemoryText.clear();
    PreOptimizationText.clear();
}
