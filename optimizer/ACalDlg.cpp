// The optimizer dialog's construction, layout, language and modal run.
#include "optimizer/ACalDlg.h"
#include "platform/CommandGuard.h"

#include "model/EnvDef.h"
#include "optimizer/OptimizerState.h"
#include "platform/FormLayout.h"
#include "platform/FormPattern.h"
#include "platform/FormWidgets.h"
#include "platform/StringGrid.h"
#include "platform/WindowBox.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <cmath>

namespace {

constexpr int DesignWidth = 712;
constexpr int DesignHeight = 505;
const char* const SettingsSection = "Optim";
constexpr int ColumnWidths[9] = {36, 64, 62, 86, 86, 70, 70, 70, 132};

const char* const DefaultHeads[9] = {"No.", "Type", "Position", "What", "Associated", "Step(%)", "Min", "Max", "Value"};
const char* const DefaultTypes[8] = {"Wire", "Eleme.", "Load", "Height", "F", "Wire P", "Source", "Stack in."};
const char* const DefaultEleFields[9] = {"Int.", "Y", "Z", "X", "R", "Pos.", "Y (all)", "Z (all)", "X (all)"};
const char* const DefaultPolarFields[9] = {"Len(st)", "Len(end)", "Len(mid)", "Az(st)", "Az(end)",
                                           "Az(mid)", "Zen(st)", "Zen(end)", "Zen(mid)"};
const char* const DefaultStackFields[3] = {"Int Y", "Int X", "Int Z"};
const char* const DefaultSourceFields[2] = {"Phase", "Voltage"};
const char* const DefaultMessages[3] = {"Optimize all elements?", "KORVA-TEZ-optim.", "Common step"};

template <std::size_t N>
std::vector<std::string> Table(const char* const (&texts)[N]) {
    return std::vector<std::string>(std::begin(texts), std::end(texts));
}

QAction* MenuItem(QMenu* menu, const char* name, const char* text, int tag) {
    QAction* a = menu->addAction(QString::fromLatin1(text));
    a->setObjectName(name);
    a->setProperty("tag", tag);
    return a;
}

}  // namespace

TACalDlg::TACalDlg(QWidget* owner, const QString& fontName) : QDialog(owner), fontName_(fontName) {
    setObjectName("ACalDlg");
    setWindowTitle("Optimization");
    resize(DesignWidth, DesignHeight);
    heads_ = Table(DefaultHeads);
    types_ = Table(DefaultTypes);
    eleFields_ = Table(DefaultEleFields);
    polarFields_ = Table(DefaultPolarFields);
    stackFields_ = Table(DefaultStackFields);
    sourceFields_ = Table(DefaultSourceFields);
    messages_ = Table(DefaultMessages);
    BuildControls();
    BuildMenus();
    ApplyFormPattern(this, fontName, 1.0);
    RecordLayout();
    ChangeLanguage();
    // The design box scaled to the screen, like every form.
    const double scale = ScreenScale();
    RestoreWindowBox(*this, SettingsSection,
                     QRect(0, 0, static_cast<int>(DesignWidth * scale), static_cast<int>(DesignHeight * scale)));
}

TACalDlg::~TACalDlg() = default;

