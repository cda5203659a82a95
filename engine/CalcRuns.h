#pragma once
// The engine's main entries: the full calculation of Start, the sweeps and
// the frequency table; the optimizer's quick calculation with a 2-degree
// pattern step and no progress messages; and the horizontal cut at a chosen
// elevation.

// Currents, the elevation cut with the fine search around its maximum, the
// azimuth cut and the statistics into the newest results row. Any failure
// is logged as the fatal message and gives false.
bool RunFullCalc();
// The same with a 2-degree step; failures reach the caller as exceptions.
void RunQuickCalc();
// The azimuth cut at the results store's chosen elevation (0..90 degrees).
void CalcFarFieldAtElevation();
