#pragma once
// The working model of the graphical wire editor: a private copy of the wire
// table with live flags (deleted wires keep their slot until the write-back),
// the selection with its display filter, one level of undo, and every edit
// the editor makes. No Qt: the form only turns gestures into these calls.
#include "model/AntDef.h"
#include "model/WireGeometry.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Pages of the editor; a 2D page shows two model axes and hides the third.
enum WireCadPage { PageAll = 0, PageXY = 1, PageXZ = 2, PageYZ = 3 };
enum WireCadFilter { FilterAll = 0, FilterPlane = 1, FilterElement = 2 };
// Where a press or the popup menu met the selected wire.
enum WireCadHit { HitNone = 0, HitEnd1 = 1, HitEnd2 = 2, HitBody = 3 };

struct PageAxes {
    int a, b, depth;  // 0 X, 1 Y, 2 Z
};
// X-Y, X-Z, Y-Z; the 3D page answers X-Y.
PageAxes AxesOf(int page);
double Coord(const Point3D& p, int axis);
void SetCoord(Point3D& p, int axis, double v);
void SetEnd(WireRec& w, int end, const Point3D& p);  // end 1 or 2
Point3D EndOf(const WireRec& w, int end);
bool SamePoint(const Point3D& p, const Point3D& q);

class WireCadModel {
public:
    int Count = 0;
    WireRec Wires[MaxWires]{};
    bool Live[MaxWires]{};
    int Origin[MaxWires]{};  // the wire's number in the antenna (from 1), 0 for a wire drawn here
    int CutFrom[MaxWires]{};  // for a piece of a divided antenna wire, that wire's number (from 1); else 0
    uint8_t Marks[MaxWires]{};  // 0 passes the display filter, 255 does not
    int Selected = -1;
    int FilterMode = FilterAll;
    WireRec Work{};   // the selected wire as shown, or the wire being changed or drawn
    WireRec Templ{};  // the wire as it was when a drag began, or a new wire's template

    // Copies the whole wire table; slots at and beyond the count are not live.
    void Load(const AntDef& ant);
    // Writes the live wires back in slot order, with the sources and loads
    // kept at their points in space on the wires the edits laid out anew
    // (divided, segmented anew, joined; on a moved wire, at their place
    // along it); the log lines of that go to `notes`. Returns the selected
    // wire's new index (-1 when none is selected).
    int WriteBack(AntDef& ant, std::vector<std::string>* notes = nullptr) const;

    bool WireExists(const Point3D& p1, const Point3D& p2) const;
    bool WireHasEndAt(int i, const Point3D& p) const;
    bool IsEndConnected(int i, const Point3D& p) const;
    bool IsWireShown(int i) const;
    double CommonPlaneCoord(int axis) const;
    bool CanAddWires(int n) const;
    int AllocWireSlot();
    int ShownCount() const;

    void ApplySelFilter(int page);
    void ResetSegAround(int i);
    // Selects slot i (or none for -1) and copies it into the working record.
    void Select(int i);
    void SelectedWireChanged();

    bool HasUndo() const { return undoValid_; }

    // Edits; each answers whether it changed the table. A refused edit
    // changes nothing and takes no undo snapshot.
    bool Connect(int hit);
    bool Disjoin(int hit);
    bool ExchangeEnds();
    bool CentreOnAxis(int page);
    bool Divide(int n);
    bool DeleteSelected();
    bool Undo();
    // Lets an outside editor change the table in place (the wire definition
    // dialog); it answers whether it changed anything.
    bool EditSelected(const std::function<bool(WireRec* wires, int index, int count)>& edit);

    // Template of a new wire drawn at page point (a, b) of a 2D page.
    WireRec NewWireTemplate(int page, double a, double b) const;
    // Commits of the gestures; the working record holds the new geometry.
    bool CommitNewWire2D(int page);
    bool CommitNewLoop2D(int page);
    bool CommitMovedEnd2D(int end);
    bool CommitMovedBody2D();
    bool CommitMovedEnd3D(int end, const Point3D& target);
    bool CommitNewWire3D(const Point3D& target);

    // The information panel's text.
    std::string InfoText(int page, bool drawingNew) const;

private:
    struct State {
        int count = 0, selected = -1;
        WireRec wires[MaxWires]{};
        bool live[MaxWires]{};
        int origin[MaxWires]{};
        int cutFrom[MaxWires]{};
    };
    void Save(State& s) const;
    void Restore(const State& s);
    // Runs an edit on the table; keeps it and makes the state before it the
    // undo snapshot only when the edit reports a change and no wire it
    // touched ends up with both ends in one point.
    bool Transaction(const std::function<bool()>& edit);
    void AddWire(const WireRec& w);
    void MarkConnected(uint8_t mark, const Point3D& p);

    State undo_;
    bool undoValid_ = false;
};
