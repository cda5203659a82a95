#include "editing/ElementTable.h"

#include "engine/PointPlacement.h"
#include "model/EnvDef.h"
#include "model/NumberText.h"
#include "model/TaperSetTable.h"
#include "model/WireGeometry.h"

#include <cmath>

namespace {

bool ValidGroupIndex(const CWGroupList& g, int n) { return n >= 0 && n < g.Count; }

// The form code a new element on the "next" row gets from the typed column.
int FormForNewElement(int col) {
    if (col == ColHeight) return FormVLine;
    if (col == ColLength) return FormVQuad;
    return FormHLine;
}

}  // namespace

ElementTableWords DefaultElementTableWords() {
    ElementTableWords w;
    w.Messages = {"File modifed. Save changes?", "All additional digits after point will be cut. Make it?",
                  "No.%d and No.%d are same elements"};
    for (int i = 0; i < ElementFormCount; ++i) w.Forms[static_cast<std::size_t>(i)] = ElementFormName(i);
    w.MetreHeads = {"No.",       "Form",      "Int.(m)", "Width(m)", "Height(m)",
                    "Length(m)", "R(mm)",     "Seg.",    "Wires",    "Peri(m)"};
    w.WaveHeads = {"No.",        "Form",  "Int.(wl)", "Width(wl)", "Height(wl)",
                   "Length(wl)", "R(wl)", "Seg.",     "Wires",     "Peri(wl)"};
    return w;
}

bool ApplyElementTableWords(ElementTableWords& words, const std::vector<std::string>& lines) {
    if (lines.size() < static_cast<std::size_t>(ElementWordLines)) return false;
    std::size_t k = 0;
    for (auto& m : words.Messages) m = lines[k++];
    for (auto& f : words.Forms) f = lines[k++];
    for (auto& h : words.MetreHeads) h = lines[k++];
    for (auto& h : words.WaveHeads) h = lines[k++];
    return true;
}

std::string SameElementsText(const std::string& pattern, int first, int second) {
    // The pattern comes from a language file: only "%d" is filled, never by printf.
    std::string out;
    int used = 0;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size() && pattern[i + 1] == 'd' && used < 2) {
            out += std::to_string(used++ == 0 ? first : second);
            ++i;
        } else {
            out += pattern[i];
        }
    }
    return out;
}

int FormOfChangeTag(int tag) {
    static const int codes[14] = {0,         FormHLine, FormVLine,      FormVQuad,        FormVRhomb,
                                  FormVTrianDown, FormVTrian, FormVOcta, FormTwoSquares, FormTwoTriangles,
                                  FormHQuad, FormHRhomb, FormHTrian,     FormHTrianBack};
    return tag >= 1 && tag <= 13 ? codes[tag] : 0;
}

ElementTable::ElementTable() : groups_(std::make_unique<CWGroupList>()) {}

bool ElementTable::Build(AntDef& ant) {
    State = 0;
    return groups_->Build(ant);
}

void ElementTable::WriteBack(std::vector<std::string>* notes) { groups_->WriteBack(notes, PlaceByPoint); }

bool ElementTable::IsOpen(int n) const {
    return ValidGroupIndex(*groups_, n) && groups_->Groups[n].NoLoop != 0;
}

double ElementTable::DisplayWidth(int n) const {
    return ValidGroupIndex(*groups_, n) ? groups_->Groups[n].Width() : 0.0;
}

double ElementTable::DisplayHeight(int n) const {
    return ValidGroupIndex(*groups_, n) ? groups_->Groups[n].Height() : 0.0;
}

double ElementTable::Length(int n) const {
    return ValidGroupIndex(*groups_, n) ? groups_->Groups[n].GetLength() : 0.0;
}

double ElementTable::Radius(int n) const {
    return ValidGroupIndex(*groups_, n) ? groups_->Groups[n].Radius() : 0.005;
}

int32_t ElementTable::Segmentation(int n) const {
    if (!ValidGroupIndex(*groups_, n) || groups_->Groups[n].Count() == 0) return 0;
    return groups_->Groups[n].MemberWire(0).Seg;
}

double ElementTable::PositionOrGap(int n) const {
    if (!ValidGroupIndex(*groups_, n)) return 0.0;
    return JobDef.IntPos ? groups_->Intervals[n] : groups_->PosOf(n);
}

