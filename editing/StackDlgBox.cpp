#include "editing/StackDlgBox.h"
#include "platform/CommandGuard.h"

#include "editing/StackCheck.h"
#include "model/AntDef.h"
#include "model/LanguageFile.h"
#include "model/LanguageState.h"
#include "model/NumberText.h"
#include "platform/FormPattern.h"
#include "platform/FormWidgets.h"
#include "platform/KeyFilter.h"
#include "platform/Prompter.h"
#include "platform/RadioGroup.h"
#include "platform/ShownNumber.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <cmath>
#include <cstring>

char StackMessages[StackMessageCount][StackMessageSize];

void DefaultStackMessages() {
    static const char* const defaults[StackMessageCount] = {
        "It's too much wires!", "It's too much sources!", "It's to much loads!",
        "Too small distance! Floors are overlap",
        "Creat new description of the antenna with all wires? Make it?"};
    for (int i = 0; i < StackMessageCount; ++i) CopyText(StackMessages[i], defaults[i]);
}

void LoadStackMessages() {
    DefaultStackMessages();
    if (!LanguageIsActive()) return;
    std::vector<std::string> lines;
    std::string error;
    // A file without the section keeps the English texts.
    if (!FindMessageSection(LanguageText, "MessagStack_DlgBox", StackMessageCount, lines, error)) return;
    for (int i = 0; i < StackMessageCount && i < static_cast<int>(lines.size()); ++i)
        CopyLanguageText(StackMessages[i], lines[static_cast<std::size_t>(i)]);
}

namespace {

QString Text(const std::string& s) { return QString::fromStdString(s); }

const QStringList CountItems = {"1", "2", "4", "8"};

bool ReadCount(const QComboBox* box, int& n) {
    return StrToAbsIntExpr(n, box->currentText().toUtf8().toStdString());
}

}  // namespace

