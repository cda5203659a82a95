#include "editing/ValRepDlg.h"
#include "platform/CommandGuard.h"

#include "editing/ValueReplace.h"
#include "model/NumberText.h"
#include "model/TaperSetTable.h"
#include "platform/FormPattern.h"
#include "platform/KeyFilter.h"
#include "platform/Prompter.h"
#include "platform/RadioGroup.h"
#include "platform/ShownNumber.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

namespace {

constexpr int RadiusColumn = 7;
constexpr int SegColumn = 8;

QString Text(const std::string& s) { return QString::fromStdString(s); }

double StoredValue(const WireRec& w, int column) {
    const double values[7] = {w.X1, w.Y1, w.Z1, w.X2, w.Y2, w.Z2, w.R};
    return values[column - 1];
}

}  // namespace

TValRepDlg::TValRepDlg(QWidget* owner) : QDialog(owner) {
    setObjectName("ValRepDlg");
    SetupEditForm(*this, "Search and replace", 470, 230);
    Label1 = new QLabel("Value to search", this);
    Label1->setObjectName("Label1");
    Label1->setGeometry(10, 14, 140, 20);
    EditOld = new QLineEdit(this);
    EditOld->setObjectName("EditOld");
    EditOld->setGeometry(150, 12, 120, 24);
    Label2 = new QLabel("Value to replace", this);
    Label2->setObjectName("Label2");
    Label2->setGeometry(10, 46, 140, 20);
    EditNew = new QLineEdit(this);
    EditNew->setObjectName("EditNew");
    EditNew->setGeometry(150, 44, 120, 24);
    InstallCommaToPoint(EditOld);
    InstallCommaToPoint(EditNew);
    RepSel = new RadioGroup(this);
    RepSel->setObjectName("RepSel");
    RepSel->setTitle("Coordinates to search");
    RepSel->SetItems({"All", "only X", "only Y", "only Z"});
    RepSel->SetItemIndex(ReplaceAll);
    RepSel->setGeometry(280, 8, 180, 130);
    InvSel = new QCheckBox("Also replace mirror's coordinates", this);
    InvSel->setObjectName("InvSel");
    InvSel->setGeometry(10, 145, 400, 22);
    InvSel->setChecked(true);
    OKBtn = new QPushButton("OK", this);
    OKBtn->setObjectName("OKBtn");
    OKBtn->setGeometry(110, 185, 90, 30);
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton("Cancel", this);
    CancelBtn->setObjectName("CancelBtn");
    CancelBtn->setGeometry(220, 185, 90, 30);
    ConnectGuarded(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    ConnectGuarded(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    // RepSel's items are not taken from the language file: "-" skips them.
    FinishEditForm(*this, "ValRepDlg", {"Label1", "Label2", "OKBtn", "CancelBtn", "RepSel", "-", "-", "-", "-", "InvSel"});
}

int TValRepDlg::ReplaceSegmentCodes(AntDef& ant, const WireRec& wire) {
    const QString shown = Text(IntOrPairToStr(wire.Seg));
    for (QLineEdit* field : {EditOld, EditNew}) {
        RemoveCommaToPoint(field);
        ShowNumber(field, wire.Seg, shown);
    }
    if (ShowModal(*this) != QDialog::Accepted) return 0;
    int32_t oldCode = 0, newCode = 0;
    if (!ReadSegmentField(EditOld, oldCode) || !ReadSegmentField(EditNew, newCode)) return 0;
    if (oldCode == newCode) return 0;
    return ReplaceSegmentation(ant, oldCode, newCode) ? 1 : 0;
}

int TValRepDlg::Execute(AntDef& ant, int wire, int column) {
    const int count = std::clamp(ant.WireCount, 0, MaxWires);
    if (wire < 1 || wire > count || column < 1 || column > SegColumn) return 0;
    const WireRec& selected = ant.Wires[wire - 1];
    if (column >= RadiusColumn) {
        RepSel->SetItemIndex(ReplaceAll);
        RepSel->setEnabled(false);
        InvSel->setChecked(false);
        InvSel->setEnabled(false);
    }
    if (column == SegColumn) return ReplaceSegmentCodes(ant, selected);

    const bool radius = column == RadiusColumn;
    const double stored = StoredValue(selected, column);
    const double display = radius ? RadiusToShown(stored) : MetreToWave(stored);
    // A field that still shows the selected value stands for it, not for its
    // rounded text: it searches, or becomes, the stored value.
    for (QLineEdit* field : {EditOld, EditNew}) ShowNumber(field, stored, Text(DblToStr(display)));
    if (ShowModal(*this) != QDialog::Accepted) return 0;
    // A text that does not read counts as the evaluator's partial value.
    const FieldUnit toMetre = [radius](double v) { return radius ? ShownToRadius(v) : WaveToMetre(v); };
    double search = 0.0, replacement = 0.0;
    ReadNumberField(EditOld, search, toMetre);
    ReadNumberField(EditNew, replacement, toMetre);
    if (search == replacement) return 0;
    if (radius) {
        // After a save the wires would use another taper set, or none.
        if (!TaperRadiusReadsBack(ant, replacement)) {
            ErrorBox("%s '%s' was not taken.", TaperRadiusLimitText, FieldText(EditNew).c_str());
            return 0;
        }
        return ReplaceRadius(ant, search, replacement) ? 1 : 0;
    }
    return ReplaceCoordinates(ant, std::max(0, RepSel->ItemIndex()), search, replacement, InvSel->isChecked())
               ? 1
               : 0;
}

int TValRepDlg::ExecuteValue(double& newValue, double& oldValue) {
    RepSel->setEnabled(false);
    InvSel->setEnabled(false);
    for (QLineEdit* field : {EditOld, EditNew}) ShowNumber(field, oldValue, Text(DblToStr(oldValue)));
    if (ShowModal(*this) != QDialog::Accepted) return 0;
    ReadNumberField(EditOld, oldValue);
    ReadNumberField(EditNew, newValue);
    return newValue != oldValue ? 1 : 0;
}
