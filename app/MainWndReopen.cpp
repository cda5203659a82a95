// The recent-files list behind the Reopen submenu and reopening a listed
// file, with the save question first as for Open.
#include "platform/FilePaths.h"
#include "app/MainWnd.h"
#include "model/EnvDef.h"
#include "model/RecentFiles.h"
#include "platform/Prompter.h"
#include "platform/StringGrid.h"

void TMainWnd::AddRecentFile(const QString& name, bool ok) {
    Recent.Add(name.toStdString(), ok, JobDef.OnlyKVA != 0);
    ShowRecentFiles();
}

void TMainWnd::ReopenClick(int slot) {
    if (slot < 1 || slot > Recent.Count())
        return;
    const std::string entry = Recent.At(slot - 1);
    const QString name = QString::fromStdString(entry);
    if (!QFileInfo(name).isFile()) {
        ShowMessage("File " + entry + " not found");
        AddRecentFile(name, false);
        return;
    }
    const std::string kind = LowerExtension(entry);
    // Reopening replaces the antenna like Open does: unsaved edits are asked for.
    if (!QuerySave())
        return;
    if (kind == ".kvo") {
        if (OpenOptLogFile(name))
            AfterOptLogOpened(name);
    } else if (kind == ".kvb") {
        if (!OpenFarFieldFile(name))
            return;
        ResFolder = FolderOf(name);
        AddRecentFile(name, true);
        ShowOpenedFarField();
    } else {
        if (!OpenAntFile(name))
            return;
        AntFolder = FolderOf(name);
        AddRecentFile(name, true);
        Grid2->SetRow(1);
    }
}
