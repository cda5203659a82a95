// The ring of evaluated points and the optimizer state's part of the
// optimization log file.
#include <algorithm>
#include <cstring>
#include <memory>

#include "model/BinaryStream.h"
#include "model/NumberText.h"
#include "model/ResultOrigin.h"
#include "model/SweepTable.h"
#include "optimizer/BandRules.h"
#include "optimizer/OptimizerState.h"

void CACal::PushLog(const CResult& store, std::optional<uint64_t> origin) {
    ACalLogEntry& e = Log[LogHead];
    e.Origin = origin;
    e.Score = LastScore;
    for (int i = 0; i < rowCount_; ++i) e.Values[i] = rows_[i].Value;
    e.Ga = static_cast<float>(Results[0]);
    e.FB = static_cast<float>(Results[1]);
    e.R = static_cast<float>(Results[2]);
    e.JX = static_cast<float>(Results[3]);
    e.SWR = static_cast<float>(Results[4]);
    e.Elev = static_cast<float>(Results[5]);
    // Samples 2 degrees apart whatever the run's angle step; a store without
    // a step (nothing calculated since a file was read) has no cuts to sample.
    if (store.AngleStep > 0) {
        const int s = std::max(1, 2 / store.AngleStep);
        for (int k = 0; k < LogAzSamples; ++k)
            e.AzPattern[k] = GainToShort(store.AzCut[PolTotal][std::min(k * s, AzCutSize - 1)]);
        for (int k = 0; k < LogElSamples; ++k)
            e.ElPattern[k] = GainToShort(store.ElevCut[PolTotal][std::min(k * s, ElevCutSize - 1)]);
    } else {
        std::fill(std::begin(e.AzPattern), std::end(e.AzPattern), GainToShort(NoGain));
        std::fill(std::begin(e.ElPattern), std::end(e.ElPattern), GainToShort(NoGain));
    }
    LogHead = (LogHead + 1) % LogRingSize;
    LogCount = std::min(LogCount + 1, LogRingSize);
}

bool CACal::LookupLog(double& score) const {
    for (int n = 0; n < LogCount; ++n) {
        const ACalLogEntry& e = Log[SlotBack(n)];
        bool same = true;
        for (int i = 0; i < rowCount_ && same; ++i) same = e.Values[i] == rows_[i].Value;
        if (same) {
            score = e.Score;
            return true;
        }
    }
    return false;
}

void CACal::GetLogEntry(ACalLogEntry& entry, int n) const {
    entry = Log[SlotBack(n)];
}

int CACal::LoggedPointOf(uint64_t state) const {
    for (int n = 0; n < LogCount; ++n)
        if (OfState(Log[SlotBack(n)].Origin, state)) return n;
    return -1;
}

bool CACal::AtPresentValues(const ACalLogEntry& e) {
    for (int i = 0; i < RowCount(); ++i)
        if (NormalizeDbl(GetValue(i)) != NormalizeDbl(e.Values[i])) return false;
    return true;
}

void CACal::TakeLogAsOf(uint64_t state) {
    for (int n = 0; n < LogCount; ++n) {
        ACalLogEntry& e = Log[SlotBack(n)];
        if (AtPresentValues(e)) e.Origin = state;
    }
}

bool CACal::LogReadsAsOf(uint64_t state) {
    bool taken = false;
    for (int n = 0; n < LogCount; ++n) {
        const ACalLogEntry& e = Log[SlotBack(n)];
        if (!AtPresentValues(e)) continue;
        // A point at these values computed at another frequency, from other
        // band sources or before an edit the rows do not vary would be read
        // as the antenna's.
        if (!OfState(e.Origin, state)) return false;
        taken = true;
    }
    return taken;
}