void TACalDlg::BuildControls() {
    LabelParameters = new QLabel("Parameters", this);
    LabelParameters->setObjectName("Label1");
    LabelParameters->setGeometry(8, 2, 200, 20);

    Grid = new StringGrid(this);
    Grid->setObjectName("Grid");
    Grid->setGeometry(8, 22, 696, 250);
    Grid->SetColCount(9);
    Grid->SetRowCount(2);
    for (int i = 0; i < 9; ++i) Grid->SetColWidth(i, ColumnWidths[i]);
    Grid->SetNumericKeys(true);
    Grid->CellText = [this](int c, int r) { return GetCellText(c, r); };
    Grid->CanEdit = [this](int c, int r) { return GridGetEditText(c, r); };
    Grid->SetEditText = [this](int c, int r, const QString& t) { GridSetEditText(c, r, t); };
    ConnectGuarded(Grid, &StringGrid::CellClicked, this, [this] { TerDisClick(); });
    ConnectGuarded(Grid, &StringGrid::CellSelected, this, [this] { UpdateButtons(); });

    RefEle = PlaceButton(this, "RefEle", "Element edit", 8, 278, 120);
    AllEle = PlaceButton(this, "AllEle", "All elements", 134, 278, 120);
    DelBtn = PlaceButton(this, "DelBtn", "Del", 260, 278, 80);

    GroupRate = new QGroupBox("Rate of evaluation", this);
    GroupRate->setObjectName("GroupBox1");
    GroupRate->setGeometry(8, 312, 440, 188);
    QSlider** bars[7] = {&TBGain, &TBFB, &TBELV, &TBJX, &TBSWR, &TBMCH, &TBCUR};
    const char* barNames[7] = {"TBGain", "TBFB", "TBELV", "TBJX", "TBSWR", "TBMCH", "TBCUR"};
    const char* labelNames[7] = {"LabelGain", "LabelFB", "LabelElev", "LabelJX", "LabelSWR", "LabelMatch", "LabelCur"};
    const char* labels[7] = {"Gain", "F/B", "Elev.", "jX", "SWR", "Match", "Current"};
    for (int i = 0; i < 7; ++i) {
        auto* bar = new QSlider(Qt::Vertical, GroupRate);
        bar->setObjectName(barNames[i]);
        bar->setRange(0, 100);
        bar->setTickInterval(10);
        bar->setTickPosition(QSlider::TicksBothSides);
        bar->setValue(50);
        bar->setGeometry(16 + i * 60, 22, 36, 128);
        *bars[i] = bar;
        RateLabels[i] = new QLabel(labels[i], GroupRate);
        RateLabels[i]->setObjectName(labelNames[i]);
        RateLabels[i]->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        RateLabels[i]->setGeometry(4 + i * 60, 154, 60, 24);
    }

    TerDis = PlaceCheck(this, "TerDis", "No goal set (simple sweep)", 456, 314, 248, 22);
    PitchAbs = PlaceCheck(this, "PitchAbs", "Step in absolute values", 456, 340, 248, 22);
    DegUnit = PlaceCheck(this, "DegUnit", "Resolution 2deg", 456, 366, 248, 22);
    DispRes = PlaceCheck(this, "DispRes", "display log", 456, 392, 248, 22);
    TerBtn = PlaceButton(this, "TerBtn", "Advanced", 456, 424, 120);
    BandBtn = PlaceButton(this, "BandBtn", "Band setting", 584, 424, 120);
    OKBtn = PlaceButton(this, "OKBtn", "Start", 456, 466, 120, 30);
    CancelBtn = PlaceButton(this, "CancelBtn", "Cancel", 584, 466, 120, 30);
    OKBtn->setDefault(true);

    ConnectGuarded(TerDis, &QCheckBox::clicked, this, [this] { TerDisClick(); });
    ConnectGuarded(PitchAbs, &QCheckBox::clicked, this, [this] { PitchAbsClick(); });
    ConnectGuarded(TerBtn, &QPushButton::clicked, this, [this] { TerBtnClick(); });
    ConnectGuarded(BandBtn, &QPushButton::clicked, this, [this] { BandBtnClick(); });
    ConnectGuarded(RefEle, &QPushButton::clicked, this, [this] { RefEleClick(); });
    ConnectGuarded(AllEle, &QPushButton::clicked, this, [this] { AllEleClick(); });
    ConnectGuarded(DelBtn, &QPushButton::clicked, this, [this] { DelBtnClick(); });
    ConnectGuarded(OKBtn, &QPushButton::clicked, this, [this] { OKBtnClick(); });
    ConnectGuarded(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TACalDlg::BuildMenus() {
    Popup = new QMenu(this);
    Popup->setObjectName("Popup");
    K28 = MenuItem(Popup, "K28", "Add line", 0);
    K28->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_Insert));
    K29 = MenuItem(Popup, "K29", "Del. this line", 0);
    K29->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_Delete));
    K27 = MenuItem(Popup, "K27", "Del. all", 0);
    Popup->addSeparator();
    K23 = MenuItem(Popup, "K23", "Together step setting", 0);
    K34 = MenuItem(Popup, "K34", "Cooperation setting an element", 0);
    K11 = MenuItem(Popup, "K11", "Autonatic cooperation subscriptionn ", 0);
    // The shortcuts work while the grid has the focus, not only in the menu.
    for (QAction* a : {K28, K29}) {
        a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        Grid->addAction(a);
    }
    Grid->SetPopupMenu(Popup);
    ConnectGuarded(Popup, &QMenu::aboutToShow, this, [this] { PopupPopup(); });
    ConnectGuarded(K28, &QAction::triggered, this, [this] { K28Click(); });
    ConnectGuarded(K29, &QAction::triggered, this, [this] { DelBtnClick(); });
    ConnectGuarded(K27, &QAction::triggered, this, [this] { K27Click(); });
    ConnectGuarded(K23, &QAction::triggered, this, [this] { K23Click(); });
    ConnectGuarded(K34, &QAction::triggered, this, [this] { K34Click(); });
    ConnectGuarded(K11, &QAction::triggered, this, [this] { K11Click(); });

    PopupType = new QMenu(this);
    PopupType->setObjectName("PopupType");
    const char* typeTexts[8] = {"Wire", "Wire (polar coordinates)", "Element", "Load",
                                "Height", "Frequency", "Source", "Stack inteval"};
    const int typeKinds[8] = {KindWire, KindWirePolar, KindElement, KindLoad, KindHeight, KindFreq, KindSource, KindStack};
    for (int i = 0; i < 8; ++i) {
        TypeItems[i] = MenuItem(PopupType, QString("K%1").arg(i + 1).toLatin1().constData(), typeTexts[i], i + 1);
        const int kind = typeKinds[i];
        ConnectGuarded(TypeItems[i], &QAction::triggered, this, [this, kind] { SetRowType(kind); });
    }

    auto what = [this](const char* name, std::initializer_list<std::pair<const char*, int>> items) {
        auto* menu = new QMenu(this);
        menu->setObjectName(name);
        // A plain variable, not a structured binding: clang before 16 cannot
        // capture a binding in the lambda below.
        for (const auto& item : items) {
            const int tag = item.second;
            if (tag < 0) {
                menu->addSeparator();
                continue;
            }
            QAction* a = MenuItem(menu, "", item.first, tag);
            ConnectGuarded(a, &QAction::triggered, this, [this, tag] { SetRowWhat(tag); });
        }
        return menu;
    };
    PopupWire = what("PopupWire", {{"Y1", 0}, {"Z1", 1}, {"Y2", 2}, {"Z2", 3}, {"X1", 5}, {"X2", 6}, {"R", 4}});
    PopupEle = what("PopupEle", {{"Interval", 0},
                                 {"Width Y", 1},
                                 {"Height Z", 2},
                                 {"Perimeter or length X", 3},
                                 {"R", 4},
                                 {"Position", 5},
                                 {"Width Y (all coordinates)", 6},
                                 {"Height Z (all coordinates)", 7},
                                 {"Perimeter or length X (all coordinates)", 8}});
    PopupLoad = what("PopupLoad", {{"L or R", 0}, {"C or jX", 1}});
    PopupWireP = what("PopupWireP", {{"Length (start point)", 0},
                                     {"Length (end point)", 1},
                                     {"Length (midl point)", 2},
                                     {"", -1},
                                     {"Azimut angle (Start point)", 3},
                                     {"Azimut angle  (end point)", 4},
                                     {"Azimut angle (middle point)", 5},
                                     {"", -1},
                                     {"Zenit angle (start point)", 6},
                                     {"Zenit angle (end point)", 7},
                                     {"Zenit angle (midle point)", 8}});
    PopupFeed = what("PopupFeed", {{"Phase", 0}, {"Voltage", 1}});
    PopupStack = what("PopupStack", {{"Interv. X", 0}, {"Interv. Y", 1}, {"Interv. Z", 2}});
}

