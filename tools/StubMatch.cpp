// Line-and-stub match: a line from the load and one parallel element.
#include "model/CheckedFormat.h"
#include "model/Impedance.h"
#include "tools/RfCalculators.h"

#include <cfloat>
#include <cmath>

namespace {
constexpr double TwoPi = 6.283185307179586;

std::string Format(const char* format, auto... args) { return FormatInCLocale(format, args...); }
}  // namespace

double StubMatchCalc::Eval(int variant, double x) {
    StubMatchSolution s;
    s.L1 = x;
    s.Z1 = LineZin(Cplx(Zo, 0), Cplx(R, X), x);
    const double r1 = s.Z1.real(), x1 = s.Z1.imag();
    if (x1 == 0) {
        s.XS = DBL_MAX;
        s.Zm = 0;
    } else {
        s.XS = -(r1 * r1 + x1 * x1) / x1;
        s.Zm = r1 != 0 ? Cplx((r1 * r1 + x1 * x1) / r1, 0) : Cplx(DBL_MAX, 0);
    }
    s.L2s = std::atan2(s.XS, Zo) / TwoPi;
    if (s.L2s < 0) s.L2s += 0.5;
    s.L2o = std::atan2(-Zo, s.XS) / TwoPi;
    if (s.L2o < 0) s.L2o += 0.5;
    s.SWR = CalcSWR2(s.Zm, Cplx(Zi, 0));
    if (variant == 1)
        Var[0] = s;
    else if (variant != 0)
        Var[1] = s;
    return s.SWR;
}

void StubMatchCalc::Solve() {
    Count = 0;
    double prev = 9e30, candidate = 0;
    for (int i = 0; i <= 5000; ++i) {
        const double x = i * 0.0001;
        double v = Eval(0, x);
        if (prev < v) {
            if (candidate != 0 && prev < 1.5) {
                ++Count;
                v = Eval(Count, candidate);
            }
            candidate = 0;
        } else {
            candidate = x;
        }
        prev = v;
    }
}

std::string StubMatchCalc::SolutionText(int box) const {
    if (Count < box) return "None";
    const StubMatchSolution& s = Var[box - 1];
    // Physical length of a fraction of a wavelength on this line; 0 without a frequency.
    auto cm = [this](double waves) { return F != 0 ? 299.792458 * 100 / F * Vf * waves : 0.0; };
    const double f = F != 0 ? F : 1;
    std::string text = Format("   L1 : %.4lflw (%.1lf cm)\n", s.L1, cm(s.L1));
    text += "   ZS : " + CplxToStr2(s.Z1.real(), s.Z1.imag()) + "\r\n";
    const bool element = std::fabs(s.XS) < 1e10;
    if (!element)
        text += "   XS : Ohm\r\n";
    else if (s.XS < 0)
        text += Format("   XS : %.2lf Ohm (%.1lf pF)\r\n", s.XS, -159154.9 / (f * s.XS));
    else
        text += Format(box == 1 ? "   XS :%.2lf Ohm (%.2lf uH)\r\n" : "   XS : %.2lf Ohm (%.2lf uH)\r\n", s.XS,
                       0.1591549 * s.XS / f);
    if (element) {
        text += Format("   L2s : %.4lf wl (%.1lf cm)\n", s.L2s, cm(s.L2s));
        text += Format("   L2o : %.4lf wl (%.1lf cm)\n", s.L2o, cm(s.L2o));
    } else {
        text += "   L2 : None\n\n";
    }
    text += "   Zi : " + CplxToStr2(s.Zm.real(), s.Zm.imag()) + Format(" SWR : %.2lf\n", s.SWR);
    return text;
}
