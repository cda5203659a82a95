#include "views/BwDispDlg.h"
#include "platform/CommandGuard.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableWidget>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <utility>

#include "platform/FormWidgets.h"
#include "platform/FreqPresets.h"
#include "platform/SettingsPath.h"
#include "model/EnvDef.h"
#include "model/Impedance.h"
#include "model/NumberText.h"
#include "model/ResultStore.h"
#include "model/ScopedValue.h"
#include "draw/PolarPlot.h"
#include "platform/ColourChoice.h"
#include "platform/IniFile.h"
#include "platform/FormPattern.h"
#include "platform/KeyFilter.h"
#include "platform/Prompter.h"
#include "platform/UpDownButton.h"
#include "platform/WaitCursor.h"
#include "platform/WindowBox.h"

namespace {

// The dialog keeps only where it stood, not its size.
const WindowBoxKeys CornerKeys{"Left", "Top", nullptr, nullptr};

constexpr double SwrDrawCap = 10000.0;
const uint32_t DefaultColours[SweepMainPoints] = {0, 255, 16711680, 32896, 16711935};

QString Q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

TBwDispDlg::TBwDispDlg(QWidget* owner, SweepHost host) : QDialog(owner), Session(std::move(host)) {
    setObjectName("BwDispDlg");
    setWindowTitle("Plots");
    resize(760, 560);
    TryBtn = PlaceButton(this, "TryBtn", "Speculation", 8, 8, 96);
    MeasBtn = PlaceButton(this, "MeasBtn", "All points", 108, 8, 96);
    HalfBtn = PlaceButton(this, "HalfBtn", "Detailed", 208, 8, 96);
    GetFoBtn = PlaceButton(this, "GetFoBtn", "Resonance", 308, 8, 96);
    PrintBtn = PlaceButton(this, "PrintBtn", "Print", 408, 8, 96);
    auto* l1 = new QLabel("BW", this);
    l1->setObjectName("Label1");
    l1->setGeometry(520, 12, 30, 20);
    BwSel = PlaceNumberCombo(this, "BwSel",
                             {"50", "100", "200", "300", "350", "400", "450", "800", "1000", "2000", "2700", "4000",
                              "8000", "10000", "20000", "40000", "80000"},
                             550, 10);
    auto* l2 = new QLabel("KHz", this);
    l2->setObjectName("Label2");
    l2->setGeometry(655, 12, 40, 20);

    Page = new QTabWidget(this);
    Page->setObjectName("Page");
    Page->setGeometry(8, 44, 744, 508);
    PBoxZ = new PaintBox(nullptr, [this](QWidget* w) { PaintZ(w); });
    PBoxZ->setObjectName("PBoxZ");
    PBoxS = new PaintBox(nullptr, [this](QWidget* w) { PaintSwr(w); });
    PBoxS->setObjectName("PBoxS");
    PBoxG = new PaintBox(nullptr, [this](QWidget* w) { PaintGain(w); });
    PBoxG->setObjectName("PBoxG");
    Page->addTab(PBoxZ, "Z");
    Page->addTab(PBoxS, "SWR");
    Page->addTab(PBoxG, "Gain/FB");

    auto* tabPtn = new QWidget;
    tabPtn->setObjectName("TabPtn");
    PBPtn = Place(new PaintBox(tabPtn, [this](QWidget* w) { PaintPatterns(w); }), "PBPtn", 0, 0, 736, 300);
    auto* rg = PlaceGroup(tabPtn, "RGPtn", "Field(s)", 8, 306, 120, 160);
    const char* fields[4] = {"V", "H", "Total", "V+H"};
    for (int i = 0; i < 4; ++i) {
        RGPtn[i] = new QRadioButton(fields[i], rg);
        RGPtn[i]->setGeometry(10, 22 + 30 * i, 100, 24);
        ConnectGuarded(RGPtn[i], &QRadioButton::clicked, PBPtn, [this] { PBPtn->update(); });
    }
    Grid = new QTableWidget(SweepMainPoints, 6, tabPtn);
    Grid->setObjectName("Grid");
    Grid->setGeometry(140, 306, 500, 166);
    Grid->setHorizontalHeaderLabels({"Freq", "R", "jX", "Ga", "F/B", "ON"});
    Grid->verticalHeader()->setVisible(false);
    Grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    Grid->setSelectionMode(QAbstractItemView::SingleSelection);
    ConnectGuarded(Grid, &QTableWidget::cellClicked, this, [this](int r, int c) { GridClick(r, c); });
    ColorBtn = new QPushButton("Colors", tabPtn);
    ColorBtn->setObjectName("ColorBtn");
    ColorBtn->setGeometry(650, 306, 80, 28);
    Page->addTab(tabPtn, "Far fields");

    auto* tabSet = new QWidget;
    tabSet->setObjectName("TabSet");
    auto* g1 = PlaceGroup(tabSet, "GroupBox1", "Midle Frequency", 10, 10, 200, 70);
    QStringList presets;
    for (const char* p : FreqPresets) presets << p;
    EditCenter = PlaceNumberCombo(g1, "EditCenter", presets, 10, 30);
    UDFreq = new UpDownButton(g1);
    UDFreq->setObjectName("UDFreq");
    UDFreq->setGeometry(112, 30, 18, 24);
    auto* l3 = new QLabel("MHz", g1);
    l3->setObjectName("Label3");
    l3->setGeometry(136, 32, 50, 20);
    auto* g4 = PlaceGroup(tabSet, "GroupBox4", "Limit of SWR", 10, 90, 200, 70);
    LimitSWR = PlaceNumberCombo(g4, "LimitSWR", {"100", "30", "10", "5.0", "3.0", "2.0", "1.5"}, 10, 30);
    AutoSWRCb = new QCheckBox("Auto", g4);
    AutoSWRCb->setObjectName("AutoSWRCb");
    AutoSWRCb->setGeometry(120, 30, 70, 24);
    auto* g5 = PlaceGroup(tabSet, "GroupBox5", "Number of added dots", 10, 170, 200, 70);
    HalfAddCnt = PlaceNumberCombo(g5, "HalfAddCnt", {"1", "2", "3", "4"}, 10, 30);
    auto* g2 = PlaceGroup(tabSet, "GroupBox2", "Match options", 230, 10, 300, 236);
    auto* sel = PlaceGroup(g2, "SelMatch", "Match unit on the plot", 10, 22, 280, 110);
    const char* modes[3] = {"OFF", "SWR - on", "Z, SWR - on"};
    auto* selGroup = new QButtonGroup(this);
    for (int i = 0; i < 3; ++i) {
        SelMatch[i] = new QRadioButton(modes[i], sel);
        SelMatch[i]->setGeometry(10, 22 + 28 * i, 200, 24);
        selGroup->addButton(SelMatch[i], i);
    }
    auto* g3 = PlaceGroup(g2, "GroupBox3", "Match frequency", 10, 136, 280, 90);
    MatchCenter = new QCheckBox("Match freq = central freq", g3);
    MatchCenter->setObjectName("MatchCenter");
    MatchCenter->setGeometry(10, 22, 260, 24);
    MatchCenter->setChecked(true);
    MatchFreq = PlaceNumberCombo(g3, "MatchFreq", presets, 10, 54);
    UDMatch = new UpDownButton(g3);
    UDMatch->setObjectName("UDMatch");
    UDMatch->setGeometry(112, 54, 18, 24);
    Page->addTab(tabSet, "Setup");

    // The tab control's popup: the match mode of the plots.
    PopupMenu = new QMenu(this);
    PopupMenu->setObjectName("PopupMenu");
    KM = PopupMenu->addMenu("Match on the plots");
    KM->setObjectName("KM");
    QAction** items[3] = {&KMOFF, &KMSWR, &KMZSWR};
    const char* itemNames[3] = {"KMOFF", "KMSWR", "KMZSWR"};
    const char* itemTexts[3] = {"OFF", "SWR - On", "Z, SWR - On"};
    for (int i = 0; i < 3; ++i) {
        *items[i] = KM->addAction(itemTexts[i]);
        (*items[i])->setObjectName(itemNames[i]);
        (*items[i])->setCheckable(true);
        ConnectGuarded(*items[i], &QAction::triggered, this, [this, i] { SetMatchMode(i); });
    }
    KMOFF->setChecked(true);
    Page->setContextMenuPolicy(Qt::CustomContextMenu);
    ConnectGuarded(Page, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
        PopupMenuPopup();
        PopupMenu->popup(Page->mapToGlobal(at));
    });

