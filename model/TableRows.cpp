#include "model/TableRows.h"

#include "model/PositionText.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

namespace {

// The table's entries and their count, whatever the record's count says: a
// count out of range never lets a shift leave the array.
template <class Rec>
bool DeleteEntry(Rec* entries, int32_t& count, int capacity, int row) {
    const int n = std::clamp(count, 0, capacity);
    if (row < 1 || row > n) return false;
    std::copy(entries + row, entries + n, entries + row - 1);
    std::memset(&entries[n - 1], 0, sizeof(Rec));
    count = n - 1;
    return true;
}

template <class Rec>
bool InsertEntry(Rec* entries, int32_t& count, int limit, int row) {
    const int n = std::max(count, 0);
    if (row < 1 || row > n || n >= limit) return false;
    std::copy_backward(entries + row - 1, entries + n, entries + n + 1);
    std::memset(&entries[row - 1], 0, sizeof(Rec));
    count = n + 1;
    return true;
}

// The position field may come from a file without its terminating zero.
std::string PositionOf(const char (&field)[PosTextSize]) { return std::string(field, strnlen(field, PosTextSize)); }

// The first pulse whose number an edit changes: pulses are numbered wire by
// wire, so the first pulse of the first wire that lost its number or was cut
// into pieces, or of the next wire with pulses. -1 when no pulse moved, 0
// when the pulses are not known (no preparation has numbered them).
long long FirstMovedPulse(const WireRenumbering& change) {
    const std::size_t n = change.NewNumber.size();
    std::size_t first = 0;
    while (first < n && change.NewNumber[first] == static_cast<int>(first) + 1 && !change.IsCut(first)) ++first;
    if (first == n) return -1;
    for (std::size_t i = first; i < n; ++i)
        if (change.FirstPulse[i] > 0) return change.FirstPulse[i];
    const bool known = std::any_of(change.FirstPulse.begin(), change.FirstPulse.end(), [](int p) { return p > 0; });
    return known ? -1 : 0;
}

template <class Rec>
std::vector<int> FollowEntries(Rec* entries, int32_t& count, int capacity, const std::string& kind,
                               const WireRenumbering& change, std::vector<std::string>& notes) {
    const int n = std::clamp(count, 0, capacity);
    std::vector<int> newNumber;
    // A removed entry is named by its number before the edit, a kept one by
    // its number after it.
    for (int row = 1, entry = 1; entry <= n; ++entry) {
        Rec& e = entries[row - 1];
        const std::string text = PositionOf(e.Pos);
        const std::string gone = FollowPosition(e.Pos, PosTextSize, change, EntryName(kind, row), notes);
        if (!gone.empty()) {
            notes.push_back(RemovedNote(EntryName(kind, entry), text, gone));
            DeleteEntry(entries, count, capacity, row);
            newNumber.push_back(0);
            continue;
        }
        newNumber.push_back(row);
        ++row;
    }
    return newNumber;
}

// The numbers 1..count as deleting (remove) or inserting entry `row` leaves
// them: 0 for the deleted one.
std::vector<int> NumbersAfterRowEdit(int count, int row, bool remove) {
    std::vector<int> numbers;
    for (int n = 1; n <= count; ++n)
        numbers.push_back(n < row ? n : !remove ? n + 1 : n == row ? 0 : n - 1);
    return numbers;
}

struct Follower {
    const AntDef* Ant;
    WireReferenceFollower Follow;
};

std::vector<Follower>& Followers() {
    static std::vector<Follower> followers;
    return followers;
}

void NotifyFollowers(const AntDef& ant, const WireRenumbering& change, const EntryRenumbering& entries,
                     std::vector<std::string>& notes) {
    for (const Follower& f : Followers())
        if (f.Ant == &ant) f.Follow(ant, change, entries, notes);
}

}  // namespace

