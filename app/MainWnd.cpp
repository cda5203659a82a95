// Life cycle of the main window: construction in the documented order, the
// first and later shows, destruction, the recorded layout and the routine
// that recomputes which commands are enabled.
#include "app/MainWnd.h"
#include "optimizer/OptimizerState.h"
#include "app/AntennaViewEvents.h"
#include "app/MainWndLayout.h"
#include "app/ResultTables.h"
#include "app/Settings.h"
#include "views/OpenGLForm.h"
#include "engine/EngineState.h"
#include "engine/WireLoss.h"
#include "model/EntryIdentity.h"
#include "model/EnvDef.h"
#include "model/EnvDefaults.h"
#include "model/Messages.h"
#include "model/ResultStore.h"
#include "model/TaperSetTable.h"
#include "draw/PolarPlot.h"
#include "platform/System.h"
#include "platform/RadioGroup.h"
#include "platform/StringGrid.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <clocale>
#include <cstring>

TMainWnd* MainWnd = nullptr;
bool FirstStart = false;
std::string TempMemoryText;
std::string PreOptimizationText;

TMainWnd::TMainWnd(const QStringList& args, QWidget* parent) : QMainWindow(parent), Arguments(args) {
    MainWnd = this;
    setObjectName("MainWnd");
    std::memset(&Ant, 0, sizeof Ant);
    FormCreate();

    FirstShow = 1;
    std::setlocale(LC_NUMERIC, "C");
    InitLayout();

    CalcAnt = &Ant;
    Freq->addItems(FreqPresetList());
    DoFreq->addItems(FreqPresetList());

    // The program folder is the executable's; relative paths on the command
    // line are made absolute before anything changes the working directory.
    for (int i = 1; i < Arguments.size(); ++i) {
        const QString& a = Arguments[i];
        if (!a.startsWith('-') && !a.startsWith('/') && QFileInfo(a).isRelative())
            Arguments[i] = QFileInfo(a).absoluteFilePath();
    }
    ProgramFolder = QCoreApplication::applicationDirPath();
    if (ProgramFolder.isEmpty()) ProgramFolder = QDir::currentPath();
    AntFolder = ProgramFolder;
    ResFolder = ProgramFolder;
    TempMemoryText.clear();

    InitEnvironmentDefaults(PhysicalMemoryBytes());
    InitJobDefaults(ScreenWidthPixels());
    InitPalette(PlotPalette);
    FirstStart = ReadSettings(*this, SettingsFilePath()) != 0;
    if (JobDef.WindowState == 2) setWindowState(windowState() | Qt::WindowMaximized);
    if (JobDef.WindowState == 1) setWindowState(windowState() | Qt::WindowMinimized);

    // The engine gets as many pulses as memory allows, up to the chosen limit.
    EnvDef.PMAX = AllocEngineArrays(EnvDef.PMAX);

    SetupGrids();
    SetupResultsTable();
    // The column layouts are recorded once the tables have their columns.
    StringGrid* grids[4] = {Grid1, Grid2, Grid3, Grid4};
    for (int i = 0; i < 4; ++i) AlignGrids[i].Save(grids[i]);
    WaveSel->SetItemIndex(JobDef.WaveSel);
    ConnectFields();
    ConnectCommands();
    ConnectView();
    Positions.KeepBeside([this] { return PositionsHeldBy(ACal); });
    SetWireReferenceFollower(Ant, [this](const AntDef& ant, const WireRenumbering& change,
                                         const EntryRenumbering& entries, std::vector<std::string>& notes) {
        FollowAntennaRenumbering(ant, change, entries, notes);
    });
    NewAntDef();
    FileName.clear();
    UpdateMenuState();
}

void TMainWnd::FormCreate() {
    setWindowTitle("KORVA-TEZ");
    resize(DesignWidth, DesignHeight);

    Page = new QTabWidget(this);
    Page->setObjectName("Page");
    setCentralWidget(Page);
    TabSheet1 = new QWidget;
    TabSheet2 = new QWidget;
    TabSheet3 = new QWidget;
    TabSheet4 = new QWidget;
    TabSheet1->setObjectName("TabSheet1");
    TabSheet2->setObjectName("TabSheet2");
    TabSheet3->setObjectName("TabSheet3");
    TabSheet4->setObjectName("TabSheet4");
    Page->addTab(TabSheet1, "Geometry");
    Page->addTab(TabSheet2, "View");
    Page->addTab(TabSheet3, "Calculate");
    Page->addTab(TabSheet4, "Far field plots");

    BuildGeometryTab();
    BuildViewTab();
    BuildCalcTab();
    BuildFarFieldTab();
    BuildMenus();
    BuildPopups();
    BuildToolBar();

    LogMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    LogMemo->setReadOnly(true);
    SetEngineLog([this](const std::string& line) { AddLogLine(QString::fromStdString(line)); },
                 [this] { ClearLog(); });
    SetEngineNotice([this](const std::string& text) { EngineNotice(text); });
    InitMessageTables();
    ApplyDefaultMessages();
    Timer1 = new QTimer(this);
    Timer1->setObjectName("Timer1");
    Timer1->setInterval(100);
    Timer1->setSingleShot(true);
    ConnectGuarded(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });

    MaterialSel->setToolTip(QString::fromStdString(MaterialText(MaterialSel->currentIndex())));
    Page->setCurrentIndex(0);
    ViewAzimuth = 220.0;
    ViewElevation = -30.0;
}