std::string ElementTable::Header(int col, int currentRow) const {
    if (col < 0 || col >= ElementColumns) return {};
    const auto& heads = JobDef.InWavelengths ? Words.WaveHeads : Words.MetreHeads;
    if (col == ColLength && !IsOpen(currentRow - 1)) return heads[ElementPeriHeader];
    return heads[static_cast<std::size_t>(col)];
}

std::string ElementTable::CellText(int col, int row) const {
    if (row == 0) return Header(col, CurrentRow);
    if (col == ColNo) return row == Count() + 1 ? Words.Next : std::to_string(row);
    const int n = row - 1;
    if (!ValidGroupIndex(*groups_, n)) return {};
    const CWGroup& g = groups_->Groups[n];
    switch (col) {
    case ColForm: return Words.Forms[static_cast<std::size_t>(g.Form >= 0 && g.Form < ElementFormCount ? g.Form : 0)];
    case ColPos:
        if (JobDef.IntPos && IsBase(n)) return "Base element";
        return DblToStr(MetreToWave(PositionOrGap(n)));
    case ColWidth: return DblToStr(MetreToWave(DisplayWidth(n)));
    case ColHeight: return DblToStr(MetreToWave(DisplayHeight(n)));
    case ColLength: return DblToStr(MetreToWave(Length(n)));
    case ColRadius: return g.OneRadius ? DblToStr(RadiusToShown(Radius(n))) : "Mixt";
    case ColSeg: return g.OneSeg ? IntOrPairToStr(Segmentation(n)) : "Mixt";
    case ColWires: return std::to_string(g.Count());
    default: return {};
    }
}

bool ElementTable::CanEdit(int col, int row) const {
    if (col < ColPos || col > ColSeg || row < 1 || row > Count() + 1) return false;
    const int n = row - 1;
    if (n == Count()) {
        if (Full()) return false;
        // A new element is the first (no position) or, in an empty table, the base (no gap).
        return !(col == ColPos && (JobDef.IntPos ? Count() == 0 : n == 0));
    }
    const CWGroup& g = groups_->Groups[n];
    switch (col) {
    case ColPos: return JobDef.IntPos ? !IsBase(n) : n != 0;
    case ColRadius: return g.OneRadius != 0;
    case ColSeg: return g.OneSeg != 0;
    default: return true;
    }
}

bool ElementTable::AppendFor(int col) {
    if (Full()) return false;
    return groups_->CopyGroup(Count(), FormForNewElement(col));
}

CellEdit ElementTable::SetCell(int col, int row, const std::string& text) {
    if (!CanEdit(col, row)) return row == Count() + 1 && Full() ? CellEdit::TableFull : CellEdit::NotEditable;
    // An emptied cell reads as 0 to the parser: that is no value the user typed.
    if (text.find_first_not_of(" \t") == std::string::npos) return CellEdit::NotANumber;
    if (col == ColSeg) {
        int32_t seg = 0;
        if (!StrToIntOrPair(seg, text)) return CellEdit::NotANumber;
        if (row == Count() + 1 && !AppendFor(col)) return CellEdit::TableFull;
        groups_->Groups[row - 1].SetSeg(seg);
        State |= 1;
        return CellEdit::Taken;
    }
    double v = 0.0;
    if (!StrToDblExpr(v, text)) return CellEdit::NotANumber;
    return SetCellValue(col, row, v);
}

CellEdit ElementTable::SetCellValue(int col, int row, double shown) {
    if (!CanEdit(col, row) || col == ColSeg) return CellEdit::NotEditable;
    if (!std::isfinite(shown)) return CellEdit::NotANumber;
    double metres = 0.0;
    if (col == ColRadius) {
        metres = ShownToRadius(shown);
        if (!(std::fabs(metres) <= ElementValueLimit)) return CellEdit::TooLarge;
        // After a save the wires would use another taper set, or none.
        if (groups_->Ant && !TaperRadiusReadsBack(*groups_->Ant, metres)) return CellEdit::LikeTaperKey;
    } else {
        // The least size is one rule in metres, the optimizer's too, whatever unit the table shows.
        const double least = col == ColPos ? 0.0 : MinElementSize;
        metres = WaveToMetre(shown);
        if (metres < least) return CellEdit::TooSmall;
        if (!(metres <= ElementValueLimit)) return CellEdit::TooLarge;
    }
    if (row == Count() + 1 && !AppendFor(col)) return CellEdit::TableFull;
    const int n = row - 1;
    CWGroup& g = groups_->Groups[n];
    switch (col) {
    case ColPos:
        if (JobDef.IntPos)
            groups_->Intervals[n] = metres;
        else
            groups_->SetPos(n, metres);
        break;
    case ColWidth: g.SetWidth(Proportional, metres); break;
    case ColHeight: g.SetHeight(Proportional, metres); break;
    case ColLength: g.SetLength(Proportional, metres); break;
    case ColRadius: g.SetRadius(metres); break;
    default: return CellEdit::NotEditable;
    }
    State |= 1;
    return CellEdit::Taken;
}

