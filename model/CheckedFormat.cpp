#include "model/CheckedFormat.h"

#include <clocale>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <locale.h>
#include <vector>

namespace {

// The program's own texts use fields of at most 40 characters; a wider field
// or precision in a translation would make every message it writes huge.
constexpr int MaxFieldWidth = 99;

// Skips the digits of a field width or precision; false when they say more
// than MaxFieldWidth.
bool SkipFieldNumber(const char*& p) {
    int value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + (*p - '0');
        if (value > MaxFieldWidth) return false;
    }
    return true;
}

// The conversion kinds of a format; false on a conversion no caller passes.
bool ScanKinds(const char* format, std::string& kinds) {
    for (const char* p = format; *p; ++p) {
        if (*p != '%') continue;
        ++p;
        if (*p == '%') continue;
        while (*p && std::strchr("-+ #0", *p)) ++p;
        if (!SkipFieldNumber(p)) return false;
        if (*p == '.') {
            ++p;
            if (!SkipFieldNumber(p)) return false;
        }
        const bool longModifier = *p == 'l';
        if (longModifier) ++p;
        if (*p != '\0' && std::strchr("diuxXoc", *p) && !longModifier) kinds += 'i';
        else if (*p != '\0' && std::strchr("fFeEgG", *p)) kinds += 'f';
        else if (*p == 's' && !longModifier) kinds += 's';
        else return false;
    }
    return true;
}

// Switches this thread to the "C" conventions while it lives.
class CNumericScope {
public:
    CNumericScope() {
        static locale_t cLocale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
        previous_ = cLocale ? uselocale(cLocale) : static_cast<locale_t>(nullptr);
    }
    ~CNumericScope() {
        if (previous_) uselocale(previous_);
    }
    CNumericScope(const CNumericScope&) = delete;
    CNumericScope& operator=(const CNumericScope&) = delete;

private:
    locale_t previous_;
};

}  // namespace

bool FormatMatchesKinds(const char* format, const char* kinds) {
    if (!format) return false;
    std::string found;
    return ScanKinds(format, found) && found == (kinds ? kinds : "");
}

std::string FormatInCLocale(const char* format, ...) {
    CNumericScope scope;
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::string out;
    if (n > 0) {
        std::vector<char> buf(static_cast<std::size_t>(n) + 1);
        std::vsnprintf(buf.data(), buf.size(), format, args);
        out.assign(buf.data(), static_cast<std::size_t>(n));
    }
    va_end(args);
    return out;
}
