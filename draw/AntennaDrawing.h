#pragma once
// The antenna projection: axes, wires with their taper joints, the engine's
// segment points, source and load marks and the current distribution, drawn
// on a canvas in the parallel projection of a ViewTransform.
#include "model/AntDef.h"
#include "draw/Projection.h"

class Canvas;

// Clears the whole canvas to white and draws the X (magenta), Y (blue) and
// Z (green) axes with fixed pixel lengths and their letters.
void DrawAntennaView(Canvas& c, const ViewTransform& t);
// Every wire as a black line; the selected wire (0-based, -1 none) one pixel
// wider; blue squares at the section joints of tapered wires.
void DrawWireThickness(const AntDef& ant, Canvas& c, const ViewTransform& t, int selected, int penWidth);
// A green X at every point of the engine's point table.
void DrawPulseMarks(const AntDef& ant, Canvas& c, const ViewTransform& t);
// Point index of a pulse in the engine's point table.
int PieceOfPulse(const AntDef& ant, int pulse);
// Circles at the sources and crosses at the loads, in the current pen colour.
void DrawCircleMarks(const AntDef& ant, Canvas& c, const ViewTransform& t, int penWidth);
void DrawCrossMarks(const AntDef& ant, Canvas& c, const ViewTransform& t, int penWidth);
// The current distribution: a polyline standing off every wire by the scaled
// current, red along Y for vertical wires and blue along Z for the others.
void DrawPulseLines(const AntDef& ant, Canvas& c, const ViewTransform& t, double currentScale);
