#pragma once
// What shown results were computed from. A calculation reads the antenna's
// wires, sources, loads, taper sets, stacking and calculation fields, and the
// environment's ground, reference impedance, F/B rear sector, pulse limit and
// the user wire material; a fingerprint of all that is kept with the results
// and with the engine's prepared model. Results belong to the antenna exactly
// while the three agree, whichever edit came between: no edit has to say so.
#include <cstdint>
#include <optional>

#include "model/CalculationFields.h"

struct AntDef;
struct EnvRec;
struct UserMaterialRec;

// The fingerprint of what a calculation reads, with the calculation fields
// taken from `fields` instead of the antenna record. The name, the edit
// flags and what the engine fills in (pulse numbers, wire pieces) are left
// out, and so is what the calculation does not read: loads switched off,
// media of a ground that is not real, the spacing of a stack of one.
uint64_t CalculationFingerprint(const AntDef& ant, const CalculationFields& fields, const EnvRec& env,
                                const UserMaterialRec& material);

class ResultOrigin {
public:
    // The engine's model was prepared from the state with this fingerprint.
    void Prepared(uint64_t fingerprint) { prepared_ = fingerprint; }
    // The engine holds no usable model.
    void PreparationFailed() { prepared_.reset(); }
    // The results now kept were computed from the model as last prepared.
    void Computed() { computed_ = prepared_; }
    // No results of any antenna are kept.
    void Forget() { computed_.reset(); }
    // The results were computed from the state `current`, and the engine's
    // model is still of that state, so what is computed from it next (a cut,
    // a table) belongs to them as well.
    bool Belongs(uint64_t current) const { return computed_ && prepared_ == computed_ && *computed_ == current; }

private:
    std::optional<uint64_t> prepared_;
    std::optional<uint64_t> computed_;
};
