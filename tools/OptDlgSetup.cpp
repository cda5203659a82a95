// The setup page of the options form: global settings shown from and stored
// into the environment and job records, the hairpin-match helper and the font.
#include "model/NumberText.h"
#include "platform/CommandGuard.h"
#include "platform/FontChoice.h"
#include "platform/KeyFilter.h"
#include "platform/Prompter.h"
#include "platform/RadioGroup.h"
#include "platform/FormWidgets.h"
#include "tools/OptDlgBox.h"
#include "tools/SetupValues.h"

#include <QCheckBox>
#include <QGroupBox>

namespace {

}  // namespace

void TOptDlgBox::BuildSetupPage() {
    QWidget* p = SetupPage;
    QGroupBox* rear = PlaceGroup(p, "RearGroup", "Rear range of F/B", 8, 8, 250, 90);
    PlaceLabel(rear, "AzLabel", "Azimuth", 10, 25, 80);
    EditAz = PlaceEdit(rear, "EditAz", 95, 25, 80);
    PlaceLabel(rear, "AzUnit", "deg", 180, 25, 40);
    PlaceLabel(rear, "ElLabel", "Vertical", 10, 55, 80);
    EditEl = PlaceEdit(rear, "EditEl", 95, 55, 80);
    PlaceLabel(rear, "ElUnit", "deg", 180, 55, 40);

    QGroupBox* z0 = PlaceGroup(p, "Z0Group", "Standard Z(SWR=1)", 270, 8, 260, 120);
    PlaceLabel(z0, "Z0RLabel", "R", 10, 25, 25);
    EditZ0R = PlaceNumberCombo(z0, "EditZ0R", {"50", "75", "300", "600"}, 35, 25, 90);
    PlaceLabel(z0, "Z0RUnit", "Ohm", 130, 25, 40);
    PlaceLabel(z0, "Z0XLabel", "jX", 10, 55, 25);
    EditZ0X = PlaceEdit(z0, "EditZ0X", 35, 55, 90);
    PlaceLabel(z0, "Z0XUnit", "Ohm", 130, 55, 40);
    AutojX = PlaceButton(z0, "AutojX", "Hairpin match", 35, 85, 130);
    ConnectGuarded(AutojX, &QPushButton::clicked, this, [this] { AutojXClick(); });
    for (QWidget* w : {static_cast<QWidget*>(EditAz), static_cast<QWidget*>(EditEl), static_cast<QWidget*>(EditZ0R),
                       static_cast<QWidget*>(EditZ0X)})
        InstallCommaToPoint(w);

    QGroupBox* current = PlaceGroup(p, "CurGroup", "Current display", 8, 105, 250, 55);
    CurDirCB = new QCheckBox("Specify direction", current);
    CurDirCB->setObjectName("CurDirCB");
    CurDirCB->setGeometry(10, 25, 230, 24);

    FreeAngleRG = new RadioGroup(p);
    FreeAngleRG->setObjectName("FreeAngleRG");
    FreeAngleRG->setTitle("Elevation angle on far field by free space");
    FreeAngleRG->SetItems({"auto - maximal radiation", "fixed = 0 deg"});
    FreeAngleRG->setGeometry(8, 168, 330, 80);

    QGroupBox* pulses = PlaceGroup(p, "PulseGroup", "Maximum pulses", 345, 135, 185, 60);
    PMaxCB = PlaceNumberCombo(pulses, "PMaxCB", {"512", "1024", "2048", "3072", "4096", "8192"}, 10, 25, 120);

    QGroupBox* recent = PlaceGroup(p, "RecentGroup", "Last files (menu)", 8, 255, 330, 60);
    PlaceLabel(recent, "RecentLabel", "Number", 10, 25, 60);
    RecentCB = PlaceNumberCombo(recent, "RecentCB", {"10"}, 75, 25, 60);
    RecentCB->setEnabled(false);
    OnlyKvaCB = new QCheckBox("only KVA files", recent);
    OnlyKvaCB->setObjectName("OnlyKvaCB");
    OnlyKvaCB->setGeometry(150, 25, 170, 24);

    QGroupBox* fontGroup = PlaceGroup(p, "FontGroup", "Font setup", 345, 205, 185, 90);
    PlaceLabel(fontGroup, "FontLabel", "Size", 10, 25, 40);
    EditFont = PlaceNumberCombo(fontGroup, "EditFont", {"-3", "-2", "-1", "0", "+1", "+2", "+3"}, 55, 25, 70);
    FntSpBt = PlaceButton(fontGroup, "FntSpBt", "Font", 55, 55, 70);
    ConnectGuarded(EditFont, &QComboBox::textActivated, this, [this] { EditFontChange(); });
    ConnectGuarded(EditFont->lineEdit(), &QLineEdit::textEdited, this, [this] { EditFontChange(); });
    ConnectGuarded(FntSpBt, &QPushButton::clicked, this, [this] { FntSpBtClick(); });
}

