// The goal function: higher is better.
#include <cmath>

#include "model/EnvDef.h"
#include "model/PositionText.h"
#include "optimizer/OptimizerState.h"

namespace {

// Above its goal a value only adds logarithmically. A goal of 0 or below
// has no logarithm: the value counts as it is.
double Compressed(double value, double goal) {
    return (value > goal && goal > 0) ? goal + std::log(value / goal) : value;
}

double MatchTerm(int kind, double r, double x, double z0, double optR, double optX) {
    if (kind == MatchOptionalZ) {
        const double dR = optR == 0 ? 1.0 : r - optR;
        const double dX = optX == 0 ? 1.0 : x - optX;
        return -std::sqrt(4 * dR * dR + dX * dX);
    }
    if (r <= z0) {
        // A feed without resistance cannot be matched by a series element.
        const double t = r > 0 ? r * std::sqrt(z0 / r - 1) : 0;
        return kind == MatchCapacity ? -std::fabs(t - x) : -std::fabs(t + x);
    }
    const double d = 4 * z0 * z0 * x * x - 4 * z0 * (z0 - r) * (r * r + x * x);
    if (d < 0) return -r - 100;
    const double xp = (-2 * z0 * x + std::sqrt(d)) / (2 * (z0 - r));
    const double den = (x + xp) * (x + xp) + r * r;
    const double xs = den != 0 ? -(xp * r * r + (x + xp) * x * xp) / den : 0;
    return -std::fabs(xs) - 100;
}

}  // namespace

double CACal::Score(const ResultRow& row, const CResult& store) {
    double current = 0;
    if (Weights[WCurrent] != 0 && CurrentPos[0] != 0 && Ant) {
        const int p = ParseSourcePos(*Ant, CurrentPos);
        if (p > 0 && p <= PulseSlots) {
            CurrentMag = std::fabs(store.PulseCurrent[p - 1]);
            current = 100 * Weights[WCurrent] * (MinimizeCurrent ? -CurrentMag : CurrentMag);
        }
    }
    if (!GoalsOn) return LastScore - 0.1;

    const double gain = Weights[WGain] * Compressed(row.Ga, GainGoal);
    const double fb = Weights[WFB] * Compressed(row.FB, FBGoal);
    const double a = std::fabs(row.jX);
    const double jx = a < JXGoal ? Weights[WJX] * (JXGoal - 0.05 * (JXGoal - a)) : Weights[WJX] * a;
    const double swr = row.SWR < SWRGoal ? Weights[WSWR] * (SWRGoal - 0.05 * (SWRGoal - row.SWR))
                                         : Weights[WSWR] * (row.SWR - 1.0);
    const double elev = -(row.Elev * Weights[WElev]);
    double match = 0;
    if (Weights[WMatch] != 0) {
        const double z0 = Env ? Env->Z0R : 50.0;
        match = Weights[WMatch] * MatchTerm(MatchKind, row.R, row.jX, z0, OptZR, OptZX);
    }
    return gain + 0.1 * fb - 0.02 * jx - swr + elev + 0.02 * match + current;
}
