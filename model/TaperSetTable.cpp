#include "model/TaperSetTable.h"

namespace {

int SetsInUse(const AntDef& ant) {
    if (ant.TaperSetCount < 0) return 0;
    return ant.TaperSetCount < MaxTaperSets ? ant.TaperSetCount : MaxTaperSets;
}

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
