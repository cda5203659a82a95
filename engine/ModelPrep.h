#pragma once
// Turns an antenna definition and the environment record into the engine
// state: frequency and wavelength, wire pieces with their points and
// current pulses, the joins of pulses across pieces and to the ground, the
// ground model, the load table and the source voltages. The matrix is not
// filled here.
#include "engine/EngineState.h"
#include "model/AntDef.h"

// Returns 1 when the model is ready, 0 when it was refused (the reason is
// in the log). Writes the calculation frequency (when 0), the wavelength,
// the piece table, the lowest point and the pulses of every user wire.
int PrepareModel(AntDef* ant);

// True after a preparation that succeeded: a refused one leaves the state
// half rebuilt, and no calculation may run on it.
bool ModelPrepared();

// Impedance (ohms) of a load entry at f MHz: a fixed R + jX, or the Laplace
// form N(s) / D(s) with s = j 2 pi f 1e6. Throws EngineError when D is 0.
ComplexF LoadImpedance(const EngineLoad& load, double fMHz);

// R + jX of an LC load: L in microhenry, C in picofarad, Q of the coil (0 =
// no loss), at f MHz. Either L or C must be non-zero.
void CalcLCLoad(double l, double c, double q, double fMHz, double& r, double& x);
