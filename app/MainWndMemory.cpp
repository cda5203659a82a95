// The antenna kept as text: the Edit menu's temporary memory, which the user
// fills and restores, and the antenna as it was before the last optimization.
#include "app/MainWnd.h"
#include "model/AntennaSnapshot.h"
#include "model/AntennaText.h"
#include "model/EntryIdentity.h"
#include "model/EnvDef.h"
#include "model/Messages.h"
#include "model/TableRows.h"
#include "optimizer/OptimizerState.h"
#include "platform/Prompter.h"
#include "platform/StringGrid.h"

#include <QAction>
#include <algorithm>
#include <memory>
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
    TempMemoryText = WriteAntennaText(Ant, EnvDef, Comment);
    TempMemoryReferences = KeepReferencesWith(TempMemoryText);
    UpdateMenuState();
}

TMainWnd::KeptReferences TMainWnd::KeepReferencesWith(const std::string& text) {
    AttachOptimizer();
    KeptReferences kept{text, nullptr, std::make_shared<const AntennaIdentities>(IdentitiesOf(Ant))};
    if (ACal) kept.References = std::make_shared<const OptimizerReferences>(ACal->KeepReferences());
    return kept;
}

// The antenna then shows as edited. The text before the optimization is
// forgotten by either restore. The optimizer's rows, bands and current goal
// come back as they were kept with the text; rows made since a text kept
// without them follow the wires, sources and loads that the restored antenna
// still has, found by their identities.
void TMainWnd::RestoreKept(const std::string& kept, const KeptReferences& references, int question) {
    if (JobDef.Busy || kept.empty()) return;
    if (YesNoBox("%s", MainMessages[question]) != BoxYes) return;
    for (StringGrid* g : {Grid2, Grid3, Grid4}) g->CloseEditor();
    // The rows stand where the antenna before the restore has them.
    AttachOptimizer();
    const auto before = std::make_unique<AntDef>(Ant);
    const AntennaIdentities identitiesBefore = IdentitiesOf(Ant);
    RestoreAntennaText(Ant, EnvDef, Comment, kept);
    const bool keptHere = references.Text == kept && references.Identities;
    if (keptHere) SetIdentities(Ant, *references.Identities);
    else RenewIdentities(Ant);
    PreOptimizationText.clear();
    PreOptimizationReferences = {};
    std::vector<std::string> lines;
    if (references.References && keptHere) {
        lines = OptimizerState().RestoreReferences(*references.References, Ant);
    } else if (ACal && ACal->RowCount > 0) {
        lines.emplace_back("The optimization lines were made after the data were kept: they follow the wires that the "
                           "restored data still have.");
        const IdentityChange change = ChangeByIdentity(*before, identitiesBefore, IdentitiesOf(Ant));
        ACal->FollowWireRenumbering(Ant, change.Wires, change.Entries, lines);
    }
    SetAntDef();
    Ant.Edited = 1;
    Ant.Changed = 1;
    MarkResultsStale();
    RefreshAll();
    AddLogLines(lines);
}

// The memory keeps its text for another restore.
void TMainWnd::K39Click() { RestoreKept(TempMemoryText, TempMemoryReferences, MsgRestoreTemp); }

void TMainWnd::K36Click() {
    // Parsed from a copy: the restore empties the original.
    const std::string kept = PreOptimizationText;
    const KeptReferences references = PreOptimizationReferences;
    RestoreKept(kept, references, MsgRestoreOptimized);
}
