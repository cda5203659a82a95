#include "model/ChartScale.h"

#include "model/NumberText.h"

#include <algorithm>
#include <cmath>

namespace {

// Bound of every range loop. Doubling from 0.1 to the value limit takes
// about 340 turns; long quarter-step walks are jumped over.
constexpr int MaxRangeSteps = 4000;

double ClampToLimit(double v) {
    if (std::isnan(v)) return 0.0;
    return std::clamp(v, -ChartValueLimit, ChartValueLimit);
}

void MoveAxis(ChartAxis& a, double by) {
    a.Bottom += by;
    a.Top += by;
}

// Moves the axis by `step` (signed) as long as gap() exceeds the step's size;
// every move shrinks the gap by that size.
template <class Gap>
void MoveWhileGapExceeds(ChartAxis& a, double step, Gap gap) {
    const double q = std::fabs(step);
    if (!(q > 0)) return;
    // A long walk is made in one move, leaving its last moves to the loop.
    const double moves = std::floor(gap() / q) - 2;
    if (moves > 0) MoveAxis(a, moves * step);
    for (int i = 0; i < MaxRangeSteps && q < gap(); ++i) {
        const double before = a.Bottom;
        MoveAxis(a, step);
        if (a.Bottom == before) break;  // the step is lost in rounding
    }
}

// Narrows a wide axis round the data and moves it so that the data sits in it.
void FitWideAxis(ChartAxis& a, double dMin, double dMax, double dSpan) {
    if (dSpan * 3 < a.Span) {
        const double middle = (a.Bottom + a.Top) / 2;
        for (int i = 0; i < MaxRangeSteps && a.Span >= 0.8 && dSpan * 3 < a.Span; ++i) {
            a.Span /= 2;
            a.Bottom = middle - a.Span / 2;
            a.Top = middle + a.Span / 2;
        }
    }
    const double quarter = a.Span / 4;
    MoveWhileGapExceeds(a, -quarter, [&] { return a.Top - dMax; });
    MoveWhileGapExceeds(a, quarter, [&] { return dMin - a.Bottom; });
    if (dMin - a.Bottom < quarter && a.Span * 0.4 < a.Top - dMax) MoveAxis(a, -quarter);
}

}  // namespace

ChartAxis ChooseChartAxis(double dataMin, double dataMax, double lowestBottom, double cap) {
    const double dMin = ClampToLimit(std::min(dataMin, dataMax));
    const double dMax = ClampToLimit(std::max(dataMin, dataMax));
    const double dSpan = dMax - dMin;
    ChartAxis a;
    a.Span = RoundSignificant(dSpan * 2);
    if (a.Span < 0.1) a.Span = 0.1;

    if (dMin >= 0) {
        a.Top = RoundSignificant(dMax);
        a.Bottom = a.Top - a.Span;
        for (int i = 0; i < MaxRangeSteps && dMin < a.Bottom; ++i) {
            a.Span *= 2;
            a.Bottom = a.Top - a.Span;
        }
    } else {
        a.Bottom = RoundSignificant(dMin);
        a.Top = a.Bottom + a.Span;
        for (int i = 0; i < MaxRangeSteps && a.Top < dMax; ++i) {
            a.Span *= 2;
            a.Top = a.Bottom + a.Span;
        }
    }

    if (a.Span < 0.4) {
        a.Bottom -= 0.4;
        a.Top = a.Bottom + 0.8;
        a.Span = 0.8;
    } else if (a.Span >= 0.8) {
        FitWideAxis(a, dMin, dMax, dSpan);
    }

    const bool hasFloor = lowestBottom > -ChartValueLimit;
    const double floor = std::min(lowestBottom, ChartValueLimit);
    if (hasFloor && a.Bottom < floor) {
        // Set, not added: the bottom must not lose the floor to rounding.
        a.Top += floor - a.Bottom;
        a.Bottom = floor;
        for (int i = 0; i < MaxRangeSteps && a.Span >= 0.8 && a.Span / 2 < a.Top - dMax; ++i) {
            a.Span /= 2;
            a.Top = a.Bottom + a.Span;
        }
    }

    if (cap > 0 && cap < a.Top) {
        a.Top = cap;
        // A cap at or below the bottom would leave no axis: the axis then
        // ends at the cap with its span, but not below the floor.
        if (cap <= a.Bottom) {
            a.Bottom = cap - a.Span;
            if (hasFloor && floor < cap) a.Bottom = std::max(a.Bottom, floor);
        }
        a.Span = a.Top - a.Bottom;
    }

    if (!(std::isfinite(a.Bottom) && std::isfinite(a.Top) && a.Top > a.Bottom)) {
        a.Bottom = dMin - 1;
        a.Top = dMax + 1;
        if (!(a.Top > a.Bottom)) {
            a.Bottom = -1;
            a.Top = 1;
        }
        a.Span = a.Top - a.Bottom;
    }
    return a;
}

ChartAxis CentreChartAxisOnZero(const ChartAxis& axis, double dataMin, double dataMax) {
    if (!(axis.Bottom < 0 && axis.Top > 0)) return axis;
    const double dMin = ClampToLimit(std::min(dataMin, dataMax));
    const double dMax = ClampToLimit(std::max(dataMin, dataMax));
    double span = axis.Top - axis.Bottom;
    for (int i = 0; i < MaxRangeSteps && (dMin < -span / 2 || dMax > span / 2); ++i) span *= 2;
    return ChartAxis{-span / 2, span / 2, span};
}
