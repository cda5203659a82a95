#include "model/ResultStore.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "model/AntDef.h"
#include "model/EnvDef.h"

CResult Results;

void CResult::PushRow() {
    RingIndex = (RingIndex + 1) % ResultRingSize;
    if (RowCount < ResultRingSize) ++RowCount;
    ResultRow& r = Rows[RingIndex];
    r = ResultRow{};
    r.AzEl = EnvDef.AzEl;
    r.Z0R = static_cast<float>(EnvDef.Z0R);
    r.Z0X = static_cast<float>(EnvDef.Z0X);
}

ResultRow* CResult::Row(int k) {
    return const_cast<ResultRow*>(static_cast<const CResult*>(this)->Row(k));
}

const ResultRow* CResult::Row(int k) const {
    int i = (RingIndex - k) % ResultRingSize;
    if (i < 0) i += ResultRingSize;
    return &Rows[i];
}

void CResult::ClearPulseCurrents() {
    int n = std::clamp(EnvDef.PMAX, 0, PulseSlots);
    std::fill_n(PulseCurrent, n, 0.0f);
    std::fill_n(PulseFlags, n, uint8_t{0});
    MaxAbsRe = 0;
    MaxAbsIm = 0;
}

void CResult::StorePulseCurrent(const AntDef& ant, int piece, double re, double im, double magnitude) {
    if (piece < 0 || piece >= ant.ExpWireCount || piece >= MaxExpWires) return;
    int first = ant.ExpWires[piece].FirstPulse;
    if (first < 1 || first > PulseSlots) return;
    int slot = first - 1;
    if (PulseCurrent[slot] != 0.0f) return;   // the first value written wins
    uint8_t flags = 0;
    if (re < 0) flags |= PulseReNegative;
    if (im < 0) flags |= PulseImNegative;
    PulseFlags[slot] = flags;
    MaxAbsRe = std::max(MaxAbsRe, std::fabs(re));
    MaxAbsIm = std::max(MaxAbsIm, std::fabs(im));
    LastPulseSlot = slot;
    PulseCurrent[slot] = static_cast<float>(magnitude);
}

void CResult::CopyPatternData(const CResult& o) {
    HasFarField = o.HasFarField;
    AngleStep = o.AngleStep;
    PointIndex = o.PointIndex;
    PassMode = o.PassMode;
    ElevMaxIndex = o.ElevMaxIndex;
    AzMaxIndex = o.AzMaxIndex;
    std::memcpy(ElevCut, o.ElevCut, sizeof ElevCut);
    std::memcpy(AzCut, o.AzCut, sizeof AzCut);
    AzMax = o.AzMax;
    ElevMax = o.ElevMax;
    GainMax = o.GainMax;
    GvMax = o.GvMax;
    GhMax = o.GhMax;
    CutElevation = o.CutElevation;
    std::memcpy(PulseCurrent, o.PulseCurrent, sizeof PulseCurrent);
    std::memcpy(PulseFlags, o.PulseFlags, sizeof PulseFlags);
    LastPulseSlot = o.LastPulseSlot;
    MaxAbsRe = o.MaxAbsRe;
    MaxAbsIm = o.MaxAbsIm;
}

int CResult::TakeLatest(const CResult& other) {
    if (other.HasFarField) {
        if (this == &other) return HasFarField;
        std::memcpy(Title, other.Title, sizeof Title);
        Rows[0] = *other.Row(0);
        RingIndex = 0;
        RowCount = 1;
        CopyPatternData(other);
    }
    return HasFarField;
}

int CResult::CopyLatest(const CResult& other) {
    if (other.HasFarField && this != &other) {
        *Row(0) = *other.Row(0);
        if (RowCount == 0) RowCount = 1;   // the copied row is now in use
        CopyPatternData(other);
    }
    return HasFarField;
}
