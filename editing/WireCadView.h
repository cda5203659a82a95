#pragma once
// The geometry of the wire editor's pages without Qt: metres to pixels and
// back (zoom, pan, rotation), the grid steps, snapping, and the constrained
// drags (lock to an axis, turn at constant length).
#include "editing/WireCadModel.h"

// Grid steps in units of 0.01 m, scale bar lengths in units of 0.001 m.
constexpr int GridStepTable[] = {1,    2,    5,     10,    20,    25,     50,     100,    200,    250,    500,
                                 1000, 2000, 2500,  5000,  10000, 20000,  50000,  100000, 200000, 500000, 1000000};

// The first table entry x unit that is at least (or, strictly, above) t;
// the last entry when none is.
double TableStepAtLeast(double t, double unit, bool strictlyAbove);
// The step that puts about 100 grid lines across a page `width` pixels wide.
double AutoGridStepFor(int width, double scale);
// Length of the scale bar for a page `width` pixels wide.
double ScaleBarLength(int width, double scale);

struct Point2D {
    double a, b;
};

class WireCadView {
public:
    int Page = PageAll;
    int W = 0, H = 0;            // size of the page's paint box
    double Scale = 100.0;        // pixels per metre
    int OriginX = 0, OriginY = 0;
    double OffA = 0.0, OffB = 0.0;
    double SinAz = 0.0, CosAz = 1.0, SinEl = 0.0, CosEl = 1.0;

    void SetAngles(double azimuthDeg, double elevationDeg);
    void UpdateOrigin();
    // Page coordinates of a model point (projected on the 3D page).
    Point2D ToPage(const Point3D& p) const;
    void ToScreen(const Point2D& p, int& x, int& y) const;
    void ToScreen(const Point3D& p, int& x, int& y) const { ToScreen(ToPage(p), x, y); }
    Point2D FromScreen(int x, int y) const;
    // Offsets that bring the box of the shown wires to the middle; false
    // when no wire is shown (the offsets are then 0).
    bool CentreOn(const WireCadModel& m);
    // The pixel (x, y) becomes the middle of the page.
    void CentreAt(int x, int y);
};

struct GridState {
    bool On = true;
    double Step = 0.5;
    double A0 = 0.0, B0 = 0.0;

    void Snap(double& a, double& b) const;
    // Snaps an end; an axis on which the end lines up with the reference
    // point stays lined up.
    void SnapEnd(double& a, double& b, double ra, double rb) const;
};

// The second end goes onto the page axis along which the wire runs more.
void LockToAxis(double a1, double b1, double& a2, double& b2);
// The moving end keeps distance `length` from the fixed end and turns in
// steps of 0.1 degree.
void RotateKeepLength(double& a, double& b, double fa, double fb, double length);