    ResonanceQuestion = "Write current frequency to the \r\n\r\ntable F/SWR/Gain/Z?";
    ApplyFormPattern(this, owner ? owner->font().family() : font().family(), ScreenScale());
    // The table's heads in the form's font, its columns across its width.
    Grid->horizontalHeader()->setFont(Grid->font());
    Grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    ChangeLanguage();

    ConnectGuarded(TryBtn, &QPushButton::clicked, this, [this] { TryBtnClick(); });
    ConnectGuarded(MeasBtn, &QPushButton::clicked, this, [this] { MeasBtnClick(); });
    ConnectGuarded(HalfBtn, &QPushButton::clicked, this, [this] { HalfBtnClick(); });
    ConnectGuarded(GetFoBtn, &QPushButton::clicked, this, [this] { GetFoBtnClick(); });
    ConnectGuarded(BwSel, &QComboBox::activated, this, [this] { BwSelChange(); });
    // A width is taken when its entry is finished, by Return or by leaving
    // the box, whether it is in the list or not.
    ConnectGuarded(BwSel->lineEdit(), &QLineEdit::editingFinished, this, [this] { BwSelChange(); });
    ConnectGuarded(HalfAddCnt, &QComboBox::activated, this, [this] { HalfAddCntChange(); });
    ConnectGuarded(Page, &QTabWidget::currentChanged, this, [this] { PageChange(); });
    ConnectGuarded(LimitSWR, &QComboBox::activated, this, [this] { LimitSWRChange(); });
    // The rule turns 1 or less into "ln": applied at each key, it would catch
    // the "1" of a "10" being typed.
    ConnectGuarded(LimitSWR->lineEdit(), &QLineEdit::editingFinished, this, [this] { LimitSWRChange(); });
    ConnectGuarded(AutoSWRCb, &QCheckBox::clicked, this, [this] { LimitSWR->setEnabled(!AutoSWRCb->isChecked()); });
    ConnectGuarded(selGroup, &QButtonGroup::idClicked, this, [this] { SelMatchClick(); });
    ConnectGuarded(MatchCenter, &QCheckBox::clicked, this, [this] { UpdateControls(false); });
    ConnectGuarded(ColorBtn, &QPushButton::clicked, this, [this] { ColorBtnClick(); });
    ConnectGuarded(PrintBtn, &QPushButton::clicked, this, [this] { PrintBtnClick(); });
    ConnectGuarded(UDFreq, &UpDownButton::Pressed, this, [this](int direction) { UDFreqClick(direction); });
    ConnectGuarded(UDMatch, &UpDownButton::Pressed, this, [this](int direction) { UDMatchClick(direction); });
}

