#pragma once
// Message patterns come from the message tables and so from language files:
// they are filled here without handing them to printf, so a stray '%' in a
// translation cannot read arguments that are not there.
#include <string>

// Replaces the first "%s" of the pattern by the argument and "%%" by "%";
// every other character, including any other '%' sequence, stays as it is.
std::string FormatMessageArg(const char* pattern, const std::string& argument);
