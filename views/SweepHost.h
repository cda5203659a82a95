#pragma once
// What a frequency run needs from the window that owns the antenna: the
// calculation copy, its preparation at the copy's CalcFreq, and a notice
// that the results store got a new or rewritten newest row.
#include <functional>

struct AntDef;

struct SweepHost {
    AntDef* Model = nullptr;
    std::function<int()> Prepare;      // 1 when the model is ready for the engine
    std::function<void()> RowsChanged; // may be empty
    void NotifyRows() const {
        if (RowsChanged) RowsChanged();
    }
};
