#include "optimizer/BandRules.h"

#include "model/AntennaNormalForm.h"
#include "model/CheckedFormat.h"
#include "optimizer/OptimizerState.h"

bool BandFrequencyAccepted(double mhz) { return mhz > 1.5 && mhz < 999999.9; }
bool BandPhaseAccepted(double degrees) { return degrees >= 0 && degrees < 360; }
bool BandVoltageAccepted(double volts) { return volts > 0; }

bool SetBandPosition(char (&pos)[PosTextSize], std::string_view text) {
    char taken[PosTextSize] = {};
    CopyText(taken, PositionFromField(text).c_str());
    if (!NormalizePosition(taken)) return false;
    CopyText(pos, taken);
    return true;
}

std::string NormalizeBand(ACalBandRec& band, int index) {
    const bool first = index == 0;
    const bool frequencyTaken =
        BandFrequencyAccepted(band.Freq) || (first && (band.Freq == 0 || FrequencyInRange(band.Freq)));
    if (!frequencyTaken)
        return FormatInCLocale("Band %d: the frequency must lie above 1.5 and below 999999.9 MHz.", index + 1);
    for (int k = 0; k < BandSources && band.Sources[k].Pos[0] != 0; ++k) {
        SourceRec& s = band.Sources[k];
        if (!NormalizePosition(s.Pos))
            return FormatInCLocale("Band %d, source %d: a position holds at most 8 characters and no comma.",
                                   index + 1, k + 1);
        if (first) continue;
        if (!BandPhaseAccepted(s.Phase))
            return FormatInCLocale("Band %d, source %d: the phase must lie from 0 up to 360 degrees.", index + 1, k + 1);
        if (!BandVoltageAccepted(s.Voltage))
            return FormatInCLocale("Band %d, source %d: the voltage must be above 0.", index + 1, k + 1);
    }
    return {};
}