WireRenumbering::WireRenumbering(const AntDef& before) {
    const int n = std::clamp(before.WireCount, 0, MaxWires);
    for (int i = 0; i < n; ++i) {
        NewNumber.push_back(i + 1);
        FirstPulse.push_back(before.Wires[i].PulseCount > 0 ? before.Wires[i].FirstPulse : 0);
        Before.push_back(before.Wires[i]);
    }
    Pieces.resize(static_cast<std::size_t>(n));
}

bool WireRenumbering::Renumbers(int wireCountAfter) const {
    if (wireCountAfter != static_cast<int>(NewNumber.size())) return true;
    for (std::size_t i = 0; i < NewNumber.size(); ++i)
        if (NewNumber[i] != static_cast<int>(i) + 1 || IsCut(i)) return true;
    return false;
}

bool EntryRenumbering::Renumbers() const {
    for (const std::vector<int>* numbers : {&NewSource, &NewLoad})
        for (std::size_t i = 0; i < numbers->size(); ++i)
            if ((*numbers)[i] != static_cast<int>(i) + 1) return true;
    return false;
}

std::string EntryName(const std::string& kind, int number) {
    std::string name = kind;
    name += ' ';
    name += std::to_string(number);
    return name;
}

std::string RemovedNote(const std::string& what, const std::string& text, const std::string& why) {
    return what + " (" + text + ") " + why + " and is removed.";
}

std::string PlacementNote(const std::string& what, const std::string& text, const PositionPlacement& placed,
                          const std::string& where) {
    switch (placed.How) {
    case PositionPlacement::Placed: return {};
    case PositionPlacement::Nearest:
        return what + " (" + text + "): no pulse stands at its point " + where +
               "; it goes to the nearest one of its wire, " + placed.Text + ".";
    case PositionPlacement::Removed:
    case PositionPlacement::Unknown: break;
    }
    if (placed.Text.empty()) return {};
    std::string why = placed.Text;
    if (why.back() == ',') why.pop_back();
    return what + " (" + text + "): " + why + "; it stays as " + text + ", check its position.";
}

std::string DeletedWireNote(const std::string& what, const std::string& text, long long wire) {
    return RemovedNote(what, text, "was on the deleted wire " + std::to_string(wire));
}

std::string FollowPosition(char* pos, std::size_t size, const WireRenumbering& change, const std::string& what,
                           std::vector<std::string>& notes) {
    if (!pos || size == 0) return {};
    const std::string text(pos, strnlen(pos, size));
    const PositionRef ref = SplitPosition(text.c_str());
    const auto wiresBefore = static_cast<long long>(change.NewNumber.size());
    if (ref.Names == PositionRef::Wire && ref.Number > wiresBefore) {
        // A wire beyond the last named no pulse and must not come alive
        // when wires are added: it stays beyond them.
        const long long added = change.WireCountAfter - wiresBefore;
        if (added > 0 && !SetPositionWire(pos, size, ref.Number + added))
            return "named no wire, would name one after the edit,";
        return {};
    }
    if (ref.Names == PositionRef::Wire) {
        const auto old = static_cast<std::size_t>(ref.Number - 1);
        const int now = change.NewNumber[old];
        if (now == 0) return "was on the deleted wire " + std::to_string(ref.Number);
        const PositionPlacement placed = change.Place ? change.Place(text.c_str()) : PositionPlacement{};
        switch (placed.How) {
        case PositionPlacement::Removed: return placed.Text;
        case PositionPlacement::Nearest:
            notes.push_back(PlacementNote(what, text, placed));
            [[fallthrough]];
        case PositionPlacement::Placed: CopyText(pos, size, placed.Text.c_str()); return {};
        case PositionPlacement::Unknown: break;
        }
        const long long pulses = old < change.Before.size() ? std::max(change.Before[old].PulseCount, 0) : 0;
        if (now != ref.Number && !SetPositionWire(pos, size, now, pulses))
            return PositionTooLongReason() + " on wire " + std::to_string(now);
        if (!placed.Text.empty())
            notes.push_back(what + " (" + text + "): " + placed.Text + "; it stays on its wire as " +
                            std::string(pos, strnlen(pos, size)) + ", check its position.");
    } else if (ref.Names == PositionRef::Pulse) {
        const long long movedFrom = FirstMovedPulse(change);
        if (movedFrom >= 0 && ref.Number >= movedFrom)
            notes.push_back(what + " at pulse " + std::to_string(ref.Number) +
                            ": the pulses are numbered anew, check its position.");
    }
    return {};
}

