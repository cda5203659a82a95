// The sweep table of the results store: set-up, lookup, storing points, and
// its image in the far-field file.
#include "model/SweepTable.h"

#include <algorithm>
#include <cmath>

#include "model/BinaryStream.h"
#include "model/NumberText.h"
#include "model/ResultStore.h"

int16_t GainToShort(float dB) {
    float v = 256.0f * dB;
    if (std::isnan(v) || v <= -32767.0f) return NoGainShort;
    if (v >= 32767.0f) return 32767;
    return static_cast<int16_t>(std::lround(v));
}

void CResult::InitSweep(double calculatedFreq) {
    SweepTable& t = Sweep;
    for (auto& p : t.Points) p = SweepPoint{};
    t.Count = 0;
    // The row keeps the frequency in single precision (21.2 as 21.2000008):
    // the centre is the frequency the model was calculated at, as long as the
    // row is of that frequency.
    const float rowFreq = Row(0)->F;
    t.F0 = static_cast<float>(calculatedFreq) == rowFreq ? calculatedFreq : rowFreq;
    t.Step = NiceStep(t.F0 * 0.005);
    t.BW = 4 * t.Step;
    for (int k = 0; k < SweepMainPoints; ++k) t.Points[k].F = t.F0 - 2 * t.Step + k * t.Step;
    t.CentreIndex = 2;
    StoreSweepPoint(2);
    SetSweepDivisions(1);
    t.MatchAtCentre = 1;
    t.Match.State = SweepNotComputed;
    t.Match.F = t.F0;
}

void CResult::SetSweepDivisions(int d) {
    if (d < 1 || d > SweepMaxDots) return;
    SweepTable& t = Sweep;
    t.DotsPerGap = d;
    double delta = t.Step / (d + 1);
    for (int g = 0; g < SweepGaps; ++g) {
        for (int j = 0; j < SweepMaxDots; ++j) {
            SweepDot& dot = t.Dots[g][j];
            if (j < d) dot.F = t.F0 - 2 * t.Step + g * t.Step + (j + 1) * delta;
            dot.State = SweepNotComputed;
        }
    }
}

void CResult::CountSweep() {
    SweepTable& t = Sweep;
    t.DotsComplete = 1;
    t.Count = 0;
    for (int g = 0; g < SweepMainPoints; ++g)
        if (t.Points[g].State == SweepComputed) ++t.Count;
    int dots = std::min(std::max(t.DotsPerGap, 0), SweepMaxDots);
    for (int g = 0; g < SweepGaps; ++g)
        for (int j = 0; j < dots; ++j)
            if (t.Dots[g][j].State == SweepNotComputed) t.DotsComplete = 0;
}

const SweepDot* FindSweepPoint(const SweepTable& t, double f) {
    if (t.Count == 0) return nullptr;
    int dots = std::min(std::max(t.DotsPerGap, 0), SweepMaxDots);
    for (int g = 0; g < SweepMainPoints; ++g) {
        if (t.Points[g].State != SweepNotComputed && t.Points[g].F == f) return &t.Points[g];
        if (g < SweepGaps)
            for (int j = 0; j < dots; ++j)
                if (t.Dots[g][j].State != SweepNotComputed && t.Dots[g][j].F == f) return &t.Dots[g][j];
    }
    if (t.Match.State != SweepNotComputed && t.Match.F == f) return &t.Match;
    return nullptr;
}

const SweepDot* CResult::FindSweepPoint(double f) const { return ::FindSweepPoint(Sweep, f); }

SweepDot* CResult::FindSweepPoint(double f) {
    return const_cast<SweepDot*>(static_cast<const CResult*>(this)->FindSweepPoint(f));
}

void CResult::ClearSweep() {
    Sweep.Count = 0;
    for (auto& gap : Sweep.Dots)
        for (auto& dot : gap) dot = SweepDot{};
    Sweep.Match.State = SweepNotComputed;
}

