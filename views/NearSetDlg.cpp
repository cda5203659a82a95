#include "views/NearSetDlg.h"
#include "platform/CommandGuard.h"

#include "engine/NearField.h"
#include "model/EnvDef.h"
#include "model/NumberText.h"
#include "platform/FormPattern.h"
#include "platform/FormWidgets.h"
#include "platform/RadioGroup.h"
#include "views/RequestFields.h"

#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TNearSetDlg::TNearSetDlg(QWidget* owner, const QString& fontName) : QDialog(owner) {
    setObjectName("NearSetDlg");
    setWindowTitle("Variables for near field calculation");
    resize(372, 292);

    CalcSel = new RadioGroup(this);
    CalcSel->setObjectName("CalcSel");
    CalcSel->setTitle("Field");
    CalcSel->SetColumns(2);
    CalcSel->SetItems({"Electric", "Magnetic"});
    CalcSel->setGeometry(8, 8, 216, 52);

    GroupBox2 = new QGroupBox("Power", this);
    GroupBox2->setObjectName("GroupBox2");
    GroupBox2->setGeometry(232, 8, 132, 52);
    EditPow = PlaceNumberEdit(GroupBox2, "EditPow", 8, 20, 72);
    LabelWatts = PlaceLabel(GroupBox2, "Label8", "Wts", 86, 22, 40, 20);

    GroupBox1 = new QGroupBox("Position", this);
    GroupBox1->setObjectName("GroupBox1");
    GroupBox1->setGeometry(8, 68, 356, 144);
    LabelStart = PlaceLabel(GroupBox1, "Label4", "Start (m)", 92, 22, 80, 20);
    LabelStep = PlaceLabel(GroupBox1, "Label5", "Step (m)", 176, 22, 80, 20);
    LabelCount = PlaceLabel(GroupBox1, "Label6", "Num. of steps", 258, 22, 96, 20);
    PlaceLabel(GroupBox1, "Label1", "X", 8, 48, 80, 20);
    PlaceLabel(GroupBox1, "Label2", "Y", 8, 80, 80, 20);
    PlaceLabel(GroupBox1, "Label3", "Z", 8, 112, 80, 20);
    EditX = PlaceNumberEdit(GroupBox1, "EditX", 92, 46, 72);
    EditXW = PlaceNumberEdit(GroupBox1, "EditXW", 176, 46, 72);
    EditXN = PlaceNumberEdit(GroupBox1, "EditXN", 260, 46, 72);
    EditY = PlaceNumberEdit(GroupBox1, "EditY", 92, 78, 72);
    EditYW = PlaceNumberEdit(GroupBox1, "EditYW", 176, 78, 72);
    EditYN = PlaceNumberEdit(GroupBox1, "EditYN", 260, 78, 72);
    EditZ = PlaceNumberEdit(GroupBox1, "EditZ", 92, 110, 72);
    EditZW = PlaceNumberEdit(GroupBox1, "EditZW", 176, 110, 72);
    EditZN = PlaceNumberEdit(GroupBox1, "EditZN", 260, 110, 72);

    FileBtn = new QPushButton("...", this);
    FileBtn->setObjectName("FileBtn");
    FileBtn->setGeometry(8, 222, 28, 24);
    EditName = new QLineEdit(this);
    EditName->setObjectName("EditName");
    EditName->setGeometry(40, 222, 324, 24);

    SaveBtn = new QPushButton("Save", this);
    SaveBtn->setObjectName("SaveBtn");
    SaveBtn->setGeometry(196, 258, 80, 26);
    SaveBtn->setDefault(true);
    CancelBtn = new QPushButton("Cancel", this);
    CancelBtn->setObjectName("CancelBtn");
    CancelBtn->setGeometry(284, 258, 80, 26);

    ConnectGuarded(SaveBtn, &QPushButton::clicked, this, &QDialog::accept);
    ConnectGuarded(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    ConnectGuarded(FileBtn, &QPushButton::clicked, this, &TNearSetDlg::FileBtnClick);
    FormCreate(fontName);
}

void TNearSetDlg::FormCreate(const QString& fontName) {
    ApplyFormPattern(this, fontName, ScreenScale());
    ChangeLanguage();
}

void TNearSetDlg::ChangeLanguage() {
    // Caption, Save, Cancel, the field group and its two items, Position,
    // the three column heads, Power and its unit; the axis letters stay.
    const auto lines = FormLanguageLines("NearSetDlg", 12);
    if (lines.size() < 12) return;
    auto text = [&](int i) { return QString::fromStdString(lines[static_cast<std::size_t>(i)]); };
    setWindowTitle(text(0));
    SaveBtn->setText(text(1));
    CancelBtn->setText(text(2));
    const int chosen = CalcSel->ItemIndex();
    CalcSel->setTitle(text(3));
    CalcSel->SetItems({text(4), text(5)});
    CalcSel->SetItemIndex(chosen);
    GroupBox1->setTitle(text(6));
    LabelStart->setText(text(7));
    LabelStep->setText(text(8));
    LabelCount->setText(text(9));
    GroupBox2->setTitle(text(10));
    LabelWatts->setText(text(11));
}

bool TNearSetDlg::Execute() {
    if (!JobDef.NearRequest) return false;
    LoadRequest();
    if (ShowModal(*this) != QDialog::Accepted) return false;
    return StoreRequest();
}

void TNearSetDlg::LoadRequest() {
    const NearFieldRequest& r = *JobDef.NearRequest;
    CalcSel->SetItemIndex(r.Field == 1 ? 1 : 0);
    EditName->setText(QFile::decodeName(r.Path.c_str()));
    SetNumberField(EditPow, r.Power);
    SetNumberField(EditX, r.XStart);
    SetNumberField(EditY, r.YStart);
    SetNumberField(EditZ, r.ZStart);
    SetNumberField(EditXW, r.XStep);
    SetNumberField(EditYW, r.YStep);
    SetNumberField(EditZW, r.ZStep);
    EditXN->setText(QString::number(r.XCount));
    EditYN->setText(QString::number(r.YCount));
    EditZN->setText(QString::number(r.ZCount));
}

bool TNearSetDlg::StoreRequest() {
    if (!JobDef.NearRequest) return false;
    NearFieldRequest& r = *JobDef.NearRequest;
    r.Field = CalcSel->ItemIndex() == 1 ? 1 : 0;
    return ReadPathField(EditName, r.Path) && ReadDoubleField(EditPow, r.Power) &&
           ReadDoubleField(EditX, r.XStart) && ReadDoubleField(EditY, r.YStart) &&
           ReadDoubleField(EditZ, r.ZStart) && ReadDoubleField(EditXW, r.XStep) &&
           ReadDoubleField(EditYW, r.YStep) && ReadDoubleField(EditZW, r.ZStep) &&
           ReadCountField(EditXN, r.XCount) && ReadCountField(EditYN, r.YCount) &&
           ReadCountField(EditZN, r.ZCount);
}

void TNearSetDlg::FileBtnClick() {
    if (!JobDef.NearRequest) return;
    const std::string chosen = ChooseTableFile("Save table of fields", JobDef.NearRequest->Path, DataFolder);
    if (chosen.empty()) return;
    JobDef.NearRequest->Path = chosen;
    EditName->setText(QFile::decodeName(chosen.c_str()));
}