std::vector<std::string> FollowWireRenumbering(AntDef& ant, const WireRenumbering& change) {
    std::vector<std::string> notes;
    WireRenumbering counted = change;
    counted.WireCountAfter = std::clamp(ant.WireCount, 0, MaxWires);
    EntryRenumbering entries;
    entries.NewSource = FollowEntries(ant.Sources, ant.SourceCount, MaxSources, "Source", counted, notes);
    entries.NewLoad = FollowEntries(ant.Loads, ant.LoadCount, MaxLoads, "Load", counted, notes);
    NotifyFollowers(ant, counted, entries, notes);
    return notes;
}

std::vector<std::string> FollowEntryRenumbering(const AntDef& ant, const EntryRenumbering& entries) {
    std::vector<std::string> notes;
    const WireRenumbering kept(ant);
    NotifyFollowers(ant, kept, entries, notes);
    return notes;
}

namespace {

// Writes a position longer than the antenna text carries as the shortest
// text naming the pulse it resolved to; false when it names none or that
// is too long as well.
bool WriteWithinField(const AntDef& ant, char (&pos)[PosTextSize]) {
    const std::string text = PositionOf(pos);
    if (text.size() <= static_cast<std::size_t>(PosTextLength)) return true;
    const PositionRef ref = SplitPosition(text.c_str());
    const int pulse = ParseSourcePos(ant, text.c_str());
    if (ref.Names != PositionRef::Wire || pulse <= 0) return false;
    const WireRec& w = ant.Wires[ref.Number - 1];
    const std::string fit = PulseOnWireText(ref.Letter, ref.Number, pulse - w.FirstPulse, w.PulseCount);
    if (fit.size() > static_cast<std::size_t>(PosTextLength)) return false;
    CopyText(pos, fit.c_str());
    return true;
}

// A plain pulse number of a stacked copy counts its copy's pulses: taken as
// the antenna, it is written as the pulse of the whole that it names.
template <typename Rec>
void NumberPlainPulsesOfCopies(const AntDef& ant, Rec* table, int count, int limit) {
    if (ant.StackCopies <= 1) return;
    const int used = std::clamp(count, 0, limit);
    for (int i = 0; i < used; ++i) {
        const std::string text = PositionOf(table[i].Pos);
        if (SplitPosition(text.c_str()).Names != PositionRef::Pulse) continue;
        CopyText(table[i].Pos, std::to_string(EntryPulse(ant, text.c_str(), i, used)).c_str());
    }
}

}  // namespace

std::vector<std::string> FitPositionsToField(AntDef& ant) {
    NumberPlainPulsesOfCopies(ant, ant.Sources, ant.SourceCount, MaxSources);
    NumberPlainPulsesOfCopies(ant, ant.Loads, ant.LoadCount, MaxLoads);
    std::vector<std::string> notes;
    for (EditTable table : {EditTable::Sources, EditTable::Loads}) {
        const bool sources = table == EditTable::Sources;
        const int count = std::clamp(sources ? ant.SourceCount : ant.LoadCount, 0, sources ? MaxSources : MaxLoads);
        // A removed entry's row is taken by the next one.
        for (int row = 1, entry = 1; entry <= count; ++entry) {
            char(&pos)[PosTextSize] = sources ? ant.Sources[row - 1].Pos : ant.Loads[row - 1].Pos;
            const std::string text = PositionOf(pos);
            if (WriteWithinField(ant, pos)) {
                ++row;
                continue;
            }
            notes.push_back(RemovedNote(EntryName(sources ? "Source" : "Load", entry), text, PositionTooLongReason()));
            DeleteTableEntry(ant, table, row, &notes);
        }
    }
    return notes;
}

