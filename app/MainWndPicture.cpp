// "Save image": the antenna view, exactly as last drawn, as a JPEG or BMP file.
#include "platform/FilePaths.h"
#include "app/MainWnd.h"
#include "platform/PictureSave.h"
#include "platform/Prompter.h"

namespace {

// Entry 0 JPEG, entry 1 BMP.
const char* const PictureFilter = "*.jpg (*.jpg);;*.bmp (*.bmp)";

// The antenna file name without its extension, as the proposed picture name.
std::string ProposedPictureName(const QString& antennaFile) {
    if (antennaFile.isEmpty()) return {};
    return LocalPath(WithExtension(antennaFile, QString()));
}

}  // namespace

void TMainWnd::SavImBtnClick() {
    int filter = 0;
    FileDialogRequest request =
        FileDialog("Save image", PictureFilter, "", FileName.isEmpty() ? ResFolder : FolderOf(FileName),
                   ProposedPictureName(FileName));
    request.chosenFilter = &filter;
    const std::string chosen = CurrentPrompter().SaveFileName(request);
    if (chosen.empty()) return;
    SaveChosenPicture(ViewBitmap, chosen, filter);
}
