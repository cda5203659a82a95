// The optimizer's references into the antenna (wires, elements, sources,
// loads, the band sources and the current goal's position) through the edits
// of the antenna: an element is the same element when it holds the same
// wires. Kept and put back with a copy of the antenna too.
#include "optimizer/OptimizerState.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "model/ScopedValue.h"
#include "model/TableRows.h"
#include "model/WireGeometry.h"
#include "optimizer/VarTable.h"

namespace {

// An antenna of just these wires, for what is worked out from wires alone.
std::unique_ptr<AntDef> AntennaOfWires(const WireRec* wires, int count) {
    auto ant = std::make_unique<AntDef>();
    ant->WireCount = count;
    std::copy(wires, wires + count, ant->Wires);
    return ant;
}
std::unique_ptr<AntDef> AntennaOfWires(const std::vector<WireRec>& wires) {
    return AntennaOfWires(wires.data(), static_cast<int>(wires.size()));
}

// The element (from 0) of each of the wires, -1 for none; empty when the
// element list cannot hold them all.
std::vector<int> ElementOfEachWire(const WireRec* wires, int count) {
    auto ant = AntennaOfWires(wires, count);
    auto list = std::make_unique<CWGroupList>();
    if (!list->Build(*ant)) return {};
    std::vector<int> element(static_cast<std::size_t>(count));
    for (int w = 0; w < count; ++w) element[static_cast<std::size_t>(w)] = list->GroupOfWire(w);
    return element;
}

// What each element before a change of the wires became. An element is the
// same element when it holds the same wires after the change: the index of
// that element now, or one of the codes below. Empty when the elements are
// not known. A wire cut into pieces lives on in all of them.
constexpr int ElementGone = -1, ElementSplit = -2, ElementJoined = -3;

std::vector<int> MatchElements(const WireRenumbering& change, const WireRec* after, int afterCount) {
    const std::vector<int> before = ElementOfEachWire(change.Before.data(), static_cast<int>(change.Before.size()));
    const std::vector<int> now = ElementOfEachWire(after, afterCount);
    if (before.empty() && !change.Before.empty()) return {};
    if (now.empty() && afterCount > 0) return {};
    const int elementsBefore = before.empty() ? 0 : *std::max_element(before.begin(), before.end()) + 1;
    const int elementsNow = now.empty() ? 0 : *std::max_element(now.begin(), now.end()) + 1;
    // The old wire each wire now is, -1 for a new one; pieces of a cut wire
    // beyond the first are new wires that its element may take.
    std::vector<int> origin(static_cast<std::size_t>(afterCount), -1);
    std::vector<bool> cutElement(static_cast<std::size_t>(std::max(elementsBefore, 0)), false);
    for (std::size_t w = 0; w < before.size(); ++w) {
        const int n = change.NewNumber[w];
        if (n > 0 && n <= afterCount) origin[static_cast<std::size_t>(n - 1)] = static_cast<int>(w);
        if (change.IsCut(w) && before[w] >= 0) cutElement[static_cast<std::size_t>(before[w])] = true;
    }
    std::vector<int> match(static_cast<std::size_t>(elementsBefore), ElementGone);
    for (int e = 0; e < elementsBefore; ++e) {
        int found = ElementGone;
        for (std::size_t w = 0; w < before.size() && found != ElementSplit; ++w) {
            const int n = change.NewNumber[w];
            if (before[w] != e || n <= 0 || n > afterCount) continue;
            const int there = now[static_cast<std::size_t>(n - 1)];
            if (found == ElementGone) found = there;
            else if (found != there) found = ElementSplit;
        }
        if (found >= 0) {
            // Every wire of the element found must come from this element (or
            // be a new piece of its cut wire).
            for (int w = 0; w < afterCount; ++w) {
                if (now[static_cast<std::size_t>(w)] != found) continue;
                const int from = origin[static_cast<std::size_t>(w)];
                const bool mine = from >= 0 ? before[static_cast<std::size_t>(from)] == e
                                            : cutElement[static_cast<std::size_t>(e)];
                if (!mine) {
                    found = ElementJoined;
                    break;
                }
            }
        }
        match[static_cast<std::size_t>(e)] = found < elementsNow ? found : ElementGone;
    }
    return match;
}

// The log line of an element row whose element is no longer there.
std::string ElementLostNote(const std::string& line, int element, int code) {
    const char* why = code == ElementSplit    ? "its wires now make more than one element"
                      : code == ElementJoined ? "its wires now make one element with other wires"
                                              : "its wires were deleted";
    return line + " (element " + std::to_string(element + 1) + "): " + why + "; the line is removed.";
}

std::string RowName(int row) { return "Optimization line " + std::to_string(row + 1); }

// The same wires where elements are concerned: the same end points.
bool SameWires(const std::vector<WireRec>& a, const WireRec* b, int count) {
    if (static_cast<int>(a.size()) != count) return false;
    return std::equal(a.begin(), a.end(), b, SameWireEnds);
}

// The change of an edit that kept every wire's number: wires past the new
// count are gone, those past the old count new.
WireRenumbering KeptNumbers(const std::vector<WireRec>& before, int countNow) {
    WireRenumbering change(*AntennaOfWires(before));
    for (std::size_t w = 0; w < change.NewNumber.size(); ++w)
        if (static_cast<int>(w) >= countNow) change.NewNumber[w] = 0;
    return change;
}

// The new index (from 0) of `item` under a map of new numbers (from 1, 0 for
// gone): -1 when it is gone, the item itself when the map does not reach it.
int FollowItem(int item, const std::vector<int>& newNumber) {
    if (item < 0 || item >= static_cast<int>(newNumber.size())) return item;
    return newNumber[static_cast<std::size_t>(item)] - 1;
}

}  // namespace

