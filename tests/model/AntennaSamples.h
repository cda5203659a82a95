#pragma once
// Antennas and results for the file-format tests.
#include <memory>

#include "model/AntDef.h"
#include "model/EnvDef.h"
#include "model/ModelImage.h"
#include "model/ResultStore.h"

// The record a new antenna starts from.
inline std::unique_ptr<AntDef> NewAntenna() {
    auto a = std::make_unique<AntDef>();
    ResetToNewAntenna(*a);
    return a;
}

// Something of every kind: wires with a packed pair and a taper key, sources,
// loads of the three types, two taper sets, stacking.
inline std::unique_ptr<AntDef> SampleAntenna() {
    auto a = NewAntenna();
    CopyText(a->Name, "3 el. Yagi 20m");
    a->Freq = 14.175;
    a->WireCount = 3;
    a->Wires[0] = WireRec{-5.2, 0, 10, 5.2, 0, 10, 0.001, PackSegPair(5, 3), 0, 0, 0};
    a->Wires[1] = WireRec{-5.0, 2.5, 10, 5.0, 2.5, 10, -1, -1, 0, 0, 0};
    a->Wires[2] = WireRec{-4.75, -2.125, 10, 4.75, -2.125, 10, 0.0000125, 21, 0, 0, 0};
    a->SourceCount = 2;
    a->AutoVoltage = 0;
    CopyText(a->Sources[0].Pos, "w1c");
    a->Sources[0].Voltage = 1;
    a->Sources[0].Phase = 0;
    CopyText(a->Sources[1].Pos, "w3b2");
    a->Sources[1].Voltage = 0.5;
    a->Sources[1].Phase = -90;
    a->UseLoads = 0;
    a->LoadCount = 3;
    a->Loads[0].Type = LoadLC;
    CopyText(a->Loads[0].Pos, "w2c");
    a->Loads[0].A[0] = 2.2;
    a->Loads[0].B[0] = 47;
    a->Loads[0].A[1] = 150;
    a->Loads[1].Type = LoadRX;
    CopyText(a->Loads[1].Pos, "12");
    a->Loads[1].A[0] = 12.5;
    a->Loads[1].B[0] = -300;
    a->Loads[2].Type = LoadS;
    CopyText(a->Loads[2].Pos, "w3e");
    a->Loads[2].N = 2;
    a->Loads[2].A[0] = 1;
    a->Loads[2].B[0] = 0.5;
    a->Loads[2].A[1] = 0.0001;
    a->Loads[2].B[1] = 3;
    a->TaperSetCount = 2;
    a->TaperSets[0] = TaperSet{-1, {1.5, 99999.9}, {0.02, 0.01}, TaperSym, 0};
    a->TaperSets[1] = TaperSet{-2, {0.5, 1, 99999.9}, {0.004, 0.003, 0.002}, TaperOneWayStar, 0};
    a->DM1 = 400;
    a->DM2 = 60;
    a->EC = 3;
    a->SC = 1.5;
    a->StackMode = 1;
    a->nH = 2;
    a->nV = 3;
    a->hSpacing = 7.5;
    a->vSpacing = 12.25;
    return a;
}

// Ground and reference fields other than the defaults.
inline ModelEnvFields SampleEnv() {
    ModelEnvFields e;
    e.Type = GroundReal;
    e.AntHeight = 20;
    e.Material = 7;
    e.Z0R = 50;
    e.Z0X = -12.5;
    e.AzEl = PackAzEl(120, 60);
    return e;
}

// A store holding a far field, as after a calculation.
inline std::unique_ptr<CResult> SampleResults() {
    auto s = std::make_unique<CResult>();
    s->PushRow();
    ResultRow& r = *s->Row(0);
    r.Ground = GroundReal;
    r.Height = 20;
    r.F = 14.175f;
    r.R = 23.5f;
    r.jX = -4.25f;
    r.SWR = 2.2f;
    r.Ga = 12.5f;
    r.FB = 21;
    r.Elev = 13;
    r.AzEl = PackAzEl(120, 60);
    r.Z0R = 50;
    r.GvMax = -12;
    r.GhMax = 12.5f;
    CopyText(s->Title, "3 el. Yagi 20m");
    s->HasFarField = 1;
    s->AngleStep = 1;
    s->PassMode = PassAzimuth;
    s->PointIndex = 360;
    s->ElevMaxIndex = 167;
    for (int i = 0; i < AzCutSize; ++i) s->AzCut[PolTotal][i] = -0.01f * static_cast<float>(i);
    for (int i = 0; i < ElevCutSize; ++i) s->ElevCut[PolH][i] = (i % 90 == 0) ? NoGain : 1.5f;
    s->AzMax = 12.5f;
    s->ElevMax = 12.5f;
    s->GainMax = 12.5f;
    s->PulseCurrent[0] = 0.02f;
    s->PulseCurrent[40] = -0.01f;
    s->InitSweep(14.175);
    s->CutElevation = 13;
    return s;
}
