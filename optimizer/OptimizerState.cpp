#include "optimizer/OptimizerState.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstring>
#include <utility>

#include "model/CheckedFormat.h"
#include "model/EnvDef.h"
#include "model/Messages.h"
#include "model/NumberText.h"
#include "model/SaveReadBack.h"
#include "model/ScopedValue.h"
#include "model/WireGeometry.h"

namespace {

// A message of the optimizer's table with its row numbers; the active
// language's text is used when it takes the same numbers.
std::string OptMessage(int index, int a, int b = -1) {
    const char* fallback = DefaultOptWireMessages[index];
    const char* text = OptWireMessages[index][0] ? OptWireMessages[index] : fallback;
    const char* kinds = b < 0 ? "i" : "ii";
    if (!FormatMatchesKinds(text, kinds)) text = fallback;
    return b < 0 ? FormatInCLocale(text, a) : FormatInCLocale(text, a, b);
}

constexpr double LowestDouble = -DBL_MAX;

OptimizerCheck Found(OptimizerCheck::Outcome result, int message, int first, int second = -1) {
    OptimizerCheck check;
    check.Result = result;
    check.Message = message;
    check.First = first;
    check.Second = second;
    return check;
}

OptimizerCheck Refusal(int message, int first, int second = -1) {
    return Found(OptimizerCheck::Refused, message, first, second);
}

}  // namespace

std::string OptimizerCheck::Text() const {
    return Message < 0 ? std::string() : OptMessage(Message, First, Second);
}

CACal::CACal() {
    Weights[WGain] = Weights[WFB] = Weights[WJX] = 50;
    OptZR = EnvDef.Z0R;
    BestResult.HasFarField = 0;
    BestResult.ClearSweep();
}

int CACal::RowCount() {
    FollowPending();
    return rowCount_;
}

ACalVarRec& CACal::Row(int i) {
    FollowPending();
    return rows_[i];
}

CWGroupList& CACal::Groups() {
    FollowPending();
    return groups_;
}

void CACal::SetRowCount(int n) {
    rowCount_ = std::clamp(n, 0, MaxVarRows);
    std::fill(rows_ + rowCount_, rows_ + MaxVarRows, ACalVarRec{});
}

std::vector<std::string> CACal::TakeNotes() { return std::exchange(notes_, {}); }

std::vector<std::string> CACal::Attach(AntDef& ant, EnvRec& env, const AntennaIdentities* ids) {
    // The rows the follow below deletes are no reading of rows to follow for.
    const ScopedValue<bool> following(following_, true);
    Ant = &ant;
    Env = &env;
    ids_ = ids;
    std::vector<std::string> notes = FollowEdits(ant);
    groups_.Build(ant);
    return notes;
}

bool CACal::ItemInRange(const ACalVarRec& r) const {
    if (!Ant) return false;
    switch (r.Kind) {
    case KindWire: return r.Item >= 0 && r.Item < groups_.WireCount && r.Field >= 0 && r.Field < 7;
    case KindElement: return r.Item >= 0 && r.Item < groups_.Count && r.Field >= 0 && r.Field < 9;
    case KindLoad: return r.Item >= 0 && r.Item < Ant->LoadCount && r.Field >= 0 && r.Field < 2;
    case KindWirePolar: return r.Item >= 0 && r.Item < groups_.WireCount && r.Field >= 0 && r.Field < 9;
    case KindSource: return r.Item >= 0 && r.Item < Ant->SourceCount && r.Field >= 0 && r.Field < 2;
    case KindHeight: return Env != nullptr;
    case KindFreq: return true;
    case KindStack: return r.Field >= 0 && r.Field < 3;
    default: return false;
    }
}

double CACal::GetValue(int row) {
    if (row < 0 || row >= MaxVarRows) return 0;
    FollowPending();
    const ACalVarRec& r = rows_[row];
    if (!ItemInRange(r)) return 0;
    switch (r.Kind) {
    case KindWire: return GetWireValue(r);
    case KindElement: return GetElementValue(r);
    case KindLoad: return GetLoadValue(r);
    case KindHeight: return Env->AntHeight;
    case KindFreq: return Ant->CalcFreq;
    case KindWirePolar: return GetWireGeom(r);
    case KindSource: return GetSourceValue(r);
    case KindStack: return GetStackValue(r);
    default: return 0;
    }
}

