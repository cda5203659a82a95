#include "model/FreqTableRange.h"

#include <cmath>

#include "model/NumberText.h"

double FreqTableRange::Row(int k) const {
    // Each row from Fmin by whole steps, so no rounding error adds up.
    return std::round((Fmin + static_cast<double>(k) * Step) * 1000.0) / 1000.0;
}

FreqRangeStatus MakeFreqTableRange(double fmin, double fmax, double stepMHz, FreqTableRange& range) {
    range = FreqTableRange{};
    if (!(fmin < fmax) || !(stepMHz > 0) || !std::isfinite(fmin) || !std::isfinite(fmax) || !std::isfinite(stepMHz))
        return FreqRangeStatus::Invalid;
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

FreqRangeStatus ReadFreqTableRange(const std::string& fminText, const std::string& fmaxText,
                                   const std::string& stepText, FreqTableRange& range) {
    double fmin = 0, fmax = 0, stepKHz = 0;
    if (!StrToDblExpr(fmin, fminText) || !StrToDblExpr(fmax, fmaxText) || !StrToDblExpr(stepKHz, stepText)) {
        range = FreqTableRange{};
        return FreqRangeStatus::Invalid;
    }
    return MakeFreqTableRange(fmin, fmax, stepKHz * 0.001, range);
}
