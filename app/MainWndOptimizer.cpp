// The main window's side of the optimizer state: its lifetime and the
// optimization log file commands (*.kvo), which keep the antenna together
// with the optimizer's rows, goals and evaluated points.
#include "platform/FilePaths.h"
#include "app/MainWnd.h"
#include "model/AntDef.h"
#include "model/EnvDef.h"
#include "model/AntennaNormalForm.h"
#include "model/ResultStore.h"
#include "model/TableRows.h"
#include "optimizer/OptLogFile.h"
#include "optimizer/OptimizerState.h"
#include "platform/Prompter.h"

#include <QAction>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

const char* const OptLogFilter = "KORVA-TEZ tab. opt. file(*.kvo)";

} // namespace

void TMainWnd::DestroyOptimizerState() {
    delete ACal;
    ACal = nullptr;
}

void TMainWnd::AdoptOptimizerState(CACal* state) {
    DestroyOptimizerState();
    ACal = state;
}

void TMainWnd::AttachOptimizer() {
    if (!ACal) return;
    AntIds.FitTo(Ant);
    // What the rows did when they were read since comes first.
    AddLogLines(ACal->TakeNotes());
    AddLogLines(ACal->Attach(Ant, EnvDef, &AntIds));
}

CACal& TMainWnd::OptimizerState() {
    if (!ACal) AdoptOptimizerState(new CACal);
    return *ACal;
}

bool TMainWnd::SaveOptLogFile(const QString& name) {
    if (!ACal) return false;
    // The rows are written as they follow the antenna that is written with them.
    AttachOptimizer();
    // The log is read at the design frequency: its antenna, band sources and
    // current goal are written at their points there, from copies; the
    // window's own stay as they are.
    const auto saved = std::make_unique<AntDef>(Ant);
    const std::unique_ptr<CACal> state = CopyOfLoggedState(*ACal);
    const std::vector<std::string> placed =
        Positions.PlaceForText(*saved, PositionsHeldBy(state.get()));
    // The file says whether the antenna is one of the logged points, so that
    // an antenna edited since the run, or read back at a frequency other
    // than its points', is not taken for theirs.
    const LogAntenna which = LogAntennaOf(*ACal, *saved, EnvDef, UserMaterialDef);
    std::string error;
    // A state that does not read back is refused by the save, with its reason.
    if (SaveOptLog(LocalPath(name), *saved, TakeModelEnvFields(EnvDef), Comment, state ? *state : *ACal, &error,
                   which) == OptLogStatus::Ok) {
        AddPositionLines(placed);
        return true;
    }
    ReportCannotSave(name, error);
    return false;
}

bool TMainWnd::OpenOptLogFile(const QString& name) {
    // The whole file is read and checked before the current antenna or
    // optimizer state is replaced.
    auto ant = std::make_unique<AntDef>();
    ModelEnvFields env = TakeModelEnvFields(EnvDef);
    std::string comment = Comment;
    auto state = std::make_unique<CACal>();
    std::string refusal;
    LogAntenna which = LogAntenna::Other;
    switch (OpenOptLog(LocalPath(name), *ant, env, comment, *state, nullptr, &refusal, &which)) {
    case OptLogStatus::Ok:
        break;
    case OptLogStatus::CannotOpen:
    case OptLogStatus::CannotSave:
        ShowMessage("Can not open " + name.toStdString());
        return false;
    case OptLogStatus::InvalidFormat:
        ReportInvalidFile(name, refusal.empty() ? ReadRefusalReason(*ant) : refusal);
        return false;
    }

    TakeReadAntenna(*ant, env);
    Comment = comment;
    FileName = WithExtension(name, ".kva");
    SetAntDef();
    JobDef.Interactive = 1;
    PrepareCalcAnt();
    Results.ClearSweep();
    Ant.Edited = 0;
    AdoptOptimizerState(state.release());
    AttachOptimizer();
    // The file keeps no state of its points; those at the values of the
    // antenna it names as theirs are of the antenna as read.
    if (const std::optional<uint64_t> now = StateNow(); now && which == LogAntenna::Logged) ACal->TakeLogAsOf(*now);
    // The log holds no far field: nothing is shown until the next calculation.
    Results.HasFarField = 0;
    Results.AngleStep = 0;
    AllViewBtnClick();
    RefreshAll();
    MarkAntennaUnchanged();
    return true;
}

void TMainWnd::AfterOptLogOpened(const QString& name) {
    ResFolder = FolderOf(name);
    if (!JobDef.OnlyKVA)
        AddRecentFile(name, true);
    AddRecentFile(FileName, true);
}

void TMainWnd::K19Click() {
    if (!QuerySave())
        return;
    const QString chosen = FromLocalPath(
        CurrentPrompter().OpenFileName(FileDialog("Open optimization log", OptLogFilter, "kvo", ResFolder)));
    if (chosen.isEmpty() || !OpenOptLogFile(chosen))
        return;
    AfterOptLogOpened(chosen);
}

void TMainWnd::K20Click() {
    if (!ACal)
        return;
    const std::string proposed = FileName.isEmpty() ? std::string("noname") : LocalPath(WithExtension(FileName, {}));
    const QString chosen = FromLocalPath(CurrentPrompter().SaveFileName(
        FileDialog("Save optimization log", OptLogFilter, "kvo", ResFolder, proposed)));
    if (chosen.isEmpty() || !SaveOptLogFile(chosen))
        return;
    ResFolder = FolderOf(chosen);
    if (!JobDef.OnlyKVA)
        AddRecentFile(chosen, true);
    AddRecentFile(FileName, true);
}

void TMainWnd::ConnectOptimizerCommands() {
    ConnectGuardedCommand(K19, [this] { K19Click(); });
    ConnectGuardedCommand(K20, [this] { K20Click(); });
    ConnectOptRunCommands();
}
