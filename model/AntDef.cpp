#include "model/AntDef.h"

#include <cstring>

void CopyText(char* dest, std::size_t destSize, const char* src) {
    if (destSize == 0) return;
    if (!src) src = "";
    std::size_t n = std::strlen(src);
    if (n >= destSize) n = destSize - 1;
    std::memcpy(dest, src, n);
    std::memset(dest + n, 0, destSize - n);
}
