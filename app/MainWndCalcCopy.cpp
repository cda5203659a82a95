// The calculation copy: grounded wire ends turned round in the user's antenna,
// then the antenna itself or its stacked heap copy handed to the engine's
// model preparation.
#include "app/MainWnd.h"
#include "engine/EngineState.h"
#include "engine/ModelPrep.h"
#include "engine/PulseLayout.h"
#include "engine/WireExpansion.h"
#include "engine/WireLoss.h"
#include "model/EnvDef.h"
#include "model/StackedAnt.h"
#include "views/OpenGLForm.h"

#include <QComboBox>
#include <QString>

bool TMainWnd::BuildStackedAnt() {
    std::string error;
    if (CalcAnt == &Ant) CalcAnt = new AntDef;
    if (!BuildStackedAntenna(Ant, *CalcAnt, error)) {
        // The stack does not fit the record: calculate nothing and say why.
        FreeCalcCopy();
        AddLogLine(QString::fromStdString(error));
        SetLogFailed(true);
        return false;
    }
    return true;
}

int TMainWnd::PrepareCalcAnt(bool atRunFrequency) {
    // The positions follow the changes not yet settled, and then the turn of
    // a wire whose grounded end comes second like any edit that turns a
    // wire; a run places them itself.
    std::vector<int> turned;
    std::vector<std::string> placed;
    if (!JobDef.Busy) {
        placed = PlacePendingPositions(atRunFrequency);
        turned = TurnGroundedWires(Ant);
        if (!turned.empty()) {
            const std::vector<std::string> lines = PlacePendingPositions(atRunFrequency);
            placed.insert(placed.end(), lines.begin(), lines.end());
        }
    }
    const int result = PrepareCalcModel(turned);
    AddPositionLines(placed);
    // Every edit reaches the calculation through here: the optimizer's rows
    // follow it now, not at the next optimization, and say so below the
    // preparation's lines. The search's own points wait for its end.
    if (!JobDef.Busy) AttachOptimizer();
    return result;
}

int TMainWnd::PrepareCalcModel(const std::vector<int>& turnedBefore) {
    // Until it is known what the engine holds, no result is computed from it.
    Origin.PreparationFailed();
    std::vector<int> turned = turnedBefore;
    if (JobDef.Busy) {
        // A turned wire's positions keep their pulses: counted on a layout
        // of the antenna as it stands.
        PulseLayout typed;
        const bool counted = HasWireToTurn(Ant) && LayOutPulses(Ant, typed);
        turned = NormalizeGroundedWires(Ant, counted ? typed.WirePulses : std::vector<long long>{});
        if (!turned.empty()) Positions.Accept(Ant);
    }
    if (StackCountH(Ant) == 1 && StackCountV(Ant) == 1) {
        FreeCalcCopy();
    } else if (!BuildStackedAnt()) {
        return 0;
    }
    if (!PrepareModel(CalcAnt)) {
        // A refused model is a failure, whatever colour the last run left.
        SetLogFailed(true);
        return 0;
    }
    // A plain pulse number on a turned wire follows its pulse; the model is
    // then prepared again with the new number (nothing is turned twice).
    if (!turned.empty() && KeepPulseNumbersOnTurnedWires(Ant, *CalcAnt, turned)) return PrepareCalcModel({});
    int result = 1;
    if (Engine.LastUnderGroundWire != 0) {
        result = 0;
        SetLogFailed(true);
    } else {
        SetLogFailed(false);
        Origin.Prepared(CalculationFingerprint(Ant, CalculationFieldsOf(Ant, EnvDef), EnvDef, UserMaterialDef));
    }
    MaterialSel->setToolTip(QString::fromStdString(MaterialText(MaterialSel->currentIndex())));
    return result;
}