const AntennaIdentities* CACal::IdentitiesOf(const AntDef& ant) const {
    if (&ant != Ant || !ids_) return nullptr;
    return static_cast<int>(ids_->Wires.size()) == std::clamp(ant.WireCount, 0, MaxWires) ? ids_ : nullptr;
}

void CACal::SeeWires(const AntDef& ant) {
    const int n = std::clamp(ant.WireCount, 0, MaxWires);
    seenWires_.assign(ant.Wires, ant.Wires + n);
    const AntennaIdentities* ids = IdentitiesOf(ant);
    seenIds_ = ids ? ids->Wires : std::vector<EntryId>{};
    wiresSeen_ = true;
}

WireRenumbering CACal::ChangeSinceSeen(const AntDef& ant, int count) const {
    const AntennaIdentities* ids = IdentitiesOf(ant);
    if (!ids || seenIds_.size() != seenWires_.size()) return KeptNumbers(seenWires_, count);
    const auto before = AntennaOfWires(seenWires_);
    AntennaIdentities seen;
    seen.Wires = seenIds_;
    return ChangeByIdentity(*before, seen, *ids).Wires;
}

void CACal::FollowElements(const WireRenumbering& change, const AntDef& after, std::vector<std::string>& notes) {
    bool any = false;
    for (int i = 0; i < std::clamp(rowCount_, 0, MaxVarRows); ++i) any = any || rows_[i].Kind == KindElement;
    if (!any) return;
    const std::vector<int> match = MatchElements(change, after.Wires, std::clamp(after.WireCount, 0, MaxWires));
    if (match.empty()) return;
    std::vector<int> removed;
    for (int i = 0; i < std::clamp(rowCount_, 0, MaxVarRows); ++i) {
        ACalVarRec& r = rows_[i];
        if (r.Kind != KindElement || r.Item < 0 || r.Item >= static_cast<int>(match.size())) continue;
        const int now = match[static_cast<std::size_t>(r.Item)];
        if (now >= 0) {
            r.Item = now;
            continue;
        }
        notes.push_back(ElementLostNote(RowName(i), r.Item, now));
        removed.push_back(i);
    }
    // From the last, so the rows still to go keep their numbers.
    for (auto k = removed.rbegin(); k != removed.rend(); ++k) DeleteRow(*this, *k);
}

namespace {

// The wire the same, its ends exchanged.
bool EndsExchanged(const WireRec& now, const WireRec& was) {
    return !SameWireEnds(now, was) && now.X1 == was.X2 && now.Y1 == was.Y2 && now.Z1 == was.Z2 && now.X2 == was.X1 &&
           now.Y2 == was.Y1 && now.Z2 == was.Z1;
}

// A wire row's field on the other end: Y1, Z1, Y2, Z2, R, X1, X2.
int OtherEndField(int field) {
    constexpr int other[7] = {2, 3, 0, 1, 4, 6, 5};
    return field >= 0 && field < 7 ? other[field] : field;
}

}  // namespace

