#pragma once
// The impedance matrix of the prepared model: for every observation pulse i
// and source pulse j a vector-potential and a scalar-potential term, plus the
// image of the source over a perfect or real ground (a real ground enters the
// matrix as a perfect image). Stored as -j Z / M, M = 4.77783352 lambda.
#include "engine/EngineState.h"

// Fills rows and columns 1..N of the engine's matrix, in parallel over rows.
void FillMatrix();

// The threads the fill of n pulses runs on.
int FillThreadsFor(int n);

// Entry (i, j) of the matrix evaluated on its own, without anything shared
// with other entries: FillMatrix must give exactly this value.
ComplexF MatrixEntryDirect(int i, int j);

// The kernel integrals as the fill uses them, from the observation point of
// pulse i: the vector potential over the half segment on source pulse j's
// first (half 1) or second (half 2) piece, and the scalar potential from the
// segment midpoint t_i - 1/2 (side -1) or t_i + 1/2 (side +1) over the whole
// segment before (half 1) or after (half 2) the centre of pulse j.
ComplexF VectorPotential(int i, int j, int kappa, int half);
ComplexF ScalarPotential(int i, int side, int j, int kappa, int half);
