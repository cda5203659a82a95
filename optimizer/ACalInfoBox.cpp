#include "optimizer/ACalInfoBox.h"
#include "platform/CommandGuard.h"

#include "model/EnvDef.h"
#include "model/NumberText.h"
#include "optimizer/OptimizerState.h"
#include "platform/FormPattern.h"
#include "platform/FormWidgets.h"
#include "platform/KeyFilter.h"
#include "platform/Prompter.h"
#include "platform/RadioGroup.h"
#include "platform/ShownNumber.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <cmath>
#include <functional>
#include <cstring>

namespace {

bool Read(const QString& text, double& v) { return StrToDblExpr(v, text.toStdString()); }

// An up-down beside a field: two arrow buttons, <name>Up and <name>Down,
// each click a step in its direction.
void PlaceArrows(QWidget* parent, const QString& name, QRect upper, QRect lower, QWidget* form,
                 const std::function<void(int)>& step) {
    for (const int direction : {1, -1}) {
        auto* b = new QToolButton(parent);
        b->setObjectName(name + (direction > 0 ? "Up" : "Down"));
        b->setArrowType(direction > 0 ? Qt::UpArrow : Qt::DownArrow);
        b->setGeometry(direction > 0 ? upper : lower);
        ConnectGuarded(b, &QToolButton::clicked, form, [step, direction] { step(direction); });
    }
}

}  // namespace

