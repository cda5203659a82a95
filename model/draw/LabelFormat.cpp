#include "model/draw/LabelFormat.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// Reads the conversions of a format into kind letters; false on any
// conversion the drawing code never passes.
bool ScanFormat(const char* format, std::string& kinds) {
    kinds.clear();
    if (!format) return true;
    for (const char* p = format; *p; ++p) {
        if (*p != '%') continue;
        ++p;
        if (*p == '%') continue;
        while (*p && std::strchr("-+ #0", *p)) ++p;
        while (*p >= '0' && *p <= '9') ++p;
        if (*p == '.') {
            ++p;
            while (*p >= '0' && *p <= '9') ++p;
        }
        bool longMod = false;
        if (*p == 'l') {
            longMod = true;
            ++p;
        }
        if (!*p) return false;
        if (std::strchr("diuxXoc", *p) && !longMod)
            kinds += 'i';
        else if (std::strchr("fFeEgG", *p))
            kinds += 'f';
        else if (*p == 's' && !longMod)
            kinds += 's';
        else
            return false;
    }
    return true;
}

}  // namespace

bool FormatFits(const char* format, const char* kinds) {
    std::string found;
    return format && ScanFormat(format, found) && found == (kinds ? kinds : "");
}

std::string FormatText(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string out;
    if (n > 0) {
        std::vector<char> buf(static_cast<size_t>(n) + 1);
        std::vsnprintf(buf.data(), buf.size(), format, args);
        out.assign(buf.data(), static_cast<size_t>(n));
    }
    va_end(args);
    return out;
}

std::string PlainLabel(const char* label) {
    std::string out;
    if (!label) return out;
    for (const char* p = label; *p; ++p) {
        out += *p;
        if (p[0] == '%' && p[1] == '%') ++p;
    }
    return out;
}

std::string LabelWithInt(const char* label, int value) {
    if (FormatFits(label, "i")) return FormatText(label, value);
    std::string out = PlainLabel(label);
    if (!out.empty() && out.back() != ' ') out += ' ';
    return out + std::to_string(value);
}
