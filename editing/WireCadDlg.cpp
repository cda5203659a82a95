// The wire editor's form: its controls, popup menu, settings section
// "WireEd", language section "WireCadDlg", and the run from Execute to the
// write-back of the wires.
#include "editing/WireCadDlg.h"
#include "platform/CommandGuard.h"

#include "editing/EditForm.h"
#include "editing/WireEditDlg.h"
#include "model/EnvDef.h"
#include "model/NumberText.h"
#include "platform/FormLayout.h"
#include "platform/FormPattern.h"
#include "platform/FormWidgets.h"
#include "platform/IniFile.h"
#include "platform/KeyFilter.h"
#include "platform/SettingsPath.h"
#include "platform/WindowBox.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QWindow>
#include <array>

WireCadScreen ScreenSlot[4];
int WireCadZoomPosition = WireCadZoomStart;

namespace {

constexpr int DesignWidth = 780, DesignHeight = 540;
constexpr int ScrollBarSize = 16;
const char* const SettingsSection = "WireEd";
// The section's height key is spelled so in every settings file.
const WindowBoxKeys BoxKeys{"Left", "Top", "Width", "Heigth"};
const char* const PageNames[4] = {"TabAll", "TabXY", "TabXZ", "TabYZ"};
const char* const PageCaptions[4] = {"3D view", "2D X-Y", "2D X-Z", "2D Y-Z"};
const char* const BoxNames[4] = {"PBoxALL", "PBoxXY", "PBoxXZ", "PBoxYZ"};
const char* const HBarNames[4] = {"HSBAll", "HSBXY", "HSBXZ", "HSBYZ"};
const char* const VBarNames[4] = {"VSBAll", "VSBXY", "VSBXZ", "VSBYZ"};
const char* const FilterItems[3] = {"All", "Plane", "Element"};

// The glyphs of the two centring buttons: the antenna's middle and the origin.
QIcon CentreIcon(bool origin) {
    QPixmap pm(36, 36);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 2));
    if (origin) {
        p.drawLine(18, 2, 18, 34);
        p.drawLine(2, 18, 34, 18);
        p.drawEllipse(QPoint(18, 18), 8, 8);
    } else {
        p.drawRect(4, 4, 28, 28);
        p.setPen(QPen(Qt::red, 3));
        p.drawLine(12, 18, 24, 18);
        p.drawLine(18, 12, 18, 24);
    }
    return QIcon(pm);
}

}  // namespace

TWireCadDlg::TWireCadDlg(QWidget* owner, const QString& fontName) : QDialog(owner) {
    setObjectName("WireCadDlg");
    setWindowTitle("Wire edit");
    setMinimumSize(160, 24);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);
    resize(DesignWidth, DesignHeight);
    QFont f = font();
    if (!fontName.isEmpty()) f.setFamily(fontName);
    f.setPointSize(ScaledFontSize(EnvDef.FontSize, 1.0));
    setFont(f);
    BuildControls();
    BuildPopupMenu();
    LoadSettings();
    ChangeLanguage();

    Ready = false;
    Page->setCurrentIndex(PageAll);
    View.Page = PageAll;
    View.Scale = 100.0;
    View.SetAngles(2.0 * TBDEG->value(), TBZDEG->value());
    SetupLayout();
    FillStepList();
    SelFilter->setCurrentIndex(0);
    ResetScrollBars();
    // The Delete key deletes the selected wire wherever the focus is, the
    // "Step" box included; the form sees it before its controls.
    installEventFilter(this);
    for (QWidget* w : findChildren<QWidget*>()) w->installEventFilter(this);
    UpdateViewControls();
}

TWireCadDlg::~TWireCadDlg() = default;

