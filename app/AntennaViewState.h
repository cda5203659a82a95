#pragma once
// State of the antenna view and of the far-field plots held by the main
// window for its life: mouse and key flags and the selected wire's middle.
#include "draw/PanelPart.h"
#include "draw/Projection.h"

#include <QPoint>
#include <vector>

struct AntennaViewState {
    QPoint DragStart;       // where the left drag began
    QPoint Previous;        // last position of a rotating drag
    QPoint PanAtStart;      // pan (pixels) when a panning drag began
    bool LeftDrag = false;
    bool PanMode = false;   // the drag moves the picture instead of turning it
    bool Modifier = false;  // Ctrl or Shift held
    bool RightHeld = false;
    bool Moved = false;     // the pointer left the press position: no pick on release
    bool DoubleClicked = false;
    bool FarButtonHeld = false;
    bool ReadoutActive = false;
    bool Drawing = false;   // a redraw is under way
    ViewPoint WireCentre;   // middle of the selected wire, or of the antenna
    std::vector<PanelPart> Parts;  // legend, wire block and stack label as last drawn
};
