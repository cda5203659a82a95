#pragma once
// Filling the currents table (JobDef.CurrentTable) from the current pass.
#include "model/AntDef.h"
#include "model/PulseCurrentRec.h"

// Stores one row of the currents table while the table exists. piece is
// 1-based; pulse -1 stands for the first pulse of the piece, which is stored
// only when its row is not yet valid. X, Y, Z come from the engine's point
// table; the user wire is that of the piece passed in.
void StoreCurrentRecord(const AntDef& ant, int piece, int pulse, float re, float im, float mag, float phase);
