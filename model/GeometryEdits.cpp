#include "model/GeometryEdits.h"

#include "model/NumberText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <utility>

namespace {

int Clamped(int count, int capacity) { return std::clamp(count, 0, capacity); }

double RoundInTableUnit(double metres, int digits) {
    const double rounded = WaveToMetre(RoundTo(MetreToWave(metres), digits));
    // Near the largest double the way through wavelengths can overflow.
    return std::isfinite(rounded) ? rounded : metres;
}

}  // namespace

void ExchangeAxes(AntDef& ant, int which) {
    for (int i = 0; i < Clamped(ant.WireCount, MaxWires); ++i) {
        WireRec& w = ant.Wires[i];
        switch (which) {
        case ExchangeXY:
            std::swap(w.X1, w.Y1);
            std::swap(w.X2, w.Y2);
            break;
        case ExchangeXZ:
            std::swap(w.X1, w.Z1);
            std::swap(w.X2, w.Z2);
            break;
        case ExchangeYZ:
            std::swap(w.Y1, w.Z1);
            std::swap(w.Y2, w.Z2);
            break;
        default:
            return;
        }
    }
}

void RoundAntennaValues(AntDef& ant, int digits, bool radii) {
    for (int i = 0; i < Clamped(ant.WireCount, MaxWires); ++i) {
        WireRec& w = ant.Wires[i];
        for (double* v : {&w.X1, &w.Y1, &w.Z1, &w.X2, &w.Y2, &w.Z2}) *v = RoundInTableUnit(*v, digits);
        if (radii && w.R > 0) w.R = WaveToMetre(MmToMetre(RoundTo(MetreToWave(MetreToMm(w.R)), digits)));
    }
    for (int i = 0; i < Clamped(ant.LoadCount, MaxLoads); ++i) {
        LoadRec& l = ant.Loads[i];
        for (int k = 0; k < MaxLoadPairs; ++k) {
            if (l.A[k] != 0.0) l.A[k] = RoundTo(l.A[k], digits);
            if (l.B[k] != 0.0) l.B[k] = RoundTo(l.B[k], digits);
        }
    }
}

void ExchangeWireEnds(WireRec& wire) {
    std::swap(wire.X1, wire.X2);
    std::swap(wire.Y1, wire.Y2);
    std::swap(wire.Z1, wire.Z2);
}

bool MoveWireSource(AntDef& ant, int wire, char letter) {
    for (int i = 0; i < Clamped(ant.SourceCount, MaxSources); ++i) {
        char* pos = ant.Sources[i].Pos;
        const size_t length = strnlen(pos, PosTextSize);
        if (length < 2) continue;
        // The number after the first character, whatever that character is.
        size_t end = 1;
        long long number = 0;
        while (end < length && pos[end] >= '0' && pos[end] <= '9') {
            if (number < 1000000000LL) number = number * 10 + (pos[end] - '0');
            ++end;
        }
        if (end == 1 || number != wire) continue;
        // The letter replaces the character after the number; an offset
        // behind it stays. A wire named without letter (its centre) takes
        // the letter; a plain pulse number has none to change.
        std::string rest(pos + end, pos + length);
        if (rest.empty()) {
            if (pos[0] != 'w' && pos[0] != 'W') continue;
            rest = letter;
        }
        rest[0] = letter;
        const std::string text = "w" + std::to_string(wire) + rest;
        CopyText(ant.Sources[i].Pos, text.c_str());
        return true;
    }
    return false;
}
