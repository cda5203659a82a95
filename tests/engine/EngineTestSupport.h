#pragma once
// Building small antennas for the engine tests: a heap antenna definition,
// default environment and messages, engine arrays, and helpers to run it.
#include "engine/EngineState.h"
#include "model/AntDef.h"
#include "model/EnvDef.h"

#include <memory>
#include <string>
#include <vector>

struct TestAntenna {
    std::unique_ptr<AntDef> ant = std::make_unique<AntDef>();

    TestAntenna(double freqMHz) {
        *ant = AntDef{};
        ant->Freq = freqMHz;
        SetDefaultSegmentation(*ant);
        ant->UseLoads = 1;
        ant->nH = ant->nV = 1;
    }
    TestAntenna& Wire(double x1, double y1, double z1, double x2, double y2, double z2, double r, int seg) {
        WireRec& w = ant->Wires[ant->WireCount++];
        w = WireRec{x1, y1, z1, x2, y2, z2, r, seg, 0, 0, 0};
        return *this;
    }
    TestAntenna& Source(const char* pos, double volts = 1.0, double phase = 0.0) {
        SourceRec& s = ant->Sources[ant->SourceCount++];
        s = SourceRec{};
        CopyText(s.Pos, pos);
        s.Voltage = volts;
        s.Phase = phase;
        return *this;
    }
    TestAntenna& LoadRX(const char* pos, double r, double x) {
        LoadRec& l = ant->Loads[ant->LoadCount++];
        l = LoadRec{};
        l.Type = ::LoadRX;
        CopyText(l.Pos, pos);
        l.A[0] = r;
        l.B[0] = x;
        return *this;
    }
    AntDef* operator->() { return ant.get(); }
};

// Resets the environment, job record, messages, log and results; allocates
// the engine arrays for maxPulses. ground: 0 free, 1 perfect, 2 real.
void ResetEngineWorld(int ground = 0, double height = 0.0, int maxPulses = 2048);

// The lines the engine logged since the last reset (interactive flag set).
std::vector<std::string>& EngineLogLines();

// Prepares and runs the full calculation; fails the test when preparation
// is refused.
bool PrepareAndRun(AntDef* ant);
