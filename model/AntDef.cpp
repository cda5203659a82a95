#include "model/AntDef.h"

#include <cmath>
#include <cstring>

namespace {

// The length to keep of a text cut after n of its bytes: n, or less when the
// cut would split a UTF-8 character, which then goes whole. Bytes that are no
// UTF-8 (a name in another code page) are cut where they are.
std::size_t CharacterCut(const char* s, std::size_t n) {
    const auto byte = [s](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    const auto continues = [&](std::size_t i) { return (byte(i) & 0xC0) == 0x80; };
    if (!continues(n)) return n;
    std::size_t lead = n;
    while (lead > 0 && n - lead < 3 && continues(lead - 1)) --lead;
    if (lead == 0) return n;
    --lead;
    const unsigned char b = byte(lead);
    const std::size_t length = b >= 0xF5 ? 0 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC2 ? 2 : 0;
    if (length == 0 || lead + length <= n) return n;
    for (std::size_t i = n + 1; i < lead + length; ++i)
        if (!continues(i)) return n;
    return lead;
}

}  // namespace

void CopyText(char* dest, std::size_t destSize, const char* src) {
    if (destSize == 0) return;
    if (!src) src = "";
    std::size_t n = std::strlen(src);
    if (n >= destSize) n = CharacterCut(src, destSize - 1);
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

bool FrequencyInRange(double mhz) { return mhz >= MinFrequencyMHz && mhz <= MaxFrequencyMHz; }

const char* FrequencyRefusal(double mhz) {
    if (mhz == 0 || FrequencyInRange(mhz)) return nullptr;
    return mhz > MaxFrequencyMHz ? FrequencyHighLimitText : FrequencyLimitText;
}
