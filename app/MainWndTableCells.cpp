// Cell texts and cell edits of the geometry tables. Every text is made from
// the record; an edit that does not parse leaves the record as it was, so the
// old text reappears. The row below the entries appends one, up to the
// record's capacity; nothing is ever written past it.
#include "app/MainWnd.h"
#include "model/AntennaNormalForm.h"
#include "model/EnvDef.h"
#include "model/Messages.h"
#include "model/NumberText.h"
#include "model/TaperSetTable.h"
#include "model/WireGeometry.h"
#include "platform/Prompter.h"
#include "platform/StringGrid.h"
#include "platform/TextCodec.h"

#include <QCheckBox>
#include <QMenu>
#include <cmath>
#include <cstring>

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

std::string Std(const QString& s) { return s.toStdString(); }

double WireValue(const WireRec& w, int col) {
    switch (col) {
        case 1: return w.X1;
        case 2: return w.Y1;
        case 3: return w.Z1;
        case 4: return w.X2;
        case 5: return w.Y2;
        default: return w.Z2;
    }
}

double* WireField(WireRec& w, int col) {
    switch (col) {
        case 1: return &w.X1;
        case 2: return &w.Y1;
        case 3: return &w.Z1;
        case 4: return &w.X2;
        case 5: return &w.Y2;
        case 6: return &w.Z2;
        default: return nullptr;
    }
}

const char* const LoadTypeNames[3] = {"LC", "R+jX", "S"};

constexpr double Pi = 3.14159265358979323846;

bool WireFinite(const WireRec& w) {
    for (double v : {w.X1, w.Y1, w.Z1, w.X2, w.Y2, w.Z2, w.R})
        if (!std::isfinite(v)) return false;
    return true;
}

bool LoadFinite(const LoadRec& l) {
    for (int k = 0; k < MaxLoadPairs; ++k)
        if (!std::isfinite(l.A[k]) || !std::isfinite(l.B[k])) return false;
    return true;
}

}  // namespace

// ---- Wires ----

QString TMainWnd::WireCellText(int col, int row) const {
    if (row > Ant.WireCount) return col == 0 ? DisplayQString(EmptyRowText) : QString();
    const WireRec& w = Ant.Wires[row - 1];
    if (col == 0) return QString::number(row);
    if (col >= 1 && col <= 6) return Q(DblToStr(MetreToWave(WireValue(w, col))));
    if (col == 7) return Q(DblToStrE(RadiusToShown(w.R)));
    if (col == 8) return Q(IntOrPairToStr(w.Seg));
    return {};
}

void TMainWnd::Grid2SetEditText(int col, int row, const QString& text) {
    const int index = row - 1;
    if (row < 1 || col < 1 || index > Ant.WireCount || index >= MaxWires) return;
    if (index == Ant.WireCount) std::memset(&Ant.Wires[index], 0, sizeof(WireRec));
    WireRec& w = Ant.Wires[index];
    const WireRec old = w;
    const std::string s = Std(text);
    if (col <= 6) {
        double v = 0;
        if (!StrToDblExpr(v, s)) return;
        *WireField(w, col) = WaveToMetre(v);
    } else if (col == 7) {
        double v = 0;
        if (!StrToDblExpr(v, s)) return;
        w.R = ShownToRadius(v);
        // A radius a save would write as a taper key that differs from it
        // would give the wire another set.
        if (!TaperRadiusReadsBack(Ant, w.R)) {
            w = old;
            ErrorBox("%s '%s' was not taken.", TaperRadiusLimitText, s.c_str());
            return;
        }
    } else if (col == 8) {
        int32_t seg = w.Seg;
        if (!StrToIntOrPair(seg, s)) return;
        w.Seg = seg;
    } else {
        return;
    }
    // A value the evaluator accepts (0/0 gives the largest double) may still
    // overflow in the unit conversion; the wire keeps what it had.
    if (!WireFinite(w)) {
        w = old;
        return;
    }
    const bool appended = WireRowEdited(index);
    if (!appended && col <= 6 && ChkWith->isChecked()) {
        MoveWireEnds(Ant.Wires, Ant.WireCount, w, old);
        Grid2->Invalidate();
    }
    SettlePositions();
}

