#include "model/ModelImage.h"

#include "model/AntDef.h"
#include "model/AntennaNormalForm.h"
#include "model/BinaryStream.h"
#include "model/EnvDef.h"
#include "model/ResultStore.h"

ModelEnvFields TakeModelEnvFields(const EnvRec& env) {
    ModelEnvFields f;
    f.Type = env.Type;
    f.AntHeight = env.AntHeight;
    f.Material = env.Material;
    f.Z0R = env.Z0R;
    f.Z0X = env.Z0X;
    f.AzEl = env.AzEl;
    return f;
}

void ApplyModelEnvFields(const ModelEnvFields& f, EnvRec& env) {
    env.Type = f.Type;
    env.AntHeight = f.AntHeight;
    env.Material = f.Material;
    env.Z0R = f.Z0R;
    env.Z0X = f.Z0X;
    env.AzEl = f.AzEl;
}

// ---- writing ----

static void WriteWire(ByteWriter& out, const WireRec& w) {
    for (double v : {w.X1, w.Y1, w.Z1, w.X2, w.Y2, w.Z2, w.R}) out.F64(v);
    out.I32(w.Seg);
    out.I32(w.FirstPulse);
    out.I32(w.PulseCount);
    out.I32(w.Unused);
}

static void WriteSource(ByteWriter& out, const SourceRec& s) {
    out.Bytes(s.Pos, sizeof s.Pos);
    out.I32(s.Pulse);
    out.F64(s.Voltage);
    out.F64(s.Phase);
}

static void WriteLoad(ByteWriter& out, const LoadRec& l) {
    out.I32(l.Type);
    out.Bytes(l.Pos, sizeof l.Pos);
    out.I32(l.Pulse);
    out.I32(l.N);
    for (double a : l.A) out.F64(a);
    for (double b : l.B) out.F64(b);
}

static void WriteTaperSet(ByteWriter& out, const TaperSet& t) {
    out.F64(t.Key);
    for (double v : t.Len) out.F64(v);
    for (double v : t.Rad) out.F64(v);
    out.I32(t.Type);
    out.I32(t.Unused);
}

void WriteModelImage(ByteWriter& out, const AntDef& ant, const ModelEnvFields& env, const std::string& comment) {
    out.Bytes(ant.Name, sizeof ant.Name);
    out.F64(ant.Freq);
    out.I32(ant.WireCount);
    for (int i = 0; i < ant.WireCount; ++i) WriteWire(out, ant.Wires[i]);
    out.F64(ant.CalcFreq);
    out.I32(ant.SourceCount);
    out.I32(ant.AutoVoltage);
    for (int i = 0; i < ant.SourceCount; ++i) WriteSource(out, ant.Sources[i]);
    out.I32(ant.UseLoads);
    out.I32(ant.LoadCount);
    for (int i = 0; i < ant.LoadCount; ++i) WriteLoad(out, ant.Loads[i]);
    out.I32(ant.DM1);
    out.I32(ant.DM2);
    out.F64(ant.SC);
    out.I32(ant.EC);
    out.I32(ant.StackMode);
    out.I32(ant.nV);
    out.I32(ant.nH);
    out.F64(ant.vSpacing);
    out.F64(ant.hSpacing);
    out.I32(env.Type);
    out.F64(env.AntHeight);
    out.I32(env.Material);
    out.F64(env.Z0R);
    out.F64(env.Z0X);
    out.I32(env.AzEl);
    out.I32(ant.TaperSetCount);
    for (const TaperSet& t : ant.TaperSets) WriteTaperSet(out, t);
    out.I32(static_cast<int32_t>(comment.size()));
    out.Bytes(comment.data(), comment.size());
}

// ---- reading ----

// Pulse numbers are rebuilt after reading, but they must never index past
// the per-pulse tables before that.
static bool ReadPulse(ByteReader& in, int32_t& pulse) { return in.I32InRange(pulse, 0, MaxPulseLimit); }