void TWireCadDlg::BuildControls() {
    Page = Place(new QTabWidget(this), "Page", 4, 4, 592, 532);
    Page->setContextMenuPolicy(Qt::DefaultContextMenu);
    QWidget** tabs[4] = {&TabAll, &TabXY, &TabXZ, &TabYZ};
    for (int i = 0; i < 4; ++i) {
        auto* tab = new QWidget;
        tab->setObjectName(PageNames[i]);
        *tabs[i] = tab;
        Boxes[i] = new WireCadBox(this, i, tab);
        Boxes[i]->setObjectName(BoxNames[i]);
        HBars[i] = new QScrollBar(Qt::Horizontal, tab);
        HBars[i]->setObjectName(HBarNames[i]);
        VBars[i] = new QScrollBar(Qt::Vertical, tab);
        VBars[i]->setObjectName(VBarNames[i]);
        for (QScrollBar* bar : {HBars[i], VBars[i]}) {
            bar->setRange(0, 100);
            bar->setValue(50);
            const bool vertical = bar == VBars[i];
            ConnectGuarded(bar, &QScrollBar::valueChanged, this, [this, bar, vertical] { ScrollBarChange(bar, vertical); });
        }
        tab->installEventFilter(this);
        Page->addTab(tab, PageCaptions[i]);
    }
    ConnectGuarded(Page, &QTabWidget::currentChanged, this, [this] { PageChange(); });

    SBSel = Place(new QToolButton(this), "SBSel", 604, 6, 84, 26);
    SBSel->setText("Edit Wire");
    SBLine = Place(new QToolButton(this), "SBLine", 690, 6, 84, 26);
    SBLine->setText("New Wire");
    SBLoop = Place(new QToolButton(this), "SBLoop", 604, 34, 84, 26);
    SBLoop->setText("New Loop");
    auto* modes = new QButtonGroup(this);
    modes->setExclusive(true);
    int tag = 0;
    for (QToolButton* b : {SBSel, SBLine, SBLoop}) {
        b->setCheckable(true);
        b->setProperty("tag", tag);
        modes->addButton(b, tag++);
    }
    SBSel->setChecked(true);
    ConnectGuarded(modes, &QButtonGroup::idClicked, this, [this] { SBSelClick(); });

    SBView = Place(new QToolButton(this), "SBView", 704, 34, 32, 26);
    SBView->setIcon(CentreIcon(false));
    SBView->setToolTip("Center = midle punkt of antenna");
    SBOrg = Place(new QToolButton(this), "SBOrg", 742, 34, 32, 26);
    SBOrg->setIcon(CentreIcon(true));
    SBOrg->setToolTip("Center on X=0,Y=0, Z=Height");
    SBOrg->setCheckable(true);
    ConnectGuarded(SBView, &QToolButton::clicked, this, [this] { SBViewClick(); });
    ConnectGuarded(SBOrg, &QToolButton::clicked, this, [this] {
        K8Click();
        // The button shows the centring only until the mouse lets go of it.
        SBOrg->setChecked(false);
    });

    Label4 = PlaceLabel(this, "Label4", "Display", 604, 68, 60, 20);
    SelFilter = Place(new QComboBox(this), "SelFilter", 666, 66, 108, 24);
    for (const char* item : FilterItems) SelFilter->addItem(item);
    ConnectGuarded(SelFilter, &QComboBox::activated, this, [this] { SelFilterChange(); });

    Label5 = PlaceLabel(this, "Label5", "Rotate", 604, 96, 170, 18);
    TBDEG = PlaceSlider(this, "TBDEG", 0, 180, 60, 604, 114, 170, 22, 15);
    TBDEG->setToolTip("Azimuth");
    TBZDEG = PlaceSlider(this, "TBZDEG", 0, 180, 20, 604, 138, 170, 22, 15);
    TBZDEG->setToolTip("Elevation");
    ConnectGuarded(TBDEG, &QSlider::valueChanged, this, [this] { TBDEGChange(); });
    ConnectGuarded(TBZDEG, &QSlider::valueChanged, this, [this] { TBDEGChange(); });
    LCursor = PlaceLabel(this, "LCursor", "", 604, 96, 170, 64);
    LCursor->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    LCursor->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    Label1 = PlaceLabel(this, "Label1", "Zoom", 604, 166, 170, 18);
    TBSC = PlaceSlider(this, "TBSC", 10, 150, 50, 604, 184, 170, 22, 10);
    ConnectGuarded(TBSC, &QSlider::valueChanged, this, [this] { TBSCChange(); });

    GroupBox1 = Place(new QGroupBox(this), "GroupBox1", 604, 210, 170, 80);
    GroupBox1->setTitle("Grid");
    ChkGrid = Place(new QCheckBox(GroupBox1), "ChkGrid", 8, 22, 72, 22);
    ChkGrid->setText("On");
    ChkGrid->setChecked(true);
    ChkAutoGrid = Place(new QCheckBox(GroupBox1), "ChkAutoGrid", 84, 22, 80, 22);
    ChkAutoGrid->setText("Auto");
    ChkAutoGrid->setChecked(true);
    ConnectGuarded(ChkGrid, &QCheckBox::clicked, this, [this] { ChkGridClick(); });
    Label2 = PlaceLabel(GroupBox1, "Label2", "Step", 8, 50, 40, 20);
    GridWidth = Place(new QComboBox(GroupBox1), "GridWidth", 48, 46, 90, 27);
    GridWidth->setEditable(true);
    // Typing "0" must not turn into "0.01" behind the user's back.
    KeepTypedText(GridWidth);
    InstallCommaToPoint(GridWidth->lineEdit());
    ConnectGuarded(GridWidth->lineEdit(), &QLineEdit::textEdited, this, [this] { GridWidthChange(); });
    ConnectGuarded(GridWidth, &QComboBox::activated, this, [this] { GridWidthChange(); });
    ConnectGuarded(GridWidth->lineEdit(), &QLineEdit::editingFinished, this, [this] { GridWidthDone(); });
    Label3 = PlaceLabel(GroupBox1, "Label3", "m", 144, 50, 20, 20);

    LWire = PlaceLabel(this, "LWire", "Wire isn't selected", 604, 296, 170, 202);
    LWire->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    LWire->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    LWire->setCursor(Qt::PointingHandCursor);
    LWire->installEventFilter(this);

    OKBtn = Place(new QPushButton(this), "OKBtn", 604, 504, 82, 30);
    OKBtn->setText("OK");
    OKBtn->setDefault(true);
    CancelBtn = Place(new QPushButton(this), "CancelBtn", 692, 504, 82, 30);
    CancelBtn->setText("Cancel");
    ConnectGuarded(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    ConnectGuarded(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);

    Timer = new QTimer(this);
    Timer->setInterval(500);
    ConnectGuarded(Timer, &QTimer::timeout, this, [this] { TimerTimer(); });
}

void TWireCadDlg::BuildPopupMenu() {
    PopupMenu = new QMenu(this);
    PopupMenu->setObjectName("PopupMenu");
    auto item = [this](QMenu* menu, const char* name, const QString& caption, int tag = 0) {
        auto* a = new QAction(caption, this);
        a->setObjectName(name);
        a->setProperty("tag", tag);
        menu->addAction(a);
        return a;
    };
    auto sub = [this](QMenu* menu, const char* name, const QString& caption) {
        auto* m = new QMenu(caption, this);
        m->setObjectName(QString(name) + "Menu");
        QAction* a = menu->addMenu(m);
        a->setObjectName(name);
        return m;
    };
    K4 = item(PopupMenu, "K4", "Centred on this position");
    K8 = item(PopupMenu, "K8", "Centred on X=0,Y=0,Z=Height");
    K9 = item(PopupMenu, "K9", "Centred on antenne");
    K9->setCheckable(true);
    // "Recall memorized screen" and "Memorize screen as", slots A to C by tag.
    auto screens = [&](const char* name, const QString& caption, const char* const names[3], std::array<QAction**, 3> items) {
        QMenu* menu = sub(PopupMenu, name, caption);
        for (int k = 0; k < 3; ++k) *items[k] = item(menu, names[k], QString("Screen %1").arg(QChar('A' + k)), k + 1);
        return menu->menuAction();
    };
    const char* const recallNames[3] = {"K13", "K14", "K15"};
    const char* const memorizeNames[3] = {"K17", "K18", "K19"};
    K12 = screens("K12", "Recall memorized screen", recallNames, {&K13, &K14, &K15});
    PopupMenu->addSeparator()->setObjectName("N5");
    K16 = screens("K16", "Memorize screen as", memorizeNames, {&K17, &K18, &K19});
    PopupMenu->addSeparator()->setObjectName("N1");
    KU1 = item(PopupMenu, "KU1", "Undo  (&U)");
    K11 = item(PopupMenu, "K11", "Wire defenition(&E)...");
    K3 = item(PopupMenu, "K3", "Del wire(&D)");
    PopupMenu->addSeparator()->setObjectName("N4");
    K1 = item(PopupMenu, "K1", "Connect to the closest wire");
    K5 = item(PopupMenu, "K5", "Disjoint wires at the connected point");
    PopupMenu->addSeparator()->setObjectName("N2");
    KS1 = item(PopupMenu, "KS1", "Exchange start and end points(&S)");
    K10 = item(PopupMenu, "K10", "Set center of wire on center axis");
    QMenu* divide = sub(PopupMenu, "K2", "Divide wre into");
    K2 = divide->menuAction();
    for (int n = 2; n <= 10; ++n) {
        const QByteArray name = "KP" + QByteArray::number(n);
        KP[n] = item(divide, name.constData(), QString("%1 pieces").arg(n), n);
        ConnectGuarded(KP[n], &QAction::triggered, this, [this, n] { KP2Click(n); });
    }
    PopupMenu->addSeparator()->setObjectName("N3");
    QMenu* gridStart = sub(PopupMenu, "K6", "Grid start point");
    K6 = gridStart->menuAction();
    K7 = item(gridStart, "K7", "initialize");
    KX11 = item(gridStart, "KX11", "End of this wire");

    ConnectGuarded(K4, &QAction::triggered, this, [this] { K4Click(); });
    ConnectGuarded(K8, &QAction::triggered, this, [this] { K8Click(); });
    ConnectGuarded(K9, &QAction::triggered, this, [this] { K9Click(); });
    for (QAction* a : {K13, K14, K15})
        ConnectGuarded(a, &QAction::triggered, this, [this, a] { RecallScreen(a->property("tag").toInt() - 1); });
    for (QAction* a : {K17, K18, K19})
        ConnectGuarded(a, &QAction::triggered, this, [this, a] { MemorizeScreen(a->property("tag").toInt() - 1); });
    ConnectGuarded(KU1, &QAction::triggered, this, [this] { KU1Click(); });
    ConnectGuarded(K11, &QAction::triggered, this, [this] { K11Click(); });
    ConnectGuarded(K3, &QAction::triggered, this, [this] { K3Click(); });
    ConnectGuarded(K1, &QAction::triggered, this, [this] { K1Click(); });
    ConnectGuarded(K5, &QAction::triggered, this, [this] { K5Click(); });
    ConnectGuarded(KS1, &QAction::triggered, this, [this] { KS1Click(); });
    ConnectGuarded(K10, &QAction::triggered, this, [this] { K10Click(); });
    ConnectGuarded(K7, &QAction::triggered, this, [this] { K7Click(); });
    ConnectGuarded(KX11, &QAction::triggered, this, [this] { KX11Click(); });
}

void TWireCadDlg::SetupLayout() {
    align_ = std::make_unique<CAlignList>();
    const QRect design(0, 0, DesignWidth, DesignHeight);
    for (QWidget* w : std::initializer_list<QWidget*>{
             OKBtn, CancelBtn, Page, TBDEG, TBZDEG, TBSC, Label1, Label5, SBSel, SBLine, SBLoop, SBView, SBOrg,
             GroupBox1, ChkGrid, ChkAutoGrid, GridWidth, Label2, Label3, LWire, LCursor, Label4, SelFilter})
        align_->AddRect(w, design, true);
    PlaceFrame(*this, savedGeometry_, leastBox_);
    const QWidget* main = parentWidget() ? parentWidget()->window() : nullptr;
    if (windowState_ == 2 || (main && main->isMaximized())) setWindowState(windowState() | Qt::WindowMaximized);
}

void TWireCadDlg::LoadSettings() {
    const IniFile ini(SettingsFilePath());
    // Without settings the form takes its design size at the screen's scale,
    // as every other form does.
    const double s = ScreenScale();
    const QRect fresh(0, 0, int(DesignWidth * s), int(DesignHeight * s));
    savedGeometry_ = ReadWindowBox(ini, SettingsSection, fresh, BoxKeys);
    leastBox_ = UsableLeast(fresh.size()).expandedTo(QSize(160, 120));
    windowState_ = ini.ReadInteger(SettingsSection, "WinSt", 0);
}

void TWireCadDlg::SaveSettings() {
    IniFile ini(SettingsFilePath());
    WriteWindowBox(ini, *this, SettingsSection, BoxKeys);
    ini.WriteInteger(SettingsSection, "WinSt", isMaximized() ? 2 : isMinimized() ? 1 : 0);
    ini.UpdateFile();
}

void TWireCadDlg::ChangeLanguage() {
    constexpr int ControlCount = 17, PopupCount = 31;
    constexpr int Count = 1 + ControlCount + 3 + PopupCount;
    const auto lines = FormLanguageLines("WireCadDlg", Count);
    if (lines.size() < static_cast<std::size_t>(Count)) return;
    int i = 0;
    auto next = [&] { return QString::fromStdString(lines[static_cast<std::size_t>(i++)]); };
    setWindowTitle(next());
    for (QAbstractButton* b : std::initializer_list<QAbstractButton*>{SBSel, SBLine, SBLoop}) b->setText(next());
    for (QLabel* l : {Label4, Label5, Label1}) l->setText(next());
    OKBtn->setText(next());
    CancelBtn->setText(next());
    for (int p = 0; p < 4; ++p) Page->setTabText(p, next());
    GroupBox1->setTitle(next());
    Label2->setText(next());
    Label3->setText(next());
    ChkGrid->setText(next());
    ChkAutoGrid->setText(next());
    const int filter = SelFilter->currentIndex();
    SelFilter->clear();
    for (int k = 0; k < 3; ++k) SelFilter->addItem(next());
    SelFilter->setCurrentIndex(std::max(0, filter));
    for (QAction* a : {K4, K8, K9, K12, K13, K14, K15, K16, K17, K18, K19, KU1, K11, K3, K1, K5, KS1, K10, K2})
        a->setText(next());
    for (int n = 2; n <= 10; ++n) KP[n]->setText(next());
    for (QAction* a : {K6, K7, KX11}) a->setText(next());
}

int TWireCadDlg::Execute(AntDef* ant, int* selected) {
    if (!ant) return 0;
    UpdateViewControls();
    ant_ = ant;
    Model.Load(*ant);
    SBSel->setChecked(true);
    EditMode = 0;
    View.W = Boxes[ActivePage()]->width();
    View.H = Boxes[ActivePage()]->height();
    View.CentreOn(Model);
    AutoGridStep(true);
    RecallScreen(3);
    if (selected && *selected >= 0 && *selected < Model.Count) Model.Select(*selected);
    RefreshInfo();
    Ready = true;
    const int result = ShowModal(*this);
    Timer->stop();
    if (selected && Model.Selected >= 0) *selected = Model.Selected;
    MemorizeScreen(3);
    if (result != QDialog::Accepted) return 0;
    const int index = Model.WriteBack(*ant, &Notes);
    if (selected && index >= 0) *selected = index;
    return 1;
}

void TWireCadDlg::done(int result) {
    SaveSettings();
    QDialog::done(result);
}

bool TWireCadDlg::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress || type == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Delete && key->modifiers() == Qt::NoModifier) {
            if (type == QEvent::KeyPress) K3Click();
            event->accept();
            return true;
        }
    }
    // Letting go of a scroll bar (thumb, arrow or trough) ends the scroll:
    // the page is drawn in full at once.
    if (type == QEvent::MouseButtonRelease && qobject_cast<QScrollBar*>(watched))
        QTimer::singleShot(0, this, [this] { EndScroll(); });
    if (watched == LWire && type == QEvent::MouseButtonRelease) {
        K11Click();
        return true;
    }
    if (type == QEvent::Resize) {
        for (int i = 0; i < 4; ++i) {
            QWidget* tab = Page ? Page->widget(i) : nullptr;
            if (watched != tab) continue;
            const int w = tab->width() - ScrollBarSize, h = tab->height() - ScrollBarSize;
            Boxes[i]->setGeometry(0, 0, std::max(1, w), std::max(1, h));
            HBars[i]->setGeometry(0, h, std::max(1, w), ScrollBarSize);
            VBars[i]->setGeometry(w, 0, ScrollBarSize, std::max(1, h));
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TWireCadDlg::PopupMenuPopup(const QPoint& at) {
    PopupPoint = at;
    K13->setEnabled(ScreenSlot[0].Valid);
    K14->setEnabled(ScreenSlot[1].Valid);
    K15->setEnabled(ScreenSlot[2].Valid);
    KU1->setEnabled(Model.HasUndo());
    HitCode = HitNone;
    ScreenPoint a{}, b{};
    if (Model.Selected >= 0 && ScreenEnds(Model.Selected, a, b)) HitCode = HitTestLine({at.x(), at.y()}, a, b);
    const bool onWire = HitCode != HitNone;
    for (QAction* item : {KX11, K11, K10, K2, K3, KS1}) item->setEnabled(onWire);
    if (HitCode == HitEnd1 || HitCode == HitEnd2) {
        const Point3D end = EndOf(Model.Wires[Model.Selected], HitCode);
        const bool connected = Model.IsEndConnected(Model.Selected, end);
        K5->setEnabled(connected);
        K1->setEnabled(!connected);
    } else {
        K5->setEnabled(false);
        K1->setEnabled(false);
    }
    K9->setEnabled(ActivePage() == PageAll);
    K9->setChecked(JobDef.Ant3D != 0);
}

void TWireCadDlg::EndOperation(bool) {
    RefreshInfo();
    Repaint();
}

void TWireCadDlg::K1Click() { EndOperation(Model.Connect(HitCode)); }
void TWireCadDlg::K5Click() { EndOperation(Model.Disjoin(HitCode)); }
void TWireCadDlg::KS1Click() { EndOperation(Model.ExchangeEnds()); }
void TWireCadDlg::K10Click() { EndOperation(Model.CentreOnAxis(ActivePage())); }
void TWireCadDlg::KP2Click(int pieces) { EndOperation(Model.Divide(pieces)); }
void TWireCadDlg::K3Click() { EndOperation(Model.DeleteSelected()); }
void TWireCadDlg::KU1Click() { EndOperation(Model.Undo()); }

void TWireCadDlg::K11Click() {
    if (Model.Selected < 0 || !ant_) return;
    const bool changed = Model.EditSelected([this](WireRec* wires, int index, int count) {
        TWireEditDlg dialog(this);
        QFont f = dialog.font();
        f.setFamily(font().family());
        dialog.setFont(f);
        return dialog.Execute(wires, index, count, *ant_) != 0;
    });
    EndOperation(changed);
}

void TWireCadDlg::RefreshInfo() {
    LWire->setText(QString::fromStdString(Model.InfoText(ActivePage(), drawingNew_)));
}

void TWireCadDlg::UpdateViewControls() {
    const bool threeD = ActivePage() == PageAll;
    for (QWidget* w : std::initializer_list<QWidget*>{Label5, TBDEG, TBZDEG}) w->setVisible(threeD);
    LCursor->setVisible(!threeD);
    K9->setEnabled(threeD);
}

void TWireCadDlg::SelFilterChange() {
    if (!Ready) return;
    Model.FilterMode = std::max(0, SelFilter->currentIndex());
    Model.ApplySelFilter(ActivePage());
    Repaint();
}

void TWireCadDlg::SBSelClick() {
    if (SBSel->isChecked())
        EditMode = 0;
    else if (SBLine->isChecked())
        EditMode = 1;
    else if (SBLoop->isChecked())
        EditMode = 2;
    else
        EditMode = -1;
}
