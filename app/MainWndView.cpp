// Entry points of the antenna view and the far-field plots that the rest of
// the window calls: the tab change, the redraw and the view fit.
#include "app/MainWnd.h"
#include "model/EnvDef.h"
#include "model/ResultStore.h"

#include <QApplication>
#include <QTabWidget>

void TMainWnd::PageChange() {
    if (Ant.Edited && !JobDef.Busy) {
        Ant.Edited = 0;
        Results.HasFarField = 0;
        // A field that does not read keeps the record as it was; the error is shown.
        if (GetAntDef()) {
            JobDef.Interactive = 1;
            PrepareCalcAnt();
            Results.ClearSweep();
        }
    }
    if (Page->currentWidget() == TabSheet2) DrawAntenna();
    UpdateMenuState();
}

void TMainWnd::DrawAntenna() {
    // The antenna view draws itself here once it exists.
}

void TMainWnd::FitView() {
    // The antenna view fits its zoom to the calculation copy here once it exists.
}
