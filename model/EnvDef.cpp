#include "model/EnvDef.h"

EnvRec EnvDef{};
JobRec JobDef{};
UserMaterialRec UserMaterialDef{};
UserProgramSlot UserProgramSlots[UserProgramCount];
