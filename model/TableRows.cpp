#include "model/TableRows.h"

#include <algorithm>
#include <cstring>

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

}  // namespace

int InsertLimit(EditTable table) {
    switch (table) {
    case EditTable::Wires: return MaxWires - 1;
    case EditTable::Sources: return MaxSources - 1;
    case EditTable::Loads: return MaxLoads - 1;
    }
    return 0;
}

bool DeleteTableEntry(AntDef& ant, EditTable table, int row) {
    switch (table) {
    case EditTable::Wires: return DeleteEntry(ant.Wires, ant.WireCount, MaxWires, row);
    case EditTable::Sources: return DeleteEntry(ant.Sources, ant.SourceCount, MaxSources, row);
    case EditTable::Loads: return DeleteEntry(ant.Loads, ant.LoadCount, MaxLoads, row);
    }
    return false;
}

bool InsertTableEntry(AntDef& ant, EditTable table, int row) {
    switch (table) {
    case EditTable::Wires: {
        if (!InsertEntry(ant.Wires, ant.WireCount, InsertLimit(table), row)) return false;
        // The neighbour that lends its radius and segmentation: the wire above,
        // or at the top the wire that was first until now.
        const WireRec& from = row >= 2 ? ant.Wires[row - 2] : ant.Wires[row];
        ant.Wires[row - 1].R = from.R;
        ant.Wires[row - 1].Seg = from.Seg;
        return true;
    }
    case EditTable::Sources: return InsertEntry(ant.Sources, ant.SourceCount, InsertLimit(table), row);
    case EditTable::Loads:
        if (!InsertEntry(ant.Loads, ant.LoadCount, InsertLimit(table), row)) return false;
        ant.Loads[row - 1].Type = LoadLC;
        return true;
    }
    return false;
}