void CACal::FollowTurnedWires(const WireRenumbering& change, const AntDef& after, std::vector<std::string>& notes) {
    const int wiresAfter = std::clamp(after.WireCount, 0, MaxWires);
    for (int i = 0; i < std::clamp(rowCount_, 0, MaxVarRows); ++i) {
        ACalVarRec& r = rows_[i];
        if (r.Kind != KindWire && r.Kind != KindWirePolar) continue;
        // The row's item is the wire before the edit: it follows its number below.
        const int old = r.Item;
        if (old < 0 || old >= static_cast<int>(std::min(change.NewNumber.size(), change.Before.size())) ||
            change.IsCut(static_cast<std::size_t>(old)))
            continue;
        const int now = change.NewNumber[static_cast<std::size_t>(old)];
        const WireRec& was = change.Before[static_cast<std::size_t>(old)];
        if (now < 1 || now > wiresAfter || !EndsExchanged(after.Wires[now - 1], was)) continue;
        if (r.Kind == KindWire) {
            r.Field = OtherEndField(r.Field);
            continue;
        }
        // A polar row keeps its anchor end; its angle is now that of the
        // wire pointing the other way: the zenith mirrored, the azimuth
        // turned (as the wire's own numbers give them).
        const int anchor = r.Field % 3, quantity = r.Field / 3;
        r.Field = quantity * 3 + (anchor == 2 ? 2 : 1 - anchor);
        if (quantity == 0) continue;
        double length = 0, azimuthWas = 0, zenithWas = 0, azimuthNow = 0, zenithNow = 0;
        WireLenAzEl(length, azimuthWas, zenithWas, was);
        WireLenAzEl(length, azimuthNow, zenithNow, after.Wires[now - 1]);
        if (quantity == 1) {
            const double turn = azimuthNow - azimuthWas;
            r.Value += turn;
            r.Min += turn;
            r.Max += turn;
        } else {
            const double min = r.Min;
            r.Value = zenithWas + zenithNow - r.Value;
            r.Min = zenithWas + zenithNow - r.Max;
            r.Max = zenithWas + zenithNow - min;
        }
        notes.push_back(RowName(i) + " (wire " + std::to_string(old + 1) +
                        "): the wire was turned round; its angle and limits now read from its other end.");
    }
}

void CACal::FollowPending() {
    if (!Ant || !Env || !wiresSeen_ || searching_ || following_) return;
    const AntennaIdentities* ids = IdentitiesOf(*Ant);
    const bool sameIds = !ids || seenIds_.empty() || ids->Wires == seenIds_;
    if (sameIds && SameWires(seenWires_, Ant->Wires, std::clamp(Ant->WireCount, 0, MaxWires))) return;
    std::vector<std::string> lines = Attach(*Ant, *Env, ids_);
    notes_.insert(notes_.end(), lines.begin(), lines.end());
}

std::vector<std::string> CACal::FollowEdits(const AntDef& ant) {
    std::vector<std::string> notes;
    const int n = std::clamp(ant.WireCount, 0, MaxWires);
    const AntennaIdentities* ids = IdentitiesOf(ant);
    const bool sameIds = !ids || seenIds_.empty() || ids->Wires == seenIds_;
    if (wiresSeen_ && (!sameIds || !SameWires(seenWires_, ant.Wires, n)))
        FollowElements(ChangeSinceSeen(ant, n), ant, notes);
    SeeWires(ant);
    return notes;
}