QMenu* TACalDlg::WhatMenu(int kind) const {
    switch (kind) {
    case KindWire: return PopupWire;
    case KindElement: return PopupEle;
    case KindLoad: return PopupLoad;
    case KindWirePolar: return PopupWireP;
    case KindSource: return PopupFeed;
    case KindStack: return PopupStack;
    default: return nullptr;
    }
}

void TACalDlg::RecordLayout() {
    align_ = std::make_unique<CAlignList>();
    const QRect design(0, 0, DesignWidth, DesignHeight);
    for (QWidget* w : std::initializer_list<QWidget*>{LabelParameters, Grid, RefEle, AllEle, DelBtn, GroupRate, TerDis,
                                                      PitchAbs, DegUnit, DispRes, TerBtn, BandBtn, OKBtn, CancelBtn})
        align_->AddRect(w, design, true);
    for (QSlider* bar : {TBGain, TBFB, TBELV, TBJX, TBSWR, TBMCH, TBCUR}) align_->AddRect(bar, design, false);
    for (QLabel* l : RateLabels) align_->AddRect(l, design, true);
    alignGrid_ = std::make_unique<CAlignGrid>();
    alignGrid_->Save(Grid);
}

namespace {

// Menu actions whose captions a language section gives, in its order.
std::vector<QAction*> TextActions(QMenu* menu) {
    std::vector<QAction*> actions;
    for (QAction* a : menu->actions())
        if (!a->isSeparator()) actions.push_back(a);
    return actions;
}

}  // namespace

