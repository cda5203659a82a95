#pragma once
// Antenna texts kept in memory (the Edit menu's temporary memory and the
// antenna as it was before an optimization) and their restoring.
#include <string>
#include <string_view>

struct AntDef;
struct EnvRec;

// Replaces the antenna, the ground and reference fields of `env` and the
// comment by those of a kept antenna text. Nothing of the antenna it replaces
// survives (wires, loads or tapered sets the text does not name are gone),
// and the comment is replaced, not appended to.
void RestoreAntennaText(AntDef& ant, EnvRec& env, std::string& comment, std::string_view text);