TBwDispDlg::~TBwDispDlg() = default;

bool TBwDispDlg::OffSetup() const { return Page->currentIndex() != 4; }

void TBwDispDlg::SyncMatchSettings() {
    Session.MatchAtCentre = MatchCenter->isChecked();
    double f = 0;
    StrToDblExpr(f, MatchFreq->currentText().toStdString());  // an invalid text counts as what it parses to
    Session.MatchFreq = f;
}

void TBwDispDlg::Open(uint32_t* palette) {
    palette_ = palette;
    initialised_ = false;
    const SweepTable& t = Results.Sweep;
    SelMatch[std::clamp(JobDef.MatchMode, 0, 2)]->setChecked(true);
    shownCentre_ = Q(DblToStr(RoundTo(t.F0, 4)));
    EditCenter->setEditText(shownCentre_);
    MatchFreq->setEditText(Q(DblToStr(RoundTo(t.Match.F, 4))));
    MatchCenter->setChecked(t.MatchAtCentre != 0);
    HalfAddCnt->setEditText(QString::number(t.DotsPerGap));
    ReadSettings();
    SyncMatchSettings();
    Session.Open();
    UpdateControls(true);
    initialised_ = true;
}

int TBwDispDlg::Finish() {
    SyncMatchSettings();
    WriteSettings();
    return Session.Close() ? 1 : 0;
}

int TBwDispDlg::Execute(uint32_t* palette) {
    Open(palette);
    ShowModal(*this);
    return Finish();
}

void TBwDispDlg::done(int result) {
    // No close while a run is under way: the runs do not pump, so this only
    // guards re-entry from a nested event loop.
    if (JobDef.Busy) return;
    // While the form still shows its box.
    SaveWindowBox(*this, "PositionBW", CornerKeys);
    QDialog::done(result);
}

