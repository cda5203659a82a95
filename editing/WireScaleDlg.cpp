#include "editing/WireScaleDlg.h"
#include "platform/CommandGuard.h"

#include "platform/FreqPresets.h"
#include "editing/GeometryTransforms.h"
#include "model/NumberText.h"
#include "platform/FormPattern.h"
#include "platform/FormWidgets.h"
#include "platform/KeyFilter.h"
#include "platform/ShownNumber.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cmath>

TWireScaleDlg::TWireScaleDlg(QWidget* owner) : QDialog(owner) {
    setObjectName("WireScaleDlg");
    SetupEditForm(*this, "Wire scale", 400, 240);
    Label1 = new QLabel("Old frequency", this);
    Label1->setObjectName("Label1");
    Label1->setGeometry(10, 14, 110, 20);
    DFreq = new QLabel(this);
    DFreq->setObjectName("DFreq");
    DFreq->setGeometry(125, 14, 140, 20);
    Label2 = new QLabel("New freq", this);
    Label2->setObjectName("Label2");
    Label2->setGeometry(10, 46, 110, 20);
    TFreq = new QComboBox(this);
    TFreq->setObjectName("TFreq");
    TFreq->setEditable(true);
    KeepTypedText(TFreq);
    TFreq->setGeometry(125, 44, 120, 24);
    for (const char* f : FreqPresets) TFreq->addItem(QString::fromLatin1(f));
    InstallCommaToPoint(TFreq->lineEdit());
    Label4 = new QLabel("Mult.", this);
    Label4->setObjectName("Label4");
    Label4->setGeometry(10, 78, 110, 20);
    TSC = new QLineEdit(this);
    TSC->setObjectName("TSC");
    TSC->setGeometry(125, 76, 120, 24);
    InstallCommaToPoint(TSC);
    GroupBox = new QGroupBox("Object", this);
    GroupBox->setObjectName("GroupBox");
    GroupBox->setGeometry(260, 8, 130, 140);
    WireXSW = new QCheckBox("X axis", GroupBox);
    WireYSW = new QCheckBox("Y axis", GroupBox);
    WireZSW = new QCheckBox("Z axis", GroupBox);
    WireRSW = new QCheckBox("Wire radius(R)", GroupBox);
    int top = 24;
    for (QCheckBox* box : {WireXSW, WireYSW, WireZSW, WireRSW}) {
        box->setGeometry(8, top, 118, 22);
        box->setChecked(box != WireRSW);
        top += 27;
    }
    WireXSW->setObjectName("WireXSW");
    WireYSW->setObjectName("WireYSW");
    WireZSW->setObjectName("WireZSW");
    WireRSW->setObjectName("WireRSW");
    OKBtn = new QPushButton("OK", this);
    OKBtn->setObjectName("OKBtn");
    OKBtn->setGeometry(100, 195, 90, 30);
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton("Cancel", this);
    CancelBtn->setObjectName("CancelBtn");
    CancelBtn->setGeometry(210, 195, 90, 30);
    ConnectGuarded(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    ConnectGuarded(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    FinishEditForm(*this, "WireScaleDlg",
                   {"Label1", "Label2", "Label4", "OKBtn", "CancelBtn", "GroupBox", "WireRSW", "WireXSW", "WireYSW",
                    "WireZSW"});
    ConnectGuarded(TFreq, &QComboBox::editTextChanged, this, &TWireScaleDlg::TFreqChange);
    ConnectGuarded(TSC, &QLineEdit::textChanged, this, &TWireScaleDlg::TSCChange);
}

void TWireScaleDlg::ShowValues(int except) {
    UserEditing = false;
    const double design = Ant ? Ant->Freq : NewFreq;
    DFreq->setText(QString::fromStdString(DblToStr(design) + " MHz"));
    if (except != 0) ShowNumber(TFreq, NewFreq, QString::fromStdString(DblToStr(NewFreq)));
    if (except != 1) ShowNumber(TSC, ScaleMult, QString::fromStdString(DblToStr(ScaleMult)));
    UserEditing = true;
}

void TWireScaleDlg::TFreqChange() {
    if (!UserEditing || !Ant) return;
    double f = 0.0;
    if (!ReadNumberField(TFreq, f) || f == NewFreq || !(f > 0.0)) return;
    const double mult = Ant->Freq / f;
    // A design frequency of 0 gives no usable multiplier: the field is ignored.
    if (!std::isfinite(mult) || !(mult > 0.0)) return;
    NewFreq = f;
    ScaleMult = mult;
    ShowValues(0);
}

void TWireScaleDlg::TSCChange() {
    if (!UserEditing || !Ant) return;
    double m = 0.0;
    if (!ReadNumberField(TSC, m) || m == ScaleMult || !(m > 0.0)) return;
    ScaleMult = m;
    NewFreq = Ant->Freq / ScaleMult;
    ShowValues(1);
}

int TWireScaleDlg::Execute(AntDef& ant) {
    Ant = &ant;
    NewFreq = ant.Freq;
    ScaleMult = 1.0;
    ShowValues(-1);
    if (ShowModal(*this) != QDialog::Accepted || ScaleMult == 1.0) return 0;
    const ScaleChoice choice{WireXSW->isChecked(), WireYSW->isChecked(), WireZSW->isChecked(),
                             WireRSW->isChecked()};
    return ScaleWires(ant, ScaleMult, NewFreq, choice) ? 1 : ReportOutOfRange();
}
