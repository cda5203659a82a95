#pragma once
// Drawing labels that may come from a language file: used as formats only
// when their conversions fit (model/CheckedFormat.h), else shown as text with
// the value appended.
#include "model/CheckedFormat.h"

#include <string>

// A label with one int argument: formatted when it holds exactly one int
// conversion, else the label's own text followed by a blank and the number.
std::string LabelWithInt(const char* label, int value);
// The label shown as plain text ("%%" becomes "%").
std::string PlainLabel(const char* label);
