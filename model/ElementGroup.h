#pragma once
// One element of the antenna seen along the boom (X): a group of wires joined
// through exactly equal end points, classified by its form and measured.
// Member wires live in the element list's working table; their X coordinates
// are kept relative to the element's centre X.
#include <cstdint>
#include <vector>

#include "model/AntDef.h"

enum ElementForm : int32_t {
    FormNone = 0, FormVLine, FormVQuad, FormVRhomb, FormVTrian, FormVTrianDown, FormVOcta, FormV2Trian,
    FormHLine, FormHQuad, FormHRhomb, FormHTrian, FormHTrianBack, FormH2Trian, FormHCompl, FormVCompl,
    FormTwoSquares, FormTwoTriangles  // only as targets of a form change
};

// The smallest width, height or length an element is given: the element
// table takes no smaller number, and a run of the optimizer keeps the sizes
// it varies (in metres) at or above it.
constexpr double MinElementSize = 0.001;

// The element table's names of the forms 0..15.
const char* ElementFormName(int form);

struct GroupMember {
    int32_t Wire = 0;            // index in the working table
    double Length = 0, DX = 0, DY = 0, DZ = 0;
    double SlopeYX = 0;          // dY/dX
    double SlopeZY = 0;          // dZ/dY
    int32_t ChainPlace = 0;      // 1.. along the closed chain, 0 off it
};

class CWGroup {
public:
    WireRec* Table = nullptr;    // working wire table of the list
    double YMin = 0, YMax = 0, ZMin = 0, ZMax = 0, XMin = 0, XMax = 0;
    int32_t NoLoop = 0;
    int32_t Form = FormNone;
    int32_t OneRadius = 1, OneSeg = 1;
    std::vector<GroupMember> Members;
    double CentreX = 0, CentreY = 0, CentreZ = 0;

    void Init(WireRec* table);
    void Clear() { Members.clear(); }
    void AddWire(int wire);
    int Count() const { return static_cast<int>(Members.size()); }
    WireRec& MemberWire(int i) { return Table[Members[i].Wire]; }
    const WireRec& MemberWire(int i) const { return Table[Members[i].Wire]; }

    // Re-measures after any change of the member wires.
    void Update();

    // Extents; for a closed form an extent of 0 reads as the X extent.
    double Width() const;
    double Height() const;
    double XExtent() const { return XMax - XMin; }
    double GetLength() const;
    double Radius() const;   // of the first wire, 0.005 without wires

    void SetWidthEnds(double w);
    void SetHeightEnds(double h);
    void SetWidthScaled(double w);
    void SetHeightScaled(double h);
    void SetLengthEnds(double p);
    void SetLengthScaled(double p);
    void SetWidth(bool scaled, double w) { scaled ? SetWidthScaled(w) : SetWidthEnds(w); }
    void SetHeight(bool scaled, double h) { scaled ? SetHeightScaled(h) : SetHeightEnds(h); }
    void SetLength(bool scaled, double p) { scaled ? SetLengthScaled(p) : SetLengthEnds(p); }
    void ScaleX(double l);
    void SetLineLength(double l);
    void SetOctagonLength(double p);
    void SetRadius(double r);
    void SetSeg(int32_t s);

private:
    void Analyse();
    bool FindJunction(std::vector<int>& chain, std::vector<int>& reversed);
    void Classify(const std::vector<int>& chain, const std::vector<int>& reversed);
    void ResizeAxis(int axis, double extent, bool scaled);
    bool IsPoint() const;
    void LayOutAlong(int axis, double extent);
    void ResizeByForm(double p, bool scaled);
};
