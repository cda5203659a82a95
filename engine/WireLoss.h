#pragma once
// Conductor loss of the wires: a skin-effect model with polynomial fits of
// the AC/DC resistance ratio, for solid wires and for pipes whose bore is 0.9
// of the outer radius.
#include "model/AntDef.h"

#include <string>

constexpr int MaterialCount = 9;  // 0 "No loss", 1..8 Cu/Al/Fe/User, wire and pipe

// c[0] + c[1] x + ... + c[n-1] x^(n-1).
double PolyValue(double x, const double* c, int n);

// True when the material gives a loss load: not "No loss", and a resistivity
// above 0 (a user material may hold 0 after bad input).
bool MaterialHasLoss(int material);

// Loss resistance (ohms) of one straight piece at f MHz for EnvDef.Material;
// 0 when the material has no loss.
double PieceLossResistance(double f, const WireRec& piece);

// Loss resistance of one user wire at the calculation frequency: the sum over
// the sections of its tapered wire set, or that of the wire itself.
double WireLossResistance(const AntDef& ant, const WireRec& wire);

// "Resistivity = 1.80e-08(sim), permeability = 1.0", or empty when the
// material has no loss.
std::string MaterialText(int material);
