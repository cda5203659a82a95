#pragma once
// The antenna as a row of elements along the boom. Works on a copy of the
// antenna's wire table in which X is relative to each element's centre; the
// boom positions live in the intervals. Written back into the antenna by
// WriteBack. Not copyable: the elements point into the working table.
#include <cstdint>
#include <string>
#include <vector>

#include "model/AntDef.h"
#include "model/ElementGroup.h"
#include "model/TableRows.h"

constexpr int MaxElements = 255;          // group index 255 means "none"
constexpr uint8_t NoElement = 255;

class CWGroupList {
public:
    uint8_t GroupOfWireIndex[MaxWires];
    int32_t Count = 0;
    CWGroup Groups[MaxElements + 1];
    int32_t Base = 0;
    double Intervals[MaxElements + 1] = {};
    AntDef* Ant = nullptr;
    WireRec Wires[MaxWires];
    int32_t WireCount = 0;
    // The number (from 1) each working wire has in the antenna, 0 for a new one.
    int32_t Origin[MaxWires];

    CWGroupList();
    CWGroupList(const CWGroupList&) = delete;
    CWGroupList& operator=(const CWGroupList&) = delete;

    // False (and an empty list) when the antenna has more separate elements
    // than the list holds.
    bool Build(AntDef& ant);
    void Clear();
    // Sources and loads follow their wires, and given `placing` keep their
    // points in space on them; the log lines of that go to `notes`.
    void WriteBack(std::vector<std::string>* notes = nullptr, PositionPlacing placing = nullptr);

    double PosOf(int n) const;
    double PosOfWire(int w) const;
    double AbsolutePos(int n) const;
    void SetPos(int n, double x);

    bool CopyGroup(int n, int form);
    bool AddGroup(int n);
    void DeleteGroup(int n);
    bool ChangeForm(int n, int form);

    int GroupOfWire(int w) const;
    CWGroup* GroupPtr(int w);
    int FreeWireSlot();
    int NewWire(double x1, double y1, double z1, double x2, double y2, double z2, double r, int32_t seg);

    static bool IsLive(const WireRec& w) { return w.FirstPulse != 0; }

private:
    void MarkConnected(int g, int wire, int fromEnd);
    void SortGroups();
    void FreeGroupWires(int n);
    void RenumberGroupOfWire();
    void CopyWiresOf(const CWGroup& from, CWGroup& to);
    double DefaultInterval() const;
};

// The wavelength new elements are sized from: the current one, 23 m when none.
double ElementWavelength();