TACalInfoBox::TACalInfoBox(QWidget* owner, const QString& fontName) : QDialog(owner) {
    setObjectName("ACalInfoBox");
    setWindowTitle("Advanced");
    resize(420, 380);
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName("PageControl1");
    PageControl1->setGeometry(4, 4, 412, 330);
    TabGoal = new QWidget;
    TabGoal->setObjectName("TabSheet1");
    TabEnv = new QWidget;
    TabEnv->setObjectName("TabSheet2");
    PageControl1->addTab(TabGoal, "Goal");
    PageControl1->addTab(TabEnv, "Environment");

    GroupTarget = PlaceGroup(TabGoal, "GroupBox1", "Optimization target", 6, 4, 394, 88);
    LabelGain = PlaceLabel(GroupTarget, "LabelGain", "Gain", 8, 22, 50, 24);
    EditGain = PlaceNumberEdit(GroupTarget, "EditGain", 60, 22, 50);
    PlaceLabel(GroupTarget, "LabelDBi", "dBi", 162, 22, 34, 24);
    LabelFB = PlaceLabel(GroupTarget, "LabelFB", "F/B", 206, 22, 40, 24);
    EditFB = PlaceNumberEdit(GroupTarget, "EditFB", 248, 22, 60);
    PlaceLabel(GroupTarget, "LabelDB", "dB", 362, 22, 30, 24);
    LabelJX = PlaceLabel(GroupTarget, "LabelJX", "jX", 8, 54, 50, 24);
    EditJX = PlaceNumberEdit(GroupTarget, "EditJX", 60, 54, 50);
    goalUpDowns_[0] = {EditGain, 1, 100, 1};
    goalUpDowns_[1] = {EditFB, 1, 100, 1};
    goalUpDowns_[2] = {EditJX, 0, 100, 0};
    for (const GoalUpDown& ud : goalUpDowns_) {
        const QRect field = ud.edit->geometry();
        const QString name = "UD" + ud.edit->objectName().mid(4);
        PlaceArrows(GroupTarget, name, QRect(field.right() + 3, field.top(), 24, 24),
                    QRect(field.right() + 27, field.top(), 24, 24), this,
                    [this, edit = ud.edit](int direction) { GoalArrowClick(edit, direction); });
    }
    LabelJXUnit = PlaceLabel(GroupTarget, "LabelOhm", "Ohm", 162, 54, 34, 24);
    LabelSWR = PlaceLabel(GroupTarget, "LabelSWR", "SWR", 206, 54, 40, 24);
    EditSWR = PlaceNumberEdit(GroupTarget, "EditSWR", 248, 54, 60);
    // A free up-down: each click steps the field by 0.1.
    PlaceArrows(GroupTarget, "UDSWR", QRect(310, 54, 24, 24), QRect(336, 54, 24, 24), this,
                [this](int direction) { UDSWRClick(direction); });
    UDSWRUp = GroupTarget->findChild<QToolButton*>("UDSWRUp");
    UDSWRDown = GroupTarget->findChild<QToolButton*>("UDSWRDown");

    MatchSel = new RadioGroup(TabGoal);
    MatchSel->setObjectName("MatchSel");
    MatchSel->setTitle("Matching circuit");
    MatchSel->SetItems({"Capacitance match", "Hairpin match", "Optional Z"});
    MatchSel->setGeometry(6, 98, 200, 112);
    ConnectGuarded(MatchSel, &RadioGroup::Clicked, this, [this] { UpdateMatchFields(); });
    GroupOptZ = PlaceGroup(TabGoal, "GroupBox2", "Set optional Z", 212, 98, 188, 112);
    PlaceLabel(GroupOptZ, "LabelR", "R", 8, 28, 30, 24);
    EditTergR = PlaceNumberEdit(GroupOptZ, "EditTergR", 40, 28, 100);
    PlaceLabel(GroupOptZ, "LabelTergJX", "jX", 8, 66, 30, 24);
    EditTergJX = PlaceNumberEdit(GroupOptZ, "EditTergJX", 40, 66, 100);

    GroupCurrent = PlaceGroup(TabGoal, "GroupBox3", "Current", 6, 216, 394, 84);
    RBIMAX = new QRadioButton("Maximize", GroupCurrent);
    RBIMAX->setObjectName("RBIMAX");
    RBIMAX->setGeometry(8, 22, 130, 24);
    RBIMIN = new QRadioButton("Minimize", GroupCurrent);
    RBIMIN->setObjectName("RBIMIN");
    RBIMIN->setGeometry(8, 50, 130, 24);
    LabelPulse = PlaceLabel(GroupCurrent, "LabelPulse", "Pulse position", 150, 22, 130, 24);
    EditCur = new QLineEdit(GroupCurrent);
    EditCur->setObjectName("EditCur");
    EditCur->setGeometry(150, 50, 100, 24);

    GroupRear = PlaceGroup(TabEnv, "GroupBox4", "Rear range for F/B", 6, 4, 394, 96);
    LabelAzimut = PlaceLabel(GroupRear, "LabelAzimut", "Azimut", 8, 26, 90, 24);
    EditFBH = PlaceSpin(GroupRear, "EditFBH", 0, 359, 100, 26);
    LabelDegH = PlaceLabel(GroupRear, "LabelDegH", "deg", 186, 26, 50, 24);
    LabelVertical = PlaceLabel(GroupRear, "LabelVertical", "Vertical", 8, 60, 90, 24);
    EditFBV = PlaceSpin(GroupRear, "EditFBV", 0, 179, 100, 60);
    LabelDegV = PlaceLabel(GroupRear, "LabelDegV", "deg", 186, 60, 50, 24);

    GroupZ0 = PlaceGroup(TabEnv, "GroupBox5", "Standard Z(SWR=1)", 6, 108, 394, 140);
    PlaceLabel(GroupZ0, "LabelSWRZ", "R", 8, 26, 30, 24);
    EditSWRZ = new QComboBox(GroupZ0);
    EditSWRZ->setObjectName("EditSWRZ");
    EditSWRZ->setEditable(true);
    KeepTypedText(EditSWRZ);
    EditSWRZ->addItems({"50", "75", "300", "600"});
    EditSWRZ->setGeometry(40, 26, 100, 24);
    InstallCommaToPoint(EditSWRZ);
    LabelOhmR = PlaceLabel(GroupZ0, "LabelOhmR", "Ohm", 146, 26, 50, 24);
    PlaceLabel(GroupZ0, "LabelSWRJX", "jX", 8, 60, 30, 24);
    EditSWRJX = PlaceNumberEdit(GroupZ0, "EditSWRJX", 40, 60, 100);
    LabelOhmJX = PlaceLabel(GroupZ0, "LabelOhmJX", "Ohm", 146, 60, 50, 24);
    AutoJX = new QPushButton("Set Z for hairpim match", GroupZ0);
    AutoJX->setObjectName("AutoJX");
    AutoJX->setGeometry(8, 96, 220, 30);
    ConnectGuarded(AutoJX, &QPushButton::clicked, this, [this] { AutoJXClick(); });

    OKBtn = new QPushButton("OK", this);
    OKBtn->setObjectName("OKBtn");
    OKBtn->setGeometry(228, 342, 90, 30);
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton("Cancel", this);
    CancelBtn->setObjectName("CancelBtn");
    CancelBtn->setGeometry(324, 342, 90, 30);
    ConnectGuarded(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    ConnectGuarded(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    ApplyFormPattern(this, fontName, ScreenScale());
    ChangeLanguage();
}

void TACalInfoBox::ChangeLanguage() {
    const auto lines = FormLanguageLines("ACalInfoBox", 28);
    if (lines.size() < 28) return;
    std::size_t i = 0;
    auto next = [&] { return QString::fromStdString(lines[i++]); };
    setWindowTitle(next());
    PageControl1->setTabText(0, next());
    GroupTarget->setTitle(next());
    LabelGain->setText(next());
    LabelSWR->setText(next());
    LabelJXUnit->setText(next());
    MatchSel->setTitle(next());
    QStringList items;
    for (int k = 0; k < 3; ++k) items << next();
    const int selected = MatchSel->ItemIndex();
    MatchSel->SetItems(items);
    MatchSel->SetItemIndex(selected);
    GroupOptZ->setTitle(next());
    GroupCurrent->setTitle(next());
    LabelPulse->setText(next());
    RBIMAX->setText(next());
    RBIMIN->setText(next());
    PageControl1->setTabText(1, next());
    GroupRear->setTitle(next());
    LabelAzimut->setText(next());
    LabelVertical->setText(next());
    LabelDegH->setText(next());
    LabelDegV->setText(next());
    GroupZ0->setTitle(next());
    LabelOhmR->setText(next());
    LabelOhmJX->setText(next());
    AutoJX->setText(next());
    OKBtn->setText(next());
    CancelBtn->setText(next());
    prompt_ = lines[i++];
}

void TACalInfoBox::UpdateMatchFields() {
    const bool optional = MatchSel->ItemIndex() == MatchOptionalZ;
    EditTergR->setEnabled(optional);
    EditTergJX->setEnabled(optional);
}

void TACalInfoBox::UDSWRClick(int direction) {
    double v = 1.0;
    if (!Read(EditSWR->text(), v) || v < 1.0) v = 1.0;
    v = std::max(1.0, v + 0.1 * direction);
    EditSWR->setText(QString::fromStdString(DblToStr(v)));
}

TACalInfoBox::GoalUpDown* TACalInfoBox::UpDownOf(QLineEdit* edit) {
    for (GoalUpDown& ud : goalUpDowns_)
        if (ud.edit == edit) return &ud;
    return nullptr;
}

void TACalInfoBox::ShowGoal(GoalUpDown& ud, double goal) {
    ud.position = static_cast<int>(std::clamp<double>(std::lround(goal), ud.lo, ud.hi));
    // The field shows the up-down's position: the goal rounded, in its range.
    ud.edit->setText(QString::number(ud.position));
}

void TACalInfoBox::GoalArrowClick(QLineEdit* edit, int direction) {
    GoalUpDown* ud = UpDownOf(edit);
    if (!ud) return;
    double v = 0;
    double next = ud->position + direction;
    if (Read(edit->text(), v)) next = direction > 0 ? std::floor(v) + 1 : std::ceil(v) - 1;
    ud->position = static_cast<int>(std::clamp<double>(next, ud->lo, ud->hi));
    edit->setText(QString::number(ud->position));
}

void TACalInfoBox::AutoJXClick() {
    double r = 0;
    if (!Read(EditSWRZ->currentText(), r) || !(r > 0)) return;
    std::string value = r >= 50 ? DblToStr(2 * r) : std::string("50");
    double z = 0;
    if (!CurrentPrompter().NumberQuery("KORVA-TEZ", prompt_, value, z)) return;
    if (z > r)
        EditSWRJX->setText(QString::fromStdString(DblToStr(-r * std::sqrt(z / r - 1))));
    else
        EditSWRJX->setText(z == r ? "0" : "");
}

bool TACalInfoBox::Execute(CACal* cal) {
    if (!cal) return false;
    const EnvRec& env = cal->Env ? *cal->Env : EnvDef;
    ShowGoal(goalUpDowns_[0], cal->GainGoal);
    ShowGoal(goalUpDowns_[1], cal->FBGoal);
    ShowGoal(goalUpDowns_[2], cal->JXGoal);
    ShowNumber(EditSWR, cal->SWRGoal, QString::fromStdString(DblToStr(cal->SWRGoal)));
    MatchSel->SetItemIndex(cal->MatchKind);
    EditFBH->setValue(env.AzEl & 0xFFFF);
    EditFBV->setValue((env.AzEl >> 16) & 0xFFFF);
    ShowNumber(EditSWRZ, env.Z0R, QString::fromStdString(DblToStr(env.Z0R)));
    ShowNumber(EditSWRJX, env.Z0X, QString::fromStdString(DblToStr(env.Z0X)));
    ShowNumber(EditTergR, cal->OptZR, cal->OptZR == 0 ? QString("*") : QString::fromStdString(DblToStr(cal->OptZR)));
    ShowNumber(EditTergJX, cal->OptZX, QString::fromStdString(DblToStr(cal->OptZX)));
    (cal->MinimizeCurrent ? RBIMIN : RBIMAX)->setChecked(true);
    EditCur->setText(QString::fromLatin1(cal->CurrentPos));
    UpdateMatchFields();
    if (ShowModal(*this) != QDialog::Accepted) return false;
    Store(*cal);
    return true;
}

void TACalInfoBox::Store(CACal& cal) {
    EnvRec& env = cal.Env ? *cal.Env : EnvDef;
    double v = 0;
    if (Read(EditGain->text(), v) && v > 0) cal.GainGoal = v;
    if (Read(EditFB->text(), v) && v > 0) cal.FBGoal = v;
    if (Read(EditJX->text(), v) && v >= 0) cal.JXGoal = v;
    // A field left showing its stored value rounded reads back as that value.
    if (ReadNumberField(EditSWR, v) && v >= 1.0) cal.SWRGoal = v;
    cal.MatchKind = std::clamp(MatchSel->ItemIndex(), 0, 2);
    const QString optR = EditTergR->text().trimmed(), optX = EditTergJX->text().trimmed();
    if (optR.startsWith('*')) cal.OptZR = 0;
    else if (ReadNumberField(EditTergR, v) && v >= 0) cal.OptZR = v;
    if (optX.startsWith('*')) cal.OptZX = 0;
    else if (ReadNumberField(EditTergJX, v)) cal.OptZX = v;
    env.AzEl = (EditFBH->value() & 0xFFFF) | ((EditFBV->value() & 0xFFFF) << 16);
    if (ReadNumberField(EditSWRZ, v) && v > 0) env.Z0R = v;
    if (ReadNumberField(EditSWRJX, v)) env.Z0X = v;
    cal.MinimizeCurrent = RBIMIN->isChecked() ? 1 : 0;
    const std::string pos = FoldFullWidth(EditCur->text().toStdString(), 8);
    std::memset(cal.CurrentPos, 0, sizeof cal.CurrentPos);
    std::memcpy(cal.CurrentPos, pos.data(), std::min(pos.size(), std::size_t{8}));
}
