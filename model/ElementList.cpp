#include "model/ElementList.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

#include "model/EnvDef.h"
#include "model/TableRows.h"

double ElementWavelength() { return JobDef.Wavelength > 0 ? JobDef.Wavelength : 23.0; }

CWGroupList::CWGroupList() {
    std::memset(Wires, 0, sizeof Wires);
    std::memset(Origin, 0, sizeof Origin);
    Clear();
}

void CWGroupList::Clear() {
    for (auto& g : Groups) g.Init(Wires);
    std::memset(GroupOfWireIndex, NoElement, sizeof GroupOfWireIndex);
    Count = 0;
    Base = 0;
    for (auto& i : Intervals) i = 0;
}

bool CWGroupList::Build(AntDef& ant) {
    Clear();
    Ant = &ant;
    WireCount = std::clamp<int32_t>(ant.WireCount, 0, MaxWires);
    std::memset(Origin, 0, sizeof Origin);
    for (int i = 0; i < WireCount; ++i) {
        Wires[i] = ant.Wires[i];
        Wires[i].FirstPulse = 1;
        Origin[i] = i + 1;
    }
    for (int i = 0; i < WireCount; ++i) {
        if (GroupOfWireIndex[i] != NoElement) continue;
        if (Count >= MaxElements) {
            Clear();
            return false;
        }
        GroupOfWireIndex[i] = static_cast<uint8_t>(Count);
        MarkConnected(Count, i, 0);
        MarkConnected(Count, i, 1);
        ++Count;
    }
    for (int g = 0; g < Count; ++g) {
        Groups[g].Init(Wires);
        for (int i = 0; i < WireCount; ++i)
            if (GroupOfWireIndex[i] == g) Groups[g].AddWire(i);
        Groups[g].Update();
    }
    SortGroups();
    return true;
}

// Joins every wire without an element that touches the given end exactly,
// and goes on from its other end.
void CWGroupList::MarkConnected(int g, int wire, int fromEnd) {
    std::vector<std::pair<int, int>> todo{{wire, fromEnd}};
    while (!todo.empty()) {
        auto [w, end] = todo.back();
        todo.pop_back();
        const WireRec& a = Wires[w];
        const double px = end == 0 ? a.X1 : a.X2, py = end == 0 ? a.Y1 : a.Y2, pz = end == 0 ? a.Z1 : a.Z2;
        for (int i = 0; i < WireCount; ++i) {
            if (GroupOfWireIndex[i] != NoElement) continue;
            const WireRec& b = Wires[i];
            if (b.X1 == px && b.Y1 == py && b.Z1 == pz) {
                GroupOfWireIndex[i] = static_cast<uint8_t>(g);
                todo.push_back({i, 1});
            } else if (b.X2 == px && b.Y2 == py && b.Z2 == pz) {
                GroupOfWireIndex[i] = static_cast<uint8_t>(g);
                todo.push_back({i, 0});
            }
        }
    }
}

void CWGroupList::RenumberGroupOfWire() {
    std::memset(GroupOfWireIndex, NoElement, sizeof GroupOfWireIndex);
    for (int g = 0; g < Count; ++g)
        for (const auto& m : Groups[g].Members) GroupOfWireIndex[m.Wire] = static_cast<uint8_t>(g);
}

void CWGroupList::SortGroups() {
    for (int gap = Count / 2; gap > 0; gap /= 2)
        for (int i = gap; i < Count; ++i)
            for (int j = i - gap; j >= 0 && Groups[j].CentreX > Groups[j + gap].CentreX; j -= gap)
                std::swap(Groups[j], Groups[j + gap]);
    RenumberGroupOfWire();
    Base = 0;
    for (int g = 1; g < Count; ++g)
        if (std::fabs(Groups[g].CentreX) < std::fabs(Groups[Base].CentreX)) Base = g;
    for (int g = 0; g < Count; ++g) {
        if (g < Base)
            Intervals[g] = Groups[g + 1].CentreX - Groups[g].CentreX;
        else if (g == Base)
            Intervals[g] = 0;
        else
            Intervals[g] = Groups[g].CentreX - Groups[g - 1].CentreX;
    }
}

double CWGroupList::PosOf(int n) const {
    double sum = 0;
    const int last = n <= Base ? n - 1 : n;
    for (int i = 0; i <= last && i < Count; ++i) sum += Intervals[i];
    return sum;
}

// Where WriteBack puts the element: measured from the base, which stays.
double CWGroupList::AbsolutePos(int n) const {
    if (Count == 0) return 0;
    return Groups[Base].CentreX + PosOf(n) - PosOf(Base);
}

double CWGroupList::PosOfWire(int w) const {
    const int g = GroupOfWire(w);
    return g < 0 ? 0 : AbsolutePos(g);
}

void CWGroupList::SetPos(int n, double x) {
    if (n < 0 || n >= Count) return;
    const double d = x - PosOf(n);
    if (n < Base) {
        if (n > 0) Intervals[n - 1] += d;
        Intervals[n] -= d;
    } else if (n == Base) {
        if (n > 0) Intervals[n - 1] += d;
        if (n + 1 < Count) Intervals[n + 1] -= d;
    } else {
        Intervals[n] += d;
        if (n + 1 < Count) Intervals[n + 1] -= d;
    }
}

