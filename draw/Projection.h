#pragma once
// The one parallel projection of every antenna drawing, the view centre and
// zoom globals of the antenna view, and the fit of an antenna into a view.
#include "model/AntDef.h"

// The model point drawn at the view centre while ViewCentreOn is set.
struct ViewPoint {
    double X = 0.0, Y = 0.0, Z = 0.0;
};
extern ViewPoint ViewCentre;
extern bool ViewCentreOn;
// Pixels per metre at the zoom bar's middle, and the half image size it holds for.
extern double ViewZoom;
extern int ViewZoomRef;
// The centre and zoom as the program starts.
void ResetViewState();

// x' = sin az X + cos az Y;  y' = (sin az Y - cos az X) sin el + cos el Z.
// Azimuth 0, elevation 0 looks from +X with +Y right and +Z up.
void Project3D(double& xp, double& yp, double sinAz, double cosAz, double sinEl, double cosEl,
               double x, double y, double z);

// Everything a drawing routine needs to place a model point on the screen.
struct ViewTransform {
    int cx = 0, cy = 0;   // centre pixel
    double sinAz = 0.0, cosAz = 1.0, sinEl = 0.0, cosEl = 1.0;
    double scale = 1.0;   // pixels per metre
    bool centreOn = false;

    static ViewTransform FromAngles(int cx, int cy, double azDeg, double elDeg, double scale, bool centreOn);
    // Screen pixel of a model point (metres), after taking off the view centre.
    void Map(double x, double y, double z, int& px, int& py) const;
    // The same without rounding, in pixels relative to (cx, cy), y upwards.
    void MapExact(double x, double y, double z, double& dx, double& dy) const;
};

// Rounds to the nearest int, saturating far outside any screen.
int ScreenRound(double v);

// Middle of the bounding box of all wire ends (0, 0, 0 without wires).
void CalcWireBounds(const AntDef& ant, double& x, double& y, double& z);
// Pixels per metre that fit the antenna (and its stacked copies) into a view
// of the given half width and half height; sets ViewCentre. 20 without wires.
double CalcViewScale(const AntDef& ant, int width, int height);
