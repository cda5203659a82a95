// The coordinate-wise step search: each free row in turn is stepped up and
// down with a step that grows while the score keeps improving; passes repeat
// while a pass finds a new best point. Without goals every row is swept over
// its whole range instead.
#include <algorithm>
#include <cfloat>

#include "model/CheckedFormat.h"
#include "model/EnvDef.h"
#include "model/NumberText.h"
#include "model/ScopedValue.h"
#include "optimizer/OptimizerState.h"

namespace {

enum class RowState { Probe, Accelerate, Refine };

constexpr double LowestDouble = -DBL_MAX;

struct SearchRun {
    CACal& Cal;
    OptimizerHost& Host;
    int StepNo = 1;
    bool Improved = false;
    // What band 1 of the point under way was computed from.
    std::optional<uint64_t> FirstBandOrigin = std::nullopt;

    void LogLine(int rowIndex, int band, const ResultRow& res) {
        if (JobDef.OptLog) {
            if (StepNo == 1 || StepNo % 10 == 0) {
                if (StepNo % 400 == 0) Host.ClearLog();
                const std::string header = FormatInCLocale("%s Val  Para       R      jX    SWR   Ga    F/B   %s",
                                                           StepNo < 100 ? "  " : "   ",
                                                           Cal.CurrentMag >= 0 ? "Cur" : "El");
                CopyText(Cal.LogHeader, header.c_str());
                Host.AddLogLine(header);
            }
            const bool last = band == Cal.BandCount - 1;
            const char mark = last && Cal.LastScore > Cal.BestScore ? '*' : ' ';
            const std::string freq = Cal.BandCount > 1 && Cal.Ant ? DblToStr(Cal.Ant->CalcFreq) : std::string();
            const double lastColumn = Cal.CurrentMag >= 0 ? Cal.CurrentMag * 1000 : res.Elev;
            const std::string line =
                FormatInCLocale("%2d %2d %9.4lf %6.1lf %6.1lf %6.2lf %5.2lf %5.2lf %4.1lf %c%s", StepNo, rowIndex + 1,
                                Cal.Row(rowIndex).Value, double(res.R), double(res.jX), double(res.SWR),
                                double(res.Ga), double(res.FB), lastColumn, mark, freq.c_str());
            // The status lines on the antenna view show the newest point.
            CopyText(Cal.LogLine, line.c_str());
            Host.AddLogLine(line);
        }
        ++StepNo;
        Host.DrawOptInfo();
    }

    // The results of the point at band 1, where the antenna is left and
    // whose figures the log keeps.
    const CResult& PointResult() const { return Cal.BandCount > 1 ? Cal.FirstBandResult : Results; }

    // One point over all bands; false when a calculation failed or a stop
    // was requested between bands.
    bool Evaluate(bool& found, int rowIndex) {
        found = false;
        double score = 0;
        if (Cal.LookupLog(score)) {
            Cal.LastScore = score;
            found = true;
            return true;
        }
        Cal.Groups().WriteBack();
        Host.PlacePositions();
        ++Cal.Evaluations;
        Cal.LastScore = 0;
        const int bands = std::clamp(Cal.BandCount, 1, MaxBands);
        for (int b = 0; b < bands; ++b) {
            if (bands > 1) Cal.SetBand(*Cal.Ant, b);
            if (!Host.OptCalc()) return false;
            const ResultRow& res = *Results.Row(0);
            if (b == 0) {
                FirstBandOrigin = Host.PointOrigin();
                Cal.SetTargets(res);
                if (bands > 1) Cal.FirstBandResult.TakeLatest(Results);
            }
            Cal.BandScores[b] = Cal.Score(res, Results);
            if (b == bands - 1) {
                double total = Cal.BandScores[0];
                for (int k = 1; k < bands; ++k)
                    total += Cal.PriorityFirst ? Cal.BandScores[k] / bands : Cal.BandScores[k];
                Cal.LastScore = total;
            }
            LogLine(rowIndex, b, res);
            if (b < bands - 1 && JobDef.StopRequest) return false;
        }
        if (Cal.LastScore > Cal.BestScore) {
            Cal.TakeBestPoint(PointResult(), FirstBandOrigin);
            Improved = true;
        }
        return true;
    }

