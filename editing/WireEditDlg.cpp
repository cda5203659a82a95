#include "editing/WireEditDlg.h"
#include "platform/CommandGuard.h"

#include "editing/WireDefinition.h"
#include "model/EnvDef.h"
#include "model/NumberText.h"
#include "model/TaperSetTable.h"
#include "platform/FormPattern.h"
#include "platform/KeyFilter.h"
#include "platform/Prompter.h"
#include "platform/RadioGroup.h"
#include "platform/ShownNumber.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <cstring>

namespace {

constexpr int TagLength = 7, TagAzimuth = 8, TagZenith = 9;
const char* const EditNames[10] = {"",       "EditX1", "EditY1", "EditZ1",   "EditX2",
                                   "EditY2", "EditZ2", "EditLen", "EditHDeg", "EditVDeg"};
const char* const EditHeads[10] = {"", "X1", "Y1", "Z1", "X2", "Y2", "Z2", "Length", "Azimuth angle", "Zenith angle"};

const char* const HeadNames[3] = {"Label18", "Label16", "Label17"};

double& Coordinate(WireRec& w, int tag) {
    double* const coords[6] = {&w.X1, &w.Y1, &w.Z1, &w.X2, &w.Y2, &w.Z2};
    return *coords[tag - 1];
}

bool Wavelengths() { return JobDef.InWavelengths != 0; }

QString FormatTag(int tag, double v) {
    if (tag == TagAzimuth || tag == TagZenith) return QString::fromStdString(FormatFixed(v, 2));
    const int decimals = (tag == TagLength ? 5 : 4) + (Wavelengths() ? 1 : 0);
    return QString::fromStdString(FormatFixed(v, decimals));
}

// A text that does not read is reported, as the number conversion does; the
// wire keeps the value it had. A field that still shows what it was given
// reads as the value it was given.
bool ReadNumber(const QLineEdit* edit, double& v, const FieldUnit& toStored = {}) {
    if (ReadNumberField(edit, v, toStored)) return true;
    ErrorBox("'%s' is not a valid floating point value", FieldText(edit).c_str());
    return false;
}

}  // namespace

