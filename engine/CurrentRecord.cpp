#include "engine/CurrentRecord.h"

#include "engine/EngineState.h"
#include "model/EnvDef.h"

namespace {

int PiecesInUse(const AntDef& ant) {
    if (ant.ExpWireCount < 0) return 0;
    return ant.ExpWireCount < MaxExpWires ? ant.ExpWireCount : MaxExpWires;
}

// The last piece with pulses whose first pulse is not above the pulse;
// piece 0 when there is none.
int PieceHoldingPulse(const AntDef& ant, int pulse) {
    int holder = 0;
    const int count = PiecesInUse(ant);
    for (int k = 0; k < count; ++k) {
        const int first = ant.ExpWires[k].FirstPulse;
        if (first != 0 && first <= pulse) holder = k;
    }
    return holder;
}

}  // namespace

void StoreCurrentRecord(const AntDef& ant, int piece, int pulse, float re, float im, float mag, float phase) {
    PulseCurrentRec* table = JobDef.CurrentTable;
    if (!table) return;
    const int rows = EnvDef.PMAX;
    const int pieceCount = PiecesInUse(ant);
    const bool pieceValid = piece >= 1 && piece <= pieceCount;
    if (pulse < 0) {
        if (!pieceValid) return;
        const int first = ant.ExpWires[piece - 1].FirstPulse;
        if (first < 1 || first > rows || table[first - 1].Valid) return;
        pulse = first;
    }
    if (pulse < 1 || pulse > rows) return;

    const ExpWireRec& holder = ant.ExpWires[PieceHoldingPulse(ant, pulse)];
    const int point = holder.FirstPoint + (pulse - holder.FirstPulse);
    double x, y, z;
    GetPointXYZ(x, y, z, point);

    PulseCurrentRec& row = table[pulse - 1];
    row.Valid = 1;
    row.Wire = (pieceValid ? ant.ExpWires[piece - 1].UserWire : holder.UserWire) + 1;
    row.X = static_cast<float>(x);
    row.Y = static_cast<float>(y);
    row.Z = static_cast<float>(z);
    row.Re = re;
    row.Im = im;
    row.Mag = mag;
    row.Phase = phase;
}
