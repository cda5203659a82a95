#pragma once
// The far field of the solved currents: for a direction of zenith angle
// theta (0 up, 90 the horizon) and azimuth phi (from +X towards +Y) the gains
// of vertical, horizontal and total polarization in dBi. Over a real ground
// the image of every pulse is weighted by Fresnel reflection coefficients of
// the medium under the reflection point, optionally with a radial screen.
#include "engine/EngineState.h"

#include <vector>

struct FarFieldGains {
    float Gv, Gh, Gtotal;  // dBi; -999 for no power
};

// Principal square root by the half-angle rule.
ComplexF ComplexSqrt(float re, float im);

// Normalized surface impedance of every medium at the working frequency.
void PrepareGroundImpedances();

// The solved currents as radiators, taken from the engine once per pattern
// pass: the directions of a pass then only sum over them.
class FarFieldSources {
public:
    FarFieldSources();
    // The field vector A of one direction (degrees).
    void FieldAt(float theta, float phi, ComplexF a[3]) const;
    // Gains of one direction; needs PrepareGroundImpedances and a solution.
    FarFieldGains GainsAt(float theta, float phi) const;
    // The threads for a pass over this many directions.
    int ThreadsFor(int directions) const;

private:
    // Radiators by component: position, and the moment's X, Y and Z, real
    // and imaginary parts.
    struct Radiators {
        std::vector<float> x, y, z, moment[6];
        void Add(float px, float py, float pz, const ComplexF m[3]);
        int Count() const { return static_cast<int>(x.size()); }
    };
    // Point sources (pulses, and their images over a perfect ground): the
    // centre times k, the image's Z mirrored. Images over a real ground:
    // the pulse centre.
    Radiators points_, realImages_;
};

// Solves when needed, then runs the azimuth loop (outer) and the zenith loop
// (inner) of the engine's loop parameters into the results store's pattern
// pass under way.
void CalcFarField();

// Sets the engine's loop parameters (degrees; a count below 1 counts as 1).
void SetFarFieldLoops(float azStart, float azStep, int azCount, float zenStart, float zenStep, int zenCount);
