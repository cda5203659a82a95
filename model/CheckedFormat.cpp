#include "model/CheckedFormat.h"

#include "model/NumberText.h"

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

// vsnprintf into a string.
std::string FormatPiece(const char* format, va_list args) {
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (n <= 0) return {};
    std::vector<char> buf(static_cast<std::size_t>(n) + 1);
    std::vsnprintf(buf.data(), buf.size(), format, args);
    return std::string(buf.data(), static_cast<std::size_t>(n));
}

std::string Piece(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string out = FormatPiece(format, args);
    va_end(args);
    return out;
}

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
    std::string out;
    std::string kinds;
    if (!ScanKinds(format, kinds)) {
        // Not one of the program's formats: written as it stands.
        out = FormatPiece(format, args);
        va_end(args);
        return out;
    }
    // One conversion at a time, so that a floating value that rounds to zero
    // is written as the zero it shows ("0.0", not "-0.0").
    std::size_t kind = 0;
    const char* literal = format;
    for (const char* p = format; *p; ++p) {
        if (*p != '%') continue;
        out.append(literal, p);
        if (p[1] == '%') {
            out += '%';
            literal = ++p + 1;
            continue;
        }
        const char* end = p + 1;
        while (!std::strchr("diuxXocfFeEgGs", *end)) ++end;
        const std::string conversion(p, end + 1);
        switch (kinds[kind++]) {
            case 'i': out += Piece(conversion.c_str(), va_arg(args, int)); break;
            case 's': out += Piece(conversion.c_str(), va_arg(args, const char*)); break;
            default: {
                const double v = va_arg(args, double);
                std::string text = Piece(conversion.c_str(), v);
                out += IsNegativeZeroText(text) ? Piece(conversion.c_str(), 0.0) : text;
            }
        }
        p = end;
        literal = end + 1;
    }
    out += literal;
    va_end(args);
    return out;
}
