#pragma once
// The screen polar plots: the dB grid of the azimuth (full circle) and the
// elevation (upper half circle) plot and their curves. The radius law is
// logarithmic: a gain 10 dB below PatternMaxGain lies at 0.562 R.
#include "draw/PanelPart.h"
#include "platform/Canvas.h"

#include <vector>

// Gain in dBi at the outer ring of every screen plot.
extern double PatternMaxGain;
// Azimuth plot orientation, degrees: 0 puts azimuth 0 up, 90 puts it right.
extern int PatternOrient;
// (screen height / screen width) x 4/3, 1.0 until the main window measures the screen.
extern double ScreenAspect;
// Settings factor on the vertical coordinate of the screen plots.
extern double PatternHVScale;

// Where DrawPatternImage put the two plots; read by the cursor readout.
struct PatternGeometryRec {
    int AzCentreX = 0;
    int ElCentreX = 0;
    int CentreY = 0;
    int Radius = 0;
    // The two plots with their axis letters, and the summary lines.
    std::vector<PanelPart> Parts;
};
extern PatternGeometryRec PatternGeometry;
// The plot globals above as the program starts.
void ResetPatternState();

// Offset of a plot point from the plot centre: rho = R 10^(dB / 40),
// dx = round(sin(angle) rho), dy = round(-cos(angle) rho ScreenAspect PatternHVScale).
void PolarPoint(int& dx, int& dy, double angle, double dB, double R);

// Where the two plots lie with their ring labels and axis letters; the
// elevation plot's side letter reaches below its horizon.
struct PolarPlotBoxes {
    ScreenRect Azimuth;
    ScreenRect Elevation;
    ScreenRect ElevationSideLetter;
};

// The radius R made small enough that each plot with its axis letters keeps
// to its half of the panel (azimuth centre azCx, centre y cy), whatever the
// screen's shape (ScreenAspect stretches the plots) and the canvas font.
int FittedPlotRadius(Canvas& c, int R, int azCx, int cy);

// White background, rings, ring labels, radial dot lines and axis letters of both plots.
PolarPlotBoxes DrawPolarPattern(Canvas& c, int azCx, int cy, int elCx, double R);
// The azimuth curve of 360 / step values (closed), and the elevation curve of 180 / step + 1 values.
void DrawPolarGrid(const float* values, int step, Canvas& c, int cx, int cy, double R, WinColor colour);
void DrawPolarGridElev(const float* values, int step, Canvas& c, int cx, int cy, double R, WinColor colour);
