// The commands of the frequency runs: the sweep plots, the frequency table
// and the multiband impedance list. Each works on the user's antenna (whose
// preparation builds the calculation copy) and restores its frequency.
#include "app/MainWnd.h"
#include "draw/PolarPlot.h"
#include "model/EnvDef.h"
#include "model/ResultStore.h"
#include "platform/FormPattern.h"
#include "platform/Prompter.h"
#include "platform/StringGrid.h"
#include "views/BwDispDlg.h"
#include "views/FreqSetDlg.h"
#include "views/NWLForm.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QPushButton>
#include <exception>

SweepHost TMainWnd::SweepRunHost() {
    // The runs start from the antenna with its positions settled; each
    // frequency of theirs lays the pulses out anew.
    SettlePositions();
    Positions.BeginFrequencyRun();
    SweepHost host;
    host.Model = &Ant;
    host.Prepare = [this] { return PrepareCalcAnt(true); };
    host.SweepBelongs = [this] { return ResultsBelongToAntenna(ResultHolder::Sweep, ResultUse::Combine); };
    host.RowsChanged = [this] {
        Grid1->SetRowCount(Results.RowCount == 0 ? 2 : Results.RowCount + 1);
        Grid1->Invalidate();
    };
    return host;
}

void TMainWnd::BwBtnClick() {
    // The runs go into the sweep table of the newest row.
    if (JobDef.Busy || Results.Sweep.Count == 0 || RefuseResultsOfAFile() || !ResultsBelongToAntenna() ||
        !ResultsBelongToAntenna(ResultHolder::Sweep, ResultUse::Combine))
        return;
    const CalculationNotices notices(*this);
    TBwDispDlg dialog(this, SweepRunHost());
    if (dialog.Execute(PlotPalette) != 1) return;
    // The runs are over and the results of before are back: the plots
    // scale to their maximum again.
    PatternMaxGain = Results.GainMax;
    RefreshAll();
}

void TMainWnd::K49Click() {
    QString base = FileName.isEmpty() ? ResFolder + "/noname"
                                      : QFileInfo(FileName).path() + "/" + QFileInfo(FileName).completeBaseName();
    const CalculationNotices notices(*this);
    TFreqSetDlg dialog(this, SweepRunHost(), base.toStdString());
    dialog.Execute();
}

void TMainWnd::NWLDatClick() {
    const CalculationNotices notices(*this);
    TNWLForm form(this, SweepRunHost(), [] { QApplication::processEvents(); });
    form.FileName = FileName;
    ShowModal(form);
}

void TMainWnd::ConnectSweepCommands() {
    ConnectGuardedCommand(BwBtn, [this] { BwBtnClick(); }, WhileBusy::Runs);
    ConnectGuardedCommand(K49, [this] { K49Click(); });
    ConnectGuardedCommand(NWLDat, [this] { NWLDatClick(); });
}