void CACal::SetValue(int row, double v) {
    if (row < 0 || row >= MaxVarRows) return;
    // Set on the element model of the antenna as it is now.
    FollowPending();
    ACalVarRec& r = rows_[row];
    r.Value = v;
    if (!ItemInRange(r)) return;
    switch (r.Kind) {
    case KindWire: SetWireValue(r, v); break;
    case KindElement: SetElementValue(r, v); break;
    case KindLoad: SetLoadValue(r, v); break;
    case KindHeight: Env->AntHeight = v; break;
    case KindFreq:
        Ant->CalcFreq = v;
        Bands[0].Freq = v;
        break;
    case KindWirePolar: SetWireGeom(r, v); break;
    case KindSource: SetSourceValue(r, v); break;
    case KindStack: SetStackValue(r, v); break;
    default: break;
    }
}

double CACal::GetWireValue(const ACalVarRec& r) {
    const WireRec& w = groups_.Wires[r.Item];
    switch (r.Field) {
    case 0: return w.Y1;
    case 1: return w.Z1;
    case 2: return w.Y2;
    case 3: return w.Z2;
    case 4: return w.R;
    case 5: return w.X1 + groups_.PosOfWire(r.Item);
    case 6: return w.X2 + groups_.PosOfWire(r.Item);
    default: return 0;
    }
}

void CACal::SetWireValue(const ACalVarRec& r, double v) {
    WireRec& w = groups_.Wires[r.Item];
    const WireRec before = w;
    switch (r.Field) {
    case 0: w.Y1 = v; break;
    case 1: w.Z1 = v; break;
    case 2: w.Y2 = v; break;
    case 3: w.Z2 = v; break;
    case 4: w.R = v; break;
    case 5: w.X1 = v - groups_.PosOfWire(r.Item); break;
    case 6: w.X2 = v - groups_.PosOfWire(r.Item); break;
    default: return;
    }
    SetWireField(r.Item, before);
}

// Wires of the same element that shared a moved end follow it.
void CACal::SetWireField(int wire, const WireRec& before) {
    CWGroup* g = groups_.GroupPtr(wire);
    if (!g) return;
    const WireRec& now = groups_.Wires[wire];
    const Point3D oldEnds[2] = {WireEnd1(before), WireEnd2(before)};
    const Point3D newEnds[2] = {WireEnd1(now), WireEnd2(now)};
    for (int end = 0; end < 2; ++end) {
        const Point3D& p = oldEnds[end];
        const Point3D& q = newEnds[end];
        if (p.X == q.X && p.Y == q.Y && p.Z == q.Z) continue;
        for (const auto& m : g->Members)
            if (m.Wire != wire) ReplacePoint(groups_.Wires[m.Wire], p, q);
    }
}

double CACal::GetElementValue(const ACalVarRec& r) {
    CWGroup& g = groups_.Groups[r.Item];
    switch (r.Field) {
    case ElInterval: return groups_.Intervals[r.Item];
    case ElWidth: case ElWidthAll: return g.Width();
    case ElHeight: case ElHeightAll: return g.Height();
    case ElLength: case ElLengthAll: return g.GetLength();
    case ElRadius: return g.Radius();
    case ElPos: return groups_.PosOf(r.Item);
    default: return 0;
    }
}

void CACal::SetElementValue(const ACalVarRec& r, double v) {
    CWGroup& g = groups_.Groups[r.Item];
    switch (r.Field) {
    case ElInterval: groups_.Intervals[r.Item] = v; break;
    case ElWidth: g.SetWidthEnds(v); break;
    case ElHeight: g.SetHeightEnds(v); break;
    case ElLength: g.SetLengthEnds(v); break;
    case ElRadius: g.SetRadius(v); break;
    case ElPos: groups_.SetPos(r.Item, v); break;
    case ElWidthAll: g.SetWidthScaled(v); break;
    case ElHeightAll: g.SetHeightScaled(v); break;
    case ElLengthAll: g.SetLengthScaled(v); break;
    default: break;
    }
}

double CACal::GetLoadValue(const ACalVarRec& r) const {
    const LoadRec& l = Ant->Loads[r.Item];
    return r.Field == 0 ? l.A[0] : l.B[0];
}