TWireEditDlg::TWireEditDlg(QWidget* owner) : QDialog(owner) {
    setObjectName("WireEditDlg");
    SetupEditForm(*this, "Wire definition", 560, 400);
    Timer1 = new QTimer(this);
    auto* cartesian = new QGroupBox(this);
    cartesian->setObjectName("GroupBox1");
    cartesian->setGeometry(10, 6, 540, 150);
    auto* polar = new QGroupBox("Polar coordinates (Length and angles)", this);
    polar->setObjectName("GroupBox2");
    polar->setGeometry(10, 160, 540, 110);
    for (int tag = 1; tag <= 9; ++tag) {
        QWidget* box = tag <= 6 ? static_cast<QWidget*>(cartesian) : polar;
        const int col = tag <= 6 ? (tag - 1) % 3 : tag - 7;
        const int row = tag <= 6 ? (tag - 1) / 3 : 0;
        const int left = 10 + col * 175, top = 22 + row * 50;
        auto* head = new QLabel(EditHeads[tag], box);
        if (tag >= TagLength) head->setObjectName(HeadNames[tag - TagLength]);
        head->setGeometry(left, top, 150, 18);
        auto* edit = new QLineEdit(box);
        edit->setObjectName(EditNames[tag]);
        edit->setProperty("tag", tag);
        edit->setGeometry(left, top + 18, 110, 24);
        InstallCommaToPoint(edit);
        auto* updown = new UpDownButton(box);
        updown->setObjectName(QString("UpDown%1").arg(tag));
        updown->setGeometry(left + 111, top + 18, 16, 24);
        if (tag <= TagLength) {
            Units[tag] = new QLabel(box);
            Units[tag]->setGeometry(left + 130, top + 20, 40, 20);
        } else {
            auto* deg = new QLabel("deg", box);
            deg->setObjectName(tag == TagAzimuth ? "Label20" : "Label21");
            deg->setGeometry(left + 130, top + 20, 40, 20);
        }
        Edits[tag] = edit;
        UpDowns[tag] = updown;
        Steppers[tag] = new NumberStepper(
            edit, updown, Timer1, 0.0001, 10.0, 0.1, [](double v, double step, int dir) { return v + dir * step; },
            [tag](double v) { return FormatTag(tag, v); });
        ConnectGuarded(edit, &QLineEdit::textChanged, this, [this, tag] { EditChange(tag); });
    }
    EditX1 = Edits[1], EditY1 = Edits[2], EditZ1 = Edits[3];
    EditX2 = Edits[4], EditY2 = Edits[5], EditZ2 = Edits[6];
    EditLen = Edits[7], EditHDeg = Edits[8], EditVDeg = Edits[9];

    auto* rHead = new QLabel("R", cartesian);
    rHead->setGeometry(10, 122, 20, 20);
    EditR = new QLineEdit(cartesian);
    EditR->setObjectName("EditR");
    EditR->setGeometry(35, 120, 110, 24);
    InstallCommaToPoint(EditR);
    Units[0] = new QLabel(cartesian);
    Units[0]->setGeometry(150, 122, 40, 20);
    auto* segHead = new QLabel("Seg", cartesian);
    segHead->setObjectName("Label14");
    segHead->setGeometry(200, 122, 40, 20);
    EditSeg = new QLineEdit(cartesian);
    EditSeg->setObjectName("EditSeg");
    EditSeg->setGeometry(240, 120, 100, 24);
    InitBtn = new QPushButton("Reset", cartesian);
    InitBtn->setObjectName("InitBtn");
    InitBtn->setGeometry(360, 118, 90, 28);
    ConnectGuarded(EditR, &QLineEdit::textChanged, this, &TWireEditDlg::EditRChange);
    ConnectGuarded(EditSeg, &QLineEdit::textChanged, this, &TWireEditDlg::EditSegChange);
    ConnectGuarded(InitBtn, &QPushButton::clicked, this, &TWireEditDlg::InitBtnClick);

    BaseSel = new RadioGroup(this);
    BaseSel->setObjectName("BaseSel");
    BaseSel->setTitle("Keep point");
    BaseSel->SetItems({"Start point", "End point", "Middle point"});
    BaseSel->SetItemIndex(KeepStart);
    BaseSel->setGeometry(10, 275, 200, 110);
    ConnectGuarded(BaseSel, &RadioGroup::Clicked, this, [this] {
        PolarToCartesian();
        ShowValues(-1);
    });
    ChkRmd = new QCheckBox("lambda", this);
    ChkRmd->setObjectName("ChkRmd");
    ChkRmd->setGeometry(230, 285, 150, 22);
    ConnectGuarded(ChkRmd, &QCheckBox::clicked, this, &TWireEditDlg::ChkRmdClick);
    ChkChen = new QCheckBox("Keep connected", this);
    ChkChen->setObjectName("ChkChen");
    ChkChen->setGeometry(230, 312, 200, 22);
    ChkChen->setChecked(true);
    OKBtn = new QPushButton("OK", this);
    OKBtn->setObjectName("OKBtn");
    OKBtn->setGeometry(340, 355, 90, 30);
    // Return is OK: the Reset button comes first in the tab order.
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton("Cancel", this);
    CancelBtn->setObjectName("CancelBtn");
    CancelBtn->setGeometry(450, 355, 90, 30);
    ConnectGuarded(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    ConnectGuarded(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    FinishEditForm(*this, "WireEditDlg",
                   {"OKBtn", "CancelBtn", "GroupBox1", "Label14", "InitBtn", "GroupBox2", "Label16", "Label17",
                    "Label18", "Label20", "Label21", "BaseSel", "-", "-", "-", "ChkChen"});
}

void TWireEditDlg::SetStepLimits() {
    const bool wl = Wavelengths();
    for (int tag = 1; tag <= 9; ++tag) {
        const double lo = tag <= 6 ? (wl ? 0.00001 : 0.0001) : tag == TagLength ? (wl ? 0.000001 : 0.00001) : 0.01;
        Steppers[tag]->SetLimits(lo, 10.0);
    }
}

void TWireEditDlg::UpdateUnitLabels() {
    const bool wl = Wavelengths();
    for (int tag = 1; tag <= TagLength; ++tag) Units[tag]->setText(wl ? "wl" : "m");
    Units[0]->setText(wl ? "wl" : "mm");
    SetStepLimits();
}

QString TWireEditDlg::FieldValueText(int tag) const {
    if (tag <= 6) return FormatTag(tag, MetreToWave(Coordinate(const_cast<WireRec&>(WorkWire), tag)));
    if (tag == TagLength) return FormatTag(tag, MetreToWave(WireLength));
    return FormatTag(tag, tag == TagAzimuth ? WireAzimuth : WireZenith);
}

// Each field remembers the value it shows, in metres and degrees, so that its
// text typed again gives that value back rather than the rounded one.
void TWireEditDlg::ShowValues(int except) {
    UserEditing = false;
    for (int tag = 1; tag <= 6; ++tag)
        if (tag - 1 != except) ShowNumber(Edits[tag], Coordinate(WorkWire, tag), FieldValueText(tag));
    if (except != 6) {
        const double r = RadiusToShown(WorkWire.R);
        ShowNumber(EditR, WorkWire.R, QString::number(r, 'g', Wavelengths() ? 3 : 15));
    }
    if (except != 7) ShowNumber(EditSeg, WorkWire.Seg, QString::fromStdString(IntOrPairToStr(WorkWire.Seg)));
    if (except < 10) ShowNumber(EditLen, WireLength, FieldValueText(TagLength));
    if (except != 11) ShowNumber(EditHDeg, WireAzimuth, FieldValueText(TagAzimuth));
    if (except != 12) ShowNumber(EditVDeg, WireZenith, FieldValueText(TagZenith));
    UserEditing = true;
    InitBtn->setEnabled(std::memcmp(&WorkWire, &OrigWire, sizeof WorkWire) != 0);
}

void TWireEditDlg::CartesianToPolar() {
    ::CartesianToPolar(WorkWire, WireLength, WireAzimuth, WireZenith);
    polarSource_ = {WorkWire, WireLength, WireAzimuth, WireZenith};
}

void TWireEditDlg::PolarToCartesian() {
    const int kept = std::max(0, BaseSel->ItemIndex());
    // The polar form of the wire it was taken from, around that wire's own
    // kept point, is that wire: exactly, not through sines and cosines.
    const PolarSource& s = polarSource_;
    const Point3D a = KeptPointOf(s.Wire, kept), b = KeptPointOf(OrigWire, kept);
    if (WireLength == s.Length && WireAzimuth == s.Azimuth && WireZenith == s.Zenith && a.X == b.X && a.Y == b.Y &&
        a.Z == b.Z) {
        WorkWire.X1 = s.Wire.X1, WorkWire.Y1 = s.Wire.Y1, WorkWire.Z1 = s.Wire.Z1;
        WorkWire.X2 = s.Wire.X2, WorkWire.Y2 = s.Wire.Y2, WorkWire.Z2 = s.Wire.Z2;
        return;
    }
    ::PolarToCartesian(WorkWire, OrigWire, WireLength, WireAzimuth, WireZenith, kept);
}

// Empty fields are left for the user to fill, and so is a lone "-" in a
// coordinate or the radius (a negative radius names a taper set); any other
// text that does not read is reported.
void TWireEditDlg::EditChange(int tag) {
    if (!UserEditing) return;
    const QString text = Edits[tag]->text();
    if (text.isEmpty() || (tag < TagLength && text == "-")) return;
    const auto coordinate = [](double c) { return Wavelengths() ? WaveToMetre(c) : RoundAwayTo(c, 4); };
    const FieldUnit unit = tag <= 6 ? FieldUnit(coordinate) : tag == TagLength ? FieldUnit(WaveToMetre) : FieldUnit();
    double v = 0.0;
    if (!ReadNumber(Edits[tag], v, unit)) return;
    if (tag <= 6) {
        Coordinate(WorkWire, tag) = v;
        CartesianToPolar();
        ShowValues(tag - 1);
        return;
    }
    if (tag == TagLength) {
        if (v == WireLength) return;
        WireLength = v;
    } else {
        double& angle = tag == TagAzimuth ? WireAzimuth : WireZenith;
        if (v == angle) return;
        angle = v;
    }
    PolarToCartesian();
    ShowValues(tag == TagLength ? 10 : tag == TagAzimuth ? 11 : 12);
}

void TWireEditDlg::EditRChange() {
    if (!UserEditing || EditR->text().isEmpty() || EditR->text() == "-") return;
    double v = 0.0;
    if (!ReadNumber(EditR, v, ShownToRadius)) return;
    if (v == WorkWire.R) return;
    // After a save the wire would use another taper set, or none.
    if (ant_ && !TaperRadiusReadsBack(*ant_, v)) {
        ErrorBox("%s '%s' was not taken.", TaperRadiusLimitText, FieldText(EditR).c_str());
        return;
    }
    WorkWire.R = v;
    ShowValues(6);
}

void TWireEditDlg::EditSegChange() {
    if (!UserEditing || EditSeg->text().isEmpty()) return;
    int32_t seg = 0;
    if (!ReadSegmentField(EditSeg, seg)) {
        ErrorBox("'%s' is not a valid integer value", FieldText(EditSeg).c_str());
        return;
    }
    if (seg == WorkWire.Seg) return;
    WorkWire.Seg = seg;
    ShowValues(7);
}

void TWireEditDlg::InitBtnClick() {
    WorkWire = OrigWire;
    CartesianToPolar();
    ShowValues(-1);
}

void TWireEditDlg::ChkRmdClick() {
    JobDef.InWavelengths = ChkRmd->isChecked() ? 1 : 0;
    UpdateUnitLabels();
    ShowValues(-1);
}

int TWireEditDlg::Execute(WireRec* wires, int index, int count, const AntDef& ant) {
    if (!wires || index < 0 || index >= count || count > MaxWires) return 0;
    ant_ = &ant;
    QString caption = windowTitle();
    const int dash = caption.indexOf('-');
    if (dash >= 0) caption.truncate(std::max(0, dash - 1));
    setWindowTitle(caption + QString(" - Wire No.%1").arg(index + 1));
    const int savedUnits = JobDef.InWavelengths;
    ChkRmd->setChecked(savedUnits != 0);
    UpdateUnitLabels();
    OrigWire = WorkWire = wires[index];
    BaseSel->SetItemIndex(PresetKeptPoint(OrigWire));
    CartesianToPolar();
    ShowValues(-1);
    const int result = ShowModal(*this);
    Timer1->stop();
    JobDef.InWavelengths = savedUnits;
    if (result != QDialog::Accepted) return 0;
    return ApplyWireEdit(wires, count, index, WorkWire, ChkChen->isChecked()) ? 1 : 0;
}
