// "Save image": the antenna view, exactly as last drawn, as a JPEG or BMP file.
#include "app/FilePaths.h"
#include "app/MainWnd.h"
#include "app/PictureName.h"
#include "platform/PictureFile.h"
#include "platform/Prompter.h"

#include <QFileInfo>

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
    const PictureFormat format = filter == 1 ? PictureFormat::Bmp : PictureFormat::Jpeg;
    const QString name = FromLocalPath(PictureFileName(chosen, format));
    // The dialog asked about the name as typed; a name the rule changed is
    // asked about here before an existing file is replaced.
    if (name != FromLocalPath(chosen) && QFileInfo::exists(name) &&
        YesNoBox("%s already exists.\nDo you want to replace it?", name.toUtf8().constData()) != BoxYes)
        return;
    std::string error;
    if (IsReadOnlyFile(name))
        error = "the file is read-only";
    else if (WritePicture(ViewBitmap, LocalPath(name), format, &error))
        return;
    ReportCannotSave(name, error);
}
