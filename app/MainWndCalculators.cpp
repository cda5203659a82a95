// The options command: the RF calculators and the setup page, preset from the
// selected load or result row.
#include "app/MainWnd.h"
#include "model/EnvDef.h"
#include "model/ResultStore.h"
#include "platform/FormPattern.h"
#include "platform/StringGrid.h"
#include "tools/OptDlgBox.h"
#include "tools/UserMaterialDlg.h"

#include <QAction>
#include <QComboBox>
#include <QSignalBlocker>
#include <QTabWidget>

void TMainWnd::K21Click() {
    double F = Ant.CalcFreq != 0 ? Ant.CalcFreq : Ant.Freq;
    double R = 50.0, X = 0, C = 0, L = 0;
    const int resultRow = Grid1->Row();
    if (resultRow > 0 && resultRow <= Results.RowCount) {
        R = Results.Row(resultRow - 1)->R;
        X = Results.Row(resultRow - 1)->jX;
    } else if (Results.RowCount > 0) {
        R = Results.Row(0)->R;
        X = Results.Row(0)->jX;
    }
    const int loadRow = Grid4->Row();
    if (Page->currentWidget() == TabSheet1 && FocusedTable() == Grid4 && loadRow >= 1 && loadRow <= Ant.LoadCount) {
        const LoadRec& load = Ant.Loads[loadRow - 1];
        if (load.Type == LoadLC) {
            L = load.A[0];
            C = load.B[0];
            X = 0;
        } else if (load.Type == LoadRX) {
            R = load.A[0];
            X = load.B[0];
        }
    }
    int result = 0;
    QFont chosen;
    {
        TOptDlgBox dialog(this);
        QFont f = dialog.font();
        f.setFamily(font().family());
        dialog.setFont(f);
        result = dialog.Execute(C, L, X, R, F);
        chosen = dialog.font();
    }
    if (result == 2) {
        JobDef.Interactive = 1;
        PrepareCalcAnt();
    }
    if (result != 0) {
        RefreshAll();
        QFont f = font();
        f.setFamily(chosen.family());
        setFont(f);
    }
    FormResize();
}

void TMainWnd::EditUserMaterial() {
    {
        TUserMater dialog(this);
        QFont f = dialog.font();
        f.setFamily(font().family());
        dialog.setFont(f);
        ShowModal(dialog);
    }
    // Without values the user material means nothing: back to "No loss".
    if (UserMaterialDef.Resistivity == 0 && UserMaterialDef.Permeability == 0) {
        const QSignalBlocker block(MaterialSel);
        MaterialSel->setCurrentIndex(0);
        EnvDef.Material = 0;
    }
}

void TMainWnd::ConnectCalculators() {
    for (QAction* item : {K21, O1, ToolButton10}) ConnectGuardedCommand(item, [this] { K21Click(); });
}
