// The antenna file commands New, Open, Save and Save as, the save question
// that every command replacing the antenna asks first, the writer of antenna
// text files, and the wiring of the File menu's file commands.
#include "platform/FilePaths.h"
#include "app/MainWnd.h"
#include "model/AntennaText.h"
#include "model/CalculationFields.h"
#include "model/EnvDef.h"
#include "model/Messages.h"
#include "model/ResultStore.h"
#include "model/SaveReadBack.h"
#include "platform/Prompter.h"
#include "platform/StringGrid.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <exception>
#include <memory>

namespace {

const char* const AntennaFilter = "KORVA-TEZ (*.kva)";

} // namespace

std::string TMainWnd::TextASaveWrites() const {
    CalculationFields fields;
    // A field that does not read holds an edit no save can write yet.
    if (!ReadCalculationFields(fields, nullptr))
        return {};
    const auto ant = std::make_unique<AntDef>(Ant);
    EnvRec env = EnvDef;
    TakeFieldsInto(fields, *ant, env);
    (void)Positions.PlaceForText(*ant);
    return WriteAntennaText(*ant, env, Comment);
}

// What a save would write decides: an edit undone, or a dialog accepted with
// nothing changed, leaves nothing to ask about.
bool TMainWnd::AntennaChanged() const { return TextASaveWrites() != UnchangedText; }

void TMainWnd::MarkAntennaUnchanged() {
    Ant.Changed = 0;
    UnchangedText = TextASaveWrites();
}

bool TMainWnd::QuerySave() {
    // A cell still being typed into is an edit too: it is taken first, so it
    // is asked for and never lands in the antenna that replaces this one.
    for (StringGrid* g : {Grid2, Grid3, Grid4})
        g->CloseEditor();
    if (Ant.WireCount < 1 || !AntennaChanged())
        return true;
    const int answer = CurrentPrompter().Message(MainMessages[MsgFileModified], "Korva", BoxIcon::Question,
                                                 BoxButtons::YesNoCancel);
    if (answer == BoxYes)
        return K4Click();  // a failed or cancelled save keeps the edits and the window
    // No gives the edits up for the antenna that replaces this one, which
    // clears the flag itself; a replacement that fails or is cancelled keeps
    // the edits on screen, and they stay marked.
    if (answer == BoxNo)
        return true;
    return false;
}

bool TMainWnd::SaveAntFile(const QString& name) {
    // The open cell and the edit fields are taken first; a field that does
    // not read has been reported and nothing is written.
    for (StringGrid* g : {Grid2, Grid3, Grid4})
        g->CloseEditor();
    if (!GetAntDef())
        return false;
    // The file keeps the positions where the antenna has them: a change of
    // what lays the pulses out, not settled yet, is settled first. The file
    // is read at the design frequency: its positions are those of the same
    // points there, the window's own stay as they are.
    SettlePositions();
    const auto saved = std::make_unique<AntDef>(Ant);
    const std::vector<std::string> placed = Positions.PlaceForText(*saved);
    const std::string text = WriteAntennaText(*saved, EnvDef, Comment);
    if (text.empty())
        return false;
    // A text that would open as another antenna, or not at all, never
    // replaces the user's file.
    std::string error;
    if (WriteCheckedAntennaText(LocalPath(name), text, *saved, EnvDef, Comment, &error)) {
        AddPositionLines(placed);
        return true;
    }
    ReportCannotSave(name, error);
    return false;
}

void TMainWnd::K2Click() {
    if (!QuerySave())
        return;
    SelWirSpEd->setValue(0);
    FileName.clear();
    NewAntDef();
    Results.HasFarField = 0;
    RefreshAll();
}

void TMainWnd::K3Click() {
    if (!QuerySave())
        return;
    const QString chosen = FromLocalPath(
        CurrentPrompter().OpenFileName(FileDialog("Open antenna files", AntennaFilter, "kva", AntFolder)));
    if (chosen.isEmpty())
        return;
    // The file name changes only with a successful read, so a failed open
    // leaves the antenna under the name it was saved as.
    if (!OpenAntFile(chosen))
        return;
    AntFolder = FolderOf(chosen);
    AddRecentFile(FileName, true);
    EleBtn->setEnabled(false);
    Btn3D->setEnabled(false);
    DNImage->unsetCursor();
}

bool TMainWnd::K4Click() {
    if (FileName.isEmpty())
        return K5Click();
    if (!SaveAntFile(FileName))
        return false;
    AddRecentFile(FileName, true);
    MarkAntennaUnchanged();
    return true;
}

bool TMainWnd::K5Click() {
    const QString chosen = FromLocalPath(CurrentPrompter().SaveFileName(
        FileDialog("Save antenna files", AntennaFilter, "kva", AntFolder, LocalPath(FileName))));
    if (chosen.isEmpty() || !SaveAntFile(chosen))
        return false;
    FileName = chosen;
    setWindowTitle(FileName);
    AntFolder = FolderOf(chosen);
    AddRecentFile(FileName, true);
    MarkAntennaUnchanged();
    return true;
}

void TMainWnd::ConnectFileCommands() {
    auto on = [this](QAction* action, std::function<void()> command) { ConnectGuardedCommand(action, command); };
    on(K2, [this] { K2Click(); });
    on(ToolButton2, [this] { K2Click(); });
    on(K3, [this] { K3Click(); });
    on(ToolButton4, [this] { K3Click(); });
    on(K4, [this] { K4Click(); });
    on(K5, [this] { K5Click(); });
    on(ToolButton6, [this] { K5Click(); });
    on(K11, [this] { K11Click(); });
    on(K12, [this] { K12Click(); });
    for (int i = 0; i < 10; ++i)
        on(ReopenItems[i], [this, i] { ReopenClick(i + 1); });
}