std::vector<std::string> TACalDlg::HeldLanguageTexts() const {
    std::vector<std::string> texts;
    for (const auto* table : {&heads_, &types_, &eleFields_, &polarFields_, &stackFields_, &sourceFields_, &messages_})
        texts.insert(texts.end(), table->begin(), table->end());
    return texts;
}

void TACalDlg::ChangeLanguage() {
    const auto lines = FormLanguageLines("ACalDlg", 60);
    if (lines.size() >= 60) {
        std::size_t i = 0;
        auto next = [&] { return QString::fromStdString(lines[i++]); };
        setWindowTitle(next());
        LabelParameters->setText(next());
        OKBtn->setText(next());
        CancelBtn->setText(next());
        GroupRate->setTitle(next());
        for (int label : {0, 4, 2, 5, 6}) RateLabels[label]->setText(next());
        for (QWidget* w : std::initializer_list<QWidget*>{BandBtn, TerDis, TerBtn, RefEle, DelBtn, DispRes, AllEle,
                                                          PitchAbs, DegUnit}) {
            if (auto* b = qobject_cast<QPushButton*>(w)) b->setText(next());
            else if (auto* c = qobject_cast<QCheckBox*>(w)) c->setText(next());
        }
        for (QAction* a : TypeItems) a->setText(next());
        for (QAction* a : TextActions(PopupEle))
            if (a->property("tag").toInt() != 4) a->setText(next());
        for (QAction* a : TextActions(PopupLoad)) a->setText(next());
        for (QAction* a : {K28, K29, K27, K23, K34, K11}) a->setText(next());
        for (QMenu* m : {PopupWireP, PopupFeed, PopupStack})
            for (QAction* a : TextActions(m)) a->setText(next());
        for (auto& m : messages_) m = lines[i++];
    }
    const auto names = FormLanguageLines("MsessagACal_Dlg", 41);
    if (names.size() >= 41) {
        std::size_t i = 1;
        for (auto* table : {&heads_, &types_, &eleFields_, &polarFields_, &stackFields_})
            for (auto& text : *table) text = names[i++];
        sourceFields_[1] = names[i++];
        sourceFields_[0] = names[i++];
    }
}

bool TACalDlg::Execute(CACal* cal) {
    cal_ = cal;
    if (!cal_ || !cal_->Ant) return false;
    cal_->RefreshValues();
    Grid->SetRowCount(cal_->RowCount() + 2);
    const int positions[7] = {WGain, WFB, WJX, WSWR, WElev, WMatch, WCurrent};
    QSlider* bars[7] = {TBGain, TBFB, TBJX, TBSWR, TBELV, TBMCH, TBCUR};
    for (int i = 0; i < 7; ++i) bars[i]->setValue(static_cast<int>(std::lround(cal_->Weights[positions[i]])));
    DispRes->setChecked(JobDef.OptLog != 0);
    PitchAbs->setChecked(cal_->StepAbsolute != 0);
    DegUnit->setChecked(cal_->TwoDegree != 0);
    TerDis->setChecked(!cal_->GoalsOn);
    UpdateButtons();
    if (cal_->Ant->SourceCount > 4) cal_->BandCount = 1;
    const int result = ShowModal(*this);
    cal_->StepAbsolute = PitchAbs->isChecked() ? 1 : 0;
    JobDef.OptLog = DispRes->isChecked() ? 1 : 0;
    cal_->TwoDegree = DegUnit->isChecked() ? 1 : 0;
    cal_->GoalsOn = TerDis->isChecked() ? 0 : 1;
    cal_->SetGoals(TBGain->value(), TBFB->value(), TBJX->value(), TBSWR->value(), TBELV->value(), TBMCH->value(),
                   TBCUR->value());
    return result == QDialog::Accepted;
}

void TACalDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (!align_) return;
    ScaleFormFont(*this, DesignWidth, DesignHeight);
    align_->AlignAll(this);
    alignGrid_->Apply(Grid);
}

void TACalDlg::done(int result) {
    SaveWindowBox(*this, SettingsSection);
    QDialog::done(result);
}
