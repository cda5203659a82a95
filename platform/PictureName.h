#pragma once
// The file name under which a picture of the antenna view is saved.
#include "platform/PictureFile.h"

#include <string>

// The chosen name with its file name (not its folder) in lower case, and
// ".jpg" or ".bmp" appended unless the file name already ends in it
// (WithOwnExtension).
std::string PictureFileName(const std::string& chosen, PictureFormat format);
