// The antenna definition and the edit fields: taking the fields into the
// record, showing the record, starting a new antenna, the after-edit routine,
// the count labels, the source helpers and the fields' change handlers.
#include "app/MainWnd.h"
#include "app/PlainNumber.h"
#include "engine/WireLoss.h"
#include "model/CalculationFields.h"
#include "model/EntryIdentity.h"
#include "model/EnvDef.h"
#include "model/EnvDefaults.h"
#include "model/ModelImage.h"
#include "model/ResultStore.h"
#include "model/TableRows.h"
#include "platform/KeyFilter.h"
#include "platform/TextCodec.h"
#include "platform/RadioGroup.h"
#include "platform/ShownNumber.h"
#include "platform/SingleLineField.h"
#include "platform/StringGrid.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// Blocks the change handlers while the window writes its own fields.
class FieldLock {
public:
    explicit FieldLock(int& depth) : depth_(depth) { ++depth_; }
    ~FieldLock() { --depth_; }
    FieldLock(const FieldLock&) = delete;
    FieldLock& operator=(const FieldLock&) = delete;

private:
    int& depth_;
};

std::string Text(const QComboBox* box) { return box->currentText().toStdString(); }

void SetText(QComboBox* box, const std::string& text) {
    const QSignalBlocker block(box);
    box->setEditText(QString::fromStdString(text));
}

// A number field written by the window reads back as the value it was given
// while it shows that text; its 15 digits may not hold every double.
void SetNumber(QComboBox* box, double value, const std::string& text) {
    const QSignalBlocker block(box);
    ShowNumber(box, value, QString::fromStdString(text));
}
void SetNumber(QComboBox* box, double value) { SetNumber(box, value, ShortestFloat(value)); }

bool FieldNumber(const QComboBox* box, double& value) {
    if (const std::optional<double> shown = ShownNumber(box)) {
        value = *shown;
        return true;
    }
    return ParsePlainDouble(Text(box), value);
}

// A new count label: the caption's first word, a blank and the count.
QString CountCaption(const QString& caption, int count) {
    QString word = caption;
    while (word.startsWith(' ')) word.remove(0, 1);
    const int blank = word.indexOf(' ');
    if (blank >= 0) word.truncate(blank);
    return word + ' ' + QString::number(count);
}

// The name as stored after an edit of the name kept: in the bytes of the
// field's size, in the encoding the kept name was read in where it can be.
std::string NameBytes(const QString& text, const char* kept) {
    return KeptTextBytes(text, std::string_view(kept, strnlen(kept, AntNameLength)), AntNameLength);
}

}  // namespace

bool TMainWnd::ReadCalculationFields(CalculationFields& fields, QString* error) const {
    // Every field is read before anything is stored, so a bad text changes nothing.
    double freq = 0, calcFreq = 0, sc = 0;
    int dm1 = 0, dm2 = 0, ec = 0;
    QString refusal;
    auto needDouble = [&](const QComboBox* box, double& v) {
        if (refusal.isEmpty() && !FieldNumber(box, v))
            refusal = QString("'%1' is not a valid floating point value").arg(box->currentText());
    };
    auto needInt = [&](const QComboBox* box, int& v) {
        if (refusal.isEmpty() && !ParsePlainInt(Text(box), v))
            refusal = QString("'%1' is not a valid integer value").arg(box->currentText());
    };
    needDouble(Freq, freq);
    needDouble(DoFreq, calcFreq);
    needInt(EditDM1, dm1);
    needInt(EditDM2, dm2);
    needInt(EditEC, ec);
    needDouble(EditSC, sc);
    // The graded segmentation needs densities of at least 1 and a growth
    // factor in (1, 3]; anything else would never finish cutting a wire.
    if (refusal.isEmpty() && dm1 < 1) refusal = "DM1 must be at least 1.";
    if (refusal.isEmpty() && dm2 < 1) refusal = "DM2 must be at least 1.";
    if (refusal.isEmpty() && ec < 1) refusal = "EC must be at least 1.";
    if (refusal.isEmpty() && !(sc > 1.0 && sc <= 3.0)) refusal = "SC must lie above 1 and at most 3.";
    if (refusal.isEmpty() && (freq < 0 || calcFreq < 0)) refusal = "A frequency must not be negative.";
    // 0 stands for the default; any other frequency must be one a file can hold.
    for (const double f : {freq, calcFreq})
        if (refusal.isEmpty() && FrequencyRefusal(f)) refusal = FrequencyRefusal(f);
    if (!refusal.isEmpty()) {
        if (error) *error = refusal;
        return false;
    }
    fields.Freq = freq == 0.0 ? LightSpeedMHz : freq;
    fields.CalcFreq = calcFreq;
    fields.DM1 = dm1;
    fields.DM2 = dm2;
    fields.EC = ec;
    fields.SC = sc;
    fields.AutoVoltage = AutoVol->isChecked() ? 1 : 0;
    fields.UseLoads = EnbLoad->isChecked() ? 1 : 0;
    fields.GroundType = std::max(0, CalcSel->ItemIndex());
    // An added height that does not read is 0, without a word.
    if (!FieldNumber(AntHeight, fields.AntHeight)) fields.AntHeight = 0;
    fields.Material = std::max(0, MaterialSel->currentIndex());
    return true;
}

