#include "views/SweepMath.h"

#include <cfloat>
#include <cmath>
#include <limits>

#include "model/NumberText.h"
#include "model/ResultStore.h"

namespace {

constexpr double TwoPi = 6.283185307179586;

// Index of the computed main point with the smallest |X|, skipping `except`.
int SmallestReactance(const SweepTable& t, int except) {
    int best = -1;
    double bestX = DBL_MAX;
    for (int k = 0; k < SweepMainPoints; ++k) {
        const SweepPoint& p = t.Points[k];
        if (k == except || p.State == SweepNotComputed) continue;
        if (std::fabs(p.X) < bestX) {
            bestX = std::fabs(p.X);
            best = k;
        }
    }
    return best;
}

double Between(double f, double f1, double f2, double v1, double v2) {
    return v1 + (f - f1) * (v2 - v1) / (f2 - f1);
}

void TakeOverDots(SweepTable& t, const SweepTable& previous) {
    for (int g = 0; g < SweepGaps; ++g)
        for (int j = 0; j < SweepMaxDots; ++j) {
            SweepDot& dot = t.Dots[g][j];
            if (dot.State != SweepNotComputed) continue;
            if (const SweepDot* hit = FindSweepPoint(previous, dot.F)) dot = *hit;
        }
}

}  // namespace

bool FitSweepTable(SweepTable& t, SweepFit& fit) {
    if (t.Count < 2) return false;
    int a = SmallestReactance(t, -1);
    int b = SmallestReactance(t, a);
    if (a < 0 || b < 0) return false;
    const SweepPoint& pa = t.Points[a];
    const SweepPoint& pb = t.Points[b];
    double f1 = pa.F * 1e6, f2 = pb.F * 1e6;
    double x1 = pa.X, x2 = pb.X, r1 = pa.R, r2 = pb.R;
    // Two points at one frequency, or a reactance that the inductance alone
    // explains, give no LC: keep the previous fit rather than fill with inf.
    if (f1 == f2 || f1 <= 0 || f2 <= 0) return false;
    double l = (f1 * x1 - f2 * x2) / ((f1 * f1 - f2 * f2) * TwoPi);
    double cDen = TwoPi * f1 * (TwoPi * f1 * l - x1);
    if (cDen == 0 || !std::isfinite(l)) return false;
    double c = 1.0 / cDen;
    SweepFit n;
    n.L = std::fabs(l * 1e6);
    n.C = std::fabs(c * 1e12);
    n.Q = (r1 == 0 || c == 0) ? 99999.9 : std::sqrt(std::fabs(l / c)) / r1;
    n.F0 = (c == 0 || l == 0) ? 99999.9 : 1e-6 / (TwoPi * std::sqrt(std::fabs(l * c)));
    n.BW = n.F0 * 1000.0 / (n.Q == 0 ? 1.0 : n.Q);
    fit = n;
    for (SweepPoint& p : t.Points) {
        if (p.State != SweepNotComputed) continue;
        double f = p.F * 1e6;
        double w = TwoPi * f;
        p.R = Between(f, f1, f2, r1, r2);
        if (p.R <= 1e-30) p.R = 1e-30;
        p.X = (w == 0) ? 0.0 : w * l - 1.0 / (w * c);
        p.Ga = Between(f, f1, f2, pa.Ga, pb.Ga);
        p.FB = Between(f, f1, f2, pa.FB, pb.FB);
    }
    return true;
}

double ScaleReactance(double x, double f0, double f) {
    if (f0 == 0 || f == 0) return x;
    return x >= 0 ? x * f / f0 : x * f0 / f;
}

std::complex<double> MatchedInput(double rm, double xm, double fm, double z0, std::complex<double> z, double f) {
    using C = std::complex<double>;
    if (rm < 0 || z0 <= 0) return z;
    if (rm <= z0) {
        // Series element next to the load, shunt element at the input.
        double xs = ScaleReactance(-xm - std::sqrt(rm * z0 - rm * rm), fm, f);
        double t = xm + xs;
        C series = z + C(0, xs);
        // No shunt reactance is needed: the element is an open circuit.
        if (t == 0) return series;
        double xp = ScaleReactance(-(rm * rm + t * t) / t, fm, f);
        C shunt(0, xp);
        C sum = series + shunt;
        return sum == C(0, 0) ? C(std::numeric_limits<double>::infinity(), 0) : series * shunt / sum;
    }
    // Shunt element across the load, series element at the input.
    double d = std::sqrt(4 * z0 * z0 * xm * xm - 4 * z0 * (z0 - rm) * (rm * rm + xm * xm));
    double b = 2 * (z0 - rm);
    double xp = (b == 0) ? 0.0 : ScaleReactance((-2 * z0 * xm + d) / b, fm, f);
    double den = (xm + xp) * (xm + xp) + rm * rm;
    double xs = den == 0 ? 0.0 : ScaleReactance(-(xp * rm * rm + (xm + xp) * xm * xp) / den, fm, f);
    C shunt(0, xp);
    C sum = z + shunt;
    C parallel = (xp == 0 || sum == C(0, 0)) ? C(0, 0) : z * shunt / sum;
    return parallel + C(0, xs);
}

int FindMinSwrPoint(const double swr[SweepMainPoints]) {
    int m = 0;
    double best = DBL_MAX;
    for (int k = 0; k < SweepMainPoints; ++k)
        if (swr[k] < best) {
            best = swr[k];
            m = k;
        }
    if (m == 0 || m == SweepMainPoints - 1 || best >= 1.5) return -1;
    return m;
}

double BandwidthAtSwr(const double s[SweepMainPoints], const double f[SweepMainPoints], int m, double limit) {
    int i = m - 1;
    while (i >= 0 && s[i] < limit) --i;
    if (i < 0) i = 0;
    double fLow = (s[i] <= s[i + 1]) ? f[i] : f[i] + (f[i + 1] - f[i]) * (limit - s[i]) / (s[i + 1] - s[i]);
    i = m + 1;
    while (i < SweepMainPoints && s[i] < limit) ++i;
    if (i > SweepMainPoints - 1) i = SweepMainPoints - 1;
    double fHigh = (s[i] <= s[i - 1]) ? f[i] : f[i - 1] + (f[i] - f[i - 1]) * (limit - s[i - 1]) / (s[i] - s[i - 1]);
    return std::fabs(fHigh - fLow) * 1000.0;
}

void RetuneSweep(CResult& results, const SweepTable& previous, double width) {
    SweepTable& t = results.Sweep;
    t.Step = width / 4;
    t.BW = width;
    double f = t.F0 - 2 * t.Step;
    for (SweepPoint& p : t.Points) {
        if (RoundTo(f, 3) != RoundTo(p.F, 3)) {
            p.State = SweepNotComputed;
            p.F = RoundTo(f, 3);
        }
        f += t.Step;
    }
    results.SetSweepDivisions(t.DotsPerGap);
    for (SweepPoint& p : t.Points) {
        if (p.State != SweepNotComputed) continue;
        const SweepDot* hit = FindSweepPoint(previous, p.F);
        if (!hit) continue;
        bool isMain = hit >= &previous.Points[0] && hit < &previous.Points[0] + SweepMainPoints;
        if (isMain) {
            p = *static_cast<const SweepPoint*>(hit);
        } else {
            static_cast<SweepDot&>(p) = *hit;
            p.State = SweepCopied;
            p.Shown = 0;
        }
    }
    TakeOverDots(t, previous);
}

void RedivideSweep(CResult& results, const SweepTable& previous, int dots) {
    results.SetSweepDivisions(dots);
    TakeOverDots(results.Sweep, previous);
}