void CACal::FollowWireRenumbering(const AntDef& ant, const WireRenumbering& change, const EntryRenumbering& entries,
                                  std::vector<std::string>& notes) {
    const ScopedValue<bool> following(following_, true);
    // A row deleted or inserted in the source or load table keeps every wire;
    // a write-back that keeps every number (the search's at each point)
    // leaves the element rows to the next build of the element model.
    const bool wiresMoved = change.Renumbers(ant.WireCount);
    FollowTurnedWires(change, ant, notes);
    // The band sources and the current goal are positions like the
    // antenna's: they follow every edit that places those by point, also one
    // that keeps every number.
    const auto followPositions = [&] {
        for (int b = 0; b < std::clamp(BandCount, 0, MaxBands); ++b) {
            int32_t count = 0;
            while (count < BandSources && Bands[b].Sources[count].Pos[0] != '\0') ++count;
            FollowSources(Bands[b].Sources, count, BandSources, "Band " + std::to_string(b + 1) + " source", change,
                          notes);
        }

        const std::string goal(CurrentPos, strnlen(CurrentPos, PosTextSize));
        if (const std::string gone = FollowPosition(CurrentPos, PosTextSize, change, "The current goal", notes);
            !gone.empty()) {
            notes.push_back(RemovedNote("The current goal", goal, gone));
            std::fill(std::begin(CurrentPos), std::end(CurrentPos), '\0');
        }
    };
    if (!wiresMoved && !entries.Renumbers()) {
        if (change.Place) followPositions();
        return;
    }

    // Edits since the last build come first: this change starts from the
    // antenna they left.
    if (wiresSeen_ && !SameWires(seenWires_, change.Before.data(), static_cast<int>(change.Before.size()))) {
        const auto before = AntennaOfWires(change.Before);
        FollowElements(KeptNumbers(seenWires_, before->WireCount), *before, notes);
    }
    SeeWires(ant);

    followPositions();

    // Element rows map through the wires of each element: elements are
    // numbered along the boom, so an inserted or deleted element moves the rest.
    std::vector<int> elementNow;
    bool elementsKnown = false;
    std::vector<int> removed;
    std::vector<std::string> lines;
    for (int i = 0; i < std::clamp(rowCount_, 0, MaxVarRows); ++i) {
        ACalVarRec& r = rows_[i];
        const std::string line = RowName(i);
        int now = r.Item;
        std::string gone;
        switch (r.Kind) {
        case KindWire:
        case KindWirePolar:
            now = FollowItem(r.Item, change.NewNumber);
            if (now < 0) gone = DeletedWireNote(line, "wire " + std::to_string(r.Item + 1), r.Item + 1);
            break;
        case KindElement:
            if (!elementsKnown) {
                elementNow = MatchElements(change, ant.Wires, std::clamp(ant.WireCount, 0, MaxWires));
                elementsKnown = true;
            }
            if (r.Item >= 0 && r.Item < static_cast<int>(elementNow.size())) {
                now = elementNow[static_cast<std::size_t>(r.Item)];
                if (now < 0) gone = ElementLostNote(line, r.Item, now);
            }
            break;
        case KindLoad:
        case KindSource: {
            const bool load = r.Kind == KindLoad;
            now = FollowItem(r.Item, load ? entries.NewLoad : entries.NewSource);
            if (now < 0)
                gone = line + (load ? " (load " : " (source ") + std::to_string(r.Item + 1) +
                       (wiresMoved ? "): it was on a deleted wire" : "): it was deleted") + "; the line is removed.";
            break;
        }
        default: break;
        }
        if (!gone.empty()) {
            lines.push_back(gone);
            removed.push_back(i);
        } else {
            r.Item = now;
        }
    }
    // From the last, so the rows still to go keep their numbers.
    for (auto k = removed.rbegin(); k != removed.rend(); ++k) DeleteRow(*this, *k);
    notes.insert(notes.end(), lines.begin(), lines.end());
}

OptimizerReferences CACal::KeepReferences() const {
    OptimizerReferences kept;
    const int n = std::clamp(rowCount_, 0, MaxVarRows);
    kept.Rows.assign(rows_, rows_ + n);
    kept.BestValues.assign(BestValues, BestValues + n);
    kept.BandCount = BandCount;
    std::copy(std::begin(Bands), std::end(Bands), std::begin(kept.Bands));
    std::copy(std::begin(CurrentPos), std::end(CurrentPos), std::begin(kept.CurrentPos));
    return kept;
}

std::vector<std::string> CACal::RestoreReferences(const OptimizerReferences& kept, const AntDef& ant) {
    const ScopedValue<bool> following(following_, true);
    std::vector<std::string> notes;
    const int n = std::min(static_cast<int>(kept.Rows.size()), MaxVarRows);
    const bool sameRows = n == rowCount_ && std::equal(kept.Rows.begin(), kept.Rows.begin() + n, rows_, [](const ACalVarRec& a, const ACalVarRec& b) {
        return a.Kind == b.Kind && a.Item == b.Item && a.Field == b.Field && a.Link == b.Link;
    });
    std::copy(kept.Rows.begin(), kept.Rows.begin() + n, rows_);
    std::fill(rows_ + n, rows_ + MaxVarRows, ACalVarRec{});
    rowCount_ = n;
    std::fill(std::begin(BestValues), std::end(BestValues), 0.0);
    std::copy(kept.BestValues.begin(), kept.BestValues.begin() + std::min(n, static_cast<int>(kept.BestValues.size())), BestValues);
    BandCount = kept.BandCount;
    std::copy(std::begin(kept.Bands), std::end(kept.Bands), std::begin(Bands));
    std::copy(std::begin(kept.CurrentPos), std::end(kept.CurrentPos), std::begin(CurrentPos));
    SeeWires(ant);
    notes.emplace_back("The optimization lines, bands and current goal are back as they were when the data were kept.");
    if (!sameRows && LogCount > 0) {
        // The logged points hold the values of other lines.
        LogCount = 0;
        LogHead = 0;
        notes.emplace_back("The optimization log belonged to other lines and is emptied.");
    }
    return notes;
}
