#pragma once
// The arithmetic of the five-point sweep: the series LC fitted to two computed
// points, the lossless L network that matches the antenna at one frequency,
// the SWR bandwidth read off the main points and the frequency plan of a new
// width or centre. No engine runs and no Qt here.
#include <complex>

#include "model/SweepTable.h"

class CResult;

// The series LC model fitted to two points.
struct SweepFit {
    double L = 0;    // microhenry
    double C = 0;    // picofarad
    double Q = 0;
    double BW = 0;   // kHz
    double F0 = 0;   // MHz
};

// Fits on the main points of table (Count >= 2) and fills every main point
// with State 0 from the fitted model. Returns false, leaving table and fit
// untouched, when fewer than two points are computed or the two chosen points
// give no finite model (same frequency, or a reactance that cancels the fit).
bool FitSweepTable(SweepTable& table, SweepFit& fit);

// A reactance designed at f0 seen at f: inductive grows with frequency,
// capacitive shrinks.
double ScaleReactance(double x, double f0, double f);

// The input impedance of z at frequency f behind the L network designed at
// the match point (rm + j xm at fm) for the reference resistance z0. A match
// point that cannot be matched (rm < 0 or z0 <= 0) leaves z as it is.
std::complex<double> MatchedInput(double rm, double xm, double fm, double z0, std::complex<double> z, double f);

// The index of the smallest SWR of the five main points when it lies inside
// (not at either end) and below 1.5; -1 otherwise.
int FindMinSwrPoint(const double swr[SweepMainPoints]);
// Width in kHz of the band around main point m where the SWR stays below
// limit, interpolated between the main points.
double BandwidthAtSwr(const double swr[SweepMainPoints], const double freq[SweepMainPoints], int m, double limit);

// The frequency plan for a new width around F0 (MHz): main points whose
// frequency moves lose their results, the dots are laid out again, and
// whatever previous still knows at a new frequency is taken over.
void RetuneSweep(CResult& results, const SweepTable& previous, double width);
// New dot count (1..4): dots laid out again, known results taken over.
void RedivideSweep(CResult& results, const SweepTable& previous, int dots);
