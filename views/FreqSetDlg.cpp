#include "views/FreqSetDlg.h"
#include "platform/CommandGuard.h"

#include <cmath>

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "model/AntDef.h"
#include "model/EnvDef.h"
#include "model/FreqTableRange.h"
#include "model/NumberText.h"
#include "model/ResultStore.h"
#include "model/SafeFile.h"
#include "platform/FormPattern.h"
#include "platform/FormWidgets.h"
#include "platform/KeyFilter.h"
#include "platform/Prompter.h"
#include "platform/WaitCursor.h"
#include "views/FreqTable.h"

namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }
std::string S(const QLineEdit* e) { return e->text().toStdString(); }

}  // namespace

TFreqSetDlg::TFreqSetDlg(QWidget* owner, SweepHost host, std::string defaultName)
    : QDialog(owner), host_(std::move(host)), defaultName_(std::move(defaultName)) {
    setObjectName("FreqSetDlg");
    setWindowTitle("Set of parameter a table Freq/SWR/Gain/Z");
    setFixedSize(420, 300);
    auto* g1 = new QGroupBox("Frequency set", this);
    g1->setObjectName("GroupBox1");
    g1->setGeometry(10, 10, 400, 120);
    PlaceLabel(g1, "Label1", "Fmin", 10, 22, 90);
    PlaceLabel(g1, "Label3", "Fmax", 110, 22, 90);
    PlaceLabel(g1, "Label2", "Step", 210, 22, 90);
    BgnFreq = PlaceNumberEdit(g1, "BgnFreq", 10, 46, 90);
    EndFreq = PlaceNumberEdit(g1, "EndFreq", 110, 46, 90);
    FreqIntval = PlaceNumberEdit(g1, "FreqIntval", 210, 46, 90);
    PlaceLabel(g1, "Label4", "MHz", 10, 72, 40);
    PlaceLabel(g1, "Label5", "MHz", 110, 72, 40);
    PlaceLabel(g1, "Label9", "KHz", 210, 72, 40);
    PlaceLabel(g1, "Label6", "Number of steps", 10, 94, 150);
    LCount = PlaceLabel(g1, "LCount", "", 170, 94, 220);
    LCount->setAutoFillBackground(true);

    auto* g2 = new QGroupBox("Match options", this);
    g2->setObjectName("GroupBox2");
    g2->setGeometry(10, 136, 400, 116);
    const char* items[3] = {"not match", "match freq = midle freq", "set match freq."};
    auto* group = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        MatchSel[i] = new QRadioButton(items[i], g2);
        MatchSel[i]->setObjectName(QString("MatchSel%1").arg(i));
        MatchSel[i]->setGeometry(10, 22 + 28 * i, 200, 24);
        group->addButton(MatchSel[i], i);
    }
    Label7 = PlaceLabel(g2, "Label7", "Match freq.", 220, 50, 90);
    MatchFreq = PlaceNumberEdit(g2, "MatchFreq", 220, 76, 90);
    Label8 = PlaceLabel(g2, "Label8", "MHz", 315, 76, 40);

    OKBtn = new QPushButton("OK", this);
    OKBtn->setObjectName("OKBtn");
    OKBtn->setGeometry(220, 262, 90, 28);
    CancelBtn = new QPushButton("Cancel", this);
    CancelBtn->setObjectName("CancelBtn");
    CancelBtn->setGeometry(320, 262, 90, 28);

    for (QLineEdit* e : {BgnFreq, EndFreq, FreqIntval})
        ConnectGuarded(e, &QLineEdit::textChanged, this, [this] {
            CheckRange();
            UpdateControls();
        });
    ConnectGuarded(group, &QButtonGroup::idClicked, this, [this] { UpdateControls(); });
    ConnectGuarded(OKBtn, &QPushButton::clicked, this, [this] {
        if (SaveTable()) accept();
    });
    ConnectGuarded(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    ApplyFormPattern(this, owner ? owner->font().family() : font().family(), ScreenScale());
    ChangeLanguage();
}

void TFreqSetDlg::ChangeLanguage() {
    const auto lines = FormLanguageLines("FreqSetDlg", 11);
    if (lines.size() < 11) return;
    auto text = [&](int i) { return QString::fromStdString(lines[static_cast<std::size_t>(i)]); };
    setWindowTitle(text(0));
    OKBtn->setText(text(1));
    CancelBtn->setText(text(2));
    const char* names[5] = {"GroupBox1", "Label2", "Label9", "GroupBox2", "Label6"};
    for (int i = 0; i < 5; ++i) {
        QWidget* w = findChild<QWidget*>(names[i]);
        if (auto* g = qobject_cast<QGroupBox*>(w)) g->setTitle(text(3 + i));
        if (auto* l = qobject_cast<QLabel*>(w)) l->setText(text(3 + i));
    }
    for (int i = 0; i < 3; ++i) MatchSel[i]->setText(text(8 + i));
}

