#pragma once
// JPEG pictures of the antenna view and the 3D view, coded by libjpeg.
#include <string>

class QImage;

// Quality of pictures saved without a choice.
constexpr int DefaultJpegQuality = 90;

// Writes the image as a baseline JPEG. The file is written beside the target
// and renamed over it, so a failure (reported as false) keeps any old file.
bool WriteJpeg(const QImage& image, const std::string& path, int quality = DefaultJpegQuality);
