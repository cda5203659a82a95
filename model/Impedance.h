#pragma once
// SWR of an impedance against the complex reference impedance, and the two
// texts of an impedance shown in tables, logs and plots.
#include <complex>
#include <string>

// Largest reflection magnitude used, so that the SWR stays finite (about 2e6).
constexpr double MaxReflection = 0.999999;

// A negative resistance is taken with both parts negated. The reflection is
// |Z - Z0| / |Z + conj Z0|, at most 1 for every passive Z.
double CalcSWR(double r, double x, double z0r, double z0x);
double CalcSWR2(std::complex<double> z, std::complex<double> z0);

// "73.0-j12.4"; just "73.0" when X is exactly 0.
std::string CplxToStr1(double r, double x);
// "73.04+j0.00", also when X is 0.
std::string CplxToStr2(double r, double x);
