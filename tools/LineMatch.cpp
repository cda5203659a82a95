// Line transformation and the two-line (Q) match with its length search.
#include "model/Impedance.h"
#include "model/LineTransform.h"
#include "tools/RfCalculators.h"

#include <cfloat>

Cplx LineZin(Cplx z0, Cplx zl, double lengthWaves) {
    Cplx zin{1e30, 0};
    LineTransform(zin, z0, zl, lengthWaves);
    return zin;
}

void LineMatchCalc::ZiFromZL() { CalcLineZin(Zi, Zo, ZL, L, Loss); }

void LineMatchCalc::ZLFromZi() { CalcLineZload(ZL, Zo, Zi, L, Loss); }

double LineMatchCalc::QSwr(double a, double b) const {
    return CalcSWR2(LineZin(Zo1, LineZin(Zo2, ZL2, b), a), Ri2);
}

void LineMatchCalc::CalcLine() {
    SWRi = CalcSWR2(Zi, Zo);
    SWRL = CalcSWR2(ZL, Zo);
    SWRq = QSwr(L1, L2);
}

void LineMatchCalc::CalcQMatch() {
    ZL = LineZin(Zo2, ZL2, L2);
    Zo = Zo1;
    L = L1;
    ZiFromZL();
}

namespace {

// Steps one length from `start` up to 0.5 and then down to 0 while the SWR
// falls; returns the best length (a negative one wrapped by half a wave).
template <class Swr>
double WalkLength(double start, double& best, const Swr& swr) {
    double xBest = start;
    for (double x = start + 0.0001; x <= 0.5; x += 0.0001) {
        const double v = swr(x);
        if (v >= best) break;
        best = v;
        xBest = x;
    }
    for (double x = start - 0.0001; x >= 0; x -= 0.0001) {
        const double v = swr(x);
        if (v >= best) break;
        best = v;
        xBest = x;
    }
    if (xBest < 0) xBest += 0.5;
    return xBest;
}

// One pass over equal lengths start, start + step, ... below `end` (or up to
// it when `inclusive`): keeps the best, and ends once the SWR rises again
// after a best below `good`.
template <class Swr>
void EqualLengthPass(double start, double step, int steps, double good, double& best, double& xBest, const Swr& swr) {
    double prev = DBL_MAX;
    for (int i = 0; i <= steps; ++i) {
        const double x = start + i * step;
        const double v = swr(x);
        if (v < best) {
            best = v;
            xBest = x;
        } else if (prev < v && best < good) {
            break;
        }
        prev = v;
    }
}

}  // namespace

void LineMatchCalc::TuneQMatch() {
    double best = DBL_MAX, xBest = 0;
    auto equal = [this](double x) { return QSwr(x, x); };
    // Counted steps instead of an accumulated floating step.
    EqualLengthPass(0, 0.01, 50, 1.5, best, xBest, equal);
    EqualLengthPass(xBest - 0.01, 1e-5, 1999, 1.05, best, xBest, equal);
    if (xBest < 0) xBest += 0.5;
    L1 = L2 = xBest;
    SWRq = best;
    for (int round = 0; round < 30 && best >= 1.001; ++round) {
        L1 = WalkLength(L1, best, [this](double a) { return QSwr(a, L2); });
        SWRq = best;
        if (best < 1.001) break;
        L2 = WalkLength(L2, best, [this](double b) { return QSwr(L1, b); });
        SWRq = best;
    }
}