std::vector<int> FollowSources(SourceRec* sources, int32_t& count, int capacity, const std::string& kind,
                               const WireRenumbering& change, std::vector<std::string>& notes) {
    return FollowEntries(sources, count, capacity, kind, change, notes);
}

void SetWireReferenceFollower(const AntDef& ant, WireReferenceFollower follower) {
    std::vector<Follower>& all = Followers();
    all.erase(std::remove_if(all.begin(), all.end(), [&](const Follower& f) { return f.Ant == &ant; }), all.end());
    if (follower) all.push_back({&ant, std::move(follower)});
}

int InsertLimit(EditTable table) {
    switch (table) {
    case EditTable::Wires: return MaxWires - 1;
    case EditTable::Sources: return MaxSources - 1;
    case EditTable::Loads: return MaxLoads - 1;
    }
    return 0;
}

namespace {

void Note(std::vector<std::string>* notes, const std::vector<std::string>& lines) {
    if (notes) notes->insert(notes->end(), lines.begin(), lines.end());
}

// What names the source or load table's entries follows a row just deleted
// (remove) or inserted there.
void FollowEntryRowEdit(const AntDef& ant, EditTable table, int row, bool remove, std::vector<std::string>* notes) {
    EntryRenumbering entries;
    const bool sources = table == EditTable::Sources;
    const int after = sources ? ant.SourceCount : ant.LoadCount;
    (sources ? entries.NewSource : entries.NewLoad) = NumbersAfterRowEdit(remove ? after + 1 : after - 1, row, remove);
    Note(notes, FollowEntryRenumbering(ant, entries));
}

}  // namespace

bool DeleteTableEntry(AntDef& ant, EditTable table, int row, std::vector<std::string>* notes,
                      PositionPlacing placing) {
    switch (table) {
    case EditTable::Wires: {
        WireRenumbering change(ant);
        if (!DeleteEntry(ant.Wires, ant.WireCount, MaxWires, row)) return false;
        change.NewNumber = NumbersAfterRowEdit(static_cast<int>(change.NewNumber.size()), row, true);
        if (placing) change.Place = placing(ant, change);
        Note(notes, FollowWireRenumbering(ant, change));
        return true;
    }
    case EditTable::Sources:
        if (!DeleteEntry(ant.Sources, ant.SourceCount, MaxSources, row)) return false;
        break;
    case EditTable::Loads:
        if (!DeleteEntry(ant.Loads, ant.LoadCount, MaxLoads, row)) return false;
        break;
    }
    FollowEntryRowEdit(ant, table, row, true, notes);
    return true;
}

bool InsertTableEntry(AntDef& ant, EditTable table, int row, std::vector<std::string>* notes,
                      PositionPlacing placing) {
    switch (table) {
    case EditTable::Wires: {
        WireRenumbering change(ant);
        if (!InsertEntry(ant.Wires, ant.WireCount, InsertLimit(table), row)) return false;
        // The neighbour that lends its radius and segmentation: the wire above,
        // or at the top the wire that was first until now.
        const WireRec& from = row >= 2 ? ant.Wires[row - 2] : ant.Wires[row];
        ant.Wires[row - 1].R = from.R;
        ant.Wires[row - 1].Seg = from.Seg;
        change.NewNumber = NumbersAfterRowEdit(static_cast<int>(change.NewNumber.size()), row, false);
        if (placing) change.Place = placing(ant, change);
        Note(notes, FollowWireRenumbering(ant, change));
        return true;
    }
    case EditTable::Sources:
        if (!InsertEntry(ant.Sources, ant.SourceCount, InsertLimit(table), row)) return false;
        break;
    case EditTable::Loads:
        if (!InsertEntry(ant.Loads, ant.LoadCount, InsertLimit(table), row)) return false;
        ant.Loads[row - 1].Type = LoadLC;
        break;
    }
    FollowEntryRowEdit(ant, table, row, false, notes);
    return true;
}