void CACal::SetLoadValue(const ACalVarRec& r, double v) {
    LoadRec& l = Ant->Loads[r.Item];
    // An LC load keeps its resonance: L x C stays when both are set.
    const bool keepProduct = l.Type == LoadLC && l.A[0] != 0 && l.B[0] != 0 && v != 0;
    const double product = l.A[0] * l.B[0];
    if (r.Field == 0) {
        l.A[0] = v;
        if (keepProduct) l.B[0] = product / v;
    } else {
        l.B[0] = v;
        if (keepProduct) l.A[0] = product / v;
    }
}

double CACal::GetWireGeom(const ACalVarRec& r) {
    double length, azimuth, tilt;
    WireLenAzEl(length, azimuth, tilt, groups_.Wires[r.Item]);
    switch (r.Field / 3) {
    case 0: return length;
    case 1: return azimuth;
    default: return tilt;
    }
}

void CACal::SetWireGeom(const ACalVarRec& r, double v) {
    WireRec& w = groups_.Wires[r.Item];
    const WireRec before = w;
    double length, azimuth, tilt;
    WireLenAzEl(length, azimuth, tilt, w);
    switch (r.Field / 3) {
    case 0: length = v; break;
    case 1: azimuth = v; break;
    default: tilt = v; break;
    }
    constexpr double Deg = M_PI / 180.0;
    const double vx = length * std::sin(tilt * Deg) * std::cos(azimuth * Deg);
    const double vy = length * std::sin(tilt * Deg) * std::sin(azimuth * Deg);
    const double vz = length * std::cos(tilt * Deg);
    switch (r.Field % 3) {
    case 0:  // start stays
        w.X2 = w.X1 + vx; w.Y2 = w.Y1 + vy; w.Z2 = w.Z1 + vz;
        break;
    case 1:  // end stays
        w.X1 = w.X2 - vx; w.Y1 = w.Y2 - vy; w.Z1 = w.Z2 - vz;
        break;
    default: {  // middle stays
        const double mx = (w.X1 + w.X2) / 2, my = (w.Y1 + w.Y2) / 2, mz = (w.Z1 + w.Z2) / 2;
        w.X1 = mx - vx / 2; w.Y1 = my - vy / 2; w.Z1 = mz - vz / 2;
        w.X2 = mx + vx / 2; w.Y2 = my + vy / 2; w.Z2 = mz + vz / 2;
        break;
    }
    }
    SetWireField(r.Item, before);
}

double CACal::GetSourceValue(const ACalVarRec& r) const {
    const SourceRec& s = Ant->Sources[r.Item];
    return r.Field == 0 ? s.Phase : s.Voltage;
}

void CACal::SetSourceValue(const ACalVarRec& r, double v) {
    SourceRec& s = Ant->Sources[r.Item];
    (r.Field == 0 ? s.Phase : s.Voltage) = v;
}

double CACal::GetStackValue(const ACalVarRec& r) const {
    return r.Field == 2 ? Ant->vSpacing : Ant->hSpacing;
}

void CACal::SetStackValue(const ACalVarRec& r, double v) {
    if (r.Field != 2) Ant->hSpacing = v;
    if (r.Field != 1) Ant->vSpacing = v;
}

double CACal::LinkedValue(int32_t link, double c) {
    const int j = LinkMaster(link);
    if (j < 0 || j >= MaxVarRows) return 0;
    const double v = rows_[j].Value;
    if (link <= -2) return -v;
    if (link & LinkAdd) return v + c;
    if (link & LinkSubtractFrom) return -v + c;
    if (link & LinkMultiply) return v * c;
    if (link & LinkDivide) return c != 0 ? v / c : v;
    return v;
}

void CACal::SetWithLinks(int row) {
    if (row < 0 || row >= rowCount_ || rows_[row].Link != LinkFree) return;
    SetValue(row, rows_[row].Value);
    for (int k = 0; k < rowCount_; ++k) {
        const int32_t link = rows_[k].Link;
        if (link == LinkFree || LinkMaster(link) != row) continue;
        SetValue(k, LinkedValue(link, rows_[k].Step));
    }
}

int CACal::FollowLink(int depth, int row) const {
    while (row >= 0 && row < rowCount_) {
        if (rows_[row].Link == LinkFree) return row;
        if (++depth > rowCount_) return -1;
        row = LinkMaster(rows_[row].Link);
    }
    return -1;
}

int32_t CACal::ResolveLink(int depth, int32_t link) const {
    if (link == LinkFree) return LinkFree;
    const int end = FollowLink(depth, LinkMaster(link));
    if (end < 0) return -1;
    if (link <= -2) return -2 - end;
    return (link & ~0xFFFF) | end;
}