void TBwDispDlg::ReadSettings() {
    IniFile ini(SettingsFilePath());
    HalfAddCnt->setEditText(Q(ini.ReadString("Position", "Punkts", "1")));
    LimitSWR->setEditText(Q(ini.ReadString("Position", "SweLim", "30")));
    LimitSWRChange();
    RestoreWindowBox(*this, ini, "PositionBW", QRect(QPoint(0, 0), size()), CornerKeys, QSize(0, 0));
    AutoSWRCb->setChecked(ini.ReadInteger("BWAutoSWR", "Checked", 0) != 0);
    LimitSWR->setEnabled(!AutoSWRCb->isChecked());
    if (palette_)
        for (int k = 0; k < SweepMainPoints; ++k)
            palette_[k] = static_cast<uint32_t>(
                ini.ReadInteger("BWColor", std::to_string(k), static_cast<int>(DefaultColours[k])));
    RGPtn[2]->setChecked(true);
}

void TBwDispDlg::WriteSettings() {
    IniFile ini(SettingsFilePath());
    ini.WriteString("Position", "Punkts", HalfAddCnt->currentText().toStdString());
    ini.WriteString("Position", "SweLim", LimitSWR->currentText().toStdString());
    ini.WriteInteger("BWAutoSWR", "Checked", AutoSWRCb->isChecked() ? 1 : 0);
    if (palette_)
        for (int k = 0; k < SweepMainPoints; ++k)
            ini.WriteInteger("BWColor", std::to_string(k), static_cast<int>(palette_[k]));
    ini.UpdateFile();
}

void TBwDispDlg::TakeTypedWidth() {
    // The box reads itself only when its entry is finished; a command given
    // without leaving it (a click on a tab, which takes no focus) would
    // otherwise run on the stored width and write it back into the box.
    BwSelChange();
}

void TBwDispDlg::TryBtnClick() {
    TakeTypedWidth();
    SyncMatchSettings();
    Session.Speculate();
    UpdateControls(true);
}

void TBwDispDlg::MeasBtnClick() {
    WaitCursor wait;
    TakeTypedWidth();
    SyncMatchSettings();
    Session.AllPoints();
    UpdateControls(true);
}

void TBwDispDlg::HalfBtnClick() {
    WaitCursor wait;
    TakeTypedWidth();
    SyncMatchSettings();
    int n = 0;
    if (StrToIntExpr(n, HalfAddCnt->currentText().toStdString()) && (n < 1 || n > SweepMaxDots))
        HalfAddCnt->setEditText(QString::number(Results.Sweep.DotsPerGap));
    Session.Detailed(n);
    UpdateControls(true);
}

void TBwDispDlg::GetFoBtnClick() {
    if (YesNoBox("%s", ResonanceQuestion.toStdString().c_str()) != 6) return;
    WaitCursor wait;
    TakeTypedWidth();
    SyncMatchSettings();
    std::string width = BwSel->currentText().toStdString();
    Session.ResonanceSearch(width);
    BwSel->setEditText(Q(width));
    shownCentre_ = Q(DblToStr(Results.Sweep.F0));
    EditCenter->setEditText(shownCentre_);
    UpdateControls(true);
}

void TBwDispDlg::BwSelChange() {
    if (!initialised_) return;
    SyncMatchSettings();
    if (Session.SetWidth(BwSel->currentText().toStdString())) UpdateControls(true);
}

void TBwDispDlg::HalfAddCntChange() {
    TakeTypedWidth();
    int n = 0;
    if (!StrToIntExpr(n, HalfAddCnt->currentText().toStdString()) || n == Results.Sweep.DotsPerGap) return;
    if (n < 1 || n > SweepMaxDots) {
        HalfAddCnt->setEditText(QString::number(Results.Sweep.DotsPerGap));
        return;
    }
    SyncMatchSettings();
    Session.SetDots(n);
    UpdateControls(true);
}

void TBwDispDlg::PageChange() {
    if (!initialised_) return;
    TakeTypedWidth();
    SyncMatchSettings();
    // Only a centre the user typed or stepped to lays the points out anew:
    // the rounded text the dialog wrote would move them off their computed
    // frequencies and lose the dots.
    double centre = 0;
    const QString text = EditCenter->currentText();
    if (text != shownCentre_ && StrToDblExpr(centre, text.toStdString())) {
        Session.SetCentre(centre, BwSel->currentText().toStdString());
        shownCentre_ = text;
    } else {
        Session.CalcMatchPoint();
    }
    UpdateControls(true);
}