TStackDlgBox::TStackDlgBox(QWidget* owner) : QDialog(owner) {
    setObjectName("StackDlgBox");
    SetupEditForm(*this, "Stack", 470, 290);
    LoadStackMessages();
    Label1 = PlaceLabel(this, "Label1", "Num of horiz.", 10, 14, 110, 20);
    HC = PlaceNumberCombo(this, "HC", CountItems, 125, 12, 70);
    Label2 = PlaceLabel(this, "Label2", "Num of vert.", 10, 46, 110, 20);
    VC = PlaceNumberCombo(this, "VC", CountItems, 125, 44, 70);
    Label3 = PlaceLabel(this, "Label3", "Hor. space", 210, 14, 90, 20);
    HW = new QLineEdit(this);
    HW->setObjectName("HW");
    HW->setGeometry(300, 12, 100, 24);
    LHW = PlaceLabel(this, "LHW", "Wl", 405, 14, 50, 20);
    Label4 = PlaceLabel(this, "Label4", "Vert. space", 210, 46, 90, 20);
    VW = new QLineEdit(this);
    VW->setObjectName("VW");
    VW->setGeometry(300, 44, 100, 24);
    LVW = PlaceLabel(this, "LVW", "Wl", 405, 46, 50, 20);
    InstallCommaToPoint(HW);
    InstallCommaToPoint(VW);
    CBRmdSel = new QCheckBox("On-in lambda, off - in meter", this);
    CBRmdSel->setObjectName("CBRmdSel");
    CBRmdSel->setGeometry(210, 78, 250, 22);
    CBSame = new QCheckBox("Hor space = vert space", this);
    CBSame->setObjectName("CBSame");
    CBSame->setGeometry(210, 104, 250, 22);
    CBSame->setChecked(true);
    VT = new RadioGroup(this);
    VT->setObjectName("VT");
    VT->setTitle("Vertical position");
    VT->SetItems({"Center of basic el=center of stack", "Basic el-fixed, stack up", "Basic el-fixed stack down"});
    VT->setGeometry(10, 132, 450, 95);
    OKBtn = new QPushButton("Make stack", this);
    OKBtn->setObjectName("OKBtn");
    OKBtn->setGeometry(10, 245, 100, 30);
    CancelBtn = new QPushButton("Cancel", this);
    CancelBtn->setObjectName("CancelBtn");
    CancelBtn->setGeometry(116, 245, 80, 30);
    AntNewBtn = new QPushButton("Make new description as new antenna", this);
    AntNewBtn->setObjectName("AntNewBtn");
    AntNewBtn->setGeometry(200, 245, 260, 30);
    ConnectGuarded(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    ConnectGuarded(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    ConnectGuarded(AntNewBtn, &QPushButton::clicked, this, [this] { done(StackNewAntenna); });
    ConnectGuarded(HC, &QComboBox::editTextChanged, this, &TStackDlgBox::UpdateNewBtn);
    ConnectGuarded(VC, &QComboBox::editTextChanged, this, &TStackDlgBox::UpdateNewBtn);
    ConnectGuarded(HW, &QLineEdit::textChanged, this, &TStackDlgBox::HWChange);
    ConnectGuarded(VW, &QLineEdit::textChanged, this, &TStackDlgBox::VWChange);
    ConnectGuarded(CBRmdSel, &QCheckBox::clicked, this, &TStackDlgBox::CBRmdSelClick);
    ConnectGuarded(CBSame, &QCheckBox::clicked, this, &TStackDlgBox::CBSameClick);
    FinishEditForm(*this, "StackDlgBox",
                   {"Label1", "Label2", "Label3", "Label4", "LHW", "LVW", "OKBtn", "CancelBtn", "CBRmdSel", "CBSame",
                    "VT", "-", "-", "-", "AntNewBtn"});
}

void TStackDlgBox::SpacingChanged(QLineEdit* from, QLineEdit* to, double& spacing, double& other) {
    if (!UserEditing) return;
    // A text that does not read counts as the evaluator's partial value.
    ReadNumberField(from, spacing, [this](double v) { return InLambda ? v * Lambda : v; });
    if (CBSame->isChecked()) {
        other = spacing;
        UserEditing = false;
        to->setText(from->text());
        UserEditing = true;
    }
}

void TStackDlgBox::HWChange() { SpacingChanged(HW, VW, HSpacing, VSpacing); }
void TStackDlgBox::VWChange() { SpacingChanged(VW, HW, VSpacing, HSpacing); }

void TStackDlgBox::CBSameClick() {
    if (!UserEditing || !CBSame->isChecked()) return;
    UserEditing = false;
    VW->setText(HW->text());
    UserEditing = true;
    VSpacing = HSpacing;
}

void TStackDlgBox::ShowSpacings() {
    const bool wasEditing = UserEditing;
    UserEditing = false;
    ShowNumber(HW, HSpacing, Text(DblToStr(InLambda ? HSpacing / Lambda : HSpacing)));
    ShowNumber(VW, VSpacing, Text(DblToStr(InLambda ? VSpacing / Lambda : VSpacing)));
    UserEditing = wasEditing;
}

void TStackDlgBox::CBRmdSelClick() {
    if (CBRmdSel->isChecked() != InLambda) {
        InLambda = CBRmdSel->isChecked();
        ShowSpacings();
    }
    UpdateUnits();
}

void TStackDlgBox::UpdateUnits() {
    LVW->setText(InLambda ? "Wl" : "m");
    LHW->setText(InLambda ? "Wl" : "m");
    UpdateNewBtn();
}

void TStackDlgBox::UpdateNewBtn() {
    int nV = 0, nH = 0;
    ReadCount(VC, nV);
    ReadCount(HC, nH);
    AntNewBtn->setEnabled(static_cast<long long>(nV) * nH != 1);
}

int TStackDlgBox::Execute(AntDef* ant) {
    if (!ant) return 0;
    Ant = ant;
    UserEditing = false;
    HSpacing = ant->hSpacing;
    VSpacing = ant->vSpacing;
    // Without a usable design frequency the spacings are shown in metres.
    Lambda = ant->Freq > 0.0 && std::isfinite(ant->Freq) ? LightSpeedMHz / ant->Freq : 1.0;
    VC->setEditText(QString::number(ant->nV));
    HC->setEditText(QString::number(ant->nH));
    InLambda = ant->Freq > 0.0;
    ShowSpacings();
    VT->SetItemIndex(std::clamp(ant->StackMode, 0, 2));
    CBRmdSel->setChecked(InLambda);
    CBRmdSel->setEnabled(ant->Freq > 0.0);
    UpdateUnits();
    UserEditing = true;

    int nH = 1, nV = 1, result = 0;
    for (;;) {
        result = ShowModal(*this);
        if (result != QDialog::Accepted && result != StackNewAntenna) return 0;
        if (!ReadCount(VC, nV) || !ReadCount(HC, nH)) continue;
        const StackVerdict verdict = CheckStack(*ant, nH, nV, HSpacing, VSpacing);
        switch (verdict) {
        case StackVerdict::TooManyWires: ErrorBox("%s", StackMessages[0]); continue;
        case StackVerdict::TooManySources: ErrorBox("%s", StackMessages[1]); continue;
        case StackVerdict::TooManyLoads: ErrorBox("%s", StackMessages[2]); continue;
        case StackVerdict::Overlap: ErrorBox("%s", StackMessages[3]); continue;
        case StackVerdict::BadCount:
        case StackVerdict::BadSpacing: continue;
        case StackVerdict::Ok: break;
        }
        if (result == StackNewAntenna) {
            if (nH * nV == 1) {
                result = 1;
            } else if (YesNoBox("%s", StackMessages[4]) != BoxYes) {
                continue;
            }
        }
        break;
    }
    ant->nH = nH;
    ant->nV = nV;
    ant->hSpacing = HSpacing;
    ant->vSpacing = VSpacing;
    ant->StackMode = std::max(0, VT->ItemIndex());
    return result;
}
