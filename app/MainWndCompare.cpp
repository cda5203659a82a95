// The comparison of results: the latest calculation and far-field files side
// by side. The dialog's colours are the window's plot palette.
#include "app/MainWnd.h"
#include "views/ResCmpDlg.h"

void TMainWnd::KC1Click() {
    TResCmpDlg dialog(this, font().family());
    dialog.ResultFolder = ResFolder;
    dialog.Execute(PlotPalette);
    ResFolder = dialog.ResultFolder;
}
