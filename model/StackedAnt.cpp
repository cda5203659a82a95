#include "model/StackedAnt.h"
#include "model/PositionText.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

int StackCountH(const AntDef& ant) { return ant.nH < 1 ? 1 : ant.nH; }
int StackCountV(const AntDef& ant) { return ant.nV < 1 ? 1 : ant.nV; }

void RenumberWireRef(char* pos, std::size_t size, int offset) {
    if (offset == 0 || size == 0) return;
    pos[size - 1] = 0;
    // Read as the resolution reads it, so that every copy names the wire the
    // original names ("w0c", "w" and " w1c" are wire 1).
    const PositionRef ref = SplitPosition(pos);
    if (ref.Names == PositionRef::Wire) {
        // A text the antenna text cannot carry stays whole in the calculation
        // copy; a copy taken as the antenna is fitted then (FitPositionsToField).
        if (!SetPositionWire(pos, size, ref.Number + offset)) SetPositionWire(pos, size, ref.Number + offset, 0, size - 1);
    }
    // A plain pulse number names no wire: the resolution counts it in each
    // copy's own pulses (ResolvePositions).
}

bool StackCountsFit(int nH, int nV) {
    // 64 bits: each count may reach the int limit. Every copy needs a wire,
    // so more copies than wires cannot be, whatever the antenna holds.
    return nH >= 1 && nV >= 1 && static_cast<long long>(nH) * nV <= MaxWires;
}

bool BuildStackedAntenna(const AntDef& src, AntDef& out, std::string& error) {
    const int nH = StackCountH(src);
    const int nV = StackCountV(src);
    const int W = std::clamp(src.WireCount, 0, MaxWires);
    const int S = std::clamp(src.SourceCount, 0, MaxSources);
    const int L = std::clamp(src.LoadCount, 0, MaxLoads);
    const long long n = static_cast<long long>(nH) * nV;
    char msg[160];
    // Capped at one more copy than can ever fit, the products below stay far
    // inside 64 bits.
    const long long copies = std::min(n, static_cast<long long>(MaxWires) + 1);
    if (!StackCountsFit(nH, nV) || copies * W > MaxWires) {
        std::snprintf(msg, sizeof msg, "Stack %d x %d needs %.0f wires; the limit is %d.", nH, nV,
                      static_cast<double>(n) * std::max(W, 1), MaxWires);
        error = msg;
        return false;
    }
    if (copies * S > MaxSources) {
        std::snprintf(msg, sizeof msg, "Stack %d x %d needs %lld sources; the limit is %d.", nH, nV, copies * S,
                      MaxSources);
        error = msg;
        return false;
    }
    if (copies * L > MaxLoads) {
        std::snprintf(msg, sizeof msg, "Stack %d x %d needs %lld loads; the limit is %d.", nH, nV, copies * L,
                      MaxLoads);
        error = msg;
        return false;
    }
    // Copies at one place would be the same wires twice: the engine would
    // find no solution.
    const bool hZero = nH > 1 && src.hSpacing == 0.0, vZero = nV > 1 && src.vSpacing == 0.0;
    if (hZero || vZero) {
        std::snprintf(msg, sizeof msg, "Stack %d x %d: the %s spacing is 0, so the copies lie on one another.", nH,
                      nV, hZero ? "horizontal" : "vertical");
        error = msg;
        return false;
    }

    std::memcpy(&out, &src, sizeof(AntDef));
    if (nH > 1) {
        const double offset = -(nH - 1) * src.hSpacing / 2.0;
        for (int k = 0; k < nH; ++k) {
            const double dy = src.hSpacing * k + offset;
            for (int i = 0; i < W; ++i) {
                WireRec w = src.Wires[i];
                w.Y1 += dy;
                w.Y2 += dy;
                out.Wires[k * W + i] = w;
            }
        }
        out.WireCount = nH * W;
    }
    if (nV > 1) {
        // Layer 0 is the side-by-side row just built.
        auto row = std::make_unique<WireRec[]>(static_cast<std::size_t>(nH * W));
        for (int j = 0; j < nH * W; ++j) row[static_cast<std::size_t>(j)] = out.Wires[j];
        double first = -(nV - 1) * src.vSpacing / 2.0;
        if (src.StackMode == 1) first = 0.0;
        if (src.StackMode == 2) first = -(nV - 1) * src.vSpacing;
        for (int m = 0; m < nV; ++m) {
            const double dz = m * src.vSpacing + first;
            for (int j = 0; j < nH * W; ++j) {
                WireRec w = row[static_cast<std::size_t>(j)];
                w.Z1 += dz;
                w.Z2 += dz;
                out.Wires[m * nH * W + j] = w;
            }
        }
        out.WireCount = static_cast<int32_t>(n * W);
    }
    for (int c = 0; c < n; ++c) {
        for (int i = 0; i < S; ++i) {
            SourceRec s = src.Sources[i];
            RenumberWireRef(s.Pos, c * W);
            s.Voltage /= static_cast<double>(n);
            out.Sources[c * S + i] = s;
        }
        for (int i = 0; i < L; ++i) {
            LoadRec l = src.Loads[i];
            RenumberWireRef(l.Pos, c * W);
            out.Loads[c * L + i] = l;
        }
    }
    out.SourceCount = static_cast<int32_t>(n * S);
    out.LoadCount = static_cast<int32_t>(n * L);
    out.StackCopies = n > 1 ? static_cast<int32_t>(n) : 0;
    return true;
}
