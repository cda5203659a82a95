#pragma once
// The far-field panel: both polar plots with the curves of the latest result
// and its summary lines, and the readout of angle and gain under the mouse.
#include <string>

class Canvas;

// What the readout shows: the plot centre, the marker on the curve and three lines.
struct PatternReadoutRec {
    bool Valid = false;
    int CentreX = 0, CentreY = 0;
    int MarkX = 0, MarkY = 0;
    double Gain = 0.0;
    std::string Lines[3];
};
PatternReadoutRec PatternReadout(int polarization, int mouseX, int mouseY, int azCx, int cy, int elCx,
                                 int imageWidth);

// Draws the whole panel on the canvas and records PatternGeometry; curves and
// summary only with showCurves and when the results store holds pattern cuts.
void DrawPatternImage(Canvas& c, bool showCurves);
// Readout for polarization 0 (vertical), 1 (horizontal) or 2 (total) at the
// mouse point: marker on the curve and three text lines at the top.
void PatternCursorText(Canvas& c, int polarization, int mouseX, int mouseY, int azCx, int cy, int elCx,
                       int imageWidth);
