#include "editing/RotWireDlg.h"
#include "platform/CommandGuard.h"

#include "editing/GeometryTransforms.h"
#include "model/NumberText.h"
#include "platform/IniFile.h"
#include "platform/FormPattern.h"
#include "platform/KeyFilter.h"
#include "platform/RadioGroup.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

namespace {

QString AngleText(double v) { return QString::fromStdString(FormatFixed(v, 1)); }

}  // namespace

TRotWireDlg::TRotWireDlg(QWidget* owner, std::string settingsPath)
    : QDialog(owner), settingsPath_(std::move(settingsPath)) {
    setObjectName("RotWireDlg");
    SetupEditForm(*this, "Rotate", 420, 210);
    Label1 = new QLabel("Angle", this);
    Label1->setObjectName("Label1");
    Label1->setGeometry(10, 14, 70, 20);
    EditDeg = new QLineEdit("0", this);
    EditDeg->setObjectName("EditDeg");
    EditDeg->setGeometry(80, 12, 90, 24);
    InstallCommaToPoint(EditDeg);
    UpDown1 = new UpDownButton(this);
    UpDown1->setObjectName("UpDown1");
    UpDown1->setGeometry(171, 12, 18, 24);
    Label3 = new QLabel("deg", this);
    Label3->setObjectName("Label3");
    Label3->setGeometry(195, 14, 50, 20);
    BSel = new RadioGroup(this);
    BSel->setObjectName("BSel");
    BSel->setTitle("Around axis");
    BSel->SetItems({"X", "Y", "Z"});
    BSel->SetItemIndex(AxisZ);
    BSel->setGeometry(10, 45, 110, 110);
    CWRG = new RadioGroup(this);
    CWRG->setObjectName("CWRG");
    CWRG->setTitle("Rotation direction");
    CWRG->SetItems({"counter clock wise (CCW)", "clock wise (CW)"});
    CWRG->SetItemIndex(0);
    CWRG->setGeometry(130, 45, 280, 80);
    OKBtn = new QPushButton("OK", this);
    OKBtn->setObjectName("OKBtn");
    OKBtn->setGeometry(110, 165, 90, 30);
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton("Cancel", this);
    CancelBtn->setObjectName("CancelBtn");
    CancelBtn->setGeometry(220, 165, 90, 30);
    Timer1 = new QTimer(this);
    Stepper = new NumberStepper(EditDeg, UpDown1, Timer1, 0.1, 10.0, 1.0, StepAngleOnce, AngleText);
    Stepper->SetHeldStep(StepAngleHeld);
    ConnectGuarded(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    ConnectGuarded(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    ConnectGuarded(this, &QDialog::finished, this, &TRotWireDlg::FormClose);

    FinishEditForm(*this, "RotWireDlg", {"Label1", "Label3", "OKBtn", "CancelBtn", "BSel"});
    const IniFile ini(settingsPath_);
    CWRG->SetItemIndex(std::clamp(ini.ReadInteger("Rotate", "CW", 0), 0, 1));
}

TRotWireDlg::~TRotWireDlg() { FormClose(); }

void TRotWireDlg::FormClose() {
    if (closed_ || settingsPath_.empty()) return;
    closed_ = true;
    IniFile ini(settingsPath_);
    ini.WriteInteger("Rotate", "CW", std::max(0, CWRG->ItemIndex()));
    ini.UpdateFile();
}

void TRotWireDlg::RotatePoint(double& x, double& y, double& z, double degrees) const {
    RotatePointAbout(std::max(0, BSel->ItemIndex()), x, y, z, degrees);
}

int TRotWireDlg::Execute(AntDef& ant) {
    EditDeg->setText("0");
    closed_ = false;
    const int result = ShowModal(*this);
    FormClose();
    if (result != QDialog::Accepted) return 0;
    double angle = 0.0;
    if (!StrToDblExpr(angle, FieldText(EditDeg)) || angle == 0.0) return 0;
    if (CWRG->ItemIndex() == 1) angle = -angle;
    return RotateAllWires(ant, std::max(0, BSel->ItemIndex()), angle) ? 1 : ReportOutOfRange();
}
