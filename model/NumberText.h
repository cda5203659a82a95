#pragma once
// Number texts of the whole program: the expression evaluator behind every
// numeric input, the formatter of every shown number, segmentation pairs,
// rounding helpers and the wavelength-unit length conversions.
// Everything here is independent of the C locale: '.' is always the decimal
// separator.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Longest input the evaluator looks at; the rest of a longer text is ignored.
constexpr std::size_t ExprMaxLength = 255;
// Longest operand token (blanks dropped); a longer one does not read.
constexpr std::size_t ExprMaxTokenLength = 79;

// Evaluates +, -, *, / with conventional precedence, parentheses and the unit
// tokens R (current wavelength), I (inch) and F (foot). Returns true when
// every operand was read and the result is finite; `value` receives the
// result in every case (0 for an empty text, a bad operand counts as 0).
bool StrToDblExpr(double& value, std::string_view text);
bool StrToDblExpr(double& value, const char* text);
// As StrToDblExpr, but the text must be one value whose every operand reads
// to its end: "150,5", "1.5.2" and "" do not read (StrToDblExpr takes 150,
// 1.5 and 0 from them).
bool StrToDblWhole(double& value, std::string_view text);
// As StrToDblExpr, rounded half away from zero and clamped to the int range.
bool StrToIntExpr(int& value, std::string_view text);
bool StrToIntExpr(int& value, const char* text);
// As StrToIntExpr but of the magnitude.
bool StrToAbsIntExpr(int& value, std::string_view text);
bool StrToAbsIntExpr(int& value, const char* text);

// Rounds half away from zero; NaN gives 0, values beyond the int range clamp.
int RoundToInt(double v);

// Copies at most maxChars characters, folding full-width digits, letters and
// arithmetic symbols (UTF-8, U+FF01..U+FF5E) to ASCII; any other multi-byte
// character becomes a blank.
std::string FoldFullWidth(std::string_view text, std::size_t maxChars);

// Reads the longest leading decimal number ("%lf" style, '.' decimals) of a
// text. Refuses "inf", "nan", hexadecimal forms and values beyond the double
// range. `used` receives the number of characters read.
bool ReadLeadingDouble(std::string_view text, double& value, std::size_t* used = nullptr);
// Reads the longest leading decimal integer ("%d" style); refuses overflow.
bool ReadLeadingInt(std::string_view text, int& value, std::size_t* used = nullptr);

// True for a number text that rounded a negative value to zero ("-0.0",
// "  -0.00", "-0.000e+00"): what the program shows and writes as "0.0".
bool IsNegativeZeroText(std::string_view text);
// printf "%.<decimals>f" and "%.<decimals>e" without the locale; a value that
// rounds to zero is written without a sign.
std::string FormatFixed(double v, int decimals);
std::string FormatExp(double v, int decimals);
// True when v written with `decimals` decimals is below zero: the sign to
// show before its magnitude ("+j0.00", not "-j0.00", for a reactance of -0.001).
bool ShowsBelowZero(double v, int decimals);

// The common formatter: digits 1..3 decimals, any other value up to 6; trailing
// zeros are trimmed but one decimal is kept; 0, NaN and whatever rounds to 0
// give "0.0". From HugeFixedLimit up the shortest exact exponent form, which
// reads back.
constexpr double HugeFixedLimit = 1e15;
std::string FormatDbl(double v, int digits);
inline std::string DblToStr(double v) { return FormatDbl(v, 0); }
inline std::string DblToStr1(double v) { return FormatDbl(v, 1); }
inline std::string DblToStr2(double v) { return FormatDbl(v, 2); }
inline std::string DblToStr3(double v) { return FormatDbl(v, 3); }
// Radii, coordinates and the reals of the antenna text: exponent form below 0.001.
std::string DblToStrE(double v);

// The text a file carries for a real: `text` (a formatter's) when it reads
// back as v, else the shortest text that does. Ordinary values keep their
// short text, and a saved antenna reopens with the values it was computed
// with (an end 0.1 um from another, a length cut at a segment boundary).
std::string ExactNumberText(double v, std::string text);
// The real of the antenna text: DblToStrE's text when it reads back exactly.
inline std::string DblToStrExact(double v) { return ExactNumberText(v, DblToStrE(v)); }

// Segment counts and packed segmentation pairs ("a,b").
std::string IntOrPairToStr(int32_t v);
// "a,b" with a > b, both non-zero, packs a pair; else a plain "%d". Returns
// false (value unchanged) when neither reads, or when a pair cannot hold
// the numbers.
bool StrToIntOrPair(int32_t& value, std::string_view text);

// Length conversions of the wavelength display (JobDef.InWavelengths).
double MetreToWave(double metres);
double WaveToMetre(double waves);

// Millimetres, the unit radii are shown and typed in, to metres and back: the
// value the decimal text of the number stands for in the other unit. 9 mm is
// the 0.009 m that a file's "0.009" reads as (9 x 0.001 is not), so a radius
// typed as a taper key is shown is that key.
double MmToMetre(double millimetres);
double MetreToMm(double metres);
// A wire radius as every field shows and takes it: millimetres, or
// wavelengths while the wavelength display is on.
double RadiusToShown(double metres);
double ShownToRadius(double shown);

// sign(v) * round(|v k|) / k, an exact half going toward zero.
double RoundByFactor(double v, double k);
// RoundByFactor(v, 10^n).
double RoundTo(double v, int n);
// Rounds away from zero to n decimals (n <= 5); 0 below 10^-n; n >= 6 unchanged.
// A value within a rounding error of a whole step is that step.
double RoundAwayTo(double v, int n);
// Rounds to six decimals, as a "%lf" text would.
double NormalizeDbl(double v);
// Step for sweeps and charts: one leading digit, 10 above 5 (0.37 -> 0.3).
double NiceStep(double v);
// Chart scale value: the next of 1, 2, 4, 8, 10 times a power of ten.
double RoundSignificant(double v);