    bool Search() {
        Cal.SetBand(*Cal.Ant, 0);
        for (int i = 0; i < Cal.RowCount(); ++i) Cal.SetWithLinks(i);
        double bestSeen = LowestDouble;
        bool tried = false;
        do {
            Improved = false;
            for (int i = 0; i < Cal.RowCount(); ++i) {
                ACalVarRec& r = Cal.Row(i);
                if (r.Link != LinkFree) continue;
                int dir = 1;
                Cal.RowBest = bestSeen;
                double saved = r.Value;
                r.CurStep = std::min(r.CurStep, r.BaseStep);
                int n = 0;
                RowState state = RowState::Probe;
                for (;;) {
                    // A row without a step cannot move.
                    if (tried && r.CurStep <= 0) break;
                    if (tried) r.Value += r.CurStep * dir;
                    double trial = r.Value;
                    if (Cal.CheckLimits(i, trial)) {
                        double start = saved;
                        Cal.CheckLimits(i, start);
                        saved = r.Value = start;
                        if (dir == -1) break;
                        dir = -1;
                        r.CurStep = std::min(r.CurStep, r.BaseStep);
                        n = 0;
                        continue;
                    }
                    Cal.SetWithLinks(i);
                    // The negated start values stand for "no best point yet";
                    // a start of zeros equals them without having been scored.
                    if (Cal.BestScore > LowestDouble && Cal.AtBestPoint()) {
                        Cal.LastScore = Cal.BestScore;
                    } else {
                        bool found = false;
                        if (!Evaluate(found, i)) return false;
                        if (!found) Cal.PushLog(PointResult(), FirstBandOrigin);
                    }
                    if (JobDef.StopRequest) return false;
                    if (Cal.LastScore > bestSeen) {
                        bestSeen = Cal.LastScore;
                        saved = r.Value;
                    }
                    if (!Cal.GoalsOn) {
                        tried = true;
                        continue;
                    }
                    if (Cal.LastScore > Cal.RowBest) {
                        Cal.RowBest = Cal.LastScore;
                        if (tried && state == RowState::Probe) state = RowState::Accelerate;
                        if (state == RowState::Refine) break;
                        if (state == RowState::Accelerate) {
                            if (n < 8) {
                                if (r.CurStep < 16 * r.BaseStep) r.CurStep *= 2;
                            } else {
                                r.CurStep = 32 * r.BaseStep;
                            }
                        }
                        tried = true;
                        ++n;
                        continue;
                    }
                    if (state == RowState::Accelerate && r.CurStep >= 16 * r.BaseStep) {
                        r.Value = saved;
                        r.CurStep *= 0.25;
                        state = RowState::Refine;
                        n = 1;
                        continue;
                    }
                    if (state != RowState::Probe || dir == -1) break;
                    dir = -1;
                    r.Value = saved;
                    r.CurStep = std::min(r.CurStep, r.BaseStep);
                    n = 1;
                }
                r.Value = saved;
                Cal.SetWithLinks(i);
            }
        } while (Cal.GoalsOn && Improved);
        return true;
    }
};

}  // namespace

void CACal::TakeBestPoint(const CResult& result, std::optional<uint64_t> origin) {
    BestScore = LastScore;
    for (int i = 0; i < rowCount_; ++i) BestValues[i] = rows_[i].Value;
    BestResult.TakeLatest(result);
    BestOrigin = origin;
    if (!Ant || !Env) return;
    if (!bestAnt_) bestAnt_ = std::make_unique<AntDef>();
    *bestAnt_ = *Ant;
    bestHeight_ = Env->AntHeight;
}

bool CACal::Optimize(OptimizerHost& host) {
    FollowPending();
    if (rowCount_ <= 0 || !Ant) return false;
    Evaluations = 0;
    // The search's own write-backs are no edits for the rows to follow.
    const ScopedValue<bool> searching(searching_, true);
    // A band without feeds of its own feeds as the antenna did when the run
    // began, whatever an earlier band left in it.
    const ScopedValue<std::optional<std::vector<SourceRec>>> own(
        ownSources_, std::vector<SourceRec>(Ant->Sources, Ant->Sources + std::clamp(Ant->SourceCount, 0, MaxSources)));
    SearchRun run{*this, host};
    const bool ok = run.Search();
    const bool scored = BestScore > LowestDouble;
    if (scored) {
        for (int i = 0; i < rowCount_; ++i) SetValue(i, BestValues[i]);
    } else {
        // Nothing was scored: the antenna goes back to where the run started.
        for (int i = 0; i < rowCount_; ++i)
            if (rows_[i].Link == LinkFree) rows_[i].Value = -BestValues[i];
        for (int i = 0; i < rowCount_; ++i) SetWithLinks(i);
    }
    groups_.WriteBack();
    if (scored && bestAnt_) {
        // Its results belong to the antenna only as it was calculated.
        const int32_t changed = Ant->Changed, edited = Ant->Edited;
        *Ant = *bestAnt_;
        Ant->Changed = changed;
        Ant->Edited = edited;
        Env->AntHeight = bestHeight_;
    }
    host.PlacePositions();
    // The bands moved the frequency and the sources; band 1 is the design.
    if (BandCount > 1) SetBand(*Ant, 0);
    return ok;
}
