#include "model/TaperSetTable.h"

#include <algorithm>

#include "model/NumberText.h"

namespace {

int SetsInUse(const AntDef& ant) {
    if (ant.TaperSetCount < 0) return 0;
    return ant.TaperSetCount < MaxTaperSets ? ant.TaperSetCount : MaxTaperSets;
}

// What a save of a key or a radius reads back as.
double ReadBack(double v) {
    double back = 0;
    StrToDblExpr(back, DblToStrExact(v));
    return back;
}

// Keys and radii are written alike; two values whose texts read back as one
// would be one after a save. (Values of unlike sign never do: the common case
// of a positive radius and a negative key costs no formatting.)
bool ReadBackAsOne(double a, double b) { return a != b && (a < 0) == (b < 0) && ReadBack(a) == ReadBack(b); }

double RadiusBefore(const TaperSet& set, int k) { return k == 0 ? TaperDefaultRadius : set.Rad[k - 1]; }

void NormalizeSections(TaperSet& set) {
    for (int k = 0; k < MaxTaperSections; ++k) {
        if (set.Len[k] == 0) {
            const int last = k == 0 ? 0 : k - 1;
            set.Len[last] = TaperRestLength;
            if (set.Rad[last] == 0) set.Rad[last] = RadiusBefore(set, last);
            return;
        }
        if (k == MaxTaperSections - 1) set.Len[k] = TaperRestLength;
        if (set.Rad[k] == 0) set.Rad[k] = RadiusBefore(set, k);
    }
}

}  // namespace

const TaperSet* FindTaperSet(const AntDef& ant, double radius) {
    const int count = SetsInUse(ant);
    for (int i = 0; i < count; ++i)
        if (ant.TaperSets[i].Key == radius) return &ant.TaperSets[i];
    return nullptr;
}

bool TaperKeyReadsBack(const AntDef& ant, int set, double key) {
    for (int i = 0; i < SetsInUse(ant); ++i)
        if (i != set && ReadBackAsOne(ant.TaperSets[i].Key, key)) return false;
    for (int i = 0; i < std::clamp(ant.WireCount, 0, MaxWires); ++i)
        if (ReadBackAsOne(ant.Wires[i].R, key)) return false;
    return true;
}

bool TaperRadiusReadsBack(const AntDef& ant, double radius) {
    for (int i = 0; i < SetsInUse(ant); ++i)
        if (ReadBackAsOne(ant.TaperSets[i].Key, radius)) return false;
    return true;
}

bool TaperKeysReadBack(const AntDef& ant) {
    for (int i = 0; i < SetsInUse(ant); ++i)
        if (!TaperKeyReadsBack(ant, i, ant.TaperSets[i].Key)) return false;
    return true;
}

void NormalizeTaperSets(AntDef& ant) {
    const int count = SetsInUse(ant);
    ant.TaperSetCount = count;
    for (int i = 0; i < count; ++i) {
        if (ant.TaperSets[i].Key == 0) {
            ant.TaperSetCount = i;
            return;
        }
        NormalizeSections(ant.TaperSets[i]);
    }
}