void TOptDlgBox::FillSetupPage() {
    const SetupValues v = LoadSetupValues();
    EditAz->setText(QString::fromStdString(v.Azimuth));
    EditEl->setText(QString::fromStdString(v.Vertical));
    EditZ0R->setEditText(QString::fromStdString(v.Z0R));
    EditZ0X->setText(QString::fromStdString(v.Z0X));
    CurDirCB->setChecked(v.CurDir);
    FreeAngleRG->SetItemIndex(v.FixFreeAngle);
    PMaxCB->setEditText(QString::fromStdString(v.MaxPulses));
    RecentCB->setEditText(QString::fromStdString(v.RecentMax));
    OnlyKvaCB->setChecked(v.OnlyKva);
    EditFont->setEditText(QString::fromStdString(v.FontSize));
}

int TOptDlgBox::Store() {
    SetupValues v;
    v.CurDir = CurDirCB->isChecked();
    v.FixFreeAngle = FreeAngleRG->ItemIndex() == 1 ? 1 : 0;
    v.Azimuth = EditAz->text().toStdString();
    v.Vertical = EditEl->text().toStdString();
    v.Z0R = EditZ0R->currentText().toStdString();
    v.Z0X = EditZ0X->text().toStdString();
    v.RecentMax = RecentCB->currentText().toStdString();
    v.OnlyKva = OnlyKvaCB->isChecked();
    v.FontSize = EditFont->currentText().toStdString();
    v.MaxPulses = PMaxCB->currentText().toStdString();
    const SetupStored stored = StoreSetupValues(v);
    if (const std::string notice = stored.Notice(); !notice.empty()) InfoBox("%s", notice.c_str());
    return stored.Code;
}

void TOptDlgBox::AutojXClick() {
    double r = 0;
    if (!StrToDblExpr(r, EditZ0R->currentText().toStdString()) || !(r > 0)) return;
    std::string answer = HairpinProposal(r);
    double line = 0;
    if (!CurrentPrompter().NumberQuery("KORVA-TEZ", HairpinPrompt, answer, line)) return;
    EditZ0X->setText(QString::fromStdString(HairpinReactance(r, answer)));
}

namespace {

// The form's font size for an offset text; unchanged when it does not read.
int FontPointSize(const QString& text, int fallback) {
    double offset = 0;
    if (!StrToDblExpr(offset, text.toStdString())) return fallback;
    return std::max(1, 10 + std::clamp(RoundToInt(offset), -3, 3));
}

}  // namespace

void TOptDlgBox::EditFontChange() {
    QFont f = font();
    f.setPointSize(FontPointSize(EditFont->currentText(), f.pointSize()));
    setFont(f);
    for (QLabel* l : {SMVar1, SMVar2}) {
        QFont small = f;
        small.setPointSize(std::max(1, f.pointSize() - 1));
        l->setFont(small);
    }
}

void TOptDlgBox::FntSpBtClick() {
    QFont chosen = font();
    if (!ChooseFont(chosen, this)) return;
    chosen.setPointSize(FontPointSize(EditFont->currentText(), font().pointSize()));
    setFont(chosen);
    EditFontChange();
}
