// The optimizer's references into the antenna (wires, elements, sources,
// loads, the band sources and the current goal's position) through an edit
// that renumbered the antenna's wires, sources or loads.
#include "optimizer/OptimizerState.h"

#include <algorithm>
#include <cstring>
#include <memory>

#include "model/TableRows.h"
#include "optimizer/VarTable.h"

namespace {

// The element (from 0) of each of the wires, -1 for none; empty when the
// element list cannot hold them all.
std::vector<int> ElementOfEachWire(const WireRec* wires, int count) {
    auto ant = std::make_unique<AntDef>();
    ant->WireCount = count;
    std::copy(wires, wires + count, ant->Wires);
    auto list = std::make_unique<CWGroupList>();
    if (!list->Build(*ant)) return {};
    std::vector<int> element(static_cast<std::size_t>(count));
    for (int w = 0; w < count; ++w) element[static_cast<std::size_t>(w)] = list->GroupOfWire(w);
    return element;
}

// What each element before the edit became: the element of its first wire
// that is still there, -1 when none is. Empty when the elements are not known.
std::vector<int> FollowElements(const AntDef& ant, const WireRenumbering& change) {
    const std::vector<int> before = ElementOfEachWire(change.Before.data(), static_cast<int>(change.Before.size()));
    const std::vector<int> after = ElementOfEachWire(ant.Wires, std::clamp(ant.WireCount, 0, MaxWires));
    if (before.empty() || after.empty()) return {};
    std::vector<int> now(static_cast<std::size_t>(*std::max_element(before.begin(), before.end()) + 1), -1);
    for (std::size_t w = 0; w < before.size(); ++w) {
        const int e = before[w], n = change.NewNumber[w];
        if (e < 0 || now[static_cast<std::size_t>(e)] >= 0 || n <= 0 || n > static_cast<int>(after.size())) continue;
        now[static_cast<std::size_t>(e)] = after[static_cast<std::size_t>(n - 1)];
    }
    return now;
}

// The new index (from 0) of `item` under a map of new numbers (from 1, 0 for
// gone): -1 when it is gone, the item itself when the map does not reach it.
int FollowItem(int item, const std::vector<int>& newNumber) {
    if (item < 0 || item >= static_cast<int>(newNumber.size())) return item;
    return newNumber[static_cast<std::size_t>(item)] - 1;
}

}  // namespace

void CACal::FollowWireRenumbering(const AntDef& ant, const WireRenumbering& change, const EntryRenumbering& entries,
                                  std::vector<std::string>& notes) {
    // A row deleted or inserted in the source or load table keeps every wire.
    const bool wiresMoved = change.Renumbers(ant.WireCount);
    if (!wiresMoved && !entries.Renumbers()) return;

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

    // Element rows map through the wires of each element: elements are
    // numbered along the boom, so an inserted or deleted element moves the rest.
    std::vector<int> elementNow;
    bool elementsKnown = false;
    std::vector<int> removed;
    std::vector<std::string> lines;
    for (int i = 0; i < std::clamp(RowCount, 0, MaxVarRows); ++i) {
        ACalVarRec& r = Rows[i];
        const std::string line = "Optimization line " + std::to_string(i + 1);
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
                elementNow = FollowElements(ant, change);
                elementsKnown = true;
            }
            now = r.Item < static_cast<int>(elementNow.size()) ? elementNow[static_cast<std::size_t>(r.Item)] : r.Item;
            if (now < 0)
                gone = line + " (element " + std::to_string(r.Item + 1) +
                       "): its wires were deleted; the line is removed.";
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
