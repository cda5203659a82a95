// The optimizer dialog's commands: row menus and buttons, the automatic rows,
// the element pick, the band table and goals boxes, and "Start".
#include "optimizer/ACalDlg.h"

#include "model/AntDef.h"
#include "model/NumberText.h"
#include "optimizer/ACalEleBox.h"
#include "optimizer/ACalInfoBox.h"
#include "optimizer/ACalMultDlg.h"
#include "optimizer/AutoRows.h"
#include "optimizer/OptimizerState.h"
#include "optimizer/VarTable.h"
#include "platform/Prompter.h"
#include "platform/StringGrid.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QPushButton>

namespace {

// The checks of "Start" with their findings shown: a refusal ends them, the
// association question goes on to the next row after Yes.
bool ValidateAndPrepare(CACal& cal) {
    OptimizerCheck check = cal.Validate();
    while (check.Result == OptimizerCheck::Question) {
        if (YesNoBox("%s", check.Text().c_str()) != BoxYes) return false;
        check = cal.Validate(check.NextRow);
    }
    if (check.Ok()) check = cal.Prepare();
    if (!check.Text().empty()) ErrorBox("%s", check.Text().c_str());
    return check.Ok();
}

}  // namespace

void TACalDlg::UpdateButtons() {
    if (!cal_) return;
    const bool rows = cal_->RowCount() > 0;
    OKBtn->setEnabled(rows);
    K23->setEnabled(rows);
    const int line = Grid->Row();
    DelBtn->setEnabled(line >= 1 && line <= cal_->RowCount());
    BandBtn->setEnabled(!TerDis->isChecked() && cal_->Ant && cal_->Ant->SourceCount < 5);
    TypeItems[7]->setEnabled(cal_->Ant && (cal_->Ant->nH != 1 || cal_->Ant->nV != 1));
    Grid->SetRowCount(cal_->RowCount() + 2);
    Grid->Invalidate();
}

void TACalDlg::PopupPopup() {
    if (!cal_) return;
    const int k = CurrentRow();
    const bool isRow = k >= 0 && k < cal_->RowCount();
    K27->setEnabled(cal_->RowCount() > 0);
    K34->setEnabled(cal_->RowCount() > 0);
    K29->setEnabled(isRow);
    K28->setEnabled(cal_->RowCount() < MaxVarRows);
    K11->setEnabled(isRow && (cal_->Row(k).Kind == KindWire || cal_->Row(k).Kind == KindLoad));
}

void TACalDlg::SetRowType(int kind) {
    const int k = CurrentRow();
    if (!cal_ || k < 0 || !EnsureRow(*cal_, k)) return;
    cal_->Row(k).Kind = kind;
    cal_->SetDefaultLimits(k);
    Changed();
}

void TACalDlg::SetRowWhat(int field) {
    const int k = CurrentRow();
    if (!cal_ || k < 0 || !EnsureRow(*cal_, k)) return;
    cal_->Row(k).Field = field;
    cal_->SetDefaultLimits(k);
    Grid->CloseEditor();
    Changed();
}

void TACalDlg::K28Click() {
    if (!cal_ || !InsertRowCopy(*cal_, CurrentRow())) return;
    Changed();
}

void TACalDlg::DelBtnClick() {
    const int k = CurrentRow();
    if (!cal_ || k < 0 || k >= cal_->RowCount()) return;
    DeleteRow(*cal_, k);
    Changed();
}

void TACalDlg::K27Click() {
    if (!cal_) return;
    ClearRows(*cal_);
    Changed();
}

void TACalDlg::K23Click() {
    if (!cal_ || cal_->RowCount() <= 0) return;
    const int k = std::min(std::max(CurrentRow(), 0), cal_->RowCount() - 1);
    std::string value = DblToStr(cal_->Row(k).Step);
    double step = 0;
    if (!CurrentPrompter().NumberQuery(messages_[1], messages_[2], value, step)) return;
    SetCommonStep(*cal_, step);
    Changed();
}

void TACalDlg::K34Click() {
    if (!cal_) return;
    LinkEqualElements(*cal_);
    Changed();
}

void TACalDlg::K11Click() {
    if (!cal_) return;
    AutoLinkRow(*cal_, CurrentRow());
    Changed();
}

void TACalDlg::AllEleClick() {
    if (!cal_) return;
    if (cal_->RowCount() > 0 && YesNoBox("%s", messages_[0].c_str()) != BoxYes) return;
    ClearRows(*cal_);
    AddAllElementRows(*cal_, [this](ElementQuestion& q) {
        TACalEleBox box(this, fontName_);
        int coopX = 0, coopZ = 0, coopY = 0;
        box.Execute(q.UseY, q.UseZ, coopX, coopZ, coopY, q.UseX);
        q.CoopX = coopX;
        q.CoopY = coopY;
        q.CoopZ = coopZ;
    });
    Changed();
}

void TACalDlg::RefEleClick() {
    const int k = CurrentRow();
    if (!cal_ || k < 0 || k >= MaxVarRows || !PickElement) return;
    int index = -1, kind = -1;
    const bool isRow = k < cal_->RowCount();
    const bool wireRow = isRow && (cal_->Row(k).Kind == KindWire || cal_->Row(k).Kind == KindWirePolar);
    if (isRow) {
        index = cal_->Row(k).Item;
        if (!wireRow) kind = cal_->Row(k).Field;
    }
    if (!PickElement(this, index, kind, cal_->TableVariables(), *cal_->Ant)) return;
    if (kind < 0 && wireRow && cal_->Row(k).Item == index) return;
    if (!EnsureRow(*cal_, k)) return;
    ACalVarRec& r = cal_->Row(k);
    if (kind >= 0) {
        r.Kind = KindElement;
        r.Item = index;
        r.Field = kind;
    } else {
        r.Item = index;
        if (r.Kind != KindWire && r.Kind != KindWirePolar) {
            r.Kind = KindWire;
            r.Field = 0;
        }
    }
    cal_->SetDefaultLimits(k);
    Changed();
    Grid->SetRow(std::min(Grid->Row() + 1, Grid->RowCount() - 1));
}

// The tick counts at once: "Start" prepares the run (which keeps one band
// for a simple sweep) while the dialog is still open.
void TACalDlg::TerDisClick() {
    if (cal_) cal_->GoalsOn = TerDis->isChecked() ? 0 : 1;
    UpdateButtons();
}

void TACalDlg::PitchAbsClick() {
    if (!cal_) return;
    cal_->StepAbsolute = PitchAbs->isChecked() ? 1 : 0;
    Grid->Invalidate();
}

void TACalDlg::BandBtnClick() {
    if (!cal_) return;
    TACalMultDlg dialog(this, fontName_);
    dialog.Execute(cal_);
    UpdateButtons();
}

void TACalDlg::TerBtnClick() {
    if (!cal_) return;
    TACalInfoBox box(this, fontName_);
    box.Execute(cal_);
}

void TACalDlg::OKBtnClick() {
    if (!cal_ || cal_->RowCount() <= 0) return;
    Grid->CloseEditor();
    cal_->RefreshValues();
    const bool ok = ValidateAndPrepare(*cal_);
    // The checks may have clamped values into the antenna.
    cal_->Groups().WriteBack();
    UpdateButtons();
    if (ok) accept();
}
