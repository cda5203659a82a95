// "Wire edit": the graphical wire editor from the Edit menu, the toolbar and
// the Calculate tab's button. The editor works on its own copy of the wire
// table; the antenna changes only when the user accepts.
#include "app/MainWnd.h"
#include "editing/WireCadDlg.h"
#include "model/EnvDef.h"
#include "platform/StringGrid.h"

#include <QAction>
#include <QPushButton>
#include <QSpinBox>

void TMainWnd::KCADClick() {
    if (JobDef.Busy) return;
    for (StringGrid* g : {Grid2, Grid3, Grid4}) g->CloseEditor();
    int wire = Grid2->Row() - 1;
    const int selected = SelWirSpEd->value();
    const int centre = RotationCentreCode();
    // An antenna as it was loaded opens fitted to the window.
    if (!Ant.Changed) WireCadZoomPosition = 75;
    int written = 0;
    const int sources = Ant.SourceCount;
    std::vector<std::string> notes;
    {
        TWireCadDlg dialog(this, font().family());
        written = dialog.Execute(&Ant, &wire);
        notes = dialog.Notes;
    }
    if (written) {
        AntChangedWithNotes(sources, notes);
        FitView();
    }
    if (wire >= 0 && wire < Grid2->RowCount() - 1) Grid2->SetRow(wire + 1);
    ReapplyRotationCentre(selected, centre);
}

void TMainWnd::ConnectWireCad() {
    ConnectGuardedCommand(KCAD, [this] { KCADClick(); });
    ConnectGuarded(ToolButton8, &QAction::triggered, KCAD, [this] { KCAD->trigger(); });
    ConnectGuarded(WireCadBtn, &QPushButton::clicked, KCAD, [this] { KCAD->trigger(); });
}
