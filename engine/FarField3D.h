#pragma once
// The far field on a grid of directions, into the engine's one 3D table:
// the 3D pattern view builds it with its own steps, the angle/gain table
// command from a request and turns it into CSV lines.
#include "engine/EngineState.h"

#include <string>
#include <vector>

// The angle/gain table request, made by its command and reached through
// JobDef (degrees).
struct FarFieldTableRequest {
    std::string Path;  // output file
    double ZenithStart = 0.0;
    double ZenithStep = 0.0;
    int ZenithCount = 1;
    double AzimuthStart = 0.0;
    double AzimuthStep = 0.0;
    int AzimuthCount = 1;
};

// Solves when needed and appends one record per direction, azimuth outer,
// zenith inner (counts below 1 count as 1); keeps the largest total gain.
void CalcFarField3D(int azCount, int zenCount, double azStart, double azStep, double zenStart, double zenStep);

// The table of the 3D view: rings from the horizon up to the zenith, each
// closed by azimuth 360, which repeats the ring's azimuth 0. A step of 0 (or
// below) becomes 3 degrees in elevation and 6 in azimuth; the steps used are
// written back. False when the table could not be built.
bool CalcPattern3DForView(int& elevationStep, int& azimuthStep);

// The angle/gain table of JobDef's request: one text of CSV lines
// ("%.1lf,%.1lf,%.2lf,%.2lf,%.2lf,\r\n" each) added to the list as a single
// entry. Failures reach the caller as exceptions.
void MakeFarFieldTable(std::vector<std::string>& list);
