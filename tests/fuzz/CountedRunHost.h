#pragma once
// An optimizer host for property tests: each calculation gives a made-up
// result row, and the run is stopped after `StopAt` calculations.
#include "model/EnvDef.h"
#include "model/ResultStore.h"
#include "optimizer/OptimizerState.h"

#include <string>

struct CountedRunHost : OptimizerHost {
    int Calcs = 0, StopAt = 0;
    explicit CountedRunHost(int stopAt = 0) : StopAt(stopAt) {}
    bool OptCalc() override {
        if (++Calcs >= StopAt) JobDef.StopRequest = 1;
        ResultRow& row = *Results.Row(0);
        row = ResultRow{};
        row.Ga = static_cast<float>(Calcs % 7);
        row.SWR = 1;
        row.R = 50;
        return true;
    }
    void AddLogLine(const std::string&) override {}
    void ClearLog() override {}
    void DrawOptInfo() override {}
};
