#pragma once
// Impedance transformation along a transmission line of characteristic
// impedance z0 and electrical length `lengthWaves` (wavelengths; whole
// wavelengths from 1 up are dropped), with or without matched loss in dB.
// Each returns false, leaving the output unchanged, when the transformation
// has no finite result (a zero denominator).
#include <complex>

using Cplx = std::complex<double>;

// Input impedance of load zl through a lossless line.
bool LineTransform(Cplx& zin, Cplx z0, Cplx zl, double lengthWaves);
// Input impedance of load zl through a lossy line.
bool CalcLineZin(Cplx& zin, Cplx z0, Cplx zl, double lengthWaves, double lossDb);
// Load impedance that gives the input impedance zin through a lossy line.
bool CalcLineZload(Cplx& zl, Cplx z0, Cplx zin, double lengthWaves, double lossDb);
