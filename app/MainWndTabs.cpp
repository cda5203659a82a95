// The tab change, which takes pending edits and shows the tab that became
// active, and the commands of the page and window: tab position, toolbar,
// activation, and the rotation centre handed back after a geometry edit.
#include "app/MainWnd.h"
#include "model/EnvDef.h"
#include "model/ResultStore.h"
#include "platform/OpeningFocus.h"
#include "platform/WaitCursor.h"

#include <QAction>
#include <QEvent>
#include <QLayout>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolBar>

void TMainWnd::PageChange() {
    if (Ant.Edited && !JobDef.Busy) {
        WaitCursor hourglass;
        Ant.Edited = 0;
        Results.HasFarField = 0;
        if (GetAntDef()) {
            JobDef.Interactive = 1;
            PrepareCalcAnt();
        } else {
            // The field that does not read is reported and keeps waiting: the
            // edit is not forgotten, and the next change of tab asks again.
            Ant.Edited = 1;
        }
    }
    if (Page->currentWidget() == TabSheet2)
        ShowViewTab();
    else if (Page->currentWidget() == TabSheet4)
        RedrawPlots();
    UpdateMenuState();
    // The handler may have written the field the focus fell on.
    if (QWidget* page = Page->currentWidget()) SelectFocusedValueOn(*page);
}

// Coming back to the window shows the view as it is now.
void TMainWnd::FormActivate() {
    if (Page->currentWidget() == TabSheet2) DrawAntenna();
}

void TMainWnd::Tabposition1Click() {
    Page->setTabPosition(Page->tabPosition() == QTabWidget::North ? QTabWidget::South : QTabWidget::North);
}

void TMainWnd::ToolBVClick() {
    // The action is checkable: the trigger has already turned its check mark.
    ToolBar1->setVisible(ToolBV->isChecked());
    // The page takes the room the toolbar gave up (or gives it back) before
    // its controls are laid out against it.
    if (layout()) layout()->activate();
    FormResize();
}

int TMainWnd::RotationCentreCode() const {
    if (WireCenterRB->isChecked()) return 1;
    if (FullWRb->isChecked()) return 2;
    return 0;
}

void TMainWnd::ReapplyRotationCentre(int wire, int code) {
    // A wire that the edit removed cannot stay selected: the view then turns
    // about the middle of the antenna.
    const int count = std::clamp(CalcAnt->WireCount, 0, MaxWires);
    if (wire < 0 || wire > count) {
        wire = 0;
        code = 2;
    }
    {
        const QSignalBlocker block(SelWirSpEd);
        SelWirSpEd->setMaximum(count);
        SelWirSpEd->setValue(wire);
    }
    SelWirSpEdChange(false);
    switch (code) {
    case 1:
        WireCenterRB->setChecked(true);
        WireCenterRBClick();
        break;
    case 2:
        FullWRb->setChecked(true);
        FullWRbClick(true);
        break;
    default:
        CenterRb->setChecked(true);
        CenterRbClick(true);
        break;
    }
}
