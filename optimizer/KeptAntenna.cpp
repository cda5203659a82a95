#include "optimizer/KeptAntenna.h"

#include "model/AntennaSnapshot.h"
#include "model/AntennaText.h"

KeptAntenna KeepAntenna(AntDef& ant, EnvRec& env, const std::string& comment, CACal* cal,
                        std::vector<std::string>& notes) {
    if (cal) {
        const std::vector<std::string> followed = cal->Attach(ant, env);
        notes.insert(notes.end(), followed.begin(), followed.end());
    }
    KeptAntenna kept;
    kept.Text = WriteAntennaText(ant, env, comment);
    kept.Identities = std::make_shared<const AntennaIdentities>(IdentitiesOf(ant));
    if (cal) kept.References = std::make_shared<const OptimizerReferences>(cal->KeepReferences());
    return kept;
}

std::vector<std::string> RestoreKeptAntenna(const KeptAntenna& kept, AntDef& ant, EnvRec& env, std::string& comment,
                                            CACal* cal) {
    std::vector<std::string> lines;
    // The rows stand where the antenna before the restore has them.
    if (cal) lines = cal->Attach(ant, env);
    const auto before = std::make_unique<AntDef>(ant);
    const AntennaIdentities identitiesBefore = IdentitiesOf(ant);
    RestoreAntennaText(ant, env, comment, kept.Text);
    if (kept.Identities) SetIdentities(ant, *kept.Identities);
    else RenewIdentities(ant);
    if (cal && kept.References) {
        const std::vector<std::string> back = cal->RestoreReferences(*kept.References, ant);
        lines.insert(lines.end(), back.begin(), back.end());
    } else if (cal && cal->RowCount > 0) {
        lines.emplace_back("The optimization lines were made after the data were kept: they follow the wires that the "
                           "restored data still have.");
        const IdentityChange change = ChangeByIdentity(*before, identitiesBefore, IdentitiesOf(ant));
        cal->FollowWireRenumbering(ant, change.Wires, change.Entries, lines);
    }
    return lines;
}
