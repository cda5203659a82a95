#include "engine/WireExpansion.h"

#include "engine/EngineError.h"
#include "engine/EngineState.h"
#include "engine/Segmentation.h"
#include "engine/TaperWires.h"
#include "model/EnvDef.h"
#include "model/Messages.h"
#include "model/NumberText.h"
#include "model/PositionText.h"
#include "model/TaperSetTable.h"

#include <algorithm>
#include <cctype>
#include <cfloat>
#include <cmath>
#include <string>
#include <utility>

namespace {

// Pieces that did not fit into the table since the last ExpandWires.
int droppedPieces = 0;

// Collects the reasons to refuse the model: each is logged, the first one
// shown, once, when the expansion ends.
class ExpansionReport {
public:
    void Refuse(const std::string& line, bool show) {
        AddEngineLog(line);
        if (show && notice_.empty()) notice_ = line;
        refused_ = true;
    }
    int Finish() const {
        if (!notice_.empty()) ShowEngineNotice(notice_);
        return refused_ ? 0 : 1;
    }

private:
    std::string notice_;
    bool refused_ = false;
};

// Restores DM2 after a packed code has replaced it for one wire.
class MiddleDensityOverride {
public:
    MiddleDensityOverride(AntDef& ant, int density) : ant_(ant), saved_(ant.DM2) { ant.DM2 = density; }
    ~MiddleDensityOverride() { ant_.DM2 = saved_; }
    MiddleDensityOverride(const MiddleDensityOverride&) = delete;
    MiddleDensityOverride& operator=(const MiddleDensityOverride&) = delete;

private:
    AntDef& ant_;
    int saved_;
};

bool UsableRadius(double r) { return r > 0 && std::isfinite(r); }

// The pieces from `first` on all have a usable radius.
bool PiecesUsable(const AntDef& ant, int first) {
    for (int p = first; p < ant.ExpWireCount; ++p)
        if (!UsableRadius(ant.ExpWires[p].R)) return false;
    return true;
}

std::string MissingTaperSetLine(double radius) {
    return "R = " + DblToStr(radius * 1000) + "  " + OptWireMessages[OptMsgNoTaperSet] + " ";
}

}  // namespace

void SwapPositionEnd(char (&pos)[PosTextSize], int wireNo) {
    if (std::toupper(static_cast<unsigned char>(pos[0])) != 'W') return;
    int i = 1;
    long long number = 0;
    while (i < PosTextSize && std::isdigit(static_cast<unsigned char>(pos[i]))) {
        number = std::min<long long>(number * 10 + (pos[i] - '0'), 1000000);
        ++i;
    }
    if (i >= PosTextSize) return;
    const long long named = number == 0 ? 1 : number;
    if (named != wireNo) return;
    switch (pos[i]) {
        case 'b': pos[i] = 'e'; break;
        case 'e': pos[i] = 'b'; break;
        case 'B': pos[i] = 'E'; break;
        case 'E': pos[i] = 'B'; break;
        default: break;
    }
}

void AddWirePiece(AntDef& ant, double x1, double y1, double z1, double x2, double y2, double z2, double r,
                  int segs, int wireIndex) {
    if (ant.ExpWireCount < 0) ant.ExpWireCount = 0;
    if (ant.ExpWireCount >= MaxExpWires) {
        ++droppedPieces;
        return;
    }
    ExpWireRec& piece = ant.ExpWires[ant.ExpWireCount++];
    piece = ExpWireRec{x1, y1, z1, x2, y2, z2, r, segs, wireIndex, 0, 0, 0};
}

