#include "model/SaveReadBack.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "model/AntDef.h"
#include "model/AntennaNormalForm.h"
#include "model/AntennaText.h"
#include "model/EnvDef.h"
#include "model/SafeFile.h"
#include "model/ScopedValue.h"
#include "model/WireGeometry.h"

namespace {

int InUse(int count, int limit) { return std::clamp(count, 0, limit); }

bool SameText(const char* a, const char* b, std::size_t size) { return std::strncmp(a, b, size) == 0; }

bool SameValues(const double* a, const double* b, int count) { return std::equal(a, a + count, b); }

bool SameLoad(const LoadRec& a, const LoadRec& b) {
    return a.Type == b.Type && SameText(a.Pos, b.Pos, PosTextSize) && a.N == b.N &&
           SameValues(a.A, b.A, MaxLoadPairs) && SameValues(a.B, b.B, MaxLoadPairs);
}

bool SameTaperSet(const TaperSet& a, const TaperSet& b) {
    return a.Key == b.Key && a.Type == b.Type && SameValues(a.Len, b.Len, MaxTaperSections) &&
           SameValues(a.Rad, b.Rad, MaxTaperSections);
}

// The first entry of two tables that differs, named "<what> <number>", or
// "the <what>s" when the tables differ in length.
template <typename Rec, typename Same>
std::string TableDifference(const char* what, const Rec* a, int countA, const Rec* b, int countB, int limit,
                            Same same) {
    if (InUse(countA, limit) != InUse(countB, limit)) return std::string("the ") + what + "s";
    for (int i = 0; i < InUse(countA, limit); ++i)
        if (!same(a[i], b[i])) return what + (" " + std::to_string(i + 1));
    return {};
}

}  // namespace

bool SameSource(const SourceRec& a, const SourceRec& b) {
    return SameText(a.Pos, b.Pos, PosTextSize) && a.Phase == b.Phase && a.Voltage == b.Voltage;
}

std::string AntennaDifference(const AntDef& a, const AntDef& b) {
    if (!SameText(a.Name, b.Name, sizeof a.Name)) return "the name";
    if (a.Freq != b.Freq) return "the frequency";
    if (std::string d = TableDifference("wire", a.Wires, a.WireCount, b.Wires, b.WireCount, MaxWires, SameWireAsTyped);
        !d.empty())
        return d;
    if ((a.AutoVoltage != 0) != (b.AutoVoltage != 0)) return "the automatic voltage";
    if (std::string d =
            TableDifference("source", a.Sources, a.SourceCount, b.Sources, b.SourceCount, MaxSources, SameSource);
        !d.empty())
        return d;
    if ((a.UseLoads != 0) != (b.UseLoads != 0)) return "the use of loads";
    if (std::string d = TableDifference("load", a.Loads, a.LoadCount, b.Loads, b.LoadCount, MaxLoads, SameLoad);
        !d.empty())
        return d;
    if (a.DM1 != b.DM1 || a.DM2 != b.DM2 || a.SC != b.SC || a.EC != b.EC) return "the segmentation";
    if (a.StackMode != b.StackMode || a.nH != b.nH || a.nV != b.nV || a.hSpacing != b.hSpacing ||
        a.vSpacing != b.vSpacing)
        return "the stacking";
    return TableDifference("taper set", a.TaperSets, a.TaperSetCount, b.TaperSets, b.TaperSetCount, MaxTaperSets,
                           SameTaperSet);
}

std::string ModelReadBackFault(const AntDef& ant, const ModelEnvFields& env, const std::string& comment,
                               const AntDef& back, const ModelEnvFields& backEnv, const std::string& backComment) {
    // The antenna as a save should read back: in its normal form. Where that
    // is not the antenna as it stands, the save would change it too.
    auto expected = std::make_unique<AntDef>(ant);
    std::string expectedComment = comment;
    const bool faithful = NormalizeReadAntenna(*expected, expectedComment);
    std::string part = AntennaDifference(*expected, back);
    const bool sameEnvironment = env.Type == backEnv.Type && env.AntHeight == backEnv.AntHeight &&
                                 env.Material == backEnv.Material && env.Z0R == backEnv.Z0R &&
                                 env.Z0X == backEnv.Z0X && env.AzEl == backEnv.AzEl;
    if (part.empty() && !sameEnvironment) part = "the ground and reference";
    if (part.empty() && expectedComment != backComment) part = "the comment";
    if (part.empty() && !faithful) {
        const std::string reason = ReadRefusalReason(ant);
        if (!reason.empty()) return "It would not read back as this antenna: " + reason;
        part = AntennaDifference(ant, *expected);
        if (part.empty()) part = "the antenna";
    }
    return part.empty() ? std::string() : "It would read back with " + part + " changed.";
}

std::string ReadBackFault(std::string_view text, const AntDef& ant, const EnvRec& env, const std::string& comment) {
    auto back = std::make_unique<AntDef>();
    EnvRec backEnv = env;
    std::string backComment;
    std::string refusal;
    // Reading for the check must not move the view as an Open does.
    const ScopedValue<double> panX(JobDef.PanX, JobDef.PanX), panY(JobDef.PanY, JobDef.PanY);
    if (!ReadAntennaFile(text, *back, backEnv, backComment, &refusal))
        return "It would not open again" + (refusal.empty() ? std::string(".") : ": " + refusal);
    return ModelReadBackFault(ant, TakeModelEnvFields(env), comment, *back, TakeModelEnvFields(backEnv), backComment);
}

std::string KeptFileText(const std::string& fault) { return fault + " The file is kept as it was."; }

bool WriteCheckedAntennaText(const std::string& path, std::string_view text, const AntDef& ant, const EnvRec& env,
                             const std::string& comment, std::string* error) {
    const std::string fault = ReadBackFault(text, ant, env, comment);
    if (!fault.empty()) {
        if (error) *error = KeptFileText(fault);
        return false;
    }
    return WriteFileReplacing(path, text, error);
}
