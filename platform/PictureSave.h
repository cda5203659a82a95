#pragma once
// Writing a picture under the name chosen in a save dialog whose filter is
// "*.jpg" (entry 0) or "*.bmp" (entry 1).
#include <QImage>
#include <string>

// The name is completed by PictureFileName; a completed name that already
// exists is asked about, a read-only file is refused, and a failure is
// reported. True when the picture was written.
bool SaveChosenPicture(const QImage& image, const std::string& chosen, int filter);
