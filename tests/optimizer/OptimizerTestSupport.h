#pragma once
// An optimizer attached to a small antenna, with the message boxes scripted.
#include <memory>

#include "model/AntennaSamples.h"
#include "model/EnvDef.h"
#include "model/Messages.h"
#include "optimizer/OptimizerState.h"
#include "platform/ScriptedPrompter.h"

inline void AddTestWire(AntDef& a, double x1, double y1, double z1, double x2, double y2, double z2,
                        double r = 0.001) {
    a.Wires[a.WireCount++] = WireRec{x1, y1, z1, x2, y2, z2, r, -1, 0, 0, 0};
}

struct OptimizerFixture {
    std::unique_ptr<AntDef> Ant = NewAntenna();
    EnvRec Env{};
    std::unique_ptr<CACal> Cal;
    ScriptedPrompter Answers;
    ScopedPrompter Scope{Answers};

    OptimizerFixture() {
        ApplyDefaultMessages();
        Env.Type = GroundReal;
        Env.Z0R = 50;
        // Reflector at X -2, driven dipole at 0 (two halves fed in the middle), director at 3.
        AddTestWire(*Ant, -2, -5.2, 10, -2, 5.2, 10);
        AddTestWire(*Ant, 0, -5, 10, 0, 0, 10);
        AddTestWire(*Ant, 0, 0, 10, 0, 5, 10);
        AddTestWire(*Ant, 3, -4.6, 10, 3, 4.6, 10);
        Ant->SourceCount = 1;
        CopyText(Ant->Sources[0].Pos, "w2e");
        Ant->Sources[0].Voltage = 1;
        Ant->LoadCount = 2;
        Ant->Loads[0].Type = LoadLC;
        Ant->Loads[0].A[0] = 2;
        Ant->Loads[0].B[0] = 50;
        Ant->Loads[1].Type = LoadS;
        Ant->Loads[1].A[0] = 1;
        Cal = std::make_unique<CACal>();
        (void)Cal->Attach(*Ant, Env);
    }

    int AddRow(int kind, int item, int field) {
        const int i = Cal->RowCount();
        Cal->SetRowCount(i + 1);
        Cal->Row(i) = ACalVarRec{};
        Cal->Row(i).Kind = kind;
        Cal->Row(i).Item = item;
        Cal->Row(i).Field = field;
        Cal->SetDefaultLimits(i);
        Cal->Row(i).Value = Cal->GetValue(i);
        return i;
    }
};