void TFreqSetDlg::Load() {
    const SweepTable& t = Results.Sweep;
    BgnFreq->setText(Q(DblToStr(t.Points[0].F)));
    EndFreq->setText(Q(DblToStr(t.Points[4].F)));
    MatchFreq->setText(Q(DblToStr(t.F0)));
    FreqIntval->setText(Q(DblToStr(t.Step * 500)));
    int choice = JobDef.MatchMode == 0 ? 0 : (t.MatchAtCentre ? 1 : 2);
    MatchSel[choice]->setChecked(true);
    CheckRange();
    UpdateControls();
}

int TFreqSetDlg::MatchChoice() const {
    for (int i = 0; i < 3; ++i)
        if (MatchSel[i]->isChecked()) return i;
    return 0;
}

void TFreqSetDlg::CheckRange() {
    FreqTableRange range;
    const FreqRangeStatus status = ReadFreqTableRange(S(BgnFreq), S(EndFreq), S(FreqIntval), range);
    RangeValid = status == FreqRangeStatus::Ok;
    QPalette pal = palette();
    if (RangeValid) {
        LCount->setText(QString::number(range.Count));
    } else {
        LCount->setText(QString::fromStdString(FreqRangeMessage(status)));
        pal.setColor(QPalette::Window, Qt::red);
        pal.setColor(QPalette::WindowText, Qt::white);
    }
    LCount->setPalette(pal);
}

void TFreqSetDlg::UpdateControls() {
    OKBtn->setEnabled(RangeValid);
    bool own = MatchChoice() == 2;
    for (QWidget* w : {static_cast<QWidget*>(MatchFreq), static_cast<QWidget*>(Label7), static_cast<QWidget*>(Label8)})
        w->setEnabled(own);
}

bool TFreqSetDlg::SaveTable() {
    FileDialogRequest request;
    request.caption = "Save table F/SWR/Gain/Z";
    request.fileName = defaultName_;
    request.filter = "CSV table(*.csv);;All files (*)";
    request.defaultSuffix = "csv";
    std::string name = CurrentPrompter().SaveFileName(request);
    if (name.empty()) return false;
    return WriteTable(name);
}

bool TFreqSetDlg::WriteTable(const std::string& fileName) {
    FreqTableRequest request;
    double stepKHz = 0;
    if (!StrToDblExpr(request.Fmin, S(BgnFreq)) || !StrToDblExpr(request.Fmax, S(EndFreq)) ||
        !StrToDblExpr(stepKHz, S(FreqIntval)))
        return false;
    request.Step = stepKHz * 0.001;
    // Refused before the run: rows that would round together or to 0 MHz.
    FreqTableRange range;
    if (MakeFreqTableRange(request.Fmin, request.Fmax, request.Step, range) != FreqRangeStatus::Ok) return false;
    int choice = MatchChoice();
    if (choice == 1) {
        request.MatchFreq = std::round((request.Fmin + request.Fmax) * 0.5 * 1000.0) / 1000.0;
    } else if (choice == 2) {
        if (!StrToDblExpr(request.MatchFreq, S(MatchFreq)) || !(request.MatchFreq > 0)) {
            ErrorBox("%s", "The match frequency must be a number above 0.");
            return false;
        }
        if (const char* refusal = FrequencyRefusal(request.MatchFreq)) {
            ErrorBox("%s", refusal);
            return false;
        }
        request.MatchIntoSweep = true;
    }
    // The run may be long: a file or folder that takes no table is said before it.
    std::string error;
    if (!CanReplaceFile(fileName, &error)) {
        ErrorBox("Can not save file %s\n%s", fileName.c_str(), error.c_str());
        return false;
    }
    double failedAt = 0;
    std::string text;
    {
        // A long table runs without pumping messages, as Start does: the
        // wait cursor says that the program is busy.
        WaitCursor hourglass;
        text = BuildFreqTable(host_, request, &failedAt);
    }
    if (failedAt != 0) {
        ErrorBox("The antenna could not be calculated at %s MHz; the table was not saved.", DblToStr(failedAt).c_str());
        return false;
    }
    if (!WriteFileReplacing(fileName, text, &error)) {
        ErrorBox("Can not save file %s\n%s", fileName.c_str(), error.c_str());
        return false;
    }
    return true;
}

void TFreqSetDlg::StoreMatchChoice() {
    int choice = MatchChoice();
    if (choice == 0) {
        JobDef.MatchMode = 0;
        return;
    }
    if (JobDef.MatchMode == 0) JobDef.MatchMode = 1;
    Results.Sweep.MatchAtCentre = choice == 1 ? 1 : 0;
}

bool TFreqSetDlg::Execute() {
    Load();
    if (ShowModal(*this) != QDialog::Accepted) return false;
    StoreMatchChoice();
    return true;
}
