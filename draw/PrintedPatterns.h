#pragma once
// The pattern plots of a printed page: the azimuth pattern as a full circle
// (CDrawPtnH) and the elevation pattern as an upper half circle (CDrawPtnV).
// Each fits the largest plot into a rectangle of the page and uses the
// logarithmic radius law of the screen plots, without the screen's aspect
// correction: a gain 10 dB below MaxGain lies at 0.562 R.
#include "platform/Canvas.h"

#include <cstdint>

// What both plots keep; plain data, no virtual operations.
class CDrawPtnBase {
public:
    // Bounding box of the full circle: (CX - R, CY - R, CX + R + 1, CY + R + 1).
    int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
    int32_t CX = 0, CY = 0;
    int32_t Radius = 0;             // radius of the 0 dB ring, device pixels
    ::Canvas* Canvas = nullptr;     // the page, not owned
    double MaxGain = 0.0;           // dBi on the 0 dB ring
    // 0: grid in black line pieces; else a silver frame and rings and ticks
    // as single pixels of this colour.
    int32_t GridColour = static_cast<int32_t>(ClGray);

    // Stores the canvas and fits the plot into the rectangle, centred.
    void SetArea(::Canvas* canvas, int x1, int y1, int x2, int y2);

protected:
    // Distance from the centre for a value dB below MaxGain: R 10^(dB / 40).
    double RadiusAt(double dB) const;
};

class CDrawPtnH : public CDrawPtnBase {
public:
    // Azimuth 0 at the top, 90 degrees to the left.
    void PolarPoint(int& x, int& y, double angle, double dB) const;
    // White disc, rings, labels and ticks every `step` degrees around the circle.
    void DrawGrid(int step);
    void DrawRings(double angle, int a);
    // The closed curve of the 360 / step values of an azimuth cut.
    void DrawCurve(const float* values, int step, WinColor colour);
};

class CDrawPtnV : public CDrawPtnBase {
public:
    // Angle 90 degrees is the rear horizon (left), 180 the zenith, 270 the front horizon.
    void PolarPoint(int& x, int& y, double angle, double dB) const;
    // White upper half disc, rings, labels and ticks every `step` degrees over it.
    void DrawGrid(int step);
    void DrawRings(double angle, int a);
    // The curve of the 180 / step + 1 values of an elevation cut, rear horizon first.
    void DrawCurve(const float* values, int step, WinColor colour);
};
