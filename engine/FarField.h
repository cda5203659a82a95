#pragma once
// The far field of the solved currents: for a direction of zenith angle
// theta (0 up, 90 the horizon) and azimuth phi (from +X towards +Y) the gains
// of vertical, horizontal and total polarization in dBi. Over a real ground
// the image of every pulse is weighted by Fresnel reflection coefficients of
// the medium under the reflection point, optionally with a radial screen.
#include "engine/EngineState.h"

struct FarFieldGains {
    float Gv, Gh, Gtotal;  // dBi; -999 for no power
};

// Principal square root by the half-angle rule.
ComplexF ComplexSqrt(float re, float im);

// Normalized surface impedance of every medium at the working frequency.
void PrepareGroundImpedances();

// The field vector A of one direction (degrees).
void FarFieldAt(float theta, float phi, ComplexF a[3]);

// Gains of one direction; needs PrepareGroundImpedances and a solution.
FarFieldGains FarFieldGainsAt(float theta, float phi);

// Solves when needed, then runs the azimuth loop (outer) and the zenith loop
// (inner) of the engine's loop parameters into the results store's pattern
// pass under way.
void CalcFarField();

// Sets the engine's loop parameters (degrees; a count below 1 counts as 1).
void SetFarFieldLoops(float azStart, float azStep, int azCount, float zenStart, float zenStep, int zenCount);
