#pragma once
// What a frequency run needs from the window that owns the antenna: the
// calculation copy, its preparation at the copy's CalcFreq, whether the sweep
// table's points are of that antenna, and a notice that the results store got
// a new or rewritten newest row.
#include <functional>

struct AntDef;

struct SweepHost {
    AntDef* Model = nullptr;
    std::function<int()> Prepare;      // 1 when the model is ready for the engine
    // The sweep table's points were computed from the antenna and settings
    // the runs compute, so they are reused and new points entered; asked
    // before the first run. Empty: they are not.
    std::function<bool()> SweepBelongs;
    std::function<void()> RowsChanged; // may be empty
    bool SweepTableBelongs() const { return SweepBelongs && SweepBelongs(); }
    void NotifyRows() const {
        if (RowsChanged) RowsChanged();
    }
};