void CResult::StoreSweepPoint(int n) {
    if (n < 0 || n >= SweepMainPoints) return;
    SweepPoint& p = Sweep.Points[n];
    TakeNewestRow(p);
    p.Shown = 1;
    // Samples 2 degrees apart whatever the run's step (a store without a step
    // is sampled as a full run).
    int k = AngleStep == 2 ? 1 : 2;
    for (int c = 0; c < 3; ++c) {
        for (int i = 0; i < SweepAzSamples; ++i) p.AzGain[c][i] = GainToShort(AzCut[c][i * k]);
        for (int i = 0; i < SweepElSamples; ++i) p.ElGain[c][i] = GainToShort(ElevCut[c][i * k]);
    }
    ++Sweep.Count;
}

void CResult::StoreSweepSubPoint(int g, int j) {
    if (g < 0 || g >= SweepGaps || j < 0 || j >= SweepMaxDots) return;
    TakeNewestRow(Sweep.Dots[g][j]);
}

void CResult::TakeNewestRow(SweepDot& d) const {
    const ResultRow& row = *Row(0);
    d.State = SweepComputed;
    d.R = row.R;
    d.X = row.jX;
    d.Ga = row.Ga;
    d.FB = row.FB;
}

static void WriteDot(ByteWriter& out, const SweepDot& d) {
    out.I32(d.State);
    out.I32(d.Reserved);
    out.F64(d.F);
    out.F64(d.R);
    out.F64(d.X);
    out.F64(d.Ga);
    out.F64(d.FB);
}

static void WritePoint(ByteWriter& out, const SweepPoint& p) {
    WriteDot(out, p);
    out.I32(p.Shown);
    out.I16s(&p.AzGain[0][0], 3 * SweepAzSlots);
    out.I16s(&p.ElGain[0][0], 3 * SweepElSamples);
    out.I16(p.ReservedTail);
}

void WriteSweepTable(ByteWriter& out, const SweepTable& t) {
    out.I32(t.Count);
    out.I32(t.CentreIndex);
    out.F64(t.F0);
    out.F64(t.BW);
    out.F64(t.Step);
    for (const auto& p : t.Points) WritePoint(out, p);
    out.I32(t.DotsPerGap);
    out.I32(t.DotsComplete);
    for (const auto& gap : t.Dots)
        for (const auto& d : gap) WriteDot(out, d);
    out.I32(t.MatchAtCentre);
    out.I32(t.Reserved);
    WriteDot(out, t.Match);
}

static bool ReadDot(ByteReader& in, SweepDot& d) {
    in.I32InRange(d.State, SweepNotComputed, SweepCopied);
    in.I32(d.Reserved);
    in.FiniteF64(d.F);
    in.FiniteF64(d.R);
    in.FiniteF64(d.X);
    in.FiniteF64(d.Ga);
    return in.FiniteF64(d.FB);
}

static bool ReadPoint(ByteReader& in, SweepPoint& p) {
    ReadDot(in, p);
    in.I32InRange(p.Shown, 0, 1);
    in.I16s(&p.AzGain[0][0], 3 * SweepAzSlots);
    in.I16s(&p.ElGain[0][0], 3 * SweepElSamples);
    return in.I16(p.ReservedTail);
}

bool ReadSweepTable(ByteReader& in, SweepTable& t) {
    in.I32InRange(t.Count, 0, SweepMainPoints);
    in.I32InRange(t.CentreIndex, 0, SweepMainPoints - 1);
    in.FiniteF64(t.F0);
    in.FiniteF64(t.BW);
    in.FiniteF64(t.Step);
    for (auto& p : t.Points) ReadPoint(in, p);
    in.I32InRange(t.DotsPerGap, 0, SweepMaxDots);
    in.I32InRange(t.DotsComplete, 0, 1);
    for (auto& gap : t.Dots)
        for (auto& d : gap) ReadDot(in, d);
    in.I32InRange(t.MatchAtCentre, 0, 1);
    in.I32(t.Reserved);
    ReadDot(in, t.Match);
    return in.Ok();
}
