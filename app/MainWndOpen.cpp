// Reading an antenna file into the window, and opening the files named on
// the command line by their extension.
#include "platform/FilePaths.h"
#include "app/MainWnd.h"
#include "model/AntennaText.h"
#include "model/EnvDef.h"
#include "model/MessageFormat.h"
#include "model/ModelImage.h"
#include "model/AntennaNormalForm.h"
#include "model/Messages.h"
#include "model/RecentFiles.h"
#include "model/ResultStore.h"
#include "model/SafeFile.h"
#include "platform/Prompter.h"

#include <QRadioButton>
#include <QSpinBox>
#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

namespace {

// No antenna text comes near this; a larger file is not one.
constexpr std::size_t MaxAntennaFileSize = 16u << 20;

// A file without a single visible character holds no antenna.
bool IsBlankText(const std::vector<uint8_t>& bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](uint8_t c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == 0x1A;
    });
}

void ReportMessage(int index, const QString& name) {
    ErrorBox("%s", FormatMessageArg(MainMessages[index], name.toStdString()).c_str());
}

} // namespace

int TMainWnd::OpenAntFile(const QString& name) {
    const QFileInfo info(name);
    if (!info.exists() || info.isDir()) {
        ReportMessage(MsgCanNotLoad, name);
        return 0;
    }
    std::vector<uint8_t> bytes;
    switch (ReadWholeFile(LocalPath(name), bytes, MaxAntennaFileSize)) {
    case ReadFileStatus::Ok:
        break;
    case ReadFileStatus::TooLarge:
        ReportMessage(MsgInvalidFormat, name);
        return 0;
    case ReadFileStatus::Failed:
        ShowMessage("Can not open " + name.toStdString());
        return 0;
    }
    if (IsBlankText(bytes)) {
        ShowMessage("File " + name.toStdString() + " is empty");
        return 0;
    }
    // A file cut short, or with fewer records than its counts, would load as
    // another antenna: it is refused before anything changes.
    std::string refusal;
    if (!ReadNewAntenna(std::string(bytes.begin(), bytes.end()), &refusal)) {
        ReportInvalidFile(name, refusal);
        return 0;
    }
    FileName = name;
    SetAntDef();

    JobDef.Interactive = 1;
    PrepareCalcAnt();
    Results.ClearSweep();
    Ant.Edited = 0;

    SelWirSpEd->setValue(0);
    AllViewBtnClick();
    RefreshAll();
    MarkAntennaUnchanged();
    // The view turns about the middle of the new antenna.
    {
        const QSignalBlocker block(FullWRb);
        FullWRb->setChecked(true);
    }
    FullWRbClick(true);
    return 1;
}

void TMainWnd::ReportInvalidFile(const QString& name, const std::string& reason) {
    const std::string text = FormatMessageArg(MainMessages[MsgInvalidFormat], name.toStdString());
    ErrorBox("%s", (reason.empty() ? text : text + "\n" + reason).c_str());
}

bool TMainWnd::ReadNewAntenna(const std::string& text, std::string* refusal) {
    auto read = std::make_unique<AntDef>();
    EnvRec env = EnvDef;
    std::string comment;
    std::string faultyLine;
    if (!ReadAntennaFile(text, *read, env, comment, &faultyLine)) {
        if (refusal) *refusal = faultyLine.empty() ? ReadRefusalReason(*read) : faultyLine;
        return false;
    }
    TakeReadAntenna(*read, TakeModelEnvFields(env));
    Comment = std::move(comment);
    return true;
}

void TMainWnd::OpenFileByExt(const QString& name) {
    const QString path = QFileInfo(name).absoluteFilePath();
    const std::string kind = LowerExtension(LocalPath(path));
    if (kind == ".kva") {
        AddRecentFile(path, OpenAntFile(path) != 0);
    } else if (kind == ".kvb") {
        const bool ok = OpenFarFieldFile(path);
        if (!JobDef.OnlyKVA)
            AddRecentFile(path, ok);
        if (ok)
            ShowOpenedFarField();
    } else if (kind == ".kvo") {
        if (OpenOptLogFile(path))
            AfterOptLogOpened(path);
        else if (!JobDef.OnlyKVA)
            AddRecentFile(path, false);
    }
}
