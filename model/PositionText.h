#pragma once
// Position texts of sources and loads ("w3c", "w12b", "w1e2", "15") and their
// resolution to pulses after the wire expansion.
#include "model/AntDef.h"

// The pulse a position text names, from the wires' FirstPulse and PulseCount:
// a leading number is an absolute pulse; "w" + wire number + b/c/e + offset
// names a pulse of that wire. Texts that name no pulse of the wire, or
// nothing at all, give 0.
int ParseSourcePos(const AntDef& ant, const char* pos);

// Fills FirstPulse and PulseCount of every wire from the pieces (which the
// expansion has cleared and the pulse numbering has filled), then Pulse of
// every source and load.
void ResolvePositions(AntDef& ant);
