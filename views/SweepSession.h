#pragma once
// The computational side of the "Plots" dialog: the engine runs of main
// points, dots and the match point, the fit, the frequency plan for a new
// width, dot count or centre, the matched values the plots show and the
// resonance search. The sweep table itself lives in the results store; this
// object keeps the fitted copy the drawing reads and what must be restored
// when the dialog closes.
#include <memory>
#include <string>

#include "model/SweepTable.h"
#include "views/SweepHost.h"
#include "views/SweepMath.h"

class ResultsKeeper;

class SweepSession {
public:
    explicit SweepSession(SweepHost host);
    ~SweepSession();

    SweepTable Sweep;         // fitted copy of the results' sweep table
    SweepFit Fit;
    SweepDot MatchPoint;
    bool Computed = false;    // any engine run was made
    double SavedFreq = 0;
    // Match settings as the dialog's controls hold them.
    bool MatchAtCentre = true;
    double MatchFreq = 0;

    // Keeps the results and the model's frequency; first fit.
    void Open();
    // Stores the match settings and, after any run, puts back the model's
    // frequency and the results of before as a new newest row. Returns Computed.
    bool Close();

    // One sweep record; false when skipped (frequency 0) or not prepared.
    bool RunMainPoint(int k);
    bool RunDot(int gap, int dot);

    void Speculate();
    void AllPoints();
    void Detailed(int dots);
    int FitResonance();

    // Width in kHz as typed; true when the plan changed.
    bool SetWidth(const std::string& kHzText);
    // Dots per gap; false (and nothing changed) outside 1..4 or unchanged.
    bool SetDots(int dots);
    // A new centre (MHz) laid out with the width typed; the match point
    // follows in every case.
    void SetCentre(double centre, const std::string& kHzText);

    void CalcMatchPoint();
    double MatchedSwr(double r, double x, double f) const;
    void MatchedZ(double& r, double& x, double f) const;

    // Moves the centre onto the fitted resonance by repeated speculation;
    // widthText receives each new width as the dialog's box shows it.
    void ResonanceSearch(std::string& widthText);
    // The antenna the runs calculate (null without one).
    const AntDef* Model() const { return host_.Model; }

private:
    bool RunRecord(double f, int mainIndex, int gap, int dot);
    SweepHost host_;
    std::unique_ptr<ResultsKeeper> keeper_;
};