void ExpandWire(AntDef& ant, int wireIndex, const WireRec& wire) {
    const Point3D end1 = WireEnd1(wire), end2 = WireEnd2(wire);
    const int seg = wire.Seg;
    if (seg > 0) {
        AddWirePiece(ant, end1, end2, wire.R, seg, wireIndex);
    } else if (seg == 0) {
        SplitWireAuto(ant, end1, end2, wire.R, ant.DM2, wireIndex);
    } else if (seg == -2) {
        SplitWireTaper1(ant, end1, end2, wire.R, ant.DM1, wireIndex);
    } else if (seg == -3) {
        SplitWireTaper2(ant, end1, end2, wire.R, ant.DM1, wireIndex);
    } else if (!IsSegPair(seg)) {
        SplitWireN(ant, end1, end2, wire.R, -seg, wireIndex);
    } else {
        MiddleDensityOverride middle(ant, SegPairSecond(seg));
        SplitWireN(ant, end1, end2, wire.R, SegPairFirst(seg), wireIndex);
    }
}

int ExpandWires(AntDef& ant) {
    ExpansionReport report;
    ant.LowestZ = DBL_MAX;
    ant.ExpWireCount = 0;
    droppedPieces = 0;
    bool tableFullReported = false;
    bool segmentationReported = false;
    const int wireCount = std::clamp(ant.WireCount, 0, MaxWires);

    for (int i = 0; i < wireCount; ++i) {
        WireRec& wire = ant.Wires[i];
        wire.FirstPulse = 0;
        wire.PulseCount = 0;
        if (wire.R == 0) continue;
        if (ant.ExpWireCount >= MaxExpWires) {
            // Wires left out would silently change the antenna: refuse it.
            if (!tableFullReported) report.Refuse(OptWireMessages[OptMsgTooManyWires], true);
            tableFullReported = true;
            continue;
        }
        ant.LowestZ = std::min({ant.LowestZ, wire.Z1, wire.Z2});

        const int firstPiece = ant.ExpWireCount;
        bool checkRadius = true;
        try {
            if (wire.R < 0) {
                if (const TaperSet* set = FindTaperSet(ant, wire.R)) {
                    ExpandTaperWire(ant, *set, i, wire);
                } else {
                    // Still expanded, so the view can show the wire; the model is refused.
                    report.Refuse(MissingTaperSetLine(wire.R), true);
                    checkRadius = false;
                    ExpandWire(ant, i, wire);
                }
            } else {
                ExpandWire(ant, i, wire);
            }
        } catch (const EngineError& e) {
            if (!segmentationReported) report.Refuse(e.what(), false);
            segmentationReported = true;
            checkRadius = false;
        }
        if (checkRadius && !PiecesUsable(ant, firstPiece))
            report.Refuse("WIRE " + std::to_string(i + 1) + ": RADIUS " + DblToStr(wire.R) + " IS NOT USABLE", false);
    }
    if (droppedPieces > 0 && !tableFullReported) report.Refuse(OptWireMessages[OptMsgTooManyWires], true);
    return report.Finish();
}

namespace {

// A position from the centre of wire `wireNo` (from 1) of `count` pulses is
// written for the wire turned round, naming the same pulse: its offset
// changes sign, and with an even count its size by one. False for a
// position from an end (exchanging "b" and "e" keeps its pulse), one that
// names no pulse there, or a text that would not fit.
bool MirrorPositionOnWire(char (&pos)[PosTextSize], int wireNo, long long count) {
    const PositionRef ref = SplitPosition(pos);
    if (ref.Names != PositionRef::Wire || ref.Number != wireNo) return false;
    const char letter = ref.Rest[0] == '\0' ? 'c' : ref.Rest[0];
    if (letter != 'c' && letter != 'C') return false;
    const long long index = PulseIndexOnWire(ref.Rest, count);
    if (index < 0) return false;
    const long long offset = count - 1 - index - count / 2;
    const std::string text = PositionOnWireText(ref.Letter, wireNo, letter, offset);
    if (text.size() > static_cast<std::size_t>(PosTextLength)) return false;
    CopyText(pos, text.c_str());
    return true;
}

void TurnPosition(char (&pos)[PosTextSize], int wireNo, long long count) {
    if (count <= 0 || !MirrorPositionOnWire(pos, wireNo, count)) SwapPositionEnd(pos, wireNo);
}

// A wire whose second end rests on the ground and whose first does not: the
// preparation turns it so that its grounded end comes first.
bool EndsOnTheGround(const WireRec& w, double height) { return w.Z2 + height == 0 && w.Z1 + height != 0; }

}  // namespace