int ElementTable::CellField(int col) {
    switch (col) {
    case ColPos: return JobDef.IntPos ? ElInterval : ElPos;
    case ColWidth: return ElWidth;
    case ColHeight: return ElHeight;
    case ColLength: return ElLength;
    case ColRadius: return ElRadius;
    default: return -1;
    }
}

bool ElementTable::IsVariableCell(const ElementVariables* vars, int col, int n) const {
    const int field = CellField(col);
    if (!vars || field < 0) return false;
    if (vars->HasCell(n, field)) return true;
    // The proportional variants mark the cells of their plain fields.
    return field >= ElWidth && field <= ElLength && vars->HasCell(n, field + (ElWidthAll - ElWidth));
}

bool ElementTable::IsVariableWire(const ElementVariables* vars, int wire) { return vars && vars->HasWire(wire); }

bool ElementTable::PickChoice(const ElementVariables* vars, int col, int row, int& element, int& kind) const {
    const int n = row - 1;
    if (!ValidGroupIndex(*groups_, n)) return false;
    double value = 0.0;
    int field = -1;
    switch (col) {
    case ColPos:
        field = JobDef.IntPos ? ElInterval : ElPos;
        value = PositionOrGap(n);
        break;
    case ColWidth: field = ElWidth; value = DisplayWidth(n); break;
    case ColHeight: field = ElHeight; value = DisplayHeight(n); break;
    case ColLength: field = ElLength; value = Length(n); break;
    case ColRadius: field = ElRadius; value = Radius(n); break;
    default: return false;
    }
    if (value == 0.0 || IsVariableCell(vars, col, n)) return false;
    if (Proportional && field >= ElWidth && field <= ElLength) field += ElWidthAll - ElWidth;
    element = n;
    kind = field;
    return true;
}

bool ElementTable::DeleteRow(int row) {
    const int n = row - 1;
    if (!ValidGroupIndex(*groups_, n) || IsBase(n)) return false;
    groups_->DeleteGroup(n);
    State |= 1;
    return true;
}

bool ElementTable::AddRow(int row) {
    if (Full() || row < 1) return false;
    if (!groups_->AddGroup(row - 1)) return false;
    State |= 1;
    return true;
}

bool ElementTable::ChangeFormRow(int row, int tag) {
    const int form = FormOfChangeTag(tag);
    const int n = row - 1;
    if (form == 0 || n < 0 || n > Count() || (n == Count() && Full())) return false;
    if (!groups_->ChangeForm(n, form)) return false;
    State |= 1;
    return true;
}

bool ElementTable::SameElements(int a, int b) const {
    const CWGroup& ga = groups_->Groups[a];
    const CWGroup& gb = groups_->Groups[b];
    if (ga.Count() != gb.Count()) return false;
    for (int i = 0; i < ga.Count(); ++i)
        if (!SameWireEnds(ga.MemberWire(i), gb.MemberWire(i))) return false;
    return true;
}

bool ElementTable::FindDuplicates(int& first, int& second) const {
    const CWGroupList& g = *groups_;
    // Only elements standing at one place can be equal: the gaps between them are 0.
    for (int i = g.Base; i > 0; --i)
        for (int j = i - 1; j >= 0 && g.Intervals[j] == 0; --j)
            if (SameElements(i, j)) {
                first = i + 1;
                second = j + 1;
                return true;
            }
    for (int i = g.Base; i + 1 < g.Count; ++i)
        for (int j = i + 1; j < g.Count && g.Intervals[j] == 0; ++j)
            if (SameElements(i, j)) {
                first = i + 1;
                second = j + 1;
                return true;
            }
    return false;
}
