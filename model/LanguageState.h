#pragma once
// The active language: its index in the language list (-1 for none; kept in
// the settings file) and the whole text of its file while one is loaded.
#include <string>

extern int LanguageIndex;
extern std::string LanguageText;
