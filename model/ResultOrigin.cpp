#include "model/ResultOrigin.h"

#include "model/AntDef.h"
#include "model/EnvDef.h"
#include "model/StackedAnt.h"

#include <algorithm>
#include <cstring>

namespace {

// FNV-1a over the values one by one: a record's bytes would take in its
// padding and the unused rest of its texts.
class Fingerprint {
public:
    void Add(int64_t v) { AddBits(static_cast<uint64_t>(v)); }
    void Add(double v) {
        // 0 and -0 are one value to the engine.
        if (v == 0.0) v = 0.0;
        uint64_t bits = 0;
        std::memcpy(&bits, &v, sizeof bits);
        AddBits(bits);
    }
    template <std::size_t N>
    void AddText(const char (&text)[N]) {
        const std::size_t length = strnlen(text, N);
        Add(static_cast<int64_t>(length));
        for (std::size_t i = 0; i < length; ++i) AddByte(static_cast<unsigned char>(text[i]));
    }
    template <std::size_t N>
    void AddAll(const double (&values)[N]) {
        for (double v : values) Add(v);
    }
    uint64_t Value() const { return hash_; }

private:
    void AddBits(uint64_t bits) {
        for (int i = 0; i < 8; ++i) AddByte(static_cast<unsigned char>(bits >> (8 * i)));
    }
    void AddByte(unsigned char b) {
        hash_ ^= b;
        hash_ *= 0x100000001b3ull;
    }
    uint64_t hash_ = 0xcbf29ce484222325ull;
};

void AddFields(Fingerprint& f, const CalculationFields& fields) {
    f.Add(fields.Freq);
    // The calculation runs at the design frequency when none is given.
    f.Add(fields.CalcFreq != 0.0 ? fields.CalcFreq : fields.Freq);
    for (int32_t v : {fields.DM1, fields.DM2, fields.EC, fields.AutoVoltage, fields.GroundType, fields.Material})
        f.Add(int64_t{v});
    f.Add(fields.SC);
    f.Add(fields.AntHeight);
}

void AddAntenna(Fingerprint& f, const AntDef& ant, bool useLoads) {
    f.Add(int64_t{ant.WireCount});
    for (int i = 0; i < std::clamp(ant.WireCount, 0, MaxWires); ++i) {
        const WireRec& w = ant.Wires[i];
        for (double v : {w.X1, w.Y1, w.Z1, w.X2, w.Y2, w.Z2, w.R}) f.Add(v);
        f.Add(int64_t{w.Seg});
    }
    f.Add(int64_t{ant.SourceCount});
    for (int i = 0; i < std::clamp(ant.SourceCount, 0, MaxSources); ++i) {
        const SourceRec& s = ant.Sources[i];
        f.AddText(s.Pos);
        f.Add(s.Voltage);
        f.Add(s.Phase);
    }
    // Loads switched off are no part of the calculation.
    const int loads = useLoads ? std::clamp(ant.LoadCount, 0, MaxLoads) : 0;
    f.Add(int64_t{loads});
    for (int i = 0; i < loads; ++i) {
        const LoadRec& l = ant.Loads[i];
        f.Add(int64_t{l.Type});
        f.AddText(l.Pos);
        // The pairs in use of a Laplace load are counted from these when
        // the fields are taken in.
        f.AddAll(l.A);
        f.AddAll(l.B);
    }
    f.Add(int64_t{ant.TaperSetCount});
    for (int i = 0; i < std::clamp(ant.TaperSetCount, 0, MaxTaperSets); ++i) {
        const TaperSet& t = ant.TaperSets[i];
        f.Add(t.Key);
        f.AddAll(t.Len);
        f.AddAll(t.Rad);
        f.Add(int64_t{t.Type});
    }
    const int nH = StackCountH(ant), nV = StackCountV(ant);
    f.Add(int64_t{nH});
    f.Add(int64_t{nV});
    if (nH > 1 || nV > 1) f.Add(int64_t{ant.StackMode});
    if (nH > 1) f.Add(ant.hSpacing);
    if (nV > 1) f.Add(ant.vSpacing);
}

void AddEnvironment(Fingerprint& f, const EnvRec& env, int groundType, const UserMaterialRec& material) {
    if (groundType == GroundReal) {
        const int media = std::clamp(env.MediaMax, 1, MaxMedia);
        f.Add(int64_t{media});
        for (int m = 0; m < media; ++m)
            for (double v : {env.Dieleciric[m], env.Conductivity[m], env.Coord[m], env.Height[m]}) f.Add(v);
        f.Add(int64_t{env.MediaType});
        if (env.MediaType) {
            f.Add(int64_t{env.RadialCount});
            f.Add(env.RadialRadius);
        }
    }
    f.Add(int64_t{env.AzEl});
    f.Add(env.Z0R);
    f.Add(env.Z0X);
    f.Add(int64_t{env.PMAX});
    f.Add(material.Resistivity);
    f.Add(material.Permeability);
}

}  // namespace

uint64_t CalculationFingerprint(const AntDef& ant, const CalculationFields& fields, const EnvRec& env,
                                const UserMaterialRec& material) {
    Fingerprint f;
    AddFields(f, fields);
    AddAntenna(f, ant, fields.UseLoads != 0);
    AddEnvironment(f, env, fields.GroundType, material);
    return f.Value();
}

uint64_t FingerprintOnReading(const AntDef& ant, const EnvRec& env, const UserMaterialRec& material) {
    CalculationFields fields = CalculationFieldsOf(ant, env);
    fields.CalcFreq = 0;
    return CalculationFingerprint(ant, fields, env, material);
}

void ResultOrigin::Computed(ResultHolder holder) { Computed(holder, prepared_); }

void ResultOrigin::Computed(ResultHolder holder, std::optional<uint64_t> fingerprint) {
    auto& stamp = holders_[Index(holder)];
    if (fingerprint)
        stamp = Stamp{*fingerprint, true};
    else
        stamp.reset();
}

void ResultOrigin::Read(ResultHolder holder, uint64_t fingerprint) { holders_[Index(holder)] = Stamp{fingerprint, false}; }

bool ResultOrigin::Belongs(ResultHolder holder, ResultUse use, uint64_t current) const {
    const auto& stamp = holders_[Index(holder)];
    if (!stamp || stamp->fingerprint != current) return false;
    if (use == ResultUse::Show) return true;
    if (!stamp->whole) return false;
    return use == ResultUse::Combine || prepared_ == stamp->fingerprint;
}

bool ResultOrigin::ReadFromFile(ResultHolder holder) const {
    const auto& stamp = holders_[Index(holder)];
    return stamp && !stamp->whole;
}
