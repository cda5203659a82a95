#pragma once
// Identities of an antenna's wires, sources and loads, kept beside the record
// (the record keeps its file layout). An identity says which wire or entry a
// reference meant, whatever its number or geometry is now: every edit that
// moves, resizes or renumbers a wire keeps it (renumberings pass through
// FollowWireRenumbering and FollowEntryRenumbering, which carry it along), the
// first piece of a divided wire keeps its wire's, and nothing new shares one.
#include "model/AntDef.h"
#include "model/TableRows.h"

#include <cstdint>
#include <vector>

using EntryId = uint64_t;

struct AntennaIdentities {
    std::vector<EntryId> Wires, Sources, Loads;
};

// A fresh identity that no wire or entry had before.
EntryId NewEntryId();

// The identities of `ant` as it stands. Only an antenna that has been asked
// keeps identities; entries appended since the last question (a row typed
// into a table's empty row) get fresh ones, those past a count are dropped.
const AntennaIdentities& IdentitiesOf(const AntDef& ant);

// The same for an antenna that keeps identities; null for one that does not
// (a copy, a record of a test), which is not made to keep them.
const AntennaIdentities* KnownIdentitiesOf(const AntDef& ant);

// `ant` holds, or is about to hold, another antenna (a new or opened one):
// fresh identities for all.
void RenewIdentities(const AntDef& ant);
// `ant` holds again an antenna kept with these identities (a restore).
void SetIdentities(const AntDef& ant, const AntennaIdentities& ids);
// The record goes away: its identities with it.
void ForgetIdentities(const AntDef& ant);

// Carries the identities of an antenna that keeps them through one
// renumbering of its wires and entries (called by the renumbering routines).
void FollowIdentities(const AntDef& ant, const WireRenumbering& change, const EntryRenumbering& entries);

// The renumbering from `before` (with identities `from`) to an antenna with
// identities `to`: each wire, source and load goes where its identity is now,
// and is gone where no wire or entry of `to` has it.
struct IdentityChange {
    WireRenumbering Wires;
    EntryRenumbering Entries;
};
IdentityChange ChangeByIdentity(const AntDef& before, const AntennaIdentities& from, const AntennaIdentities& to);
