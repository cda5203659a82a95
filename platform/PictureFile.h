#pragma once
// Picture files of the program's views: JPEG (coded by libjpeg) or BMP.
#include <string>

class QImage;

enum class PictureFormat { Jpeg, Bmp };

// Writes the image to the path, replacing any file only when every byte is
// written, so a failure keeps the old file. A symbolic link keeps pointing at
// the picture. On a failure `error` says why.
bool WritePicture(const QImage& image, const std::string& path, PictureFormat format, std::string* error = nullptr);