void CWGroupList::WriteBack(std::vector<std::string>* notes, PositionPlacing placing) {
    if (!Ant || Count == 0) return;
    WireRenumbering change(*Ant);
    for (int& number : change.NewNumber) number = 0;
    bool renumber = false;
    for (int i = 0; i < WireCount; ++i)
        if (!IsLive(Wires[i])) renumber = true;
    int written = 0;
    auto put = [&](int g, double pos) {
        for (const auto& m : Groups[g].Members) {
            const WireRec& w = Wires[m.Wire];
            if (!IsLive(w)) continue;
            const int target = renumber ? written : m.Wire;
            if (target >= MaxWires) continue;
            WireRec out = w;
            out.X1 += pos;
            out.X2 += pos;
            Ant->Wires[target] = out;
            const int origin = Origin[m.Wire];
            if (origin > 0 && origin <= static_cast<int>(change.NewNumber.size()))
                change.NewNumber[static_cast<std::size_t>(origin - 1)] = target + 1;
            ++written;
        }
    };
    if (Count > 0) {
        double pos = Groups[Base].CentreX;
        for (int g = Base; g >= 0; --g) {
            if (g < Base) pos -= Intervals[g];
            put(g, pos);
        }
        pos = Groups[Base].CentreX;
        for (int g = Base + 1; g < Count; ++g) {
            pos += Intervals[g];
            put(g, pos);
        }
    }
    Ant->WireCount = renumber ? std::min(written, MaxWires) : WireCount;
    if (placing) change.Place = placing(*Ant, change);
    const std::vector<std::string> lines = FollowWireRenumbering(*Ant, change);
    if (notes) notes->insert(notes->end(), lines.begin(), lines.end());
}

int CWGroupList::GroupOfWire(int w) const {
    if (w < 0 || w >= MaxWires) return -1;
    const int g = GroupOfWireIndex[w];
    return g == NoElement || g >= Count ? -1 : g;
}

CWGroup* CWGroupList::GroupPtr(int w) {
    const int g = GroupOfWire(w);
    return g < 0 ? nullptr : &Groups[g];
}

int CWGroupList::FreeWireSlot() {
    for (int i = 0; i < WireCount; ++i)
        if (!IsLive(Wires[i])) return i;
    return WireCount < MaxWires ? WireCount : -1;
}

int CWGroupList::NewWire(double x1, double y1, double z1, double x2, double y2, double z2, double r, int32_t seg) {
    const int i = FreeWireSlot();
    if (i < 0) return -1;
    WireRec w{};
    w.X1 = x1; w.Y1 = y1; w.Z1 = z1;
    w.X2 = x2; w.Y2 = y2; w.Z2 = z2;
    w.R = r;
    w.Seg = seg;
    w.FirstPulse = 1;
    Wires[i] = w;
    Origin[i] = 0;
    if (i == WireCount) ++WireCount;
    return i;
}

void CWGroupList::FreeGroupWires(int n) {
    for (const auto& m : Groups[n].Members) {
        Wires[m.Wire].FirstPulse = 0;
        GroupOfWireIndex[m.Wire] = NoElement;
    }
    Groups[n].Clear();
}

void CWGroupList::CopyWiresOf(const CWGroup& from, CWGroup& to) {
    // Collect first: a new slot may be one the source frees nowhere, but the
    // source's wires must be read before any write.
    std::vector<WireRec> copies;
    for (const auto& m : from.Members) copies.push_back(Wires[m.Wire]);
    to.Init(Wires);
    for (const auto& w : copies) {
        const int i = NewWire(w.X1, w.Y1, w.Z1, w.X2, w.Y2, w.Z2, w.R, w.Seg);
        if (i >= 0) to.AddWire(i);
    }
    to.CentreX = from.CentreX;
    to.Update();
}

double CWGroupList::DefaultInterval() const { return ElementWavelength() / 6; }

bool CWGroupList::CopyGroup(int n, int form) {
    if (n == 0) return ChangeForm(0, form);
    if (n != Count || Count >= MaxElements) return false;
    CopyWiresOf(Groups[n - 1], Groups[n]);
    double interval = Intervals[n - 1];
    if (interval == 0) interval = (n >= 2 && Intervals[n - 2] != 0) ? Intervals[n - 2] : DefaultInterval();
    Intervals[n] = interval;
    Groups[n].CentreX = Groups[n - 1].CentreX + interval;
    ++Count;
    RenumberGroupOfWire();
    return true;
}

bool CWGroupList::AddGroup(int n) {
    if (n < 0) return false;
    if (n >= Count) return CopyGroup(Count, FormHLine);
    if (Count >= MaxElements) return false;
    for (int k = Count; k > n; --k) {
        std::swap(Groups[k], Groups[k - 1]);
        Intervals[k] = Intervals[k - 1];
    }
    CopyWiresOf(Groups[n + 1], Groups[n]);
    double interval = Intervals[n + 1];
    if (interval == 0) interval = (n > 0 && Intervals[n - 1] != 0) ? Intervals[n - 1] : DefaultInterval();
    Intervals[n] = interval;
    ++Count;
    if (n <= Base) ++Base;
    RenumberGroupOfWire();
    return true;
}

void CWGroupList::DeleteGroup(int n) {
    if (n < 0 || n >= Count) return;
    FreeGroupWires(n);
    const bool wasBase = n == Base;
    for (int k = n; k + 1 < Count; ++k) {
        std::swap(Groups[k], Groups[k + 1]);
        Intervals[k] = Intervals[k + 1];
    }
    --Count;
    Groups[Count].Init(Wires);
    Intervals[Count] = 0;
    if (n <= Base && Base > 0) --Base;
    if (wasBase && Count > 0) {
        // The neighbour that becomes the base keeps the others where they were.
        if (n > 0 && n < Count) Intervals[n] += Intervals[Base];
        Intervals[Base] = 0;
    }
    RenumberGroupOfWire();
}