namespace {

void WriteRow(ByteWriter& out, const ACalVarRec& r) {
    out.I32(r.Kind);
    out.I32(r.Link);
    out.I32(r.Item);
    out.I32(r.Field);
    out.I16(static_cast<int16_t>(r.MinFrom));
    out.I16(static_cast<int16_t>(r.MaxFrom));
    const uint8_t unused[12] = {};
    out.Bytes(unused, sizeof unused);
    out.F64(r.Step);
    out.F64(r.Max);
    out.F64(r.Min);
    out.F64(r.BaseStep);
    out.F64(r.CurStep);
    out.F64(r.Value);
}

bool LinkIsSound(int32_t link) {
    if (link == LinkFree) return true;
    if (link <= -2) return -2 - link < MaxVarRows;
    const int32_t flags = link & ~0xFFFF;
    const bool oneFlag = flags == 0 || flags == LinkAdd || flags == LinkSubtractFrom || flags == LinkMultiply ||
                         flags == LinkDivide;
    return oneFlag && (link & 0xFFFF) < MaxVarRows;
}

bool LimitSourceIsSound(uint16_t from) { return !(from & LimitFromRow) || (from & 0x7FFF) < MaxVarRows; }

bool ReadRow(ByteReader& in, ACalVarRec& r) {
    int16_t minFrom = 0, maxFrom = 0;
    uint8_t unused[12];
    in.I32InRange(r.Kind, KindWire, KindStack);
    in.I32(r.Link);
    in.I32InRange(r.Item, 0, 0xFFFF);
    in.I32InRange(r.Field, 0, 8);
    in.I16(minFrom);
    in.I16(maxFrom);
    in.Bytes(unused, sizeof unused);
    r.MinFrom = static_cast<uint16_t>(minFrom);
    r.MaxFrom = static_cast<uint16_t>(maxFrom);
    in.FiniteF64(r.Step);
    in.FiniteF64(r.Max);
    in.FiniteF64(r.Min);
    in.FiniteF64(r.BaseStep);
    in.FiniteF64(r.CurStep);
    in.FiniteF64(r.Value);
    if (in.Ok() && (!LinkIsSound(r.Link) || !LimitSourceIsSound(r.MinFrom) || !LimitSourceIsSound(r.MaxFrom)))
        in.Fail();
    return in.Ok();
}

void WriteSource(ByteWriter& out, const SourceRec& s) {
    out.Bytes(s.Pos, PosTextSize);
    out.I32(s.Pulse);
    out.F64(s.Voltage);
    out.F64(s.Phase);
}

void ReadSource(ByteReader& in, SourceRec& s) {
    in.Text(s.Pos, PosTextSize);
    in.I32(s.Pulse);
    in.FiniteF64(s.Voltage);
    in.FiniteF64(s.Phase);
}

void WriteEntry(ByteWriter& out, const ACalLogEntry& e) {
    for (double v : e.Values) out.F64(v);
    out.F64(e.Score);
    for (float v : {e.Ga, e.FB, e.R, e.JX, e.SWR, e.Elev}) out.F32(v);
    out.I16s(e.AzPattern, LogAzSamples);
    out.I16s(e.ElPattern, LogElSamples);
    out.I16(0);
}

void ReadEntry(ByteReader& in, ACalLogEntry& e) {
    for (double& v : e.Values) in.FiniteF64(v);
    in.FiniteF64(e.Score);
    for (float* v : {&e.Ga, &e.FB, &e.R, &e.JX, &e.SWR, &e.Elev}) in.FiniteF32(*v);
    in.I16s(e.AzPattern, LogAzSamples);
    in.I16s(e.ElPattern, LogElSamples);
    int16_t unused;
    in.I16(unused);
}

}  // namespace

void CACal::WriteTo(ByteWriter& out) const {
    const int32_t rows = std::clamp(rowCount_, 0, MaxVarRows);
    out.I32(rows);
    if (rows > 0)
        for (const auto& r : rows_) WriteRow(out, r);
    // The goal block.
    out.I32(GoalsOn);
    out.I32(0);
    for (double w : Weights) out.F64(w);
    for (double r : Results) out.F64(r);
    out.F64(0);
    out.F64(LastScore);
    out.F64(RowBest);
    out.F64(BestScore);
    for (double v : BestValues) out.F64(v);
    out.I32(BandCount);
    out.I32(PriorityFirst);
    for (const auto& b : Bands) {
        out.F64(b.Freq);
        for (const auto& s : b.Sources) WriteSource(out, s);
    }
    out.F64(GainGoal);
    out.F64(FBGoal);
    out.F64(JXGoal);
    out.F64(SWRGoal);
    out.I32(MatchKind);
    out.I32(0);
    out.F64(OptZR);
    out.F64(OptZX);
    out.I32(MinimizeCurrent);
    out.Bytes(CurrentPos, PosTextSize);
    out.F64(CurrentMag);
    // Switches and the ring.
    out.I32(StepAbsolute);
    out.I32(TwoDegree);
    const int32_t logged = std::clamp(LogCount, 0, LogRingSize);
    out.I32(logged);
    if (logged > 0) {
        out.I32(std::clamp(LogHead, 0, LogRingSize - 1));
        for (const auto& e : Log) WriteEntry(out, e);
    }
}