void CACal::SetDefaultLimits(int row) {
    if (row < 0 || row >= MaxVarRows || !Ant) return;
    ACalVarRec& r = rows_[row];
    auto cutItem = [&](int count) { r.Item = std::clamp(r.Item, 0, std::max(0, count - 1)); };
    int fields = 1;
    switch (r.Kind) {
    case KindWire: cutItem(groups_.WireCount); fields = 7; break;
    case KindElement: cutItem(groups_.Count); fields = 9; break;
    case KindLoad: cutItem(Ant->LoadCount); fields = 2; break;
    case KindWirePolar: cutItem(groups_.WireCount); fields = 9; break;
    case KindSource: cutItem(Ant->SourceCount); break;
    default: r.Item = 0; break;
    }
    if (r.Kind == KindSource)
        r.Field = std::clamp(r.Field, 0, 1);
    else if (r.Kind == KindStack)
        r.Field = std::clamp(r.Field, 0, 2);
    else if (r.Field < 0 || r.Field >= fields)
        r.Field = 0;
    // Steps are sizes: taken from the magnitude of the value.
    const double value = std::fabs(GetValue(row));
    const bool abs = StepAbsolute != 0;
    switch (r.Kind) {
    case KindWire:
        r.Max = r.Field == 4 ? 0.5 : 2000;
        r.Min = r.Field == 4 ? 0 : -2000;
        r.Step = abs ? NiceStep(value * 0.005) : 0.5;
        break;
    case KindElement:
        r.Max = r.Field == ElRadius ? 0.5 : 2000;
        r.Min = 0;
        r.Step = abs ? NiceStep(value * 0.005) : 0.5;
        break;
    case KindLoad:
        r.Max = 10000;
        r.Min = 0;
        r.Step = abs ? NiceStep(value * 0.005) : 0.5;
        break;
    case KindHeight:
        r.Max = 200;
        r.Min = 0;
        r.Step = abs ? 1.0 : 10.0;
        break;
    case KindFreq:
        r.Max = 1300;
        r.Min = 1.5;
        r.Step = abs ? NiceStep(value * 0.01) : 1.0;
        break;
    case KindWirePolar:
        r.Max = r.Field < 3 ? 2000 : 360;
        r.Min = r.Field < 3 ? 0 : -360;
        r.Step = abs ? NiceStep(value * 0.005) : 1.0;
        break;
    case KindSource:
        r.Max = r.Field == 0 ? 360.1 : 1.0;
        r.Min = r.Field == 0 ? -360.1 : 0;
        r.Step = r.Field == 0 ? 1.0 : 0.01;
        break;
    case KindStack:
        r.Max = 2000;
        r.Min = 0;
        r.Step = abs ? 0.01 : 1.0;
        break;
    default: break;
    }
    const bool zeroBecomesTenth = r.Kind == KindWire || r.Kind == KindLoad || r.Kind == KindFreq ||
                                  r.Kind == KindWirePolar || (r.Kind == KindElement && r.Field != ElPos);
    if (r.Step == 0 && zeroBecomesTenth) r.Step = 0.1;
}

OptimizerCheck CACal::Prepare() {
    LogCount = 0;
    LogHead = 0;
    for (int i = 0; i < rowCount_; ++i) {
        ACalVarRec& r = rows_[i];
        if (r.Link != LinkFree) {
            r.Link = ResolveLink(0, r.Link);
            if (r.Link == -1) return Refusal(OptMsgNoVariable, i + 1);
        } else {
            r.Value = GetValue(i);
            const bool mustBeSet = (r.Kind == KindElement && r.Field < ElPos) || r.Kind == KindLoad;
            if (r.Value == 0 && mustBeSet) return Refusal(OptMsgNoVariable2, i + 1);
        }
        BestValues[i] = -r.Value;
        r.CurStep = std::fabs(StepAbsolute ? r.Step : r.Value * r.Step * 0.01);
        r.BaseStep = r.CurStep;
    }
    LastScore = 1.0;
    BestScore = RowBest = LowestDouble;
    BestOrigin.reset();
    bestAnt_.reset();
    CurrentMag = -1.0;
    if (!GoalsOn) BandCount = 1;
    return {};
}

