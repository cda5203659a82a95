#pragma once
// The electric or magnetic field vector at a rectangular grid of points,
// scaled to a requested transmitter power, as CSV lines.
#include "engine/EngineState.h"

#include <string>
#include <vector>

// The near-field table request, made by its command and reached through
// JobDef (metres; counts of points per axis).
struct NearFieldRequest {
    std::string Path;  // output file
    int Field = 0;     // 0 electric, 1 magnetic
    double Power = 1000.0;  // W
    double XStart = 0.0, XStep = 0.0;
    int XCount = 1;
    double YStart = 0.0, YStep = 0.0;
    int YCount = 1;
    double ZStart = 0.0, ZStep = 0.0;
    int ZCount = 1;
};

// Runs CalcNearField for JobDef's request into the list.
void CalcNearFieldTable(std::vector<std::string>& list);
// One line "%.3lf,%.3lf,%.3lf,%c,%.2le,%.2le,%.2le,%.1lf" per point and
// component, root-mean-square values. A request without power, or a model
// without input power, is refused (EngineError, and a log line).
void CalcNearField(std::vector<std::string>& list);

// The field vector of one point, before the power scale: E in V/m per
// ampere-normalized solution or, for the magnetic field, the curl of the
// vector potential by central differences.
void NearFieldVector(bool magnetic, float x, float y, float z, ComplexF out[3]);