void TMainWnd::TakeFieldsInto(const CalculationFields& fields, AntDef& ant, EnvRec& env) const {
    // The field shows the stored bytes decoded; a name that is not UTF-8
    // would change if an unedited field were encoded again.
    if (AntName->text() != DisplayQString(ant.Name)) CopyText(ant.Name, NameBytes(AntName->text(), ant.Name).c_str());
    TakeCalculationFields(fields, ant, env);
}

bool TMainWnd::GetAntDef() {
    CalculationFields fields;
    QString error;
    if (!ReadCalculationFields(fields, &error)) {
        ShowError(error);
        ShowKeptSegmentation();
        return false;
    }
    TakeFieldsInto(fields, Ant, EnvDef);
    double height = 0;
    if (!FieldNumber(AntHeight, height)) SetText(AntHeight, "0");
    return true;
}

void TMainWnd::ShowKeptSegmentation() {
    // A segmentation value that was refused gives way to the one the antenna
    // keeps, so the field never shows what is not used. A text that is no
    // number stays for the user to mend.
    FieldLock lock(fieldsLocked_);
    int n = 0;
    if (ParsePlainInt(Text(EditDM1), n) && n < 1) SetText(EditDM1, std::to_string(Ant.DM1));
    if (ParsePlainInt(Text(EditDM2), n) && n < 1) SetText(EditDM2, std::to_string(Ant.DM2));
    if (ParsePlainInt(Text(EditEC), n) && n < 1) SetText(EditEC, std::to_string(Ant.EC));
    double sc = 0;
    if (FieldNumber(EditSC, sc) && !(sc > 1.0 && sc <= 3.0)) SetNumber(EditSC, Ant.SC);
}

void TMainWnd::TakeTypedFields() {
    // A run owns the record; a text that does not read waits for Start's refusal.
    double f = 0;
    if (JobDef.Busy || fieldsLocked_ || !FieldNumber(DoFreq, f) || f < 0 || FrequencyRefusal(f)) return;
    Ant.CalcFreq = f;
}

void TMainWnd::SetAntDef() {
    FieldLock lock(fieldsLocked_);
    {
        const QSignalBlocker block(AntName);
        ShowStoredText(AntName, DisplayQString(Ant.Name));
    }
    AntName3->setText(DisplayQString(Ant.Name));
    if (Ant.Freq == 0.0) Ant.Freq = UnsetFreqShownAs;
    JobDef.Wavelength = LightSpeedMHz / Ant.Freq;
    SetNumber(Freq, Ant.Freq);
    SetNumber(DoFreq, Ant.Freq);
    SetText(EditDM1, std::to_string(Ant.DM1));
    SetText(EditDM2, std::to_string(Ant.DM2));
    SetText(EditEC, std::to_string(Ant.EC));
    SetNumber(EditSC, Ant.SC);
    Grid2->SetRowCount(Ant.WireCount + 2);
    Grid3->SetRowCount(Ant.SourceCount + 2);
    Grid4->SetRowCount(Ant.LoadCount + 2);
    {
        const QSignalBlocker b1(AutoVol), b2(EnbLoad);
        AutoVol->setChecked(Ant.AutoVoltage != 0);
        EnbLoad->setChecked(Ant.UseLoads != 0);
    }
    setWindowTitle(FileName.isEmpty() ? QStringLiteral("KORVA-TEZ") : FileName);
    CalcSel->SetItemIndex(std::clamp(EnvDef.Type, 0, 2));
    ApplyGroundControls();
    SetNumber(AntHeight, EnvDef.AntHeight);
    {
        const QSignalBlocker block(MaterialSel);
        MaterialSel->setCurrentIndex(std::clamp(EnvDef.Material, 0, MaterialSel->count() - 1));
    }
    FitView();
}