OptimizerCheck CACal::Validate(int fromRow) {
    if (!Ant) return Refusal(-1, 0);
    for (int i = std::max(fromRow, 0); i < rowCount_; ++i) {
        ACalVarRec& r = rows_[i];
        double v = GetValue(i);
        if (!ItemInRange(r)) return Refusal(OptMsgCannotFind, i + 1);
        if (r.Kind == KindElement && v == 0 && r.Field != ElPos) return Refusal(OptMsgCannotChange, i + 1);
        if (r.Kind == KindLoad && Ant->Loads[r.Item].Type == LoadS)
            return Refusal(OptMsgCannotModifyLoad, r.Item + 1);
        if (r.Kind == KindHeight && Env->Type == GroundFree) return Refusal(OptMsgHeightInFreeSpace, i + 1);
        for (int k = 0; k < rowCount_; ++k)
            if (k != i && rows_[k].Kind == r.Kind && rows_[k].Item == r.Item && rows_[k].Field == r.Field)
                return Refusal(OptMsgEqualLines, i + 1, k + 1);
        if (r.Link != LinkFree) {
            const int master = LinkMaster(r.Link);
            if (master >= 0 && master < rowCount_ &&
                NormalizeDbl(v) != NormalizeDbl(LinkedValue(r.Link, r.Step))) {
                OptimizerCheck question = Found(OptimizerCheck::Question, OptMsgAssociation, i + 1, master + 1);
                question.NextRow = i + 1;
                return question;
            }
        } else if (CheckLimits(i, v)) {
            SetValue(i, v);
        }
    }
    return {};
}

bool CACal::CheckLimits(int row, double& v) {
    if (row < 0 || row >= MaxVarRows) return false;
    const ACalVarRec& r = rows_[row];
    if (r.Link != LinkFree) return false;
    if (r.MaxFrom & LimitFromRow) {
        const double b = GetValue(r.MaxFrom & 0x7FFF);
        if (v > b) {
            v = b;
            return true;
        }
    } else if (v >= r.Max) {
        v = r.Max - r.CurStep;
        return true;
    }
    // An element's size stays at or above what the element table takes,
    // whatever lower limit its row was given.
    const bool size = r.Kind == KindElement && IsElementSizeField(r.Field);
    if (!(r.MinFrom & LimitFromRow)) {
        const double least = size ? std::max(r.Min, MinElementSize) : r.Min;
        if (v <= least) {
            v = least + r.CurStep;
            return true;
        }
    } else {
        const double b = GetValue(r.MinFrom & 0x7FFF);
        const double least = size ? std::max(b, MinElementSize) : b;
        if (v < least) {
            v = least;
            return true;
        }
    }
    return false;
}

void CACal::SetBand(AntDef& ant, int band) const {
    if (band < 0 || band >= MaxBands || ant.SourceCount >= 5) return;
    int n = 0;
    while (n < BandSources && Bands[band].Sources[n].Pos[0] != 0) ++n;
    ant.CalcFreq = Bands[band].Freq;
    // A band without sources keeps the antenna's own: none would leave
    // nothing to feed.
    if (n == 0) {
        if (!ownSources_) return;
        n = static_cast<int>(ownSources_->size());
        for (int i = 0; i < n; ++i) ant.Sources[i] = (*ownSources_)[static_cast<std::size_t>(i)];
    } else {
        for (int i = 0; i < n; ++i) ant.Sources[i] = Bands[band].Sources[i];
    }
    ant.SourceCount = n;
}

namespace {

std::string SourceList(const SourceRec* sources, int count) {
    std::string list;
    for (int i = 0; i < count; ++i)
        list += (i > 0 ? ", " : "") + std::string(sources[i].Pos, strnlen(sources[i].Pos, PosTextSize)) + " (" +
                DblToStr(sources[i].Voltage) + " V, " + DblToStr(sources[i].Phase) + " deg)";
    return list.empty() ? std::string("none") : list;
}

bool SameSources(const AntDef& a, const AntDef& b) {
    const int n = std::clamp(a.SourceCount, 0, MaxSources);
    return a.SourceCount == b.SourceCount && std::equal(a.Sources, a.Sources + n, b.Sources, SameSource);
}

}  // namespace

