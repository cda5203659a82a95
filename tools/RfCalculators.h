#pragma once
// The numeric cores of the RF calculators: LC resonance, single-layer coil,
// L network, line transformation with the two-line (Q) match, line-and-stub
// match search and the stub of a chosen cable. No Qt; the calculator form
// holds one of each and shows their values.
#include <complex>
#include <string>

using Cplx = std::complex<double>;

// Marker of an absent shunt element of the L network.
constexpr double NoShuntElement = -1.7976931348623157e308;
// Reactance of an open stub of length 0 (or of a capacitance of 0).
constexpr double OpenStubReactance = -9.999999e37;

// F (Hz), X (ohm, never negative), L (H), C (F).
struct ResonanceCalc {
    double F = 0, X = 0, L = 0, C = 0;
    // 0 L and C from X, 1 X and C from L, 2 X and L from C, 3 F and X from L and C.
    void Calc(int mode);
    // The wavelength lines of the status label; empty when F is 0.
    std::string WavelengthText() const;
};

// Lengths in cm: wire diameter d, spacing s, coil diameter D; L in henry.
struct CoilCalc {
    double L = 0, d = 0.1, N = 10, s = 0.1, D = 10;
    // 0 computes L, 1 the turns N, 2 the coil diameter D.
    void Calc(int mode);
    double Length() const { return N * (d + s); }
};

// Two-element L network matching R + jX to the real feeder Z at F (Hz).
struct LMatchCalc {
    double F = 14.05e6, Z = 50, R = 0, X = 0;
    int SeriesC = 0;   // "Composition": 0 "C parallel", 1 "C series"
    int Topology = 0;  // 0 shunt on the feeder side (R <= Z), 1 shunt across the load
    double X1 = 0, X2 = 0;  // shunt and series reactance, ohm
    char K1 = 'L', K2 = 'L';
    double V1 = 0, V2 = 0;  // uH for 'L', pF for 'C'
    void Calc();
};

// Lossless-line input impedance; a transformation without finite result
// (the load resonates the line) is taken as an open end.
Cplx LineZin(Cplx z0, Cplx zl, double lengthWaves);

// "Line match 1": transformation through one line and the two-line match.
struct LineMatchCalc {
    Cplx Zi{50, 0}, ZL{50, 0}, Zo{50, 0};
    double L = 0.5, Loss = 0;
    Cplx Ri2{50, 0}, ZL2{75, 0}, Zo1{50, 0}, Zo2{75, 0};
    double L1 = 0, L2 = 0;
    double SWRi = 1, SWRL = 1, SWRq = 1;
    void ZiFromZL();
    void ZLFromZi();
    void CalcLine();    // the three SWR values
    void CalcQMatch();  // the "Impedance" group shows line 1 of the Q-match
    void TuneQMatch();  // searches L1 and L2
    double QSwr(double a, double b) const;
};

// One solution of the line-and-stub match.
struct StubMatchSolution {
    double L1 = 0;
    Cplx Z1{0, 0};
    double L2s = 0, L2o = 0;
    double XS = 0;
    double SWR = 0;
    Cplx Zm{0, 0};
};

// "Line match 2": a line from the load and one parallel element at its end.
struct StubMatchCalc {
    double R = 25, X = 0, Zo = 600, Vf = 0.95, F = 13.8, Zi = 50;
    int Count = 0;
    StubMatchSolution Var[2];
    // Evaluates one length; variant 1 or 2 stores into that solution. Returns the SWR.
    double Eval(int variant, double x);
    void Solve();
    // The text of box 1 or 2 ("None" when it holds no solution).
    std::string SolutionText(int box) const;
};

// One row of the cable table.
struct CableRow {
    const char* Name;
    float Vf;
    float Z0;
};
constexpr int CableCount = 20;
extern const CableRow CableTable[CableCount + 1];  // ends with a row of Vf 0
// Row of an exact name, 0 ("User") when none matches.
int FindCable(const std::string& name);

// Stub of a cable: X (ohm) at F (Hz), length (cm), LC value (uH for X >= 0, pF otherwise).
struct StubCalc {
    double F = 0;
    int Row = 8;
    double Vf = 0.67000001668930054, Z0 = 50;
    double X = 0, Length = 100, LC = 0, Fo = 0;
    int Shorted = 0;  // "Stub": 0 open, 1 short
    // 0 from the LC value, 1 from X, 2 length from X, 3 X from the length.
    void Calc(int mode);
    // Takes a row's Vf and Z0 ("User" keeps the current ones).
    void SelectRow(int row);
};
