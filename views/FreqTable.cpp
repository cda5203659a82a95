#include "views/FreqTable.h"

#include "engine/CalcRuns.h"
#include "model/AntDef.h"
#include "model/EnvDef.h"
#include "model/FreqTableRange.h"
#include "model/Impedance.h"
#include "model/NumberText.h"
#include "model/ResultStore.h"
#include "views/ResultsKeeper.h"
#include "views/SweepMath.h"

namespace {

// A new result goes where the sweep table waits for exactly this frequency.
// A cleared table (Count 0) holds no frame of points to fill.
void EnterIntoSweep(const SweepDot& point) {
    SweepTable& t = Results.Sweep;
    if (t.Count == 0) return;
    for (int k = 0; k < SweepMainPoints; ++k) {
        if (t.Points[k].State == SweepNotComputed && t.Points[k].F == point.F) {
            Results.StoreSweepPoint(k);
        } else if (k < SweepGaps) {
            for (int j = 0; j < SweepMaxDots; ++j)
                if (t.Dots[k][j].State == SweepNotComputed && t.Dots[k][j].F == point.F)
                    Results.StoreSweepSubPoint(k, j);
        }
    }
    if (t.Match.State == SweepNotComputed && t.Match.F == point.F) t.Match = point;
}

// Results at the record's frequency, from the sweep table or a new run. The
// table takes part only while its points are of the antenna computed.
bool CalcTablePoint(ResultsKeeper& keeper, bool sweepBelongs, SweepDot& point) {
    if (const SweepDot* hit = sweepBelongs ? Results.FindSweepPoint(point.F) : nullptr) {
        point = *hit;
        return true;
    }
    if (!keeper.PrepareAt(point.F)) return false;
    JobDef.Busy = 0;
    if (!RunFullCalc()) return false;
    Results.TakeNewestRow(point);
    if (sweepBelongs) EnterIntoSweep(point);
    return true;
}

}  // namespace

double TableSwr(const SweepDot& match, const SweepDot& point) {
    if (match.F == 0) return CalcSWR(point.R, point.X, EnvDef.Z0R, EnvDef.Z0X);
    auto zin = MatchedInput(match.R, match.X, match.F, EnvDef.Z0R, {point.R, point.X}, point.F);
    return CalcSWR(zin.real(), zin.imag(), EnvDef.Z0R, 0.0);
}

std::string BuildFreqTable(const SweepHost& host, const FreqTableRequest& request, double* failedAt) {
    if (failedAt) *failedAt = 0;
    JobDef.Interactive = 0;
    // The points found go into the sweep table; the newest row, the pattern
    // and the prepared model are put back.
    ResultsKeeper keeper(host, RunsLeave::SweepPoints);
    const bool sweepBelongs = host.SweepTableBelongs();

    SweepDot match;
    match.F = request.MatchFreq;
    bool matchReady = true;
    std::string head;
    if (match.F == 0) {
        head = CplxToStr1(EnvDef.Z0R, EnvDef.Z0X) + "Ohm";
    } else {
        matchReady = CalcTablePoint(keeper, sweepBelongs, match);
        if (!matchReady && failedAt) *failedAt = match.F;
        if (matchReady && request.MatchIntoSweep && sweepBelongs) Results.Sweep.Match = match;
        head = DblToStr(match.F) + "MHz";
    }
    std::string text = "Freq(MHz),R(Ohm),jX(Ohm),SWR(" + head + "),Ga(dBi),F/B(dB)\r\n";

    FreqTableRange range;
    MakeFreqTableRange(request.Fmin, request.Fmax, request.Step, range);
    for (int k = 0; matchReady && k < range.Count; ++k) {
        const double fr = range.Row(k);
        SweepDot point;
        if (match.F != 0 && fr == match.F) {
            point = match;
        } else {
            point.F = fr;
            if (!CalcTablePoint(keeper, sweepBelongs, point)) {
                if (failedAt) *failedAt = fr;
                break;
            }
        }
        text += DblToStr3(point.F) + "," + DblToStr2(point.R) + "," + DblToStr2(point.X) + "," +
                DblToStr2(TableSwr(match, point)) + "," + DblToStr2(point.Ga) + "," + DblToStr2(point.FB) + "\r\n";
    }

    keeper.Restore();
    return text;
}
