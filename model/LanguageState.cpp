#include "model/LanguageState.h"

int LanguageIndex = -1;
std::string LanguageText;
