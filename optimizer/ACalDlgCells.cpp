// The optimizer dialog's grid: the texts of the variable rows and the edits
// typed into them.
#include "optimizer/ACalDlg.h"

#include "model/Messages.h"
#include "model/NumberText.h"
#include "optimizer/OptimizerState.h"
#include "optimizer/VarTable.h"
#include "platform/StringGrid.h"

#include <QCheckBox>
#include <QMenu>

namespace {

const char* const WireFields[7] = {"Y1", "Z1", "Y2", "Z2", "R", "X1", "X2"};

QString Q(const std::string& s) { return QString::fromStdString(s); }

template <class Table>
QString Entry(const Table& table, int i) {
    return i >= 0 && static_cast<std::size_t>(i) < table.size() ? Q(table[static_cast<std::size_t>(i)]) : QString();
}

}  // namespace

int TACalDlg::CurrentRow() const { return Grid->Row() - 1; }

int TACalDlg::ItemCount(int kind) const {
    switch (kind) {
    case KindWire:
    case KindWirePolar: return cal_->Groups().WireCount;
    case KindElement: return cal_->Groups().Count;
    case KindLoad: return cal_->Ant->LoadCount;
    case KindSource: return cal_->Ant->SourceCount;
    default: return 0;
    }
}

QString TACalDlg::WhatText(int i) const {
    const ACalVarRec& r = cal_->Row(i);
    switch (r.Kind) {
    case KindWire: return r.Field >= 0 && r.Field < 7 ? WireFields[r.Field] : QString();
    case KindElement:
        if (r.Item >= 0 && r.Item < cal_->Groups().Count && cal_->Groups().Groups[r.Item].NoLoop && r.Field == ElLength)
            return "X";
        return Entry(eleFields_, r.Field);
    case KindLoad: {
        if (r.Item < 0 || r.Item >= cal_->Ant->LoadCount) return {};
        const int type = cal_->Ant->Loads[r.Item].Type;
        if (type == LoadLC) return r.Field == 0 ? "L" : "C";
        if (type == LoadRX) return r.Field == 0 ? "R" : "jX";
        return "Error";
    }
    case KindWirePolar: return Entry(polarFields_, r.Field);
    case KindSource: return Entry(sourceFields_, r.Field);
    case KindStack: return Entry(stackFields_, r.Field);
    default: return {};
    }
}

QString TACalDlg::ValueText(int i) const {
    const ACalVarRec& r = cal_->Row(i);
    const double v = cal_->GetValue(i);
    QString text = Q(DblToStr(v));
    if (r.Link != LinkFree && cal_->ResolveLink(0, r.Link) != -1) {
        const double linked = cal_->LinkedValue(r.Link, r.Step);
        if (NormalizeDbl(v) != NormalizeDbl(linked)) text += "/" + Q(DblToStr(linked));
    }
    return text;
}

QString TACalDlg::GetCellText(int col, int line) const {
    if (line == 0) {
        if (col == 5) {
            // The unit of the step follows the switch.
            QString head = Entry(heads_, 5);
            if (head.endsWith("(%)")) head.chop(3);
            return PitchAbs->isChecked() ? head : head + "(%)";
        }
        return Entry(heads_, col);
    }
    if (!cal_) return {};
    const int i = line - 1;
    if (i >= cal_->RowCount()) return col == 0 && i == cal_->RowCount() ? QString::fromLatin1(EmptyRowText) : QString();
    const ACalVarRec& r = cal_->Row(i);
    const bool free = r.Link == LinkFree;
    const bool noItem = r.Kind == KindHeight || r.Kind == KindFreq || r.Kind == KindStack;
    switch (col) {
    case 0: return QString::number(line);
    case 1: return Entry(types_, r.Kind);
    case 2: return noItem ? QString() : QString::number(r.Item + 1);
    case 3: return r.Kind == KindHeight || r.Kind == KindFreq ? QString() : WhatText(i);
    case 4: return Q(AssociationText(r));
    case 5: return free ? Q(DblToStr(r.Step)) : QString();
    case 6: return Q(LimitText(r, false));
    case 7: return Q(LimitText(r, true));
    case 8: return ValueText(i);
    default: return {};
    }
}

bool TACalDlg::GridGetEditText(int col, int line) {
    if (!cal_ || line < 1 || line > MaxVarRows || line > cal_->RowCount() + 1 || col < 1) return false;
    if (col == 1) {
        Grid->PopupAtCell(PopupType, col, line);
        return false;
    }
    if (col == 3) {
        // The empty line becomes a wire row when a choice is made there.
        const int kind = line <= cal_->RowCount() ? cal_->Row(line - 1).Kind : KindWire;
        if (QMenu* menu = WhatMenu(kind)) Grid->PopupAtCell(menu, col, line);
        return false;
    }
    return true;
}

void TACalDlg::GridSetEditText(int col, int line, const QString& qtext) {
    if (!cal_ || line < 1 || line > MaxVarRows) return;
    const int i = line - 1;
    const std::string text = qtext.toStdString();
    const bool exists = i < cal_->RowCount();
    const bool freeRow = exists && cal_->Row(i).Link == LinkFree;
    switch (col) {
    case 2: {
        // The empty line would become a wire row.
        const int kind = exists ? cal_->Row(i).Kind : KindWire;
        int n = 0;
        if (!StrToAbsIntExpr(n, text) || n < 1 || n > ItemCount(kind)) return;
        if (!EnsureRow(*cal_, i)) return;
        cal_->Row(i).Item = n - 1;
        cal_->SetDefaultLimits(i);
        break;
    }
    case 4: {
        const bool added = !exists;
        if (!EnsureRow(*cal_, i)) return;
        if (!ApplyAssociation(*cal_, i, text) && added) {
            cal_->SetRowCount(cal_->RowCount() - 1);
            return;
        }
        break;
    }
    case 5: {
        double v = 0;
        if (!freeRow || !StrToDblExpr(v, text)) return;
        cal_->Row(i).Step = v;
        break;
    }
    case 6:
    case 7:
        if (!ApplyLimit(*cal_, i, col == 7, text)) return;
        break;
    case 8: {
        double v = 0;
        if (!freeRow || !StrToDblExpr(v, text)) return;
        // The antenna moves at once, also when the dialog is cancelled.
        cal_->SetValue(i, v);
        cal_->Groups().WriteBack();
        cal_->Ant->Changed = 1;
        break;
    }
    default: return;
    }
    Changed();
}

void TACalDlg::Changed() {
    cal_->RefreshValues();
    UpdateButtons();
}
