#pragma once
// What the 3D pattern view draws, as plain vertex lists in view coordinates
// (u, v, w) = (-y, x, z) of the model: the pattern surface as rings and
// meridians, the three labelled axes and the antenna's wires. No GL here, so
// the geometry is tested without a display; the view compiles these lists.
#include "engine/EngineState.h"
#include "model/AntDef.h"

#include <string>
#include <vector>

struct GLVertex {
    double u = 0, v = 0, w = 0;
};

// One display list: a closed ring (line loop), an open meridian (line strip)
// or separate segments (line pairs).
enum class GLPrimitive { Loop, Strip, Lines };
struct GLPolyline {
    GLPrimitive kind = GLPrimitive::Lines;
    std::vector<GLVertex> points;
};

// Field component of the pattern surface.
enum GLComponent { GLCompV = 1, GLCompH = 2, GLCompTotal = 3 };

// The point of the pattern surface for a gain relative to the table maximum
// (dB), a = zenith - 90 and b = azimuth (degrees); radius 1 at 0 dB, 0.1 at
// -40 dB, and gains below -999 dB taken as -999.
GLVertex SphericalToXYZ(double relGain, double a, double b);

// Far-field lists 1..N: the rings first (one per zenith angle of the table,
// R of them), then one meridian per azimuth of a ring (P of them).
struct GLFarFieldScene {
    std::vector<GLPolyline> lists;  // lists[i] is display list i + 1
    int rings = 0;                  // R
    int meridians = 0;              // P
};
GLFarFieldScene BuildFarFieldScene(const std::vector<FarField3DPoint>& table, double maxGain, int component);

// Lists 10000 (model Y axis), 10001 (model X axis), 10002 (Z axis).
std::vector<GLPolyline> BuildAxisScene();

// List 10003: the wires of the antenna, scaled so that the end farthest from
// the model origin lies at distance 1; by default the lowest point lies in
// the horizon plane, with H centring the vertical middle; with X/Y centring
// the horizontal middle lies on the vertical axis.
GLPolyline BuildAntennaScene(const AntDef& ant, bool xyCentre, bool hCentre);

// The caption of a selected slice v > 0 for the steps Se and Sa (degrees):
// "Elevation angle n deg" for the rings, "Azimuth angle n deg" for the
// meridians.
std::string SliceCaption(int slice, int elevationStep, int azimuthStep);

// The zoom factor of the track bar: 1.06^(position - maximum/3).
double ZoomFactor(int position, int maximum);

// The aspect factor for a screen width: a few widths have a fixed value,
// every other keeps the stored one.
double AspectForScreenWidth(int screenWidth, double stored);
