#include "views/ResultsKeeper.h"

#include <algorithm>

#include "model/AntDef.h"
#include "model/ResultStore.h"

ResultsKeeper::ResultsKeeper(SweepHost host, RunsLeave leaves)
    : host_(std::move(host)), leaves_(leaves), saved_(std::make_unique<CResult>(Results)),
      savedFreq_(host_.Model ? host_.Model->CalcFreq : 0.0) {}

ResultsKeeper::~ResultsKeeper() = default;

bool ResultsKeeper::PrepareAt(double f) {
    touched_ = true;
    host_.Model->CalcFreq = f;
    return host_.Prepare() != 0;
}

void ResultsKeeper::Restore() {
    if (!touched_) return;
    touched_ = false;
    host_.Model->CalcFreq = savedFreq_;
    // A frequency of 0 stands for the design frequency, which the
    // preparation would write into the model.
    if (savedFreq_ != 0) host_.Prepare();
    const auto runs = std::make_unique<CResult>(Results);
    Results = *saved_;
    if (leaves_ != RunsLeave::Nothing) Results.Sweep = runs->Sweep;
    if (leaves_ == RunsLeave::SweepPointsAndRows) {
        std::copy(std::begin(runs->Rows), std::end(runs->Rows), std::begin(Results.Rows));
        Results.RingIndex = runs->RingIndex;
        Results.RowCount = runs->RowCount;
        Results.PushRow();
        *Results.Row(0) = *saved_->Row(0);
    }
    host_.NotifyRows();
}
