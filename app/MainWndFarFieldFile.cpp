// The far-field file commands: a calculated antenna kept together with its
// results (*.kvb), so that plots and tables can be shown again without a
// calculation.
#include "platform/FilePaths.h"
#include "app/MainWnd.h"
#include "model/AntDef.h"
#include "model/EnvDef.h"
#include "model/FarFieldFile.h"
#include "model/MessageFormat.h"
#include "model/AntennaNormalForm.h"
#include "model/Messages.h"
#include "model/ResultStore.h"
#include "draw/PolarPlot.h"
#include "platform/Prompter.h"
#include "platform/RadioGroup.h"

#include <memory>

namespace {

const char* const FarFieldFilter = "KORVA-TEZ FF file(*.kvb)";
const char* const FarFieldFileResultsRefused =
    "These results were read from a far-field file, which does not keep the ground media, radials, pulse "
    "limit or wire material they were computed with, so nothing computed now is added to them. Start "
    "computes them anew in the present settings; a new cut, the 3D view and the sweep plots can then use "
    "them.";

} // namespace

bool TMainWnd::SaveFarFieldFile(const QString& name) {
    // The file carries the user's comment: the antenna saved from it later
    // must not lose it.
    std::string error;
    // A sweep table of another state is no part of these results.
    std::unique_ptr<CResult> kept;
    if (!ResultsBelongToAntenna(ResultHolder::Sweep, ResultUse::Show)) {
        kept = std::make_unique<CResult>(Results);
        kept->ClearSweep();
    }
    if (::SaveFarFieldFile(LocalPath(name), Ant, TakeModelEnvFields(EnvDef), Comment, kept ? *kept : Results,
                           &error) == FarFieldStatus::Ok)
        return true;
    ReportCannotSave(name, error);
    return false;
}

bool TMainWnd::OpenFarFieldFile(const QString& name) {
    // The whole file is read and checked before anything of the current
    // antenna or results is replaced.
    FarFieldContents contents;
    contents.Ant = std::make_unique<AntDef>();
    contents.Env = TakeModelEnvFields(EnvDef);
    // The rows stay; a file without a far field shows no pattern or sweep of
    // the antenna it replaces.
    contents.Results = std::make_unique<CResult>(Results);
    contents.Results->HasFarField = 0;
    contents.Results->AngleStep = 0;
    contents.Results->ClearSweep();
    switch (::OpenFarFieldFile(LocalPath(name), contents)) {
    case FarFieldStatus::Ok:
        break;
    case FarFieldStatus::CannotOpen:
    case FarFieldStatus::CannotSave:
        ErrorBox("%s", FormatMessageArg(MainMessages[MsgCanNotLoad], name.toStdString()).c_str());
        return false;
    case FarFieldStatus::InvalidFormat:
        ReportInvalidFile(name, ReadRefusalReason(*contents.Ant));
        return false;
    }

    TakeReadAntenna(*contents.Ant, contents.Env);
    Ant.Edited = 0;
    Comment = contents.Comment;
    // A later Save writes an antenna text file beside the far-field file.
    FileName = WithExtension(name, ".kva");

    SetAntDef();
    // The results are of the calculation frequency the file holds.
    ShowCalcFreq();
    JobDef.Interactive = 1;
    PrepareCalcAnt();
    Results = *contents.Results;
    // The file holds the antenna and the calculation fields, not the ground
    // media, radials, pulse limit or wire material: its results are shown
    // and saved as they stand, never combined with a result computed now.
    CalculationFields fields;
    if (ReadCalculationFields(fields, nullptr)) {
        const uint64_t opened = CalculationFingerprint(Ant, fields, EnvDef, UserMaterialDef);
        Origin.Read(ResultHolder::Row, opened);
        Origin.Read(ResultHolder::Sweep, opened);
    } else {
        Origin.Forget();
    }
    PatternMaxGain = Results.GainMax;

    AllViewBtnClick();
    RefreshAll();
    MarkAntennaUnchanged();
    return true;
}

bool TMainWnd::RefuseResultsOfAFile() {
    if (!Origin.ReadFromFile(ResultHolder::Row) || !ResultsBelongToAntenna(ResultHolder::Row, ResultUse::Show))
        return false;
    CurrentPrompter().Message(FarFieldFileResultsRefused, "KORVA-TEZ", BoxIcon::Information, BoxButtons::Ok);
    return true;
}

void TMainWnd::K11Click() {
    if (!Results.HasFarField || !ResultsBelongToAntenna(ResultHolder::Row, ResultUse::Show))
        return;
    const std::string proposed = FileName.isEmpty() ? std::string("noname") : LocalPath(WithExtension(FileName, {}));
    const QString chosen = FromLocalPath(
        CurrentPrompter().SaveFileName(FileDialog("Save far field", FarFieldFilter, "kvb", ResFolder, proposed)));
    if (chosen.isEmpty() || !SaveFarFieldFile(chosen))
        return;
    ResFolder = FolderOf(chosen);
    if (!JobDef.OnlyKVA)
        AddRecentFile(chosen, true);
    AddRecentFile(FileName, true);
}

void TMainWnd::K12Click() {
    if (!QuerySave())
        return;
    const QString chosen =
        FromLocalPath(CurrentPrompter().OpenFileName(FileDialog("View far field", FarFieldFilter, "kvb", ResFolder)));
    if (chosen.isEmpty() || !OpenFarFieldFile(chosen))
        return;
    ResFolder = FolderOf(chosen);
    if (!JobDef.OnlyKVA)
        AddRecentFile(chosen, true);
    ShowOpenedFarField();
}

void TMainWnd::ShowOpenedFarField() {
    WaveSel->SetItemIndex(3);
    JobDef.WaveSel = 3;
    PageChange();
}
