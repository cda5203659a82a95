#pragma once
// Drawing texts may come from a language file and are used as printf-style
// formats. A format is used only when its conversions match the arguments the
// caller passes; anything else is shown as plain text, so a translated text can
// never read arguments that are not there.
#include <string>

// The conversions a format must hold, one letter per argument in order:
// 'i' an int (d i u x X o c), 'f' a double (f F e E g G), 's' a C string.
// True when the format holds exactly these conversions ("%%" aside) and no
// '*' widths or length modifiers other than "l" before a floating conversion.
bool FormatFits(const char* format, const char* kinds);

// printf-style formatting into a std::string; the caller has checked the format.
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

// A label with one int argument: formatted when it holds exactly one int
// conversion, else the label's own text followed by a blank and the number.
std::string LabelWithInt(const char* label, int value);
// The label shown as plain text ("%%" becomes "%").
std::string PlainLabel(const char* label);
