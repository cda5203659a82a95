#include "views/FarSetDlg.h"
#include "platform/CommandGuard.h"

#include "engine/FarField3D.h"
#include "model/EnvDef.h"
#include "model/NumberText.h"
#include "platform/FormPattern.h"
#include "platform/FormWidgets.h"
#include "views/RequestFields.h"

#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TFarSetDlg::TFarSetDlg(QWidget* owner, const QString& fontName) : QDialog(owner) {
    setObjectName("FarSetDlg");
    setWindowTitle("Set of parameters a table Angle/gain");
    resize(372, 200);

    GroupBox1 = new QGroupBox("Angle", this);
    GroupBox1->setObjectName("GroupBox1");
    GroupBox1->setGeometry(8, 8, 356, 112);
    LabelStart = PlaceLabel(GroupBox1, "Label3", "Start deg.", 92, 22, 80, 20);
    LabelStep = PlaceLabel(GroupBox1, "Label4", "Step deg.", 176, 22, 80, 20);
    LabelCount = PlaceLabel(GroupBox1, "Label5", "Num. of steps", 258, 22, 96, 20);
    LabelAz = PlaceLabel(GroupBox1, "Label1", "Azimuth", 8, 48, 80, 20);
    LabelZen = PlaceLabel(GroupBox1, "Label2", "Zenith", 8, 80, 80, 20);
    EditA = PlaceNumberEdit(GroupBox1, "EditA", 92, 46, 72);
    EditAW = PlaceNumberEdit(GroupBox1, "EditAW", 176, 46, 72);
    EditAN = PlaceNumberEdit(GroupBox1, "EditAN", 260, 46, 72);
    EditZ = PlaceNumberEdit(GroupBox1, "EditZ", 92, 78, 72);
    EditZW = PlaceNumberEdit(GroupBox1, "EditZW", 176, 78, 72);
    EditZN = PlaceNumberEdit(GroupBox1, "EditZN", 260, 78, 72);

    FileBtn = new QPushButton("...", this);
    FileBtn->setObjectName("FileBtn");
    FileBtn->setGeometry(8, 130, 28, 24);
    EditName = new QLineEdit(this);
    EditName->setObjectName("EditName");
    EditName->setGeometry(40, 130, 324, 24);

    OKBtn = new QPushButton("OK", this);
    OKBtn->setObjectName("OKBtn");
    OKBtn->setGeometry(196, 166, 80, 26);
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton("Cancel", this);
    CancelBtn->setObjectName("CancelBtn");
    CancelBtn->setGeometry(284, 166, 80, 26);

    ConnectGuarded(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    ConnectGuarded(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    ConnectGuarded(FileBtn, &QPushButton::clicked, this, &TFarSetDlg::FileBtnClick);
    FormCreate(fontName);
}

void TFarSetDlg::FormCreate(const QString& fontName) {
    ApplyFormPattern(this, fontName, ScreenScale());
    ChangeLanguage();
}

void TFarSetDlg::ChangeLanguage() {
    const auto lines = FormLanguageLines("FarSetDlg", 9);
    if (lines.size() < 9) return;
    auto text = [&](int i) { return QString::fromStdString(lines[static_cast<std::size_t>(i)]); };
    setWindowTitle(text(0));
    OKBtn->setText(text(1));
    CancelBtn->setText(text(2));
    GroupBox1->setTitle(text(3));
    LabelAz->setText(text(4));
    LabelZen->setText(text(5));
    LabelStart->setText(text(6));
    LabelStep->setText(text(7));
    LabelCount->setText(text(8));
}

bool TFarSetDlg::Execute() {
    if (!JobDef.FarRequest) return false;
    LoadRequest();
    if (ShowModal(*this) != QDialog::Accepted) return false;
    return StoreRequest();
}

void TFarSetDlg::LoadRequest() {
    const FarFieldTableRequest& r = *JobDef.FarRequest;
    EditName->setText(QFile::decodeName(r.Path.c_str()));
    SetNumberField(EditA, r.AzimuthStart);
    SetNumberField(EditZ, r.ZenithStart);
    SetNumberField(EditAW, r.AzimuthStep);
    SetNumberField(EditZW, r.ZenithStep);
    EditAN->setText(QString::number(r.AzimuthCount));
    EditZN->setText(QString::number(r.ZenithCount));
}

bool TFarSetDlg::StoreRequest() {
    if (!JobDef.FarRequest) return false;
    FarFieldTableRequest& r = *JobDef.FarRequest;
    return ReadPathField(EditName, r.Path) && ReadDoubleField(EditA, r.AzimuthStart) &&
           ReadDoubleField(EditZ, r.ZenithStart) && ReadDoubleField(EditAW, r.AzimuthStep) &&
           ReadDoubleField(EditZW, r.ZenithStep) && ReadCountField(EditAN, r.AzimuthCount) &&
           ReadCountField(EditZN, r.ZenithCount);
}

void TFarSetDlg::FileBtnClick() {
    if (!JobDef.FarRequest) return;
    const std::string chosen = ChooseTableFile("Save table Angle/Ga", JobDef.FarRequest->Path, DataFolder);
    if (chosen.empty()) return;
    JobDef.FarRequest->Path = chosen;
    EditName->setText(QFile::decodeName(chosen.c_str()));
}
