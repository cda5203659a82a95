#include "views/MultibandList.h"

#include "engine/EngineError.h"
#include "engine/Solve.h"
#include "model/AntDef.h"
#include "model/EnvDef.h"
#include "model/NumberText.h"
#include "model/ResultStore.h"
#include "views/ResultsKeeper.h"

bool ParseBandText(const std::string& text, double& start, double& end) {
    std::size_t first = text.find(' ');
    std::size_t last = text.rfind(' ');
    if (first == std::string::npos) return false;
    double a = 0, b = 0;
    if (!StrToDblExpr(a, text.substr(0, first)) || !StrToDblExpr(b, text.substr(last + 1))) return false;
    if (!(a > 0) || !(b >= a)) return false;
    start = a;
    end = b;
    return true;
}

FreqRangeStatus ReadBandRange(const std::string& text, int points, FreqTableRange& range) {
    double start = 0, end = 0;
    if (!ParseBandText(text, start, end)) {
        range = FreqTableRange{};
        return FreqRangeStatus::Invalid;
    }
    return MakeBandRange(start, end, points, range);
}

bool MultibandList::ComputePoint(ResultsKeeper& keeper, SweepDot& point) {
    if (const SweepDot* hit = sweepBelongs_ ? Results.FindSweepPoint(point.F) : nullptr) {
        point = *hit;
        return true;
    }
    if (!keeper.PrepareAt(point.F)) return false;
    JobDef.Busy = 0;
    try {
        CalcFeedImpedance();
    } catch (const EngineError&) {
        return false;  // a singular matrix ends the band like a failed preparation
    }
    if (!Running) return false;
    if (pump_) pump_();
    const ResultRow& row = *Results.Row(0);
    point.State = SweepComputed;
    point.R = row.R;
    point.X = row.jX;
    return true;
}

void MultibandList::SweepBand(ResultsKeeper& keeper, const std::vector<double>& frequencies,
                              std::vector<std::string>& lines) {
    JobDef.Interactive = 0;
    for (const double f : frequencies) {
        if (!Running) break;
        SweepDot point;
        point.F = f;
        if (!ComputePoint(keeper, point)) break;
        Add(lines, DblToStr3(f) + "   " + DblToStr2(point.R) + "   " + DblToStr2(point.X) + "   ");
    }
}

void MultibandList::Add(std::vector<std::string>& lines, std::string line) {
    lines.push_back(std::move(line));
    if (OnLine) OnLine();
}

void MultibandList::ComputeBands(const std::vector<BandItem>& bands, int points, std::vector<std::string>& lines) {
    // The engine writes each point into the newest results row and leaves
    // the model prepared at the point's frequency; the list only reads the
    // impedances, so both are put back as they were.
    ResultsKeeper keeper(host_, RunsLeave::Nothing);
    sweepBelongs_ = host_.SweepTableBelongs();
    ComputeEachBand(keeper, bands, points, lines);
    keeper.Restore();
}

void MultibandList::ComputeEachBand(ResultsKeeper& keeper, const std::vector<BandItem>& bands, int points,
                                    std::vector<std::string>& lines) {
    bool anyBand = false;
    for (const BandItem& band : bands) {
        if (!Running) return;
        if (!band.Checked) continue;
        anyBand = true;
        Add(lines, "\\*  " + band.Text + "   *\\");
        // Each point at the frequency its line shows, as the frequency table
        // computes its rows.
        FreqTableRange range;
        if (ReadBandRange(band.Text, points, range) != FreqRangeStatus::Ok) continue;
        std::vector<double> frequencies;
        for (int k = 0; k < range.Count; ++k) frequencies.push_back(range.Row(k));
        SweepBand(keeper, frequencies, lines);
    }
    if (!anyBand && Running) {
        Add(lines, "\\******************");
        const double f = host_.Model->CalcFreq != 0 ? host_.Model->CalcFreq : host_.Model->Freq;
        SweepBand(keeper, {f}, lines);
    }
}
