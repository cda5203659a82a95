// The antenna kept as text: the Edit menu's temporary memory, which the user
// fills and restores, and the antenna as it was before the last optimization.
#include "app/MainWnd.h"
#include "model/EnvDef.h"
#include "model/Messages.h"
#include "model/ScopedValue.h"
#include "optimizer/OptimizerState.h"
#include "platform/Prompter.h"
#include "platform/StringGrid.h"

#include <QAction>
#include <vector>

void TMainWnd::ConnectMemoryCommands() {
    ConnectGuardedCommand(K38, [this] { K38Click(); });
    ConnectGuardedCommand(K39, [this] { K39Click(); });
    ConnectGuardedCommand(K36, [this] { K36Click(); });
}

void TMainWnd::K38Click() {
    if (Ant.WireCount < 1) return;
    // The text holds what the window shows: the open cell and the edit
    // fields are taken first; a field that does not read has been reported
    // and the memory keeps what it had.
    for (StringGrid* g : {Grid2, Grid3, Grid4}) g->CloseEditor();
    if (!GetAntDef()) return;
    TempMemoryReferences = KeepAntennaNow();
    TempMemoryText = TempMemoryReferences.Text;
    UpdateMenuState();
}

KeptAntenna TMainWnd::KeepAntennaNow() {
    // What is kept has its positions where the antenna has them now.
    SettlePositions();
    std::vector<std::string> notes;
    KeptAntenna kept = KeepAntenna(Ant, AntIds, EnvDef, Comment, ACal, notes);
    AddLogLines(notes);
    return kept;
}

// The antenna then shows as edited. The text before the optimization is
// forgotten by either restore.
void TMainWnd::RestoreKept(const std::string& kept, const KeptAntenna& references, int question) {
    if (JobDef.Busy || kept.empty()) return;
    if (YesNoBox("%s", MainMessages[question]) != BoxYes) return;
    for (StringGrid* g : {Grid2, Grid3, Grid4}) g->CloseEditor();
    StartTablesAtFirstCell();
    // What was kept with another text does not name this one's parts.
    const KeptAntenna restored = references.Text == kept ? references : KeptAntenna{kept, nullptr, nullptr};
    CACal* cal = restored.References ? &OptimizerState() : ACal;
    const std::vector<std::string> lines = RestoreKeptAntenna(restored, Ant, AntIds, EnvDef, Comment, cal);
    // Lines about the antenna just replaced describe nothing that is left.
    PositionLinesShown();
    {
        // Its positions stand placed against its own wires at the
        // calculation frequency it was kept at; the next preparation
        // settles them at the frequency of now.
        const ScopedValue<double> keptAt(Ant.CalcFreq, restored.CalcFreq);
        Positions.Take(Ant);
    }
    PreOptimizationText.clear();
    PreOptimizationReferences = {};
    SetAntDef();
    Ant.Edited = 1;
    Ant.Changed = 1;
    RefreshAll();
    AddPositionLines(lines);
}

// The memory keeps its text for another restore.
void TMainWnd::K39Click() { RestoreKept(TempMemoryText, TempMemoryReferences, MsgRestoreTemp); }

void TMainWnd::K36Click() {
    // Parsed from a copy: the restore empties the original.
    const std::string kept = PreOptimizationText;
    const KeptAntenna references = PreOptimizationReferences;
    RestoreKept(kept, references, MsgRestoreOptimized);
}
