#include "platform/PictureName.h"

#include "platform/SaveName.h"

std::string PictureFileName(const std::string& chosen, PictureFormat format) {
    // Only the file name is folded: the folders of a case-sensitive file
    // system must stay as the user chose them.
    const std::size_t slash = chosen.find_last_of('/');
    const std::size_t start = slash == std::string::npos ? 0 : slash + 1;
    std::string name = chosen;
    for (std::size_t i = start; i < name.size(); ++i)
        if (name[i] >= 'A' && name[i] <= 'Z') name[i] = static_cast<char>(name[i] - 'A' + 'a');
    return WithOwnExtension(name, format == PictureFormat::Bmp ? ".bmp" : ".jpg");
}
