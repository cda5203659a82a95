#pragma once
// Identities of an antenna's wires, sources and loads, kept beside the record
// (the record keeps its file layout) by whoever owns the record: the main
// window, a kept antenna, the optimizer state attached to an antenna. A copy
// of the record is made together with a copy of them. An identity says which
// wire or entry a reference meant, whatever its number or geometry is now:
// every edit that moves, resizes or renumbers a wire keeps it (the owner's
// follower of FollowWireRenumbering carries it along), the first piece of a
// divided wire keeps its wire's, and nothing new shares one.
#include "model/AntDef.h"
#include "model/TableRows.h"

#include <cstdint>
#include <vector>

using EntryId = uint64_t;

// A fresh identity that no wire or entry had before.
EntryId NewEntryId();

struct AntennaIdentities {
    std::vector<EntryId> Wires, Sources, Loads;

    // Fresh identities for every wire and entry of `ant`.
    static AntennaIdentities FreshFor(const AntDef& ant);
    // Fits the lists to `ant`'s counts: entries appended since (a row typed
    // into a table's empty row) get fresh identities, those past a count are
    // dropped.
    void FitTo(const AntDef& ant);
    // Through one renumbering of `ant`'s wires and entries (`ant` as it is
    // after it).
    void Follow(const AntDef& ant, const WireRenumbering& change, const EntryRenumbering& entries);
};

// The renumbering from `before` (with identities `from`) to an antenna with
// identities `to`: each wire, source and load goes where its identity is now,
// and is gone where no wire or entry of `to` has it.
struct IdentityChange {
    WireRenumbering Wires;
    EntryRenumbering Entries;
};
IdentityChange ChangeByIdentity(const AntDef& before, const AntennaIdentities& from, const AntennaIdentities& to);
