// Reading an antenna file into the window, and opening the files named on
// the command line by their extension.
#include "app/MainWnd.h"
#include "model/AntennaText.h"
#include "model/EnvDef.h"
#include "model/MessageFormat.h"
#include "model/Messages.h"
#include "model/RecentFiles.h"
#include "model/ResultStore.h"
#include "platform/Prompter.h"

#include <QFile>
#include <QFileInfo>
#include <QRadioButton>

namespace {

// No antenna text comes near this; a larger file is not one.
constexpr qint64 MaxAntennaFileBytes = 16 * 1024 * 1024;

}  // namespace

int TMainWnd::OpenAntFile(const QString& name) {
    const std::string path = name.toStdString();
    const QFileInfo info(name);
    if (!info.exists() || !info.isFile()) {
        ErrorBox("%s", FormatMessageArg(MainMessages[MsgCanNotLoad], path).c_str());
        return 0;
    }
    QFile file(name);
    if (info.size() > MaxAntennaFileBytes || !file.open(QIODevice::ReadOnly)) {
        CurrentPrompter().Message("Can not open " + path, "KORVA-TEZ", BoxIcon::None, BoxButtons::Ok);
        return 0;
    }
    const QByteArray bytes = file.readAll();
    if (bytes.trimmed().isEmpty()) {
        CurrentPrompter().Message("File " + path + " is empty", "KORVA-TEZ", BoxIcon::None, BoxButtons::Ok);
        return 0;
    }
    NewAntDef();
    ParseAntennaText(Ant, EnvDef, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
                     Comment);
    SetAntDef();
    JobDef.Interactive = 1;
    PrepareCalcAnt();
    Results.ClearSweep();
    Ant.Edited = 0;
    FullWRb->setChecked(true);
    RefreshAll();
    Ant.Changed = 0;
    return 1;
}

void TMainWnd::OpenFileByExt(const QString& name) {
    const std::string path = name.toStdString();
    if (LowerExtension(path) == ".kva") {
        FileName = name;
        const bool ok = OpenAntFile(name) != 0;
        Recent.Add(path, ok, JobDef.OnlyKVA != 0);
        ShowRecentFiles();
        setWindowTitle(FileName);
    }
}