bool TMainWnd::WireRowEdited(int index) {
    Ant.Changed = 1;
    Ant.Edited = 1;
    if (index < Ant.WireCount || index >= MaxWires) return false;
    WireRec& w = Ant.Wires[index];
    if (w.R == 0.0) w.R = index > 0 ? Ant.Wires[index - 1].R : 0.0008;
    if (w.Seg == 0) w.Seg = index > 0 ? Ant.Wires[index - 1].Seg : -1;
    ++Ant.WireCount;
    UpdateCount();
    Grid2->SetRowCount(Ant.WireCount + 2);
    Grid2->Invalidate();
    UpdateMenuState();
    return true;
}

// ---- Sources ----

QString TMainWnd::SourceCellText(int col, int row) const {
    if (row > Ant.SourceCount) return col == 0 ? DisplayQString(EmptyRowText) : QString();
    const SourceRec& s = Ant.Sources[row - 1];
    switch (col) {
        case 0: return QString::number(row);
        case 1: return DisplayQString(std::string_view(s.Pos, strnlen(s.Pos, sizeof s.Pos)));
        case 2: return Q(DblToStr(s.Phase));
        case 3: return Q(DblToStr(s.Voltage));
        default: return {};
    }
}

void TMainWnd::Grid3SetEditText(int col, int row, const QString& text) {
    const int index = row - 1;
    if (row < 1 || col < 1 || index > Ant.SourceCount || index >= MaxSources) return;
    const std::string s = Std(text);
    SourceRec probe = index == Ant.SourceCount ? SourceRec{} : Ant.Sources[index];
    if (col == 1) {
        if (s.empty()) return;
        // Taken as the antenna text takes the field; a position that a save
        // would change is refused.
        CopyText(probe.Pos, PositionFromField(s).c_str());
        if (!NormalizePosition(probe.Pos)) return;
    } else if (col == 2) {
        if (!StrToDblExpr(probe.Phase, s)) return;
    } else if (col == 3) {
        if (AutoVol->isChecked() || !StrToDblExpr(probe.Voltage, s)) return;
    } else {
        return;
    }
    Ant.Sources[index] = probe;
    SourceRowEdited(index);
}

void TMainWnd::SourceRowEdited(int index) {
    Ant.Changed = 1;
    Ant.Edited = 1;
    if (index < Ant.SourceCount || index >= MaxSources) return;
    ++Ant.SourceCount;
    UpdateCount();
    Grid3->SetRowCount(Ant.SourceCount + 2);
    SetAutoVol();
    Grid3->Invalidate();
    UpdateMenuState();
}

// ---- Loads ----

QString TMainWnd::LoadCellText(int col, int row) const {
    if (row == 0) return LoadHead(col);
    if (row > Ant.LoadCount) return col == 0 ? DisplayQString(EmptyRowText) : QString();
    const LoadRec& l = Ant.Loads[row - 1];
    if (col == 0) return QString::number(row);
    if (col == 1) return DisplayQString(std::string_view(l.Pos, strnlen(l.Pos, sizeof l.Pos)));
    if (col == 2) return (l.Type >= 0 && l.Type <= 2) ? QString::fromLatin1(LoadTypeNames[l.Type]) : QString();
    switch (l.Type) {
        case LoadLC:
            if (col == 3) return Q(DblToStrE(l.A[0]));
            if (col == 4) return Q(DblToStrE(l.B[0]));
            if (col == 5) return Q(DblToStrE(l.A[1]));
            if (col == 6 && l.A[0] != 0.0 && l.B[0] != 0.0)
                return Q(DblToStrE(1.0 / (2.0 * Pi * std::sqrt(l.A[0] * l.B[0] * 1e-18)) * 1e-6));
            return {};
        case LoadRX:
            if (col == 3) return Q(DblToStrE(l.A[0]));
            if (col == 4) return Q(DblToStrE(l.B[0]));
            return {};
        case LoadS: {
            const int k = (col - 3) / 2;
            if (col < 3 || k >= MaxLoadPairs) return {};
            return Q(DblToStrE((col - 3) % 2 == 0 ? l.A[k] : l.B[k]));
        }
        default: return {};
    }
}

bool TMainWnd::Grid4CanEdit(int col, int row) {
    if (row > Ant.LoadCount && Ant.LoadCount >= MaxLoads) return false;
    if (col == 2) {
        // The type is chosen from the popup over its cell.
        Grid4->SetCurrentCell(col, row);
        Grid4->PopupAtCell(PopupLoad, col, row);
        return false;
    }
    return true;
}

