#pragma once
// The values of the main window's edit fields that a calculation takes into
// the antenna and the environment (frequencies, segmentation, the voltage and
// load switches, ground, added height, material), already read and checked.
// Held apart from the records, so that what the next calculation would use
// can be known without taking the fields in.
#include <cstdint>

struct AntDef;
struct EnvRec;

struct CalculationFields {
    double Freq = 0;      // MHz, never 0
    double CalcFreq = 0;  // MHz; 0 = Freq
    int32_t DM1 = 0, DM2 = 0, EC = 0;
    double SC = 0;
    int32_t AutoVoltage = 0, UseLoads = 0;
    int32_t GroundType = 0;
    double AntHeight = 0;
    int32_t Material = 0;
};

// The fields as the records hold them.
CalculationFields CalculationFieldsOf(const AntDef& ant, const EnvRec& env);

// Stores the fields into the records, and counts the coefficient pairs in use
// of every Laplace load, which the load table leaves to this moment.
void TakeCalculationFields(const CalculationFields& fields, AntDef& ant, EnvRec& env);