// Everything is read into a scratch state first; this one changes only when
// the whole image is good.
bool CACal::ReadFrom(ByteReader& in, std::string* refusal) {
    auto t = std::make_unique<CACal>();
    in.I32InRange(t->rowCount_, 0, MaxVarRows);
    if (in.Ok() && t->rowCount_ > 0)
        for (int i = 0; i < MaxVarRows && in.Ok(); ++i) {
            ACalVarRec r;
            if (ReadRow(in, r) && i < t->rowCount_) t->rows_[i] = r;
        }
    int32_t pad = 0;
    double unused = 0;
    in.I32InRange(t->GoalsOn, 0, 1);
    in.I32(pad);
    for (double& w : t->Weights) in.FiniteF64(w);
    for (double& r : t->Results) in.FiniteF64(r);
    in.F64(unused);
    in.FiniteF64(t->LastScore);
    in.FiniteF64(t->RowBest);
    in.FiniteF64(t->BestScore);
    for (double& v : t->BestValues) in.FiniteF64(v);
    in.I32InRange(t->BandCount, 1, MaxBands);
    in.I32InRange(t->PriorityFirst, 0, 1);
    for (auto& b : t->Bands) {
        in.FiniteF64(b.Freq);
        for (auto& s : b.Sources) ReadSource(in, s);
    }
    in.FiniteF64(t->GainGoal);
    in.FiniteF64(t->FBGoal);
    in.FiniteF64(t->JXGoal);
    in.FiniteF64(t->SWRGoal);
    in.I32InRange(t->MatchKind, MatchCapacity, MatchOptionalZ);
    in.I32(pad);
    in.FiniteF64(t->OptZR);
    in.FiniteF64(t->OptZX);
    in.I32InRange(t->MinimizeCurrent, 0, 1);
    in.Text(t->CurrentPos, PosTextSize);
    in.FiniteF64(t->CurrentMag);
    in.I32InRange(t->StepAbsolute, 0, 1);
    in.I32InRange(t->TwoDegree, 0, 1);
    in.I32InRange(t->LogCount, 0, LogRingSize);
    if (in.Ok() && t->LogCount > 0) {
        in.I32InRange(t->LogHead, 0, LogRingSize - 1);
        for (auto& e : t->Log) ReadEntry(in, e);
    }
    if (!in.Ok()) return false;
    for (int b = 0; b < t->BandCount; ++b) {
        const std::string reason = NormalizeBand(t->Bands[b], b);
        if (reason.empty()) continue;
        if (refusal) *refusal = reason;
        return false;
    }

    std::copy(std::begin(t->rows_), std::end(t->rows_), std::begin(rows_));
    rowCount_ = t->rowCount_;
    GoalsOn = t->GoalsOn;
    std::copy(std::begin(t->Weights), std::end(t->Weights), std::begin(Weights));
    std::copy(std::begin(t->Results), std::end(t->Results), std::begin(Results));
    LastScore = t->LastScore;
    RowBest = t->RowBest;
    BestScore = t->BestScore;
    std::copy(std::begin(t->BestValues), std::end(t->BestValues), std::begin(BestValues));
    BandCount = t->BandCount;
    PriorityFirst = t->PriorityFirst;
    std::copy(std::begin(t->Bands), std::end(t->Bands), std::begin(Bands));
    GainGoal = t->GainGoal;
    FBGoal = t->FBGoal;
    JXGoal = t->JXGoal;
    SWRGoal = t->SWRGoal;
    MatchKind = t->MatchKind;
    OptZR = t->OptZR;
    OptZX = t->OptZX;
    MinimizeCurrent = t->MinimizeCurrent;
    std::memcpy(CurrentPos, t->CurrentPos, PosTextSize);
    CurrentMag = t->CurrentMag;
    StepAbsolute = t->StepAbsolute;
    TwoDegree = t->TwoDegree;
    LogCount = t->LogCount;
    LogHead = t->LogCount > 0 ? t->LogHead : 0;
    std::copy(std::begin(t->Log), std::end(t->Log), std::begin(Log));
    return true;
}
