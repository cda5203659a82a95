#include "optimizer/KeptAntenna.h"

#include "model/AntennaSnapshot.h"
#include "model/AntennaText.h"

#include <utility>

KeptAntenna KeepAntenna(AntDef& ant, AntennaIdentities& ids, EnvRec& env, const std::string& comment, CACal* cal,
                        std::vector<std::string>& notes) {
    ids.FitTo(ant);
    if (cal) {
        const std::vector<std::string> followed = cal->Attach(ant, env, &ids);
        notes.insert(notes.end(), followed.begin(), followed.end());
    }
    KeptAntenna kept;
    kept.Text = WriteAntennaText(ant, env, comment);
    kept.Identities = std::make_shared<const AntennaIdentities>(ids);
    kept.CalcFreq = ant.CalcFreq;
    if (cal) kept.References = std::make_shared<const OptimizerReferences>(cal->KeepReferences());
    return kept;
}

std::vector<std::string> RestoreKeptAntenna(const KeptAntenna& kept, AntDef& ant, AntennaIdentities& ids, EnvRec& env,
                                            std::string& comment, CACal* cal) {
    std::vector<std::string> lines;
    ids.FitTo(ant);
    // The rows stand where the antenna before the restore has them.
    if (cal) lines = cal->Attach(ant, env, &ids);
    const auto before = std::make_unique<AntDef>(ant);
    const AntennaIdentities identitiesBefore = ids;
    RestoreAntennaText(ant, env, comment, kept.Text);
    ids = kept.Identities ? *kept.Identities : AntennaIdentities{};
    ids.FitTo(ant);
    if (cal && kept.References) {
        const std::vector<std::string> back = cal->RestoreReferences(*kept.References, ant);
        lines.insert(lines.end(), back.begin(), back.end());
    } else if (cal && std::as_const(*cal).RowCount() > 0) {  // as they stand: they follow below
        lines.emplace_back("The optimization lines were made after the data were kept: they follow the wires that the "
                           "restored data still have.");
        const IdentityChange change = ChangeByIdentity(*before, identitiesBefore, ids);
        cal->FollowWireRenumbering(ant, change.Wires, change.Entries, lines);
    }
    return lines;
}
