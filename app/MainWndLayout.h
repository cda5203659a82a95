#pragma once
// Design sizes and presets of the main window's layout.
#include "platform/FreqPresets.h"

// The window is designed at 780 x 544; fonts are 10 + offset points there.
constexpr int DesignWidth = 780;
constexpr int DesignHeight = 544;
// The tab pages at the design size; every control is recorded against it.
constexpr int DesignPageWidth = 776;
constexpr int DesignPageHeight = 456;

