// The result table commands of the File menu (currents, near field,
// angle/gain), the comparison of results and the far-field tab's horizontal
// cut at a chosen elevation. The frequency table and the multiband list are
// frequency runs (MainWndSweeps.cpp).
#include "platform/FilePaths.h"
#include "app/MainWnd.h"
#include "app/ResultTables.h"
#include "engine/CalcRuns.h"
#include "model/CsvTable.h"
#include "model/EnvDef.h"
#include "model/Messages.h"
#include "model/NumberText.h"
#include "model/ResultStore.h"
#include "draw/PolarPlot.h"
#include "platform/Prompter.h"
#include "platform/StringGrid.h"
#include "platform/WaitCursor.h"
#include "views/FarSetDlg.h"
#include "views/NearSetDlg.h"

#include <QAction>
#include <QPushButton>
#include <exception>
#include <memory>

namespace {

// The description keeps the text the users know, its missing parenthesis too.
const char* const CsvFilter = "CSV table *.csv) (*.csv)";

// A table that was not written is always said so: the engine's reason, or
// the plain box of a failed save with the file's name.
void ReportTableOutcome(const TableOutcome& outcome) {
    switch (outcome.Status) {
    case TableStatus::Written:
        return;
    case TableStatus::EngineFailed:
        ErrorBox("%s", outcome.Error.c_str());
        return;
    case TableStatus::CannotWrite:
        ReportCannotSave(FromLocalPath(outcome.Path), outcome.Error);
        return;
    }
}

// A table of a request: the request lives for the command, the dialog edits
// it, and only an accepted request is computed and written.
template <class RequestScope, class RequestDialog>
void RunRequestedTable(TMainWnd& owner, const std::string& defaultPath, TableOutcome (*write)()) {
    RequestScope request(defaultPath);
    {
        RequestDialog dialog(&owner, owner.font().family());
        dialog.DataFolder = owner.ResFolder;
        if (!dialog.Execute()) return;
    }
    TableOutcome outcome;
    {
        WaitCursor hourglass;
        outcome = write();
    }
    ReportTableOutcome(outcome);
}

}  // namespace

void TMainWnd::KC2Click() {
    if (JobDef.Busy || !ResultsBelongToAntenna()) return;
    const std::string chosen = CurrentPrompter().SaveFileName(FileDialog(
        CsvHeaders[CsvSaveCurrentsTitle], CsvFilter, "csv", ResFolder, DefaultTableName(LocalPath(FileName))));
    if (chosen.empty()) return;
    TableOutcome outcome;
    {
        WaitCursor hourglass;
        outcome = WriteCurrentsTable(chosen);
    }
    ReportTableOutcome(outcome);
}

std::string TMainWnd::DefaultRequestPath() const {
    return DefaultTablePath(LocalPath(FileName), LocalPath(ResFolder));
}

void TMainWnd::K31Click() {
    if (JobDef.Busy || !ResultsBelongToAntenna()) return;
    RunRequestedTable<NearFieldRequestScope, TNearSetDlg>(*this, DefaultRequestPath(), WriteNearFieldTable);
}

void TMainWnd::K32Click() {
    if (JobDef.Busy || !ResultsBelongToAntenna()) return;
    RunRequestedTable<AngleGainRequestScope, TFarSetDlg>(*this, DefaultRequestPath(), WriteAngleGainTable);
}

void TMainWnd::EleBtnClick() {
    // The cut goes into the newest row: only while it is of this antenna.
    if (JobDef.Busy || RefuseResultsOfAFile() || !PatternOfThisAntenna(ResultUse::ComputeFrom)) return;
    const double current = RoundTo(Results.CutElevation, 2);
    std::string text = DblToStr(current);
    double value = 0.0;
    if (CurrentPrompter().NumberQuery("KORVA-TEZ", ElevationPrompt, text, value) &&
        value != current && value >= 0.0 && value <= 90.0) {
        // A failed cut leaves the results as they were shown.
        const auto saved = std::make_unique<CResult>(Results);
        try {
            WaitCursor hourglass;
            Results.CutElevation = static_cast<float>(value);
            JobDef.Interactive = 0;
            CalcFarFieldAtElevation();
            PatternMaxGain = Results.GainMax;
            // The cut's gain and F/B went into the newest row.
            Grid1->Invalidate();
        } catch (const std::exception& e) {
            Results = *saved;
            ErrorBox("%s", e.what());
        }
        RedrawPlots();
    }
    UpdatePlotCursor();
}

void TMainWnd::ConnectResultTables() {
    const WhileBusy busy = WhileBusy::Runs;  // the commands check the state themselves
    ConnectGuardedCommand(KC2, [this] { KC2Click(); }, busy);
    ConnectGuardedCommand(K31, [this] { K31Click(); }, busy);
    ConnectGuardedCommand(K32, [this] { K32Click(); }, busy);
    ConnectGuardedCommand(KC1, [this] { KC1Click(); }, busy);
    ConnectGuardedCommand(EleBtn, [this] { EleBtnClick(); }, busy);
}
