// The comparison of results: the latest calculation and far-field files side
// by side. The dialog's colours are the window's plot palette.
#include "app/MainWnd.h"
#include "views/ResCmpDlg.h"

void TMainWnd::KC1Click() {
    TResCmpDlg dialog(this, font().family());
    dialog.ResultFolder = ResFolder;
    // The first slot is named after this antenna.
    dialog.Execute(PlotPalette, ResultsBelongToAntenna(ResultHolder::Row, ResultUse::Show));
    ResFolder = dialog.ResultFolder;
}