std::string CACal::SourcesLeftNote(const AntDef& before, const AntDef& after) const {
    if (BandCount <= 1 || SameSources(before, after)) return {};
    std::string line = "The bands fed the antenna with their own sources (";
    for (int b = 0; b < std::clamp(BandCount, 0, MaxBands); ++b) {
        int n = 0;
        while (n < BandSources && Bands[b].Sources[n].Pos[0] != '\0') ++n;
        // A band without sources keeps the antenna's own.
        line += (b > 0 ? "; band " : "band ") + std::to_string(b + 1) + ": " +
                (n > 0 ? SourceList(Bands[b].Sources, n) : std::string("the antenna's own"));
    }
    return line + "); the antenna is left with " + SourceList(after.Sources, std::clamp(after.SourceCount, 0, MaxSources)) +
           " in place of " + SourceList(before.Sources, std::clamp(before.SourceCount, 0, MaxSources)) + ".";
}

void CACal::SetTargets(const ResultRow& row) {
    Results[0] = row.Ga;
    Results[1] = row.FB;
    Results[2] = row.R;
    Results[3] = row.jX;
    Results[4] = row.SWR;
    Results[5] = row.Elev;
}

void CACal::SetGoals(double gain, double fb, double jx, double swr, double elv, double m, double c) {
    const double w[WeightCount] = {gain, fb, jx, swr, elv, m, c};
    bool allZero = true;
    for (int i = 0; i < WeightCount; ++i) {
        Weights[i] = w[i];
        if (w[i] != 0) allZero = false;
    }
    if (allZero)
        for (auto& x : Weights) x = 1;
}

std::string CACal::GoalText() const {
    double sum = 0;
    for (double w : Weights) sum += w;
    if (!GoalsOn || sum == 0) return "No goal set(simple sweep)";
    static const char* const names[WeightCount] = {" Gain:", " F/B:", " jX:", " SWR:", " Elv:", " M:", " C:"};
    std::string text = "Optim.";
    for (int i = 0; i < WeightCount; ++i)
        if (Weights[i] != 0) text += names[i] + DblToStr1(Weights[i] * 100 / sum) + "%";
    return text;
}

void CACal::ShowGoal(std::vector<std::string>& lines) const { lines.push_back(GoalText()); }

bool CACal::AtBestPoint() const {
    for (int i = 0; i < rowCount_; ++i)
        if (rows_[i].Value != BestValues[i]) return false;
    return true;
}

void CACal::RefreshValues() {
    for (int i = 0; i < rowCount_; ++i) rows_[i].Value = GetValue(i);
}

ElementVariables CACal::TableVariables() const {
    ElementVariables vars;
    for (int i = 0; i < rowCount_ && i < MaxVarRows; ++i) {
        const ACalVarRec& r = rows_[i];
        if (r.Kind == KindElement) vars.Cells.push_back({r.Item, r.Field});
        if (r.Kind == KindWire || r.Kind == KindWirePolar) vars.Wires.push_back(r.Item);
    }
    return vars;
}

int CACal::AddVar(int kind, int item, int field, int32_t link, double value, double divisor) {
    if (rowCount_ >= MaxVarRows || rowCount_ < 0) return -1;
    const int i = rowCount_++;
    ACalVarRec& r = rows_[i];
    r = ACalVarRec{};
    r.Kind = kind;
    r.Link = link;
    r.Item = item;
    r.Field = field;
    r.Max = 2000;
    r.Min = kind == KindWire && field != 4 ? -2000 : 0;
    r.Step = StepAbsolute ? NiceStep(std::fabs(value) / divisor) : 100 / divisor;
    if (r.Step == 0) r.Step = 0.001;
    r.Value = value;
    return i;
}

int CACal::AddElementVar(int element, int field, double value, double divisor) {
    const int i = AddVar(KindElement, element, field, LinkFree, value, divisor);
    if (i >= 0) rows_[i].Min = 0;
    return i;
}

std::vector<PositionKeeper::Holder> PositionsHeldBy(CACal* cal) {
    std::vector<PositionKeeper::Holder> held;
    if (!cal) return held;
    const int bands = std::clamp(cal->BandCount, 0, MaxBands);
    for (int b = 0; b < bands; ++b)
        for (int i = 0; i < BandSources && cal->Bands[b].Sources[i].Pos[0] != '\0'; ++i)
            held.push_back({cal->Bands[b].Sources[i].Pos, EntryName("Band " + std::to_string(b + 1) + " source", i + 1),
                            bands > 1 ? cal->Bands[b].Freq : 0.0});
    if (cal->CurrentPos[0] != '\0') held.push_back({cal->CurrentPos, "The current goal"});
    return held;
}
