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

} // namespace

bool TMainWnd::SaveFarFieldFile(const QString& name) {
    // The file carries the user's comment: the antenna saved from it later
    // must not lose it.
    std::string error;
    if (::SaveFarFieldFile(LocalPath(name), Ant, TakeModelEnvFields(EnvDef), Comment, Results, &error) ==
             FarFieldStatus::Ok)
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

    NewAntDef();
    Ant = *contents.Ant;
    Ant.Edited = 0;
    ApplyModelEnvFields(contents.Env, EnvDef);
    Comment = contents.Comment;
    // A later Save writes an antenna text file beside the far-field file.
    FileName = WithExtension(name, ".kva");

    SetAntDef();
    // The results are of the calculation frequency the file holds.
    ShowCalcFreq();
    JobDef.Interactive = 1;
    PrepareCalcAnt();
    Results = *contents.Results;
    // The file's results are taken as computed from the antenna it holds,
    // in the settings of now.
    Origin.Computed();
    PatternMaxGain = Results.GainMax;

    AllViewBtnClick();
    RefreshAll();
    MarkAntennaUnchanged();
    return true;
}

void TMainWnd::K11Click() {
    if (!Results.HasFarField || !ResultsBelongToAntenna())
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
    ResultsShown = true;
    WaveSel->SetItemIndex(3);
    JobDef.WaveSel = 3;
    PageChange();
}
