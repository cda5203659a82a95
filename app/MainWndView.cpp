// The tab change: takes pending edits and shows the tab that became active.
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
    if (Page->currentWidget() == TabSheet2)
        ShowViewTab();
    else if (Page->currentWidget() == TabSheet4)
        RedrawPlots();
    UpdateMenuState();
}
