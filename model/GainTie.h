#pragma once
// Gains of one pattern (dB) that single precision cannot tell apart. Where
// the gain is the same in many directions (all round a dipole's broadside
// circle), the far-field sums and the conversion to dB scatter it by some
// ten float epsilons of the linear gain, and the last bits, which differ
// with the BLAS kernel in force, would pick the direction of the maximum.
// Every search that reports where a maximum lies takes gains within this
// tolerance as equal and picks among them by its fixed rule, so that the
// same antenna gives the same row on any machine.
#include <cfloat>
#include <cmath>

// 32 float epsilons of the linear gain, in dB (10 / ln 10 x 32 x 2^-23):
// some three times the scatter of a flat pattern, far below any gain shown.
constexpr float GainTieDb = static_cast<float>(4.342944819032518 * 32 * FLT_EPSILON);

// The two gains are the same as far as single precision tells.
inline bool GainsTie(float a, float b) { return std::fabs(a - b) <= GainTieDb; }
// a is higher than b by more than single precision's scatter.
inline bool GainAbove(float a, float b) { return a - b > GainTieDb; }
