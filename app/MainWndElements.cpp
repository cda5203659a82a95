// The element table, the taper wire set editor and the table of a tapered
// wire's pieces, from the Edit menu, the popups, the toolbar and the
// Calculate tab. A reported change runs the after-edit routine and refits
// the view; the selected wire and the centre mode come back in every case.
#include "app/MainWnd.h"
#include "editing/GrpWireDlg.h"
#include "editing/WCombDlg.h"
#include "editing/WCombDspDlg.h"
#include "model/EnvDef.h"
#include "model/TaperSetTable.h"
#include "platform/FilePaths.h"
#include "platform/StringGrid.h"

#include <QAction>
#include <QPushButton>
#include <QSpinBox>

void TMainWnd::ConnectElementCommands() {
    for (QAction* a : {K18, ToolButton9}) ConnectGuardedCommand(a, [this] { K18Click(); });
    for (QAction* a : {K45, K46, KC3}) ConnectGuardedCommand(a, [this] { EditTaperWireSet(); });
    for (QAction* a : {K47, K48}) ConnectGuardedCommand(a, [this] { K47Click(); });
    ConnectGuarded(EleEditBtn, &QPushButton::clicked, K18, [this] { K18->trigger(); });
}

void TMainWnd::K18Click() {
    if (JobDef.Busy) return;
    const int wire = SelWirSpEd->value();
    const int centre = RotationCentreCode();
    for (StringGrid* g : {Grid2, Grid3, Grid4}) g->CloseEditor();
    int result = GrpWireNoChange;
    const int sources = Ant.SourceCount;
    std::vector<std::string> notes;
    {
        TGrpWireDlg dialog(this, font().family());
        dialog.FileName = LocalPath(FileName);
        dialog.DataFolder = LocalPath(ResFolder);
        dialog.OpenCalculator = [this] { K17Click(); };
        result = dialog.Execute(Ant);
        notes = dialog.Notes;
    }
    if (result != GrpWireNoChange) {
        AntChangedWithNotes(sources, notes);
        FitView();
    }
    ReapplyRotationCentre(wire, centre);
}

void TMainWnd::EditTaperWireSet() {
    if (JobDef.Busy) return;
    LastClick = QPoint(0, 0);
    const int wire = SelWirSpEd->value();
    const int centre = RotationCentreCode();
    for (StringGrid* g : {Grid2, Grid3, Grid4}) g->CloseEditor();
    bool changed = false;
    {
        TWCombDlg dialog(this, font().family());
        changed = dialog.Execute(Ant);
    }
    if (changed) {
        NormalizeTaperSets(Ant);
        AntChanged();
    }
    FitView();
    ReapplyRotationCentre(wire, centre);
}

void TMainWnd::K47Click() {
    const int row = Grid2->Row();
    if (row < 1 || row > Ant.WireCount || row > MaxWires) return;
    const WireRec& wire = Ant.Wires[row - 1];
    const TaperSet* set = wire.R < 0 ? FindTaperSet(Ant, wire.R) : nullptr;
    if (!set) return;
    TWCombDspDlg dialog(this, font().family());
    dialog.Execute(Ant, *set, wire, row);
}
