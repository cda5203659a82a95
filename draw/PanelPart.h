#pragma once
// A named part of a drawn panel (a plot, a block of text, a line of a
// picture) and the pixels it covers, so that a check can see that the parts
// stay inside their panel, blocks apart and no line across a block.
#include "model/ScreenClip.h"

struct PanelPart {
    const char* Name = "";
    ScreenRect Box;  // edges included
    // A line rather than a block: its ends in the panel's pixels (Box bounds
    // the pixels its pen covers). Lines may meet each other.
    bool IsLine = false;
    double X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
};
