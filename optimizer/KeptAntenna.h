#pragma once
// An antenna kept as text (the Edit menu's temporary memory, the antenna
// before an optimization) together with what names its parts: the identities
// of its wires, sources and loads, and the optimizer's rows, bands and current
// goal when there were any. A restore gives all of it back, and rows made
// since follow the wires and entries the restored antenna still has, found by
// their identities.
#include "model/AntDef.h"
#include "model/EntryIdentity.h"
#include "model/EnvDef.h"
#include "optimizer/OptimizerState.h"

#include <memory>
#include <string>
#include <vector>

struct KeptAntenna {
    std::string Text;
    std::shared_ptr<const AntennaIdentities> Identities;
    std::shared_ptr<const OptimizerReferences> References;  // null: no rows when kept
    // The calculation frequency its positions were placed at (no part of
    // the text); 0: the design frequency.
    double CalcFreq = 0;
};

// Keeps `ant` as it stands, with `ids`, its identities (fitted to it first).
// The rows of `cal` (may be null) first follow the
// edits they have not followed yet, so that what is kept names what the user
// sees; their lines for the log go to `notes`.
KeptAntenna KeepAntenna(AntDef& ant, AntennaIdentities& ids, EnvRec& env, const std::string& comment, CACal* cal,
                        std::vector<std::string>& notes);

// Replaces the antenna, its identities, the ground and the comment by the
// kept ones. The
// rows of `cal` come back as they were kept; rows made since (a `cal`
// without kept references) follow by identity. `cal` may be null when no
// rows exist and none were kept. Returns the lines for the log.
std::vector<std::string> RestoreKeptAntenna(const KeptAntenna& kept, AntDef& ant, AntennaIdentities& ids, EnvRec& env,
                                            std::string& comment, CACal* cal);
