#pragma once
// Factorization of one panel of the blocked LU: a column-major block of
// h rows and w columns, eliminated with the engine's pivot rule.
#include "engine/LuFactor.h"

// Factors the panel p (column-major, leading dimension ld). pivot[i]
// (0-based, panel rows) is the row exchanged with row i at step i; the
// exchanges span the whole panel. magnitudes is scratch for h floats.
// Throws EngineError on a zero or non-finite pivot.
void FactorLuPanel(LuComplex* p, int ld, int h, int w, int* pivot, float* magnitudes);
