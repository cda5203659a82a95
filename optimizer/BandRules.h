#pragma once
// What a band of the optimizer may hold: the rules the band table applies to
// what is typed, and the optimization log reader to what a file holds, so
// that a file runs the bands the table would have let through.
#include <string>
#include <string_view>

#include "model/AntDef.h"

struct ACalBandRec;

bool BandFrequencyAccepted(double mhz);     // above 1.5 and below 999999.9 MHz
bool BandPhaseAccepted(double degrees);     // from 0 up to, not including, 360
bool BandVoltageAccepted(double volts);     // above 0

// Takes a typed position into a band source as the antenna's tables take it
// (folded, without blanks before it); an empty text clears it. False, with
// the position unchanged, when a save would read it back as another.
bool SetBandPosition(char (&pos)[PosTextSize], std::string_view text);

// Puts the positions of the band's sources in use into their normal form and
// says why the band, number `index` counted from 0, is refused; empty when it
// is not. Band 1 holds the antenna's own calculation frequency (or 0, the
// design frequency) and sources, and takes what the antenna takes.
std::string NormalizeBand(ACalBandRec& band, int index);