void TMainWnd::NewAntDef() {
    StartTablesAtFirstCell();
    DestroyOptimizerState();
    // No results belong to the new antenna.
    Origin.Forget();
    Comment.clear();
    PreOptimizationText.clear();
    PreOptimizationReferences = {};
    ResetToNewAntenna(Ant);
    // The record is about to hold another antenna.
    AntIds = {};
    Positions.Forget();
    PositionLinesShown();
    JobDef.Wavelength = LightSpeedMHz / NewAntennaFreq;
    JobDef.EleWidthAll = 0;
    ResetAntennaReference(EnvDef);
    Results.ClearSweep();
    FreeCalcCopy();
    SetAntDef();
    UpdateCount();
    MarkAntennaUnchanged();
}

void TMainWnd::StartTablesAtFirstCell() {
    // The cell the last antenna's tables were left on (Seg, Volt.) would
    // take the first value typed after a Tab into the table, and a row typed
    // with Tabs would be cut in two.
    for (StringGrid* g : {Grid2, Grid3, Grid4}) g->SetCurrentCell(1, 1);
}

void TMainWnd::TakeReadAntenna(const AntDef& read, const ModelEnvFields& env) {
    NewAntDef();
    Ant = read;
    ApplyModelEnvFields(env, EnvDef);
    AntIds = AntennaIdentities::FreshFor(Ant);
    // Its positions stand placed against its own wires, over its ground.
    Positions.Take(Ant);
}

void TMainWnd::AntChanged() {
    for (StringGrid* g : {Grid2, Grid3, Grid4}) g->CloseEditor();
    Ant.Changed = 1;
    JobDef.Interactive = 1;
    PrepareCalcAnt();
    SetAntDef();
    // An edit keeps the calculation frequency (an optimizer run may have left
    // it off the design frequency).
    ShowCalcFreq();
    Ant.Edited = 0;
    RefreshAll();
}

// The field shows the one just prepared, which the next Start reads back.
void TMainWnd::ShowCalcFreq() {
    if (Ant.CalcFreq > 0.0) SetNumber(DoFreq, Ant.CalcFreq);
}

void TMainWnd::AntChangedWithNotes(int sourcesBefore, const std::vector<std::string>& notes) {
    // Sources removed with their wires leave the others their share.
    if (Ant.SourceCount != sourcesBefore) SetAutoVol();
    AntChanged();
    AddPositionLines(notes);
}

void TMainWnd::UpdateCount() {
    WireCnt->setText(CountCaption(WireCnt->text(), Ant.WireCount));
    CurCnt->setText(CountCaption(CurCnt->text(), Ant.SourceCount));
    LoadCnt->setText(CountCaption(LoadCnt->text(), Ant.LoadCount));
}

void TMainWnd::SetAutoVol() {
    if (!AutoVol->isChecked() || Ant.SourceCount <= 0) return;
    const double v = 1.0 / Ant.SourceCount;
    for (int i = 0; i < Ant.SourceCount; ++i) Ant.Sources[i].Voltage = v;
}

int TMainWnd::FindWireSource(char* letter, int wire) {
    for (int i = 0; i < Ant.SourceCount; ++i) {
        const char* p = Ant.Sources[i].Pos;
        if (p[0] != 'w' && p[0] != 'W') continue;
        int number = 0;
        int digits = 0;
        while (p[1 + digits] >= '0' && p[1 + digits] <= '9' && digits < 9) {
            number = number * 10 + (p[1 + digits] - '0');
            ++digits;
        }
        if (digits == 0 || number - 1 != wire) continue;
        if (letter) {
            *letter = 0;
            for (const char* q = p + 1; *q; ++q) {
                const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(*q)));
                if (c == 'B' || c == 'C' || c == 'E') {
                    *letter = c;
                    break;
                }
            }
        }
        return i;
    }
    return -1;
}

