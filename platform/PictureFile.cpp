#include "platform/PictureFile.h"

#include "model/SafeFile.h"
#include "platform/JpegWriter.h"

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageWriter>

namespace {

// The file a path names: the target of a symbolic link, so that the link
// is kept and the linked file is replaced.
std::string ResolvedTarget(const std::string& path) {
    const QFileInfo info(QFile::decodeName(path.c_str()));
    if (!info.isSymLink()) return path;
    const QString target = info.symLinkTarget();
    return target.isEmpty() ? path : QFile::encodeName(target).toStdString();
}

bool WriteBmp(const QImage& image, const std::string& path, std::string* error) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "BMP");
    if (!writer.write(image.convertToFormat(QImage::Format_RGB888))) {
        if (error) *error = writer.errorString().toStdString();
        return false;
    }
    buffer.close();
    return WriteFileReplacing(path, bytes.constData(), static_cast<std::size_t>(bytes.size()), error);
}

}  // namespace

bool WritePicture(const QImage& image, const std::string& path, PictureFormat format, std::string* error) {
    if (image.isNull()) {
        if (error) *error = "there is no picture";
        return false;
    }
    if (path.empty()) {
        if (error) *error = "no file name";
        return false;
    }
    const std::string target = ResolvedTarget(path);
    if (format == PictureFormat::Bmp) return WriteBmp(image, target, error);
    if (WriteJpeg(image, target)) return true;
    if (error) *error = "the JPEG file could not be written";
    return false;
}
