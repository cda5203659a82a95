#include "platform/SaveName.h"

#include <algorithm>
#include <cctype>

std::string WithOwnExtension(const std::string& path, const std::string& extension) {
    if (path.empty() || extension.empty()) return path;
    const std::string dotted = extension[0] == '.' ? extension : "." + extension;
    const std::size_t slash = path.find_last_of('/');
    const std::size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t nameLength = path.size() - nameStart;
    auto sameLetter = [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    };
    if (nameLength > dotted.size() &&
        std::equal(dotted.begin(), dotted.end(), path.end() - static_cast<std::ptrdiff_t>(dotted.size()), sameLetter))
        return path;
    // A name typed with a final dot ("yagi.") means no extension of its own.
    if (path.back() == '.' && nameLength > 1) return path + dotted.substr(1);
    return path + dotted;
}
