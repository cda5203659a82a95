#include "engine/Currents.h"

#include "engine/CurrentRecord.h"
#include "engine/EngineMessageLog.h"
#include "engine/Solve.h"
#include "model/CheckedFormat.h"
#include "model/EnvDef.h"
#include "model/Messages.h"
#include "model/ResultStore.h"

#include <cmath>

namespace {

constexpr double DegPerRad = 57.29577951308232;

bool TableMode() { return JobDef.CurrentTable != nullptr; }

// Pulse p of piece w into the table or into its results slot (overwriting).
void StorePulse(int w, int p) {
    EngineState& e = Engine;
    if (p < 1 || p > e.PulseCount) return;
    const ComplexF i = e.Currents[p];
    const double re = i.real(), im = i.imag();
    const double mag = std::hypot(re, im);
    if (TableMode()) {
        StoreCurrentRecord(*e.Model, w, p, i.real(), i.imag(), static_cast<float>(mag),
                           static_cast<float>(std::atan2(im, re) * DegPerRad));
        return;
    }
    if (p > PulseSlots) return;
    const int slot = p - 1;
    uint8_t flags = 0;
    if (re < 0.0) flags |= PulseReNegative;
    if (im < 0.0) flags |= PulseImNegative;
    Results.PulseFlags[slot] = flags;
    if (std::fabs(re) > Results.MaxAbsRe) Results.MaxAbsRe = std::fabs(re);
    if (std::fabs(im) > Results.MaxAbsIm) Results.MaxAbsIm = std::fabs(im);
    Results.LastPulseSlot = slot;
    Results.PulseCurrent[slot] = static_cast<float>(mag);
}

void StoreWireCurrents(int w, int from, int to) {
    for (int p = from; p < to; ++p) StorePulse(w, p);
}

void StoreWireEndCurrents(int w, int first, int last) {
    const EngineState& e = Engine;
    const int e2 = last > 0 ? e.Halves[last].Second : w;
    bool found = false;
    const bool endOnGround = e.GroundFlag < 0 && e.PieceGroundContact[w] == 1;
    if (!endOnGround) GetPulseCurrent(last, w, e2, 2, found);
    if (first == 0 && last == 0) return;
    if (last < first) return;
    if (e2 != w && found) return;  // the joined piece reports that point
    StorePulse(w, last);
}

}  // namespace

ComplexF GetPulseCurrent(int p, int w, int connection, int end, bool& found) {
    const EngineState& e = Engine;
    ComplexF sum(0.0f, 0.0f);
    found = false;
    if (connection != w && connection != 0 && p >= 1 && p <= e.PulseCount) {
        sum = e.Currents[p];
        found = true;
    }
    for (int v = 1; v <= e.PieceCount; ++v) {
        if (v == w) continue;
        const int fv = e.PieceFirstPulse[v];
        const int lv = e.PieceLastPulse[v];
        const bool hasFirst = fv >= 1 && fv <= e.PulseCount;
        const bool hasLast = lv >= 1 && lv <= e.PulseCount;
        if (end == 1) {
            if (hasFirst && e.Halves[fv].First == -w) {
                sum -= e.Currents[fv];
                found = true;
            } else if (hasLast && e.Halves[lv].Second == w) {
                sum += e.Currents[lv];
                found = true;
            }
        } else {
            if (hasLast && e.Halves[lv].Second == -w) {
                sum -= e.Currents[lv];
                found = true;
            } else if (hasFirst && e.Halves[fv].First == w) {
                sum += e.Currents[fv];
                found = true;
            }
        }
    }
    return sum;
}

void FixCurrentSigns(CResult& results) {
    const uint8_t bit = results.MaxAbsRe > results.MaxAbsIm ? PulseReNegative : PulseImNegative;
    for (int slot = 0; slot <= results.LastPulseSlot && slot < PulseSlots; ++slot)
        if (results.PulseFlags[slot] & bit) results.PulseCurrent[slot] = -results.PulseCurrent[slot];
}

void CalcCurrents() {
    EngineState& e = Engine;
    if (!TableMode()) Results.ClearPulseCurrents();
    FillAndSolve();
    LogEngineMessage(EngCurrentData);
    for (int w = 1; w <= e.PieceCount; ++w) {
        int first = e.PieceFirstPulse[w];
        int last = e.PieceLastPulse[w];
        const int e1 = first > 0 ? e.Halves[first].First : w;
        if (e.GroundFlag < 0 && e.PieceGroundContact[w] == -1) {
            if (last < first) last = first;
            StoreWireCurrents(w, first, last);
            StoreWireEndCurrents(w, first, last);
            continue;
        }
        bool found = false;
        const ComplexF joint = GetPulseCurrent(first, w, e1, 1, found);
        const double re = joint.real(), im = joint.imag();
        const double mag = std::hypot(re, im);
        if (TableMode())
            StoreCurrentRecord(*e.Model, w, -1, joint.real(), joint.imag(), static_cast<float>(mag),
                               static_cast<float>(std::atan2(im, re) * DegPerRad));
        else if (e.Model)
            Results.StorePulseCurrent(*e.Model, w - 1, re, im, mag);
        if (first != 0) {
            if (e1 != w && found) ++first;  // the joint pulse is already reported
            StoreWireCurrents(w, first, last);
        }
        StoreWireEndCurrents(w, first, last);
    }
    // The table run leaves the store's slots as they were.
    if (!TableMode()) FixCurrentSigns(Results);
}

void CalcCurrentsOnly() { CalcCurrents(); }
