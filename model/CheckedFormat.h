#pragma once
// printf-style formats that come from language files. A translated text is
// used as a format only when its conversions match the arguments the caller
// passes, so it can never read arguments that are not there; numbers are
// written with '.' whatever the C locale.
#include <string>

// True when the format holds exactly the conversions of `kinds`, one letter
// per argument in order ('i' an int: d i u x X o c; 'f' a double: f F e E g
// G; 's' a C string), "%%" aside, with no '*' widths, no width or precision
// above 99 and no length modifier but an "l" before a floating conversion.
bool FormatMatchesKinds(const char* format, const char* kinds);

// printf-style formatting with the "C" numeric conventions; the caller has
// checked the format.
std::string FormatInCLocale(const char* format, ...) __attribute__((format(printf, 1, 2)));
