#pragma once
// The current pass after the solution: per-pulse current values for the
// antenna view (into the results store) or, while the currents table exists,
// one table row per pulse. Currents at wire ends are formed from the pulses
// that meet at the joint.
#include "engine/EngineState.h"

class CResult;

// Solves when needed, then stores the currents of every piece.
void CalcCurrents();
// CalcCurrents for the currents-table command (the table pointer is set).
void CalcCurrentsOnly();

// The current of the joint at end 1 or 2 of piece w: starts from pulse p
// when the connection recorded at that end is another piece, then adds the
// pulses of every other piece that meet there. found tells whether any did.
ComplexF GetPulseCurrent(int p, int w, int connection, int end, bool& found);

// Negates the stored magnitudes whose real parts (or imaginary parts, when
// those are the larger) are negative, so that currents in phase opposition
// are drawn with opposite signs.
void FixCurrentSigns(CResult& results);
