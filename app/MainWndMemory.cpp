// The antenna kept as text: the Edit menu's temporary memory, which the user
// fills and restores, and the antenna as it was before the last optimization.
#include "app/MainWnd.h"
#include "model/AntennaSnapshot.h"
#include "model/AntennaText.h"
#include "model/EnvDef.h"
#include "model/Messages.h"
#include "platform/Prompter.h"
#include "platform/StringGrid.h"

#include <QAction>

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
    UpdateMenuState();
}

namespace {

// Replaces the antenna by a kept text after the user agreed; the antenna
// then shows as edited. The text before the optimization is forgotten by
// either restore.
void RestoreKept(TMainWnd& wnd, const std::string& kept, int question) {
    if (JobDef.Busy || kept.empty()) return;
    if (YesNoBox("%s", MainMessages[question]) != BoxYes) return;
    for (StringGrid* g : {wnd.Grid2, wnd.Grid3, wnd.Grid4}) g->CloseEditor();
    RestoreAntennaText(wnd.Ant, EnvDef, wnd.Comment, kept);
    PreOptimizationText.clear();
    wnd.SetAntDef();
    wnd.Ant.Edited = 1;
    wnd.Ant.Changed = 1;
    wnd.ResultsShown = false;
    wnd.RefreshAll();
}

}  // namespace

// The memory keeps its text for another restore.
void TMainWnd::K39Click() { RestoreKept(*this, TempMemoryText, MsgRestoreTemp); }

void TMainWnd::K36Click() {
    // Parsed from a copy: the restore empties the original.
    const std::string kept = PreOptimizationText;
    RestoreKept(*this, kept, MsgRestoreOptimized);
}
