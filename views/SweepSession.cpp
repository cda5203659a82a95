#include "views/SweepSession.h"

#include <cmath>

#include "engine/CalcRuns.h"
#include "model/AntDef.h"
#include "model/EnvDef.h"
#include "model/Impedance.h"
#include "model/NumberText.h"
#include "model/ResultStore.h"
#include "platform/BusyRun.h"
#include "views/ResultsKeeper.h"

namespace {

// Busy only around the engine run itself, also when it throws.
bool RunEngine() {
    BusyRun busy;
    return RunFullCalc();
}

constexpr int MaxResonanceRounds = 20;

}  // namespace

SweepSession::SweepSession(SweepHost host)
    : host_(std::move(host)), keeper_(std::make_unique<ResultsKeeper>(host_, RunsLeave::SweepPointsAndRows)) {}

SweepSession::~SweepSession() = default;

void SweepSession::Open() {
    // Each main point keeps its row in the ring; the results of before
    // become the newest row again when the session closes.
    keeper_ = std::make_unique<ResultsKeeper>(host_, RunsLeave::SweepPointsAndRows);
    SavedFreq = keeper_->SavedFreq();
    FitResonance();
}

bool SweepSession::Close() {
    SweepTable& t = Results.Sweep;
    if (MatchFreq != t.Match.F) {
        t.Match.F = MatchFreq;
        t.Match.State = SweepNotComputed;
    }
    t.MatchAtCentre = MatchAtCentre ? 1 : 0;
    keeper_->Restore();
    return Computed;
}

bool SweepSession::RunRecord(double f, int mainIndex, int gap, int dot) {
    if (f == 0) return false;
    JobDef.Interactive = 0;
    if (!keeper_->PrepareAt(f)) return false;
    if (mainIndex >= 0) Results.PushRow();
    ResultRow* row = Results.Row(0);
    row->Ground = EnvDef.Type;
    row->Height = static_cast<float>(EnvDef.AntHeight);
    row->AzEl = EnvDef.AzEl;
    // A failed run stores nothing: the point stays uncomputed, out of the
    // fit, and is run again next time.
    if (!RunEngine()) {
        host_.NotifyRows();
        return false;
    }
    Results.HasFarField = 1;
    CopyText(Results.Title, host_.Model->Name);
    if (mainIndex >= 0)
        Results.StoreSweepPoint(mainIndex);
    else
        Results.StoreSweepSubPoint(gap, dot);
    host_.NotifyRows();
    return true;
}

bool SweepSession::RunMainPoint(int k) {
    if (k < 0 || k >= SweepMainPoints) return false;
    return RunRecord(Results.Sweep.Points[k].F, k, 0, 0);
}

bool SweepSession::RunDot(int gap, int dot) {
    if (gap < 0 || gap >= SweepGaps || dot < 0 || dot >= SweepMaxDots) return false;
    return RunRecord(Results.Sweep.Dots[gap][dot].F, -1, gap, dot);
}

void SweepSession::Speculate() {
    SweepTable& t = Results.Sweep;
    int c = (t.CentreIndex >= 1 && t.CentreIndex <= SweepMainPoints - 2) ? t.CentreIndex : 2;
    if (t.Points[c].State == SweepNotComputed) RunMainPoint(c);
    int neighbour = t.Points[c].X < 0 ? c + 1 : c - 1;
    Computed = true;
    if (RunMainPoint(neighbour)) FitResonance();
}

void SweepSession::AllPoints() {
    Computed = true;
    for (int k = 0; k < SweepMainPoints; ++k)
        if (Results.Sweep.Points[k].State != SweepComputed) RunMainPoint(k);
    FitResonance();
}

void SweepSession::Detailed(int dots) {
    SetDots(dots);
    Computed = true;
    Results.CountSweep();
    if (Results.Sweep.Count < SweepMainPoints) AllPoints();
    const SweepTable& t = Results.Sweep;
    for (int g = 0; g < SweepGaps; ++g)
        for (int j = 0; j < t.DotsPerGap && j < SweepMaxDots; ++j)
            if (t.Dots[g][j].State == SweepNotComputed) RunDot(g, j);
    FitResonance();
}