void TBwDispDlg::LimitSWRChange() {
    SwrLimit = -1;
    double v = 0;
    StrToDblExpr(v, LimitSWR->currentText().toStdString());
    if (v <= 1) {
        // An axis without a cap follows the data.
        QSignalBlocker block(LimitSWR);
        LimitSWR->setEditText("ln");
    } else {
        SwrLimit = v;
    }
    PBoxS->update();
}

void TBwDispDlg::SelMatchClick() {
    if (!initialised_) return;
    TakeTypedWidth();
    for (int i = 0; i < 3; ++i)
        if (SelMatch[i]->isChecked()) JobDef.MatchMode = i;
    UpdateControls(true);
}

void TBwDispDlg::GridClick(int row, int col) {
    if (row < 0 || row >= SweepMainPoints) return;
    SweepTable& t = Results.Sweep;
    if (t.Points[row].State != SweepComputed) return;
    if (col == 5) {
        t.Points[row].Shown = t.Points[row].Shown ? 0 : 1;
    } else {
        for (int k = 0; k < SweepMainPoints; ++k) t.Points[k].Shown = (k == row) ? 1 : 0;
    }
    UpdateControls(false);
}

namespace {

// The next frequency of an up-down: 14.05 for a text that does not read, and
// never below 1 MHz.
double UpDownFrequency(const QString& text, int direction) {
    double f = 14.05;
    if (!StrToDblExpr(f, text.toStdString())) f = 14.05;
    f = std::max(f, 1.0);
    f += direction * NiceStep(0.001 * f);
    return std::max(f, 1.0);
}

}  // namespace

void TBwDispDlg::UDFreqClick(int direction) {
    // The new centre takes effect at the next change of tab.
    char text[64];
    std::snprintf(text, sizeof text, "%.3f", UpDownFrequency(EditCenter->currentText(), direction));
    EditCenter->setEditText(text);
}

void TBwDispDlg::UDMatchClick(int direction) {
    if (!MatchFreq->isEnabled()) return;
    MatchFreq->setEditText(Q(DblToStr(UpDownFrequency(MatchFreq->currentText(), direction))));
}

void TBwDispDlg::PopupMenuPopup() {
    KMOFF->setChecked(JobDef.MatchMode == 0);
    KMSWR->setChecked(JobDef.MatchMode == 1);
    KMZSWR->setChecked(JobDef.MatchMode == 2);
}

void TBwDispDlg::SetMatchMode(int mode) {
    JobDef.MatchMode = std::clamp(mode, 0, 2);
    const bool keep = initialised_;
    initialised_ = false;
    SelMatch[JobDef.MatchMode]->setChecked(true);
    SyncMatchSettings();
    Session.CalcMatchPoint();
    initialised_ = keep;
    UpdateControls(false);
}

void TBwDispDlg::ColorBtnClick() {
    const int row = Grid->currentRow();
    if (!palette_ || row < 0 || row >= SweepMainPoints) return;
    const QColor chosen = ChooseColour(this, ToQColor(palette_[row]));
    if (!chosen.isValid()) return;
    palette_[row] = FromQColor(chosen);
    UpdateControls(false);
}

void TBwDispDlg::UpdateControls(bool showWidth) {
    bool keep = initialised_;
    initialised_ = false;
    const SweepTable& s = Session.Sweep;
    if (showWidth) BwSel->setEditText(QString::number(static_cast<unsigned>(Results.Sweep.BW * 1000 + 0.5)));
    bool off = OffSetup();
    TryBtn->setEnabled(off && s.Count != SweepMainPoints);
    MeasBtn->setEnabled(off && Results.Sweep.Count != SweepMainPoints);
    GetFoBtn->setEnabled(off && !(s.Count >= 2 && std::fabs(Session.Fit.F0 - Results.Sweep.F0) < 0.001 * Results.Sweep.F0));
    HalfBtn->setEnabled(off && s.DotsComplete == 0);
    PrintBtn->setEnabled(off);
    bool matching = !SelMatch[0]->isChecked();
    MatchCenter->setEnabled(matching);
    // The up-down writes into the field, so it is off whenever the field is.
    const bool matchFreq = matching && !MatchCenter->isChecked();
    MatchFreq->setEnabled(matchFreq);
    UDMatch->setEnabled(matchFreq);
    FillGrid();
    for (QWidget* w : {PBoxZ, PBoxS, PBoxG, PBPtn}) w->update();
    initialised_ = keep;
}

