#pragma once
// From the prepared model to the pulse currents: fill, loads, factorization,
// excitation and solution, then the report of every source's voltage,
// current, impedance and SWR, whose first source goes into the newest
// results row.
#include "engine/EngineState.h"

// Fills and solves when the matrix is not solved yet; always reports.
void FillAndSolve();
// The impedance-only entry of the multiband list: no currents, no far field.
void CalcFeedImpedance();

// The steps of FillAndSolve.
void AddLoadsToMatrix();
void FactorMatrix();
void ExciteAndSolve();
void ReportSources();

// Throws EngineError unless the input power can scale a field (the far and
// near field divide by it).
void RequireInputPower();