void TMainWnd::DeleteSource(int k) {
    // As the source table's Delete does: what names the sources below follows them.
    std::vector<std::string> notes;
    if (!DeleteTableEntry(Ant, EditTable::Sources, k, &notes)) return;
    UpdateCount();
    SetAutoVol();
    Grid3->SetRowCount(Ant.SourceCount + 2);
    AntChanged();
    AddPositionLines(notes);
    Grid3->Invalidate();
}

void TMainWnd::AddWireSource(char letter) {
    const int r = Grid2->Row();
    if (r < 1 || r > Ant.WireCount) return;
    const int old = FindWireSource(nullptr, r - 1);
    if (old >= 0) DeleteSource(old + 1);
    if (Ant.SourceCount >= MaxSources) return;
    SourceRec& s = Ant.Sources[Ant.SourceCount];
    std::memset(&s, 0, sizeof s);
    char pos[32];
    std::snprintf(pos, sizeof pos, "w%d%c", r, letter);
    CopyText(s.Pos, pos);
    s.Phase = 0.0;
    s.Voltage = 1.0;
    ++Ant.SourceCount;
    SetAutoVol();
    AntChanged();
}

// ---- Change handlers of the fields ----

void TMainWnd::ConnectFields() {
    for (QComboBox* box : {Freq, DoFreq, EditDM1, EditDM2, EditEC, EditSC, AntHeight})
        InstallCommaToPoint(box->lineEdit());
    InstallTypedKeyDiscard(MaterialSel);
    ConnectGuarded(Freq, &QComboBox::editTextChanged, this, [this] { FreqChange(); });
    ConnectGuarded(AntName, &QLineEdit::textChanged, this, [this] { AntNameChange(); });
    ConnectGuarded(EditDM1, &QComboBox::editTextChanged, this, [this] { EditDM1Change(); });
    ConnectGuarded(EditDM2, &QComboBox::editTextChanged, this, [this] { EditDM2Change(); });
    ConnectGuarded(EditEC, &QComboBox::editTextChanged, this, [this] { EditECChange(); });
    ConnectGuarded(EditSC, &QComboBox::editTextChanged, this, [this] { EditSCChange(); });
    ConnectGuarded(EnbLoad, &QCheckBox::clicked, this, [this] { EnbLoadClick(); });
    ConnectGuarded(AutoVol, &QCheckBox::clicked, this, [this] {
        Ant.AutoVoltage = AutoVol->isChecked() ? 1 : 0;
        SetAutoVol();
        Grid3->Invalidate();
    });
    ConnectGuarded(DoFreq, &QComboBox::editTextChanged, this, [this] { DoFreqChange(DoFreq); });
    ConnectGuarded(AntHeight, &QComboBox::editTextChanged, this, [this] { DoFreqChange(AntHeight); });
    ConnectGuarded(MaterialSel, &QComboBox::activated, this, [this] { DoFreqChange(MaterialSel); });
    ConnectGuarded(CalcSel, &RadioGroup::Clicked, this, [this] { DoFreqChange(CalcSel); });
    ConnectGuarded(ChkRmd, &QCheckBox::clicked, this, [this] { ChkRmdClick(); });
    for (QCheckBox* c : {AutoVol, EnbLoad, ChkWith, ChkRmd})
        ConnectGuarded(c, &QCheckBox::clicked, this, [this] { UpdateMenuState(); });
}

void TMainWnd::FreqChange() {
    if (fieldsLocked_) return;
    double f = 0;
    if (Freq->currentText().isEmpty() || !FieldNumber(Freq, f)) return;
    // A frequency below the limit waits in the field; Start refuses it with a message.
    if (f == Ant.Freq || !FrequencyInRange(f)) return;
    Ant.Freq = f;
    // The calculation frequency follows it, in the record as in its field.
    Ant.CalcFreq = f;
    Ant.Changed = 1;
    Ant.Edited = 1;
    SetNumber(DoFreq, f, Text(Freq));
    JobDef.Wavelength = LightSpeedMHz / f;
    if (Ant.nH <= 1 && Ant.nV <= 1) {
        Ant.hSpacing = JobDef.Wavelength;
        Ant.vSpacing = JobDef.Wavelength;
    }
    if (JobDef.InWavelengths) Grid2->Invalidate();
}