int SweepSession::FitResonance() {
    Results.CountSweep();
    Sweep = Results.Sweep;
    if (Sweep.Count < 2) return 0;
    if (!FitSweepTable(Sweep, Fit)) return 0;
    CalcMatchPoint();
    Sweep.Count = SweepMainPoints;
    return 1;
}

bool SweepSession::SetWidth(const std::string& kHzText) {
    int n = 0;
    if (!StrToAbsIntExpr(n, kHzText) || n <= 3) return false;
    double width = n * 0.001;
    if (width == Results.Sweep.BW) return false;
    RetuneSweep(Results, Sweep, width);
    FitResonance();
    return true;
}

bool SweepSession::SetDots(int dots) {
    if (dots < 1 || dots > SweepMaxDots || dots == Results.Sweep.DotsPerGap) return false;
    RedivideSweep(Results, Sweep, dots);
    FitResonance();
    return true;
}

void SweepSession::SetCentre(double centre, const std::string& kHzText) {
    SweepTable& t = Results.Sweep;
    if (centre > 0 && centre != t.F0) {
        t.F0 = centre;
        double keptWidth = t.BW;
        // Lay the points out again even when the width stays the same.
        t.BW += 1.0;
        if (!SetWidth(kHzText)) t.BW = keptWidth;
    }
    CalcMatchPoint();
}

void SweepSession::CalcMatchPoint() {
    if (JobDef.MatchMode == 0) return;
    double fm = MatchAtCentre ? Sweep.Points[2].F : MatchFreq;
    if (fm != MatchPoint.F) {
        MatchPoint.State = SweepNotComputed;
        MatchPoint.F = fm;
    }
    if (MatchPoint.State == SweepNotComputed)
        if (const SweepDot* hit = Results.FindSweepPoint(fm)) MatchPoint = *hit;
    // A match at no frequency would run the design frequency under a wrong label.
    if (MatchPoint.State != SweepNotComputed || fm <= 0) return;
    Computed = true;
    JobDef.Interactive = 0;
    if (!keeper_->PrepareAt(fm) || !RunEngine()) return;
    Results.TakeNewestRow(MatchPoint);
    Results.Sweep.Match = MatchPoint;
    host_.NotifyRows();
}

double SweepSession::MatchedSwr(double r, double x, double f) const {
    if (JobDef.MatchMode != 0 && MatchPoint.State != SweepNotComputed) {
        auto zin = MatchedInput(MatchPoint.R, MatchPoint.X, MatchPoint.F, EnvDef.Z0R, {r, x}, f);
        return CalcSWR(zin.real(), zin.imag(), EnvDef.Z0R, 0.0);
    }
    return CalcSWR(r, x, EnvDef.Z0R, EnvDef.Z0X);
}

void SweepSession::MatchedZ(double& r, double& x, double f) const {
    if (JobDef.MatchMode != 2 || MatchPoint.State == SweepNotComputed) return;
    auto zin = MatchedInput(MatchPoint.R, MatchPoint.X, MatchPoint.F, EnvDef.Z0R, {r, x}, f);
    r = zin.real();
    x = zin.imag() + EnvDef.Z0X;
}

void SweepSession::ResonanceSearch(std::string& widthText) {
    SweepTable& t = Results.Sweep;
    for (int round = 0; round < MaxResonanceRounds; ++round) {
        if (Sweep.Count >= 2) {
            if (std::fabs(Fit.F0 - t.F0) < 0.001 * t.F0) break;
            if (std::fabs(t.Points[2].X) < 0.1) break;
            if (Fit.F0 > 2 * t.F0) Fit.F0 = 2 * t.F0;
            if (Fit.F0 < 0.5) Fit.F0 = 5 * SavedFreq;
            double centre = RoundTo(Fit.F0, 3);
            // Without a calculation frequency to fall back on there is no centre.
            if (!(centre > 0)) break;
            t.F0 = centre;
            widthText = DblToStr(4 * NiceStep(0.005 * t.F0) * 1000);
            double keptWidth = t.BW;
            t.BW += 1.0;
            if (!SetWidth(widthText)) t.BW = keptWidth;
        }
        Speculate();
    }
}
