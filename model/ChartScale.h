#pragma once
// The value axis of the frequency charts: a readable range for the data,
// with a lowest bottom (1 for SWR) and an optional cap on the top.
#include <limits>

struct ChartAxis {
    double Bottom = 0;
    double Top = 0;
    double Span = 0;
};

// Data of larger magnitude is drawn but does not widen the axis, so that the
// range arithmetic stays finite.
constexpr double ChartValueLimit = 1e100;

// Axis for data from dataMin to dataMax (finite, dataMin <= dataMax). The
// bottom is at least lowestBottom (-infinity for none); a positive cap below
// the top becomes the top. The result always has Bottom < Top.
ChartAxis ChooseChartAxis(double dataMin, double dataMax, double lowestBottom = -std::numeric_limits<double>::infinity(),
                          double cap = -1.0);

// When the axis spans zero: symmetric about 0 with the same span, doubled
// until the data fits. Otherwise unchanged.
ChartAxis CentreChartAxisOnZero(const ChartAxis& axis, double dataMin, double dataMax);
