#include "platform/PictureSave.h"

#include "platform/FilePaths.h"
#include "platform/PictureName.h"
#include "platform/PictureFile.h"

bool SaveChosenPicture(const QImage& image, const std::string& chosen, int filter) {
    const PictureFormat format = filter == 1 ? PictureFormat::Bmp : PictureFormat::Jpeg;
    const QString name = FromLocalPath(PictureFileName(chosen, format));
    // The dialog asked about the name as typed; a name the rule changed is
    // asked about here before an existing file is replaced.
    if (name != FromLocalPath(chosen) && QFileInfo::exists(name) &&
        YesNoBox("%s already exists.\nDo you want to replace it?", name.toUtf8().constData()) != BoxYes)
        return false;
    std::string error;
    if (WritePicture(image, LocalPath(name), format, &error))
        return true;
    ReportCannotSave(name, error);
    return false;
}
