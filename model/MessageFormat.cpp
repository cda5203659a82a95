#include "model/MessageFormat.h"

std::string FormatMessageArg(const char* pattern, const std::string& argument) {
    std::string out;
    if (!pattern)
        return out;
    bool argumentUsed = false;
    for (const char* p = pattern; *p; ++p) {
        if (p[0] == '%' && p[1] == '%') {
            out += '%';
            ++p;
        } else if (p[0] == '%' && p[1] == 's' && !argumentUsed) {
            out += argument;
            argumentUsed = true;
            ++p;
        } else {
            out += *p;
        }
    }
    return out;
}