void TMainWnd::AntNameChange() {
    if (fieldsLocked_) return;
    const std::string name = NameBytes(AntName->text(), Ant.Name);
    if (DisplayQString(name) != AntName->text()) {
        // The edit does not fit the name's bytes: it is not taken, and the
        // field shows the name kept rather than letters that would be lost.
        const int cursor = AntName->cursorPosition();
        {
            const QSignalBlocker block(AntName);
            ShowStoredText(AntName, DisplayQString(Ant.Name));
        }
        AntName->setCursorPosition(std::min(cursor, static_cast<int>(AntName->text().size())));
        return;
    }
    if (name == Ant.Name) return;
    CopyText(Ant.Name, name.c_str());
    AntName3->setText(DisplayQString(Ant.Name));
    Ant.Changed = 1;
}

void TMainWnd::EditDM1Change() {
    int n = 0;
    if (fieldsLocked_ || !ParsePlainInt(Text(EditDM1), n) || n < 1 || n == Ant.DM1) return;
    Ant.DM1 = n;
    if (Ant.WireCount > 0) Ant.Changed = Ant.Edited = 1;
}

void TMainWnd::EditDM2Change() {
    int n = 0;
    if (fieldsLocked_ || !ParsePlainInt(Text(EditDM2), n) || n < 1 || n == Ant.DM2) return;
    Ant.DM2 = n;
    if (Ant.WireCount > 0) Ant.Changed = Ant.Edited = 1;
}

void TMainWnd::EditECChange() {
    int n = 0;
    // A count below 1 waits in the field; Start refuses it with a message.
    if (fieldsLocked_ || !ParsePlainInt(Text(EditEC), n) || n < 1 || n == Ant.EC) return;
    Ant.EC = n;
    if (Ant.WireCount > 0) Ant.Changed = Ant.Edited = 1;
}

void TMainWnd::EditSCChange() {
    double v = 0;
    // Out-of-range factors wait in the field; Start refuses them with a message.
    if (fieldsLocked_ || !FieldNumber(EditSC, v) || !(v > 1.0 && v <= 3.0) || v == Ant.SC) return;
    Ant.SC = v;
    if (Ant.WireCount > 0) Ant.Changed = Ant.Edited = 1;
}

void TMainWnd::EnbLoadClick() {
    const int use = EnbLoad->isChecked() ? 1 : 0;
    if (use != Ant.UseLoads && Ant.WireCount > 0 && Ant.LoadCount > 0) Ant.Changed = Ant.Edited = 1;
    Ant.UseLoads = use;
    UpdateMenuState();
}

void TMainWnd::ApplyGroundControls() {
    const int type = std::clamp(CalcSel->ItemIndex(), 0, 2);
    AntHeight->setEnabled(type != GroundFree);
    Label11->setEnabled(type != GroundFree);
    GndSetBtn->setVisible(type == GroundReal);
    EnvDef.Type = type;
}

void TMainWnd::DoFreqChange(QObject* sender) {
    if (fieldsLocked_) return;
    Ant.Edited = 1;
    ApplyGroundControls();
    if (sender == AntHeight) {
        double h = 0;
        if (!FieldNumber(AntHeight, h)) {
            EnvDef.AntHeight = 0;
            return;
        }
        EnvDef.AntHeight = h;
    }
    if (sender == MaterialSel) {
        EnvDef.Material = std::max(0, MaterialSel->currentIndex());
        // A user material without values has no loss to compute: ask for them.
        if (EnvDef.Material != 0 && MaterialText(EnvDef.Material).empty()) EditUserMaterial();
    }
    PrepareCalcAnt();
}

void TMainWnd::ChkRmdClick() {
    JobDef.InWavelengths = ChkRmd->isChecked() ? 1 : 0;
    UpdateMenuState();
    Grid2->Invalidate();
}