bool HasWireToTurn(const AntDef& ant) {
    const WireRec* wires = ant.Wires;
    return std::any_of(wires, wires + std::clamp(ant.WireCount, 0, MaxWires),
                       [](const WireRec& w) { return EndsOnTheGround(w, EnvDef.AntHeight); });
}

std::vector<int> TurnGroundedWires(AntDef& ant) {
    std::vector<int> turned;
    const double height = EnvDef.AntHeight;
    const int wireCount = std::clamp(ant.WireCount, 0, MaxWires);
    for (int i = 0; i < wireCount; ++i) {
        WireRec& w = ant.Wires[i];
        if (!EndsOnTheGround(w, height)) continue;
        std::swap(w.X1, w.X2);
        std::swap(w.Y1, w.Y2);
        std::swap(w.Z1, w.Z2);
        if (w.Seg == -2) w.Seg = -3;
        else if (w.Seg == -3) w.Seg = -2;
        turned.push_back(i);
    }
    return turned;
}

std::vector<int> NormalizeGroundedWires(AntDef& ant, const std::vector<long long>& wirePulses) {
    const std::vector<int> turned = TurnGroundedWires(ant);
    const int sourceCount = std::clamp(ant.SourceCount, 0, MaxSources);
    const int loadCount = std::clamp(ant.LoadCount, 0, MaxLoads);
    for (int i : turned) {
        const long long count = i < static_cast<int>(wirePulses.size()) ? wirePulses[static_cast<std::size_t>(i)] : 0;
        for (int s = 0; s < sourceCount; ++s) TurnPosition(ant.Sources[s].Pos, i + 1, count);
        for (int l = 0; l < loadCount; ++l) TurnPosition(ant.Loads[l].Pos, i + 1, count);
    }
    return turned;
}

namespace {

// The number of a position given as a plain pulse number ("12"), else 0.
long long PlainPulseNumber(const char (&pos)[PosTextSize]) {
    int i = 0;
    while (i < PosTextSize && (pos[i] == ' ' || pos[i] == '\t')) ++i;
    long long number = 0;
    int digits = 0;
    for (; i < PosTextSize && std::isdigit(static_cast<unsigned char>(pos[i])); ++i, ++digits)
        number = std::min<long long>(number * 10 + (pos[i] - '0'), 1000000000);
    if (digits == 0 || (i < PosTextSize && pos[i] != '\0' && pos[i] != ' ')) return 0;
    return number;
}

bool MirrorOnTurnedWire(char (&pos)[PosTextSize], const AntDef& prepared, const std::vector<int>& turned) {
    const long long p = PlainPulseNumber(pos);
    if (p <= 0) return false;
    for (int i : turned) {
        if (i >= std::min(prepared.WireCount, MaxWires)) continue;
        const WireRec& w = prepared.Wires[i];
        const long long first = w.FirstPulse, last = static_cast<long long>(w.FirstPulse) + w.PulseCount - 1;
        if (first <= 0 || p < first || p > last) continue;
        const std::string text = std::to_string(first + last - p);
        CopyText(pos, text.c_str());
        return true;
    }
    return false;
}

}  // namespace

bool KeepPulseNumbersOnTurnedWires(AntDef& ant, const AntDef& prepared, const std::vector<int>& turned) {
    bool changed = false;
    for (int s = 0; s < std::clamp(ant.SourceCount, 0, MaxSources); ++s)
        changed |= MirrorOnTurnedWire(ant.Sources[s].Pos, prepared, turned);
    for (int l = 0; l < std::clamp(ant.LoadCount, 0, MaxLoads); ++l)
        changed |= MirrorOnTurnedWire(ant.Loads[l].Pos, prepared, turned);
    return changed;
}
