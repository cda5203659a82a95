#include "editing/MoveDlgBox.h"
#include "platform/CommandGuard.h"

#include "editing/GeometryTransforms.h"
#include "model/EnvDef.h"
#include "model/NumberText.h"
#include "platform/FormPattern.h"
#include "platform/KeyFilter.h"
#include "platform/RadioGroup.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

namespace {

// Adding 0 turns a negative zero (a preset from a coordinate of 0, or a
// distance below half a millimetre) into "0.000", not "-0.000".
QString DistanceText(double v) { return QString::fromStdString(FormatFixed(RoundTo(v, 3) + 0.0, 3)); }

}  // namespace

TMoveDlgBox::TMoveDlgBox(QWidget* owner) : QDialog(owner) {
    setObjectName("MoveDlgBox");
    SetupEditForm(*this, "Move", 330, 200);
    VectSel = new RadioGroup(this);
    VectSel->setObjectName("VectSel");
    VectSel->setTitle("Along of axis");
    VectSel->SetItems({"X", "Y", "Z"});
    VectSel->SetItemIndex(AxisX);
    VectSel->setGeometry(10, 10, 118, 110);
    Label1 = new QLabel("Value", this);
    Label1->setObjectName("Label1");
    Label1->setGeometry(135, 14, 80, 20);
    EditLen = new QLineEdit("0.000", this);
    EditLen->setObjectName("EditLen");
    EditLen->setGeometry(135, 36, 110, 24);
    InstallCommaToPoint(EditLen);
    UpDown1 = new UpDownButton(this);
    UpDown1->setObjectName("UpDown1");
    UpDown1->setGeometry(246, 36, 18, 24);
    Label2 = new QLabel("m", this);
    Label2->setObjectName("Label2");
    Label2->setGeometry(270, 38, 40, 20);
    ChkAll = new QCheckBox("All coordinates", this);
    ChkAll->setObjectName("ChkAll");
    ChkAll->setGeometry(135, 70, 190, 22);
    ChkAll->setChecked(true);
    ChkWith = new QCheckBox("Only selected point", this);
    ChkWith->setObjectName("ChkWith");
    ChkWith->setGeometry(135, 96, 190, 22);
    OKBtn = new QPushButton("OK", this);
    OKBtn->setObjectName("OKBtn");
    OKBtn->setGeometry(60, 150, 90, 30);
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton("Cancel", this);
    CancelBtn->setObjectName("CancelBtn");
    CancelBtn->setGeometry(180, 150, 90, 30);
    Timer1 = new QTimer(this);
    Stepper = new NumberStepper(
        EditLen, UpDown1, Timer1, 0.001, 10.0, 0.1,
        [](double v, double step, int dir) { return v + dir * step; }, DistanceText);
    ConnectGuarded(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    ConnectGuarded(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    ConnectGuarded(ChkAll, &QCheckBox::clicked, this, &TMoveDlgBox::ChkAllClick);
    FinishEditForm(*this, "MoveDlgBox", {"Label1", "Label2", "OKBtn", "CancelBtn", "VectSel", "ChkWith", "ChkAll"});
    ChkAllClick();
}

void TMoveDlgBox::ChkAllClick() { ChkWith->setEnabled(!ChkAll->isChecked()); }

int TMoveDlgBox::Execute(AntDef& ant, int wire, int column) {
    if (JobDef.InWavelengths) Label2->setText("lw");
    const int count = std::clamp(ant.WireCount, 0, MaxWires);
    const bool haveWire = wire >= 1 && wire <= count;
    VectSel->SetItemIndex(MoveAxisOfColumn(column));
    const double preset = haveWire ? MoveDistanceOfColumn(ant.Wires[wire - 1], column) : 0.0;
    EditLen->setText(DistanceText(MetreToWave(preset)));
    ChkAllClick();
    if (ShowModal(*this) != QDialog::Accepted) return 0;
    double distance = 0.0;
    if (!StrToDblExpr(distance, FieldText(EditLen))) return 0;
    if (distance != 0.0) {
        const int axis = std::max(0, VectSel->ItemIndex());
        distance = WaveToMetre(distance);
        bool moved = true;
        if (ChkAll->isChecked())
            moved = MoveAllWires(ant, axis, distance);
        else if (haveWire)
            moved = MoveOneWire(ant, wire - 1, axis, distance, ChkWith->isChecked());
        if (!moved) return ReportOutOfRange();
    }
    return 1;
}
