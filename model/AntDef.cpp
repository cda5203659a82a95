#include "model/AntDef.h"

#include <cstring>

void CopyText(char* dest, std::size_t destSize, const char* src) {
    if (destSize == 0) return;
    if (!src) src = "";
    std::size_t n = std::strlen(src);
    if (n >= destSize) n = destSize - 1;
    std::memcpy(dest, src, n);
    std::memset(dest + n, 0, destSize - n);
}

void ResetToNewAntenna(AntDef& ant) {
    std::memset(&ant, 0, sizeof ant);
    ant.AutoVoltage = 1;
    ant.UseLoads = 1;
    ant.Freq = NewAntennaFreq;
    SetDefaultSegmentation(ant);
    ant.StackMode = 0;
    ant.nH = 1;
    ant.nV = 1;
    ant.hSpacing = ant.vSpacing = LightSpeedMHz / NewAntennaFreq;
}

namespace {

int Magnitude(int v) { return v == INT32_MIN ? INT32_MAX : (v < 0 ? -v : v); }

}  // namespace

int32_t SegCodeFromFields(int a, int b) {
    if (b != 0) return PackSegPair(Magnitude(a), Magnitude(b));
    return a < SegPairLimit ? SegPairLimit : a;
}

void RepairSegmentation(AntDef& ant) {
    ant.DM1 = Magnitude(ant.DM1);
    ant.DM2 = Magnitude(ant.DM2);
    if (!(ant.SC > 1 && ant.SC <= 3)) ant.SC = 2.0;
    ant.EC = Magnitude(ant.EC);
    if (ant.EC < 1) ant.EC = 1;
    const int count = ant.WireCount < 0 ? 0 : (ant.WireCount > MaxWires ? MaxWires : ant.WireCount);
    for (int i = 0; i < count; ++i) {
        int32_t& seg = ant.Wires[i].Seg;
        if (IsSegPair(seg)) seg = SegCodeFromFields(SegPairFirst(seg), SegPairSecond(seg));
    }
}

void SetDefaultSegmentation(AntDef& ant) {
    ant.DM1 = 800;
    ant.DM2 = 80;
    ant.EC = 1;
    ant.SC = 2.0;
}
