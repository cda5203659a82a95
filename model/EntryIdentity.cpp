#include "model/EntryIdentity.h"

#include <algorithm>
#include <atomic>

namespace {

// Appends fresh identities up to `count` entries, drops those past it.
void FitList(std::vector<EntryId>& ids, int count) {
    const auto n = static_cast<std::size_t>(std::max(count, 0));
    if (ids.size() > n) ids.resize(n);
    while (ids.size() < n) ids.push_back(NewEntryId());
}

// The identities of the entries after a renumbering: each entry there was
// takes its identity to its new number; a number nobody came to is new.
std::vector<EntryId> Renumbered(std::vector<EntryId> before, const std::vector<int>& newNumber, int countAfter) {
    FitList(before, static_cast<int>(newNumber.size()));
    std::vector<EntryId> after(static_cast<std::size_t>(std::max(countAfter, 0)), 0);
    for (std::size_t i = 0; i < newNumber.size(); ++i) {
        const int n = newNumber[i];
        if (n >= 1 && n <= countAfter && after[static_cast<std::size_t>(n - 1)] == 0)
            after[static_cast<std::size_t>(n - 1)] = before[i];
    }
    for (EntryId& id : after)
        if (id == 0) id = NewEntryId();
    return after;
}

// The new number (from 1) of each identity of `from` among `to`, 0 where
// `to` has it not.
std::vector<int> NumbersByIdentity(std::vector<EntryId> from, int countFrom, const std::vector<EntryId>& to) {
    FitList(from, countFrom);
    std::vector<int> numbers;
    for (const EntryId id : from) {
        const auto at = std::find(to.begin(), to.end(), id);
        numbers.push_back(at == to.end() ? 0 : static_cast<int>(at - to.begin()) + 1);
    }
    return numbers;
}

}  // namespace

EntryId NewEntryId() {
    static std::atomic<EntryId> next{1};
    return next++;
}

AntennaIdentities AntennaIdentities::FreshFor(const AntDef& ant) {
    AntennaIdentities ids;
    ids.FitTo(ant);
    return ids;
}

void AntennaIdentities::FitTo(const AntDef& ant) {
    FitList(Wires, std::clamp(ant.WireCount, 0, MaxWires));
    FitList(Sources, std::clamp(ant.SourceCount, 0, MaxSources));
    FitList(Loads, std::clamp(ant.LoadCount, 0, MaxLoads));
}

void AntennaIdentities::Follow(const AntDef& ant, const WireRenumbering& change, const EntryRenumbering& entries) {
    Wires = Renumbered(std::move(Wires), change.NewNumber, std::clamp(ant.WireCount, 0, MaxWires));
    if (!entries.NewSource.empty())
        Sources = Renumbered(std::move(Sources), entries.NewSource, std::clamp(ant.SourceCount, 0, MaxSources));
    if (!entries.NewLoad.empty())
        Loads = Renumbered(std::move(Loads), entries.NewLoad, std::clamp(ant.LoadCount, 0, MaxLoads));
    FitTo(ant);
}

IdentityChange ChangeByIdentity(const AntDef& before, const AntennaIdentities& from, const AntennaIdentities& to) {
    IdentityChange change{WireRenumbering(before), {}};
    change.Wires.NewNumber = NumbersByIdentity(from.Wires, std::clamp(before.WireCount, 0, MaxWires), to.Wires);
    change.Entries.NewSource = NumbersByIdentity(from.Sources, std::clamp(before.SourceCount, 0, MaxSources), to.Sources);
    change.Entries.NewLoad = NumbersByIdentity(from.Loads, std::clamp(before.LoadCount, 0, MaxLoads), to.Loads);
    return change;
}
