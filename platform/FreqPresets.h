#pragma once
// The preset frequencies offered by every frequency box of the program.
#include <QStringList>

constexpr int FreqPresetCount = 30;
// The presets in MHz, as the boxes show them.
extern const char* const FreqPresets[FreqPresetCount];
QStringList FreqPresetList();