void TBwDispDlg::AddCurve(CGraph& chart, const std::function<double(const SweepDot&)>& value) {
    chart.Clear();
    const SweepTable& s = Session.Sweep;
    for (int k = 0; k < SweepMainPoints; ++k) {
        chart.AddPoint(s.Points[k].F, value(s.Points[k]), s.Points[k].State);
        if (s.DotsComplete && k < SweepGaps)
            for (int j = 0; j < s.DotsPerGap && j < SweepMaxDots; ++j)
                chart.AddPoint(s.Dots[k][j].F, value(s.Dots[k][j]), s.Dots[k][j].State);
    }
}

void TBwDispDlg::PaintZ(QWidget* box) {
    Canvas c(box);
    graphZ_.SetArea(c);
    graphZ_.FillBack(c);
    DrawZ(graphZ_, false);
}

void TBwDispDlg::PaintSwr(QWidget* box) {
    Canvas c(box);
    graphSwr_.SetArea(c);
    graphSwr_.FillBack(c);
    DrawSwr(graphSwr_, false);
}

void TBwDispDlg::PaintGain(QWidget* box) {
    Canvas c(box);
    graphGain_.SetArea(c);
    graphGain_.FillBack(c);
    DrawGain(graphGain_);
}

void TBwDispDlg::DrawZ(CGraph& g, bool printed) {
    bool fitted = Session.Sweep.Count == SweepMainPoints;
    auto matched = [this](const SweepDot& p, bool real) {
        double r = p.R, x = p.X;
        Session.MatchedZ(r, x, p.F);
        return real ? r : x;
    };
    AddCurve(g, [&](const SweepDot& p) { return matched(p, true); });
    g.DrawAxes();
    g.AutoScale(0.0);
    g.DrawValueLabels(false);
    g.DrawLegendLine(0, "R", ClBlue);
    g.DrawLegendLine(1, printed ? "jX" : "jx", ClRed);
    if (!fitted) return;
    g.DrawFreqLabels();
    g.DrawPoints(ClBlue, printed ? 2 : 1);
    if (printed)
        g.DrawFoLabel(Session.Fit.F0);
    else
        g.DrawFoLabel2(Session.Fit.F0);
    if (JobDef.MatchMode == 2) g.DrawTitle("Match freq.: " + DblToStr(Session.MatchPoint.F));
    AddCurve(g, [&](const SweepDot& p) { return matched(p, false); });
    g.AutoScale(CGraph::NoFloor);
    g.CentreZero();
    g.DrawValueLabels(true);
    g.DrawPoints(ClRed, 1);
}

void TBwDispDlg::DrawSwr(CGraph& g, bool printed) {
    const SweepTable& s = Session.Sweep;
    double top = 0;
    auto swr = [&](const SweepDot& p) {
        double v = std::min(Session.MatchedSwr(p.R, p.X, p.F), SwrDrawCap);
        top = std::max(top, v);
        return v;
    };
    for (int k = 0; k < SweepMainPoints; ++k) {
        SwrAt[k] = Session.MatchedSwr(s.Points[k].R, s.Points[k].X, s.Points[k].F);
        SwrFreq[k] = s.Points[k].F;
    }
    AddCurve(g, swr);
    if (AutoSWRCb->isChecked() && SwrLimit < top) SwrLimit = 10 * RoundAwayTo(0.1 * top, 0);
    g.SetAxisCap(SwrLimit);
    g.DrawAxes();
    g.AutoScale(1.0);
    g.DrawSwrValueLabels(false);
    g.DrawLegendLine(0, "SWR", ClBlue);
    if (s.Count != SweepMainPoints) return;
    g.DrawFreqLabels();
    g.DrawPoints(ClBlue, 1);
    if (JobDef.MatchMode == 0)
        g.DrawTitle((printed ? "SWR Z0: " : "SWR on Z: ") + CplxToStr1(EnvDef.Z0R, EnvDef.Z0X));
    else
        g.DrawTitle("Match freq.: " + DblToStr(Session.MatchPoint.F));
    int m = FindMinSwrPoint(SwrAt);
    if (m >= 0) {
        const char* format = printed ? "BW%.1f KHz(SWR<%.1f)" : "Bw %.1f kHz (SWR < %.1f)";
        char line[64];
        // Text lines under the legend, inside the plot area.
        std::snprintf(line, sizeof line, format, BandwidthAtSwr(SwrAt, SwrFreq, m, 1.5), 1.5);
        g.DrawLegendLine(1, line);
        std::snprintf(line, sizeof line, format, BandwidthAtSwr(SwrAt, SwrFreq, m, 2.0), 2.0);
        g.DrawLegendLine(2, line);
    }
}

