#include "model/EnvDef.h"

EnvRec EnvDef{};
JobRec JobDef{};
UserMaterialRec UserMaterialDef{};
UserProgramSlot UserProgramSlots[UserProgramCount];

bool MediumValueInRange(MediumValue which, double value) {
    switch (which) {
    case MediumValue::Dielectric: return value >= 1.0 && value <= 1e6;
    case MediumValue::Conductivity: return value >= 0.0 && value <= 1e8;
    default: return value >= -1e6 && value <= 1e6;
    }
}
