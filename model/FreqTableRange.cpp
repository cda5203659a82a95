#include "model/FreqTableRange.h"

#include <cmath>

#include "model/AntDef.h"
#include "model/NumberText.h"

double FreqTableRange::Row(int k) const {
    // Each row from Fmin by whole steps, so no rounding error adds up.
    return std::round((Fmin + static_cast<double>(k) * Step) * 1000.0) / 1000.0;
}

FreqRangeStatus MakeFreqTableRange(double fmin, double fmax, double stepMHz, FreqTableRange& range) {
    range = FreqTableRange{};
    if (!(fmin < fmax) || !(stepMHz > 0) || !std::isfinite(fmin) || !std::isfinite(fmax) || !std::isfinite(stepMHz))
        return FreqRangeStatus::Invalid;
    // Every row above the limit would be refused by the preparation.
    if (fmax > MaxFrequencyMHz) return FreqRangeStatus::AboveLimit;
    FreqTableRange r;
    r.Fmin = fmin;
    r.Step = stepMHz;
    if (!(r.Row(0) > 0)) return FreqRangeStatus::BelowOneKHz;
    if (!(r.Row(0) <= fmax)) return FreqRangeStatus::Invalid;  // Fmin rounds beyond Fmax
    // The rows are counted one by one, each checked against the one before:
    // the table runs exactly these.
    double previous = r.Row(0);
    int count = 1;
    for (;; ++count) {
        const double row = r.Row(count);
        if (!(row <= fmax)) break;
        if (!(row > previous)) return FreqRangeStatus::RowsTogether;
        if (count >= MaxFreqTableRows) return FreqRangeStatus::TooManyRows;
        previous = row;
    }
    r.Count = count;
    range = r;
    return FreqRangeStatus::Ok;
}

FreqRangeStatus MakeBandRange(double start, double end, int points, FreqTableRange& range) {
    range = FreqTableRange{};
    if (!(start <= end) || !std::isfinite(start) || !std::isfinite(end)) return FreqRangeStatus::Invalid;
    if (end > MaxFrequencyMHz) return FreqRangeStatus::AboveLimit;
    const int last = points > 1 ? points - 1 : 0;
    if (last >= MaxFreqTableRows) return FreqRangeStatus::TooManyRows;
    FreqTableRange r;
    r.Fmin = start;
    r.Step = last > 0 ? (end - start) / last : 0.0;
    if (!(r.Row(0) > 0)) return FreqRangeStatus::BelowOneKHz;
    for (int k = 1; k <= last; ++k)
        if (!(r.Row(k) > r.Row(k - 1))) return FreqRangeStatus::RowsTogether;
    r.Count = last + 1;
    range = r;
    return FreqRangeStatus::Ok;
}

std::string FreqRangeMessage(FreqRangeStatus status) {
    switch (status) {
    case FreqRangeStatus::Ok: return {};
    case FreqRangeStatus::BelowOneKHz: return "Fmin < 0.001 MHz";
    case FreqRangeStatus::AboveLimit: return "Fmax > 1000000 MHz";
    case FreqRangeStatus::RowsTogether: return "Step < 1 KHz";
    case FreqRangeStatus::TooManyRows: return "> " + std::to_string(MaxFreqTableRows);
    case FreqRangeStatus::Invalid: break;
    }
    return "Fmin > Fmax";
}

FreqRangeStatus ReadFreqTableRange(const std::string& fminText, const std::string& fmaxText,
                                   const std::string& stepText, FreqTableRange& range) {
    double fmin = 0, fmax = 0, stepKHz = 0;
    if (!StrToDblExpr(fmin, fminText) || !StrToDblExpr(fmax, fmaxText) || !StrToDblExpr(stepKHz, stepText)) {
        range = FreqTableRange{};
        return FreqRangeStatus::Invalid;
    }
    return MakeFreqTableRange(fmin, fmax, stepKHz * 0.001, range);
}