void TMainWnd::InitLayout() {
    const QRect page(0, 0, DesignPageWidth, DesignPageHeight);
    for (QWidget* tab : {TabSheet1, TabSheet2, TabSheet3, TabSheet4}) {
        for (QWidget* w : tab->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
            AlignList.AddRect(w, page);
    }
    // A screen smaller than the form gets the form at 0, 0 with the screen's size.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect s = screen->availableGeometry();
        if (s.width() < width() || s.height() < height()) {
            setGeometry(s.left(), s.top(), s.width(), s.height());
        } else {
            move(s.left() + std::max(0, (s.width() - width()) / 2), s.top() + std::max(0, (s.height() - height()) / 2));
        }
    }
}

TMainWnd::~TMainWnd() {
    // Application-wide signals (focus changes) stop reaching this window first.
    disconnect(qApp, nullptr, this, nullptr);
    // The 3D view reads this window's calculation copy: it must not outlive it.
    delete OpenGL_Form;
    // The view's application-wide event filter reaches into this window: it
    // goes first, before the widgets' own teardown sends its last events.
    qDeleteAll(findChildren<AntennaViewEvents*>(Qt::FindDirectChildrenOnly));
    // Likewise the tables: an editor that closes during the teardown must not
    // write into a window that is gone.
    for (StringGrid* g : {Grid1, Grid2, Grid3, Grid4}) {
        g->CellText = nullptr;
        g->EditText = nullptr;
        g->CellHint = nullptr;
        g->SetEditText = nullptr;
        g->CanEdit = nullptr;
        g->DrawCell = nullptr;
    }
    SetEngineLog(static_cast<std::vector<std::string>*>(nullptr));
    SetEngineNotice(nullptr);
    DestroyOptimizerState();
    SetWireReferenceFollower(Ant, {});
    FreeCalcCopy();
    FreeEngineArrays();
    if (MainWnd == this) MainWnd = nullptr;
}

void TMainWnd::FreeCalcCopy() {
    if (CalcAnt != &Ant) delete CalcAnt;
    CalcAnt = &Ant;
}

bool IsCommandLineFile(const QString& arg) {
    // Switches begin with '-' or '/'; here '/' also begins every absolute
    // path, so a '/' argument is a switch only when it names no file and
    // has no folder part ("/s").
    if (arg.isEmpty() || arg.startsWith('-')) return false;
    if (arg.startsWith('/')) return QFileInfo::exists(arg) || arg.indexOf('/', 1) > 0;
    return true;
}

void TMainWnd::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

void TMainWnd::FormShow() {
    if (FirstStart) {
        // Opened once the window is on screen, over it.
        FirstStart = false;
        QTimer::singleShot(0, this, [this] { K10Click(nullptr); });
    }
    ShowLanguage();
    TBarSC->setValue(TBarSC->maximum() / 2);
    if (FirstShow) {
        FirstShow = 0;
        if (const QScreen* screen = QGuiApplication::primaryScreen(); screen && screen->size().width() > 0)
            ScreenAspect = static_cast<double>(screen->size().height()) / screen->size().width() * 4.0 / 3.0;
        for (int i = 1; i < Arguments.size(); ++i) {
            const QString& a = Arguments[i];
            if (IsCommandLineFile(a)) OpenFileByExt(a);
        }
    }
}

void TMainWnd::RefreshAll() {
    PageChange();
    UpdateCount();
    update();
    for (StringGrid* g : {Grid1, Grid2, Grid3, Grid4}) g->Invalidate();
    DrawAntenna();
}

std::optional<uint64_t> TMainWnd::StateNow() const {
    CalculationFields fields;
    // A field that does not read holds an edit that the next Start refuses.
    if (!ReadCalculationFields(fields, nullptr)) return std::nullopt;
    return CalculationFingerprint(Ant, fields, EnvDef, UserMaterialDef);
}

bool TMainWnd::ResultsBelongToAntenna(ResultHolder holder, ResultUse use) const {
    const std::optional<uint64_t> now = StateNow();
    return now && Origin.Belongs(holder, use, *now);
}