void TMainWnd::Grid4SetEditText(int col, int row, const QString& text) {
    const int index = row - 1;
    if (row < 1 || col < 1 || index > Ant.LoadCount || index >= MaxLoads) return;
    if (index == Ant.LoadCount) std::memset(&Ant.Loads[index], 0, sizeof(LoadRec));
    LoadRec& l = Ant.Loads[index];
    const LoadRec old = l;
    const std::string s = Std(text);
    double v = 0;
    const bool ok = StrToDblExpr(v, s);
    const bool isS = l.Type == LoadS;
    // A bad S coefficient becomes 0; for the other types it changes nothing.
    if (col >= 3 && !ok) {
        if (!isS) return;
        v = 0;
    }
    if (col == 1) {
        if (s.empty()) return;
        CopyText(l.Pos, PositionFromField(s).c_str());
        if (!NormalizePosition(l.Pos)) {
            l = old;
            return;
        }
    } else if (col == 2) {
        return;
    } else if (col == 3 || col == 4) {
        double& mine = col == 3 ? l.A[0] : l.B[0];
        double& other = col == 3 ? l.B[0] : l.A[0];
        const double product = l.A[0] * l.B[0];
        mine = v;
        // L x C, and so the resonance, stay as they were.
        if (l.Type == LoadLC && product != 0.0 && v != 0.0 && other != 0.0) other = product / v;
        Grid4->Invalidate();
    } else if (col == 5) {
        if (l.Type == LoadRX) return;
        l.A[1] = v;
    } else if (col == 6) {
        if (index >= Ant.LoadCount) return;
        if (l.Type == LoadLC) {
            if ((l.A[0] == 0.0 && l.B[0] == 0.0) || v <= 0.0) return;
            const double w = 2.0 * Pi * v * 1e6;
            if (l.B[0] != 0.0)
                l.A[0] = 1.0 / (w * w * l.B[0] * 1e-18);
            else
                l.B[0] = 1.0 / (w * w * l.A[0] * 1e-18);
            Grid4->Invalidate();
        } else if (l.Type == LoadRX) {
            return;
        } else {
            l.B[1] = v;
        }
    } else {
        if (!isS) return;
        const int k = (col - 3) / 2;
        if (k >= MaxLoadPairs) return;
        ((col - 3) % 2 == 0 ? l.A[k] : l.B[k]) = v;
    }
    // Keeping L x C, or a resonance of 0/0, can overflow: the load keeps what it had.
    if (!LoadFinite(l)) {
        l = old;
        Grid4->Invalidate();
        return;
    }
    LoadRowEdited(index);
}

void TMainWnd::LoadRowEdited(int index) {
    Ant.Changed = 1;
    Ant.Edited = 1;
    if (index < Ant.LoadCount || index >= MaxLoads) return;
    ++Ant.LoadCount;
    UpdateCount();
    Grid4->SetRowCount(Ant.LoadCount + 2);
    Grid4->Invalidate();
}

void TMainWnd::SetLoadType(int type) {
    const int row = Grid4->Row();
    const int index = row - 1;
    if (row < 1 || index > Ant.LoadCount || index >= MaxLoads) return;
    if (index == Ant.LoadCount) {
        std::memset(&Ant.Loads[index], 0, sizeof(LoadRec));
        Ant.Loads[index].Type = -1;
        LoadRowEdited(index);
    }
    LoadRec& l = Ant.Loads[index];
    if (l.Type != type) {
        // A new type drops the old values: an edit like any other.
        Ant.Changed = 1;
        Ant.Edited = 1;
        if (type == LoadLC) {
            l.A[0] = l.B[0] = l.A[1] = 0.0;
        } else if (type == LoadS) {
            for (int k = 0; k < MaxLoadPairs; ++k) l.A[k] = l.B[k] = 0.0;
        }
        l.Type = type;
    }
    Grid4->Invalidate();
}

void TMainWnd::KS1Click() { SetLoadType(LoadLC); }
void TMainWnd::KS2Click() { SetLoadType(LoadRX); }
void TMainWnd::KS3Click() { SetLoadType(LoadS); }