static bool ReadWire(ByteReader& in, WireRec& w) {
    for (double* v : {&w.X1, &w.Y1, &w.Z1, &w.X2, &w.Y2, &w.Z2, &w.R}) in.FiniteF64(*v);
    in.I32(w.Seg);
    ReadPulse(in, w.FirstPulse);
    ReadPulse(in, w.PulseCount);
    return in.I32(w.Unused);
}

static bool ReadSource(ByteReader& in, SourceRec& s) {
    in.Text(s.Pos, sizeof s.Pos);
    ReadPulse(in, s.Pulse);
    in.FiniteF64(s.Voltage);
    return in.FiniteF64(s.Phase);
}

static bool ReadLoad(ByteReader& in, LoadRec& l) {
    in.I32InRange(l.Type, LoadLC, LoadS);
    in.Text(l.Pos, sizeof l.Pos);
    ReadPulse(in, l.Pulse);
    in.I32InRange(l.N, 0, MaxLoadPairs);
    for (double& a : l.A) in.FiniteF64(a);
    for (double& b : l.B) in.FiniteF64(b);
    return in.Ok();
}

static bool ReadTaperSet(ByteReader& in, TaperSet& t) {
    in.FiniteF64(t.Key);
    for (double& v : t.Len) in.FiniteF64(v);
    for (double& v : t.Rad) in.FiniteF64(v);
    in.I32InRange(t.Type, TaperSym, TaperOneWayStar);
    return in.I32(t.Unused);
}

bool ReadModelImage(ByteReader& in, AntDef& ant, ModelEnvFields& env, std::string& comment) {
    in.Text(ant.Name, sizeof ant.Name);
    in.FiniteF64(ant.Freq);
    if (in.I32InRange(ant.WireCount, 0, MaxWires))
        for (int i = 0; i < ant.WireCount; ++i) ReadWire(in, ant.Wires[i]);
    in.FiniteF64(ant.CalcFreq);
    in.I32InRange(ant.SourceCount, 0, MaxSources);
    in.I32InRange(ant.AutoVoltage, 0, 1);
    if (in.Ok())
        for (int i = 0; i < ant.SourceCount; ++i) ReadSource(in, ant.Sources[i]);
    in.I32InRange(ant.UseLoads, 0, 1);
    if (in.I32InRange(ant.LoadCount, 0, MaxLoads))
        for (int i = 0; i < ant.LoadCount; ++i) ReadLoad(in, ant.Loads[i]);
    in.I32(ant.DM1);
    in.I32(ant.DM2);
    in.FiniteF64(ant.SC);
    in.I32(ant.EC);
    in.I32InRange(ant.StackMode, 0, 2);
    in.I32InRange(ant.nV, 1, MaxWires);
    in.I32InRange(ant.nH, 1, MaxWires);
    in.FiniteF64(ant.vSpacing);
    in.FiniteF64(ant.hSpacing);
    in.I32InRange(env.Type, GroundFree, GroundReal);
    in.FiniteF64(env.AntHeight);
    in.I32InRange(env.Material, 0, MaxMaterial);
    in.FiniteF64(env.Z0R);
    in.FiniteF64(env.Z0X);
    if (in.I32(env.AzEl) && !RearSectorInRange(env.AzEl)) in.Fail();
    in.I32InRange(ant.TaperSetCount, 0, MaxTaperSets);
    for (TaperSet& t : ant.TaperSets) ReadTaperSet(in, t);
    int32_t length = 0;
    if (in.I32(length) && (length < 0 || static_cast<std::size_t>(length) > in.Remaining())) in.Fail();
    if (!in.Ok()) return false;
    std::string stored(static_cast<std::size_t>(length), '\0');
    if (!in.Bytes(stored.data(), stored.size())) return false;
    // Checked and normalised as the antenna text is read, so that the
    // antenna saved from this file reads back as the one opened.
    if (!NormalizeReadAntenna(ant, stored)) return false;
    if (!stored.empty()) comment.swap(stored);
    return true;
}
