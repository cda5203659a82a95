#pragma once
// What results were computed from. A calculation reads the antenna's wires,
// sources, loads, taper sets, stacking and calculation fields, and the
// environment's ground, reference impedance, F/B rear sector, pulse limit and
// the user wire material; a fingerprint of all that is kept with each holder
// of results and with the engine's prepared model. A holder's results belong
// to the antenna exactly while its fingerprint and that of the antenna as the
// next Start would compute it agree, whichever edit came between: no edit has
// to say so, and no holder keeps a flag of its own.
#include <array>
#include <cstddef>
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

// The state the antenna is in once read back from an antenna text or an
// optimization log: both are read at the design frequency, where the
// calculation frequency restarts, whatever frequency they were saved at.
// What no file keeps (ground media, pulse limit, wire material) is taken
// from `env` and `material`, as the reading window has them.
uint64_t FingerprintOnReading(const AntDef& ant, const EnvRec& env, const UserMaterialRec& material);

// The places that keep results, each filled at a moment of its own.
enum class ResultHolder : std::size_t {
    Row,     // the newest row, its pattern cuts and pulse currents (plots, tables, saves, the comparison)
    Sweep,   // the sweep table's points (sweep plots, frequency table, multiband list)
    View3D,  // the engine's 3D table as the view last computed it (it outlives the view)
};
constexpr std::size_t ResultHolderCount = 3;

// What the results are wanted for.
enum class ResultUse {
    Show,         // shown or written as they stand
    Combine,      // put together with results computed now (a point reused, a new one entered)
    ComputeFrom,  // computed further from the engine's model (a cut, a table, the 3D view)
};

// Results kept outside the holders, each with the state it was computed
// from (a point of the optimization log), none where that is not known:
// they are the antenna's own exactly while that state is the current one.
inline bool OfState(std::optional<uint64_t> origin, uint64_t current) { return origin && *origin == current; }

class ResultOrigin {
public:
    // The engine's model was prepared from the state with this fingerprint.
    void Prepared(uint64_t fingerprint) { prepared_ = fingerprint; }
    // The engine holds no usable model.
    void PreparationFailed() { prepared_.reset(); }
    // The holder now keeps results computed from the model as last prepared.
    void Computed(ResultHolder holder);
    // The holder now keeps results computed from the state with this
    // fingerprint (a point of a run that the model has left since); none
    // known, no state.
    void Computed(ResultHolder holder, std::optional<uint64_t> fingerprint);
    // The state the engine's model was last prepared from, if it holds one.
    std::optional<uint64_t> PreparedFrom() const { return prepared_; }
    // The holder keeps results read from a file that holds the state
    // `fingerprint` only in part (it keeps no ground media, radials, pulse
    // limit or wire material): they are shown, never combined with results
    // computed now.
    void Read(ResultHolder holder, uint64_t fingerprint);
    void Forget(ResultHolder holder) { holders_[Index(holder)].reset(); }
    // The holders' origins as `kept` had them, when the results of that
    // moment are put back.
    void PutBackHolders(const ResultOrigin& kept) { holders_ = kept.holders_; }
    // No results of any antenna are kept.
    void Forget() { holders_ = {}; }
    // The one question: the holder's results are of the state `current`,
    // known whole where they are combined or computed from, and for
    // ComputeFrom the engine's model is still of that state.
    bool Belongs(ResultHolder holder, ResultUse use, uint64_t current) const;
    // The holder's results were read from a file (whatever state is current).
    bool ReadFromFile(ResultHolder holder) const;

private:
    struct Stamp {
        uint64_t fingerprint = 0;
        bool whole = false;  // every setting the calculation read is known
    };
    static std::size_t Index(ResultHolder holder) { return static_cast<std::size_t>(holder); }
    std::optional<uint64_t> prepared_;
    std::array<std::optional<Stamp>, ResultHolderCount> holders_;
};
