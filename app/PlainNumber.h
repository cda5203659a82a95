#pragma once
// The plain number conversions of the main window's own fields (design and
// calculation frequency, DM1, DM2, EC, SC, added height): a whole text that is
// one decimal number, '.' as separator, independent of the C locale. Unlike
// the expression evaluator they take no operators or unit tokens.
#include <string>
#include <string_view>

// True when the text (blanks around it ignored) is one finite decimal number;
// "inf", "nan" and hexadecimal forms are refused.
bool ParsePlainDouble(std::string_view text, double& value);
// True when the text is one decimal integer in the int range.
bool ParsePlainInt(std::string_view text, int& value);
// Shortest text of a double with up to 15 significant digits, '.' decimals.
std::string ShortestFloat(double v);
