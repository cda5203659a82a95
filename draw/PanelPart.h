#pragma once
// A named part of a drawn panel (a plot, a block of text) and the pixels it
// covers, so that a check can see that the parts stay inside their panel and
// apart.
#include "model/ScreenClip.h"

struct PanelPart {
    const char* Name = "";
    ScreenRect Box;  // edges included
};
