#include "model/CalculationFields.h"

#include "model/AntDef.h"
#include "model/EnvDef.h"

#include <algorithm>

CalculationFields CalculationFieldsOf(const AntDef& ant, const EnvRec& env) {
    CalculationFields f;
    f.Freq = ant.Freq;
    f.CalcFreq = ant.CalcFreq;
    f.DM1 = ant.DM1;
    f.DM2 = ant.DM2;
    f.EC = ant.EC;
    f.SC = ant.SC;
    f.AutoVoltage = ant.AutoVoltage;
    f.UseLoads = ant.UseLoads;
    f.GroundType = env.Type;
    f.AntHeight = env.AntHeight;
    f.Material = env.Material;
    return f;
}

void TakeCalculationFields(const CalculationFields& fields, AntDef& ant, EnvRec& env) {
    ant.Freq = fields.Freq;
    ant.CalcFreq = fields.CalcFreq;
    ant.DM1 = fields.DM1;
    ant.DM2 = fields.DM2;
    ant.EC = fields.EC;
    ant.SC = fields.SC;
    ant.AutoVoltage = fields.AutoVoltage;
    ant.UseLoads = fields.UseLoads;
    for (int i = 0; i < std::clamp(ant.LoadCount, 0, MaxLoads); ++i) {
        LoadRec& l = ant.Loads[i];
        if (l.Type != LoadS) continue;
        l.N = 0;
        for (int k = 0; k < MaxLoadPairs; ++k)
            if (l.A[k] != 0.0 || l.B[k] != 0.0) l.N = k + 1;
    }
    env.Type = fields.GroundType;
    env.AntHeight = fields.AntHeight;
    env.Material = fields.Material;
}