void TBwDispDlg::DrawGain(CGraph& g) {
    bool fitted = Session.Sweep.Count == SweepMainPoints;
    AddCurve(g, [](const SweepDot& p) { return p.Ga; });
    g.DrawAxes();
    g.AutoScale(CGraph::NoFloor);
    g.DrawValueLabels(false);
    g.DrawLegendLine(0, "GA", ClBlue);
    g.DrawLegendLine(1, "FB", ClRed);
    if (!fitted) return;
    g.DrawFreqLabels();
    g.DrawPoints(ClBlue, 1);
    AddCurve(g, [](const SweepDot& p) { return p.FB; });
    g.AutoScale(CGraph::NoFloor);
    g.DrawValueLabels(true);
    g.DrawPoints(ClRed, 1);
}

int TBwDispDlg::PatternField() const {
    for (int i = 0; i < 4; ++i)
        if (RGPtn[i]->isChecked()) return i;
    return 2;
}

void TBwDispDlg::PaintPatterns(QWidget* box) {
    Canvas c(box);
    int w = c.Width(), h = c.Height();
    // A thirty-second of the box, but never larger than the form's own text.
    c.SetFontPixelHeight(std::clamp(h / 32, 6, std::max(6, QFontInfo(font()).pixelSize())));
    int r = FittedPlotRadius(c, std::min(w / 4, h / 2) - 20, w / 4, h / 2);
    if (r <= 0) return;
    DrawPolarPattern(c, w / 4, h / 2, w - w / 4, r);
    const SweepTable& t = Results.Sweep;
    double gmax = -DBL_MAX;
    for (const SweepPoint& p : t.Points)
        if (p.State == SweepComputed) gmax = std::max(gmax, p.Ga);
    if (gmax == -DBL_MAX) return;
    // The sweep's largest gain is the 0 dB ring of these curves only; the
    // main window's plots keep the level of the result they show.
    const ScopedValue<double> level(PatternMaxGain, gmax);
    int field = PatternField();
    float az[SweepAzSamples], el[SweepElSamples];
    for (int k = 0; k < SweepMainPoints; ++k) {
        const SweepPoint& p = t.Points[k];
        if (p.State != SweepComputed || !p.Shown) continue;
        WinColor colour = palette_ ? palette_[k] : DefaultColours[k];
        // "V+H" draws the V curves, then the H curves.
        const int fields[2] = {field == 3 ? 0 : field, 1};
        for (int n = 0; n < (field == 3 ? 2 : 1); ++n) {
            const int f = fields[n];
            for (int i = 0; i < SweepAzSamples; ++i) az[i] = p.AzGain[f][i] / 256.0f;
            for (int i = 0; i < SweepElSamples; ++i) el[i] = p.ElGain[f][i] / 256.0f;
            DrawPolarGrid(az, 2, c, w / 4, h / 2, r, colour);
            DrawPolarGridElev(el, 2, c, w - w / 4, h / 2, r, colour);
        }
    }
    c.SetFontColor(ClBlack);
    c.TextOut(8, h - c.FontPixelHeight() - 4, Q(DblToStr1(gmax) + "(dBi) = 0dB"));
}

void TBwDispDlg::FillGrid() {
    const SweepTable& t = Results.Sweep;
    for (int k = 0; k < SweepMainPoints; ++k) {
        const SweepPoint& p = t.Points[k];
        bool known = p.State != SweepNotComputed;
        QString cells[6] = {Q(DblToStr3(p.F)), known ? Q(DblToStr1(p.R)) : QString(),
                            known ? Q(DblToStr1(p.X)) : QString(), known ? Q(DblToStr1(p.Ga)) : QString(),
                            known ? Q(DblToStr1(p.FB)) : QString(), p.Shown == 1 ? "On" : "Off"};
        QColor colour = ToQColor(palette_ ? palette_[k] : DefaultColours[k]);
        for (int c = 0; c < 6; ++c) {
            auto* item = new QTableWidgetItem(cells[c]);
            item->setForeground(colour);
            Grid->setItem(k, c, item);
        }
    }
}
