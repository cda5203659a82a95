#include "draw/LabelFormat.h"

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
    if (FormatMatchesKinds(label, "i")) return FormatInCLocale(label, value);
    std::string out = PlainLabel(label);
    if (!out.empty() && out.back() != ' ') out += ' ';
    return out + std::to_string(value);
}