bool TMainWnd::PatternOfThisAntenna(ResultUse use) const {
    return Results.AngleStep != 0 && ResultsBelongToAntenna(ResultHolder::Row, use);
}

void TMainWnd::ShowOnlyResultsThatBelong() {
    const std::optional<uint64_t> now = StateNow();
    auto belongs = [&](ResultHolder holder, ResultUse use) { return now && Origin.Belongs(holder, use, *now); };
    const bool farField = Results.HasFarField != 0;
    for (QAction* a : {K49, NWLDat}) a->setEnabled(farField);
    // A far-field file or a table of results computed from another antenna
    // (or from other settings) would pair them with this one.
    K11->setEnabled(farField && belongs(ResultHolder::Row, ResultUse::Show));
    const bool computeFrom = belongs(ResultHolder::Row, ResultUse::ComputeFrom);
    for (QAction* a : {KC2, K31, K32}) a->setEnabled(farField && computeFrom);
    // Results read from a far-field file are shown and printed; a new cut,
    // the 3D view and the sweep plots say why they refuse them.
    const bool fromFile = Origin.ReadFromFile(ResultHolder::Row);
    const bool pattern = Results.AngleStep != 0 && belongs(ResultHolder::Row, ResultUse::Show);
    PrintBtn->setEnabled(pattern);
    for (QPushButton* b : {EleBtn, Btn3D}) b->setEnabled(pattern && (fromFile || computeFrom));
    // The sweep plots run points into the newest row's sweep table.
    BwBtn->setEnabled(Results.Sweep.Count > 0 && belongs(ResultHolder::Sweep, ResultUse::Show) &&
                      (fromFile || (computeFrom && belongs(ResultHolder::Sweep, ResultUse::Combine))));
    // The open 3D view calculates its next table from the model; a run's own
    // preparations (a sweep, a table) leave it alone, as they put the model
    // back when they end. A view not yet built has no table of its own yet:
    // it computes one from the model, which must still be of the antenna.
    if (!JobDef.Busy && !Closing && OpenGL_Form && OpenGL_Form->isVisible() &&
        !(OpenGL_Form->Built ? belongs(ResultHolder::View3D, ResultUse::Show) : computeFrom))
        Close3DView();
}

void TMainWnd::UpdateMenuState() {
    const bool geometryTab = Page->currentWidget() == TabSheet1;
    const bool viewTab = Page->currentWidget() == TabSheet2;
    QWidget* focus = QApplication::focusWidget();
    auto focused = [&](StringGrid* g) { return focus && (focus == g || g->isAncestorOf(focus)); };
    const bool hasWires = Ant.WireCount > 0;
    const bool hasSources = Ant.SourceCount > 0;
    const bool wireRow = Grid2->Row() <= Ant.WireCount;

    for (QAction* a : {K27, KR1, K35}) a->setEnabled(geometryTab && focused(Grid2) && wireRow);
    for (QAction* a : {K7, K9, K13, K14})
        a->setEnabled(geometryTab && (focused(Grid2) || focused(Grid3) || focused(Grid4)));
    for (QAction* a : {KT1, KT2, KT3, K28, KM1, KM2, KS5}) a->setEnabled((geometryTab || viewTab) && wireRow);
    for (QAction* a : {K4, K5, ToolButton6, KXY->menuAction(), KS4, K22->menuAction(), K33, K37, K38})
        a->setEnabled(hasWires);
    const int row = Grid2->Row();
    const bool taper = (geometryTab || viewTab) && wireRow && row >= 1 && row <= Ant.WireCount &&
                       Ant.Wires[row - 1].R < 0 && FindTaperSet(Ant, Ant.Wires[row - 1].R) != nullptr;
    for (QAction* a : {K47, K48}) a->setEnabled(taper);
    CalTrgBtn->setEnabled(hasWires && hasSources && !JobDef.Busy);
    // No optimization while the 3D view shows a pattern of the antenna.
    ACalBtn->setEnabled(hasWires && hasSources && OpenGL_Form == nullptr);
    K8->setEnabled(hasWires && hasSources);
    K36->setEnabled(!PreOptimizationText.empty());
    K20->setEnabled(hasWires && ACal != nullptr && ACal->RowCount() > 0);
    const bool logged = hasWires && ACal != nullptr && ACal->LogCount > 0;
    ACalResBtn->setEnabled(logged && !JobDef.Busy);
    K15->setEnabled(logged);
    K39->setEnabled(!TempMemoryText.empty());
    ShowOnlyResultsThatBelong();

    if (ChkRmd->isChecked() != (JobDef.InWavelengths != 0)) {
        const QSignalBlocker block(ChkRmd);
        ChkRmd->setChecked(JobDef.InWavelengths != 0);
        Grid2->Invalidate();
    }
    FreeTableRequests();
    DocBtn->setVisible(!Comment.empty());
    UpdateUserProgramItems();
}
