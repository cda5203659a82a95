#pragma once
// The main window: owns the antenna definition for the life of the program and
// shows it in four tabs (geometry tables, antenna view, calculation, far-field
// plots). The class is split into files by concern (MainWnd*.cpp); widgets
// carry the component names as objectNames and menu items keep their tags in
// the property "tag".
#include "app/AntennaViewState.h"
#include "engine/PositionKeeper.h"
#include "model/AntDef.h"
#include "model/RecentFiles.h"
#include "model/ResultOrigin.h"
#include "optimizer/KeptAntenna.h"
#include "platform/CommandGuard.h"
#include "platform/FormLayout.h"
#include "views/SweepHost.h"

#include <QImage>
#include <QMainWindow>
#include <QPoint>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QAbstractButton;
class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSlider;
class QSpinBox;
class QTabWidget;
class QTimer;
class QToolBar;
class RadioGroup;
class StringGrid;
class CACal;
struct EnvRec;
struct MainLanguage;
struct ModelEnvFields;

class TMainWnd : public QMainWindow {
    Q_OBJECT
public:
    // args: the command line (argument 0 the program); files among them are
    // opened on the first show.
    explicit TMainWnd(const QStringList& args = {}, QWidget* parent = nullptr);
    ~TMainWnd() override;

    // ---- Tabs ----
    QTabWidget* Page = nullptr;
    QWidget* TabSheet1 = nullptr;  // Geometry
    QWidget* TabSheet2 = nullptr;  // View
    QWidget* TabSheet3 = nullptr;  // Calculate
    QWidget* TabSheet4 = nullptr;  // Far field plots

    // ---- Geometry tab ----
    QLabel *Label1 = nullptr, *Label2 = nullptr, *Label3 = nullptr, *Label4 = nullptr;
    QLabel *Label5 = nullptr, *Label6 = nullptr, *Label14 = nullptr, *Label16 = nullptr;
    QLineEdit* AntName = nullptr;
    QComboBox *Freq = nullptr, *EditDM1 = nullptr, *EditDM2 = nullptr, *EditEC = nullptr, *EditSC = nullptr;
    QCheckBox *AutoVol = nullptr, *EnbLoad = nullptr, *ChkWith = nullptr, *ChkRmd = nullptr;
    QPushButton* DocBtn = nullptr;
    QLabel *WireCnt = nullptr, *CurCnt = nullptr, *LoadCnt = nullptr;
    StringGrid *Grid2 = nullptr, *Grid3 = nullptr, *Grid4 = nullptr;

    // ---- View tab ----
    QLabel *Label7 = nullptr, *Label8 = nullptr, *Label13 = nullptr, *SelLB = nullptr;
    QCheckBox *DspCur = nullptr, *DspPlus = nullptr, *LnThickCB = nullptr;
    QPushButton *SavImBtn = nullptr, *OrgBtn = nullptr, *AllViewBtn = nullptr;
    QRadioButton *CenterRb = nullptr, *FullWRb = nullptr, *WireCenterRB = nullptr;
    QSpinBox* SelWirSpEd = nullptr;
    QSlider *TBarSC = nullptr, *TBarCur = nullptr;
    QLabel* ViewImage = nullptr;   // shows ViewBitmap
    QImage ViewBitmap;

    // ---- Calculate tab ----
    QLabel *Label9 = nullptr, *Label10 = nullptr, *Label11 = nullptr, *Label12 = nullptr, *Label15 = nullptr;
    QLabel* AntName3 = nullptr;
    QComboBox *DoFreq = nullptr, *AntHeight = nullptr, *MaterialSel = nullptr;
    RadioGroup* CalcSel = nullptr;
    QPushButton *CalTrgBtn = nullptr, *GndSetBtn = nullptr, *ACalBtn = nullptr, *EleEditBtn = nullptr;
    QPushButton *ACalResBtn = nullptr, *BwBtn = nullptr, *WireCadBtn = nullptr;
    StringGrid* Grid1 = nullptr;
    QPlainTextEdit* LogMemo = nullptr;  // the calculation log

    // ---- Far field plots tab ----
    QPushButton *EleBtn = nullptr, *Btn3D = nullptr, *PrintBtn = nullptr;
    RadioGroup* WaveSel = nullptr;
    QCheckBox* OrientCB = nullptr;  // "+90 dg"
    QLabel* DNImage = nullptr;      // shows DNBitmap
    QImage DNBitmap;

    // ---- Main menu ----
    QMenu *K1 = nullptr, *KE1 = nullptr, *KV1 = nullptr, *T0 = nullptr, *KH1 = nullptr;
    QMenu *Reopen = nullptr, *KXY = nullptr, *K22 = nullptr, *LanguageMenu = nullptr, *UserMen = nullptr;
    QMenu* KKORVAWebW1 = nullptr;
    // File
    QAction *K2 = nullptr, *K3 = nullptr, *K4 = nullptr, *K5 = nullptr, *K34 = nullptr, *K12 = nullptr;
    QAction *K11 = nullptr, *K19 = nullptr, *K20 = nullptr, *KC2 = nullptr, *K31 = nullptr, *K32 = nullptr;
    QAction *K49 = nullptr, *NWLDat = nullptr, *K6 = nullptr;
    // Edit
    QAction *K13 = nullptr, *K14 = nullptr, *K27 = nullptr, *K28 = nullptr, *KT2 = nullptr;
    QAction *KXY1 = nullptr, *KXZ1 = nullptr, *KYZ1 = nullptr, *K33 = nullptr, *KS4 = nullptr;
    QAction *K23 = nullptr, *K24 = nullptr, *K25 = nullptr, *K26 = nullptr, *K37 = nullptr, *K45 = nullptr;
    QAction *K38 = nullptr, *K39 = nullptr, *K36 = nullptr, *K30 = nullptr, *KCAD = nullptr, *K18 = nullptr;
    // Service
    QAction *K21 = nullptr, *Tabposition1 = nullptr, *ToolBV = nullptr;
    // Tools
    QAction *KC1 = nullptr, *K8 = nullptr, *K15 = nullptr, *K17 = nullptr;
    QAction *User1Menu = nullptr, *User2Menu = nullptr, *User3Menu = nullptr, *EditUsProg = nullptr;
    // Help
    QAction *KORVAhelp1 = nullptr, *WnewM = nullptr, *KORVAinternational1 = nullptr;
    QAction *KWeb4 = nullptr, *KWeb5 = nullptr, *K10 = nullptr;

    // ---- Popup menus ----
    QMenu *EditPop = nullptr, *PopupLoad = nullptr, *PopupAnt = nullptr, *K40 = nullptr;
    QAction *K7 = nullptr, *K9 = nullptr, *K35 = nullptr, *KR1 = nullptr, *KM1 = nullptr, *KT1 = nullptr;
    QAction *K46 = nullptr, *K47 = nullptr, *O1 = nullptr;
    QAction *KS1 = nullptr, *KS2 = nullptr, *KS3 = nullptr;
    QAction *K29 = nullptr, *K41 = nullptr, *K42 = nullptr, *K43 = nullptr, *K44 = nullptr, *KS5 = nullptr;
    QAction *KM2 = nullptr, *KT3 = nullptr, *KC3 = nullptr, *K48 = nullptr;

    // ---- Toolbar ----
    QToolBar* ToolBar1 = nullptr;
    QAction *ToolButton2 = nullptr, *ToolButton4 = nullptr, *ToolButton6 = nullptr, *ToolButton8 = nullptr;
    QAction *ToolButton9 = nullptr, *ToolButton10 = nullptr, *ToolButton12 = nullptr, *ToolButton14 = nullptr;

    QTimer* Timer1 = nullptr;  // ends a resize, 100 ms

    // ---- State ----
    int FirstShow = 1;
    CACal* ACal = nullptr;     // optimizer state; null until an optimization needs it
    CAlignList AlignList;
    CAlignGrid AlignGrids[4];  // Grid1..Grid4
    QPoint LastClick;          // last click on the antenna view
    uint32_t PlotPalette[10] = {};
    QAction* ReopenItems[10] = {};
    QString FileName;          // antenna file of the current antenna; empty for a new one
    std::string Comment;       // the antenna's comment text (bytes)
    AntDef Ant;                // the antenna definition
    // Beside it, kept with it: the identities of its wires and entries, and
    // the wires its positions were last placed against.
    AntennaIdentities AntIds;
    PositionKeeper Positions;
    // The lines of AddPositionLines not yet shown by a Start or a run.
    std::vector<std::string> HeldPositionLines;
    AntDef* CalcAnt = &Ant;    // the calculation copy: Ant itself or a stacked heap copy
    double ViewAzimuth = 220.0;
    double ViewElevation = -30.0;
    bool ResizePending = false;
    QSize LaidOutWindowSize;   // window and page sizes of the last re-layout
    QSize LaidOutPageSize;
    // What each holder of results and the engine's prepared model were
    // computed from.
    ResultOrigin Origin;
    // The one question of every holder of results, asked before they are
    // shown, offered, reused or computed from: they were computed from the
    // antenna and the settings as they stand now, the fields read as the next
    // Start would read them.
    bool ResultsBelongToAntenna(ResultHolder holder = ResultHolder::Row,
                                ResultUse use = ResultUse::ComputeFrom) const;
    // The state that question compares with (the fingerprint of the antenna
    // and settings as the next Start would compute them); none while a
    // field does not read.
    std::optional<uint64_t> StateNow() const;
    // The newest row belongs for `use` and holds pattern cuts.
    bool PatternOfThisAntenna(ResultUse use) const;
    // A new cut, the 3D view or the sweep plots asked of results read from a
    // far-field file: they are refused with a box saying why (true).
    bool RefuseResultsOfAFile();
    // Offers the commands on results only while their results belong, and
    // closes what shows results beside the window's own redraws (the 3D
    // view) once they no longer do; run by UpdateMenuState and whenever the
    // program waits for input, so no edit has to ask for it.
    void ShowOnlyResultsThatBelong();
    bool Closing = false;

    // The engine's notices (a wire it refuses) are shown once per
    // calculation: the first of a calculation in the information box, the
    // others only in the log. The preparations between calculations (after an
    // edit, for the view) only log them, so typing shows no box at each key.
    enum class NoticeState { Quiet, Armed, Shown };
    NoticeState Notices = NoticeState::Quiet;
    void EngineNotice(const std::string& text);
    // A calculation for the length of a scope; nested scopes are one calculation.
    class CalculationNotices {
    public:
        explicit CalculationNotices(TMainWnd& wnd) : wnd_(wnd), outer_(wnd.Notices) {
            if (outer_ == NoticeState::Quiet) wnd.Notices = NoticeState::Armed;
        }
        ~CalculationNotices() { wnd_.Notices = outer_; }
        CalculationNotices(const CalculationNotices&) = delete;
        CalculationNotices& operator=(const CalculationNotices&) = delete;

    private:
        TMainWnd& wnd_;
        NoticeState outer_;
    };
    bool CloseAfterRun = false;  // a close came while a calculation ran
    RecentFiles Recent;       // shown in the ten Reopen items
    QString ProgramFolder;     // folder of the executable
    QString AntFolder;         // default folder of antenna files
    QString ResFolder;         // default folder of result and other files
    QStringList Arguments;     // command line, argument 0 the program

    // ---- Antenna definition and edit fields ----
    bool GetAntDef();
    // The calculation fields as the next Start would take them; false (with
    // the reason in `error` when asked) for a field that does not read.
    bool ReadCalculationFields(CalculationFields& fields, QString* error) const;
    // The name field and the calculation fields stored into the records.
    void TakeFieldsInto(const CalculationFields& fields, AntDef& ant, EnvRec& env) const;
    // After a refusal: a segmentation field out of its range shows the value kept.
    void ShowKeptSegmentation();
    void SetAntDef();
    // A calculation frequency typed on the Calculate tab waits in its field
    // for Start; every command takes it into the record first, so a command
    // that shows the record in the fields keeps it.
    void TakeTypedFields();
    void NewAntDef();
    // Every table of an antenna that replaces the record starts at its first cell.
    void StartTablesAtFirstCell();
    // Every antenna read in (Open, Reopen, a far-field file, an optimization
    // log, the text editor, the command line) replaces the record here: no
    // result, identity or placed position of the one before is kept. `env`:
    // the calculation fields read with it, the ground among them.
    void TakeReadAntenna(const AntDef& read, const ModelEnvFields& env);
    // A new antenna read from an antenna text; false, with nothing changed,
    // when the text is not a whole antenna text (`refusal` then says why,
    // where the antenna's normal form can tell).
    bool ReadNewAntenna(const std::string& text, std::string* refusal = nullptr);
    void AntChanged();
    // The calculation field shows the record's calculation frequency, the one
    // just prepared, which the next Start reads back (SetAntDef shows the
    // design frequency there).
    void ShowCalcFreq();
    // AntChanged after an edit of the wire table that moved or removed
    // sources and loads; `notes` go to the log.
    void AntChangedWithNotes(int sourcesBefore, const std::vector<std::string>& notes);
    void UpdateCount();
    int FindWireSource(char* letter, int wire);
    void DeleteSource(int k);
    void AddWireSource(char letter);
    void SetAutoVol();

    // Positions placed for the edits of the wires not yet settled; the lines
    // go to the log. Every edit that moves wires ends here (or in the
    // preparation, which calls it).
    void SettlePositions();
    // The same, the lines returned (for a caller that starts the log anew).
    // At a run's own frequency (see PositionKeeper::SettleAtRunFrequency).
    std::vector<std::string> PlacePendingPositions(bool atRunFrequency = false);
    // Whatever keeps numbers or identities of the antenna's parts follows a
    // renumbering of its wires or entries: the identities, the positions'
    // wires, the optimizer's rows.
    void FollowAntennaRenumbering(const AntDef& ant, const WireRenumbering& change, const EntryRenumbering& entries,
                                  std::vector<std::string>& notes);
    // Every position an optimization run places as it moves wires: the
    // antenna's loads, its sources (in a multi-band run the bands' sources,
    // which the bands put into it, take their place) and those above.
    std::vector<PositionKeeper::Holder> RunPositions(CACal& cal);
    // After a multi-band run: a line naming the sources the bands fed and
    // those the antenna is left with, when they are not those it had.
    void ReportBandSources(const AntDef& before);

    // ---- Calculation copy ----
    // At a frequency of a run over frequencies of its own, `atRunFrequency`.
    int PrepareCalcAnt(bool atRunFrequency = false);
    // PrepareCalcAnt without the optimizer's following; `turned`: the wires
    // the preparation turned round already.
    int PrepareCalcModel(const std::vector<int>& turned);
    bool BuildStackedAnt();
    int PrepareEngineModel();

    // ---- Life cycle and refresh ----
    void RefreshAll();
    void UpdateMenuState();
    void PageChange();
    void DrawAntenna();
    void FormResize();
    void FormActivate();

    // ---- Tabs and view commands ----
    void Tabposition1Click();
    void ToolBVClick();
    // The rotation centre as a code: 1 "Selected wire", 2 "Midle point of
    // antenna", 0 the origin. Commands that edit the geometry take the code
    // and the selected wire before the edit and hand both back afterwards.
    int RotationCentreCode() const;
    void ReapplyRotationCentre(int wire, int code);

    // ---- Geometry tables ----
    bool WireRowEdited(int index);
    void SourceRowEdited(int index);
    void LoadRowEdited(int index);
    QString LoadCellText(int col, int row) const;

    // ---- Start and the results table ----
    void CalTrgBtnClick();
    // A new results row for the environment as it is; the sweep table is cleared.
    void PushResultRow();
    QString Grid1CellText(int col, int row) const;
    void SetLogFailed(bool failed);
    void AddLogLine(const QString& line);
    void AddLogLines(const std::vector<std::string>& lines);
    // Lines of where positions went when they were placed anew, or of the
    // entries and optimizer rows an edit removed or moved: each stays
    // in the log, written again after every clearing (a Start's, a
    // preparation's, a run's), until a Start or an optimization run has
    // shown it where the user reads the results (PositionLinesShown).
    void AddPositionLines(const std::vector<std::string>& lines);
    void ClearLog();
    void PositionLinesShown();
    bool LogFailed() const;
    QStringList LogLines() const;

    // ---- Antenna view and far-field plots ----
    AntennaViewState ViewState;
    ViewTransform CurrentViewTransform() const;
    bool PickWire(int x, int y);
    void ShowViewTab();
    void DrawFarFieldPanel();
    void RedrawPlots();
    void DrawPlotReadout(int x, int y);
    void UpdatePlotCursor();
    void FormKeyDown(int key);
    void FormKeyUp(int key);
    void ViewImageMouseDown(Qt::MouseButton button, int x, int y);
    void ViewImageMouseMove(int x, int y);
    void ViewImageMouseUp(int x, int y);
    void ViewImageDblClick();
    void DNImageMouseDown(Qt::MouseButton button, int x, int y);
    void DnImageMouseMove(int x, int y);
    void DNImageMouseUp();
    void K29Click();
    void OrgBtnClick();
    void AllViewBtnClick();
    void TBarSCChange(QObject* sender);
    void SelWirSpEdChange(bool draw = true);
    void CenterRbClick(bool bySender);
    void FullWRbClick(bool bySender);
    void WireCenterRBClick(bool draw = true);
    void WaveSelClick(int index);
    void OrientCBClick();

    // ---- Messages ----
    void ShowError(const QString& text);
    void FitView();

    // ---- Recent files ----
    void ShowRecentFiles();
    int RecentCount() const { return Recent.Count(); }

    // ---- Commands ----
    void K10Click(QObject* sender);
    void KS1Click();
    void KS2Click();
    void KS3Click();

    // ---- Table edit commands ----
    void K7Click(QObject* sender);  // the row commands and dialogs, by the sender's tag
    void DeleteTableRow();
    void InsertTableRow();
    StringGrid* FocusedTable() const;  // the focused geometry table, or null

    // ---- Geometry, source and memory commands ----
    void KXYClick(QObject* sender);  // exchange of two axes, by tag
    void K23Click(QObject* sender);  // rounding to the tag's digits
    void RoundValues(int digits, bool radii);
    void K35Click();                 // exchange of the current wire's ends
    void PopupAntPopup();            // the source items of the view's popup
    void K41Click();                 // delete the source of the current wire
    void K42Click(QObject* sender);  // move or add the source, letter by tag
    void K38Click();                 // keep the antenna in temporary memory
    void K39Click();                 // restore it from there
    void K36Click();                 // restore the antenna before the optimization
    // What named the parts of a kept antenna text (identities, the
    // optimizer's rows), for that text alone.
    KeptAntenna TempMemoryReferences, PreOptimizationReferences;
    // Keeps the antenna as it stands, the rows following the edits first.
    KeptAntenna KeepAntennaNow();
    // Replaces the antenna by a kept text after the user agreed (question
    // `question` of the main messages), with what `references` kept with it.
    void RestoreKept(const std::string& kept, const KeptAntenna& references, int question);
    // The geometry dialog of a K7Click tag; false for a tag that has none.
    bool RunGeometryDialog(int tag);
    void K37Click();                 // stacking
    void KCADClick();                // the graphical wire editor
    void K30Click();                 // the antenna definition as text
    void K34Click();                 // the comment
    void K18Click();                 // the element table
    void EditTaperWireSet();         // the taper wire sets
    void K47Click();                 // the pieces of the current tapered wire

    // ---- File commands ----
    // The antenna text a save would write now, the fields taken in; empty
    // while a field does not read.
    std::string TextASaveWrites() const;
    // The antenna differs from what was last opened, saved or begun new,
    // in anything a save writes: what the save question asks about.
    bool AntennaChanged() const;
    // What a save would write now counts as unchanged.
    void MarkAntennaUnchanged();
    std::string UnchangedText;
    // The save question before the antenna is replaced; false when the user
    // cancels or a chosen save failed.
    bool QuerySave();
    int OpenAntFile(const QString& name);        // 1 when the antenna was loaded
    // The box of a file refused as no antenna of ours, with the reason on a
    // second line when there is one.
    static void ReportInvalidFile(const QString& name, const std::string& reason);
    bool SaveAntFile(const QString& name);
    bool OpenFarFieldFile(const QString& name);
    bool SaveFarFieldFile(const QString& name);
    void K2Click();   // New
    void K3Click();   // Open
    bool K4Click();   // Save; true when the antenna was saved
    bool K5Click();   // Save as; true when the antenna was saved
    void K11Click();  // Save far field
    void K12Click();  // Open far field
    bool OpenOptLogFile(const QString& name);
    bool SaveOptLogFile(const QString& name);
    void K19Click();  // Open optimization log
    void K20Click();  // Save optimization log
    // Folder and recent files after an optimization log was opened.
    void AfterOptLogOpened(const QString& name);
    // The optimizer state, created on first use.
    CACal& OptimizerState();
    // Binds the optimizer state (when there is one) to the antenna as it now
    // stands; the lines its rows give on following the edits go to the log.
    void AttachOptimizer();
    void ConnectOptimizerCommands();

    // ---- Optimization run ----
    void ACalBtnClick();     // starts a run, or asks the running one to stop
    bool OptCalc();          // one calculation of the antenna as the optimizer left it
    void DrawOptInfo();      // the optimizer's two status lines shown over the antenna view
    void SetOptRunning();    // running or idle state by JobDef.Busy
    void ACalResBtnClick();  // the optimization log: apply a chosen point
    void ConnectOptRunCommands();
    bool OptRunning = false;  // the window is in the running state
    bool OptCalcFailed = false;  // the last OptCalc failed in the engine or the preparation
    uint32_t OptDrawnAt = 0;     // tick of the last redraw during a run
    bool OptStatusDue = false;   // the view was redrawn since the status was last shown
    // Records an opened or saved file (ok) or drops one that could not be opened.
    void AddRecentFile(const QString& name, bool ok);
    void ReopenClick(int slot);                  // slot 1..10, 1 the newest
    void OpenFileByExt(const QString& name);

    // ---- Printing and pictures ----
    void PrintBtnClick();  // prints the far-field plots on one page
    void SavImBtnClick();  // saves the antenna view as a JPEG or BMP picture

    // ---- Result tables ----
    void KC2Click();     // table of currents (*.csv)
    void K31Click();     // table of near fields (*.csv)
    void K32Click();     // table of angle/gain (*.csv)
    void KC1Click();     // comparison of results
    // The near-field and angle/gain tables' default output path.
    std::string DefaultRequestPath() const;
    void EleBtnClick();  // horizontal pattern at a chosen elevation

    // ---- 3D pattern view ----
    void Btn3DClick();    // opens the view, or closes the open one
    void Refresh3DView(); // after a successful Start, when a view is open
    void Close3DView();

    // ---- Language, help and user programs ----
    std::vector<QAction*> LanguageItems;  // the language menu's items, built once
    QString HelpFileName;                 // named by the active language; in the program folder
    QString RoundDigitsCaption = "digits";  // the text of the round-value items after their number
    // Loads line `index` of the language list as the active language; a file
    // that is missing or broken is reported and the current language stays.
    bool LoadLanguage(int index);
    // Applies the active language to this window and the shared texts, or the
    // English texts when none is active.
    void ApplyLanguage();
    void English1Click(QObject* sender);         // a language item
    void KORVAhelp1Click(QObject* sender);       // help (tag 1) and news (tag 2)
    void KORVAinternational1Click(QObject* sender);  // web pages by tag
    void K17Click();                             // calculator
    void nec2fmClick(QObject* sender);           // user programs by tag
    void K21Click();                             // options and setup
    void EditUserPrograms(int slot);             // the user-programs dialog for slot 1..3, 0 any
    void EditUserMaterial();                     // the user wire material
    QString LanguageFolder() const;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Construction, one file each.
    void FormCreate();
    void BuildGeometryTab();
    void BuildViewTab();
    void BuildCalcTab();
    void BuildFarFieldTab();
    void BuildMenus();
    void BuildPopups();
    void BuildToolBar();
    void ConnectFields();
    void ConnectCommands();
    void ConnectView();
    void ConnectFileCommands();
    void ConnectTableEdit();
    void ConnectGeometryCommands();
    void ConnectGeometryDialogs();
    void ConnectWireCad();
    void ConnectElementCommands();
    void ConnectMemoryCommands();
    // Wires a command of the window: no exception leaves it (RunGuarded shows
    // it in the error box) and the menu state follows it. A command that
    // changes or replaces the antenna never runs while busy; the few that must
    // (they stop the run or check the state themselves) say so. Every other
    // connection of the window goes through ConnectGuarded.
    enum class WhileBusy { Refused, Runs };
    void ConnectGuardedCommand(QAction* action, std::function<void()> command, WhileBusy busy = WhileBusy::Refused);
    void ConnectGuardedCommand(QAbstractButton* button, std::function<void()> command,
                               WhileBusy busy = WhileBusy::Refused);
    void RunWindowCommand(const std::function<void()>& command, WhileBusy busy);
    void ConnectPrintCommands();
    void ConnectResultTables();
    void Connect3DView();
    // Frequency runs: sweep plots, frequency table, multiband list.
    void ConnectSweepCommands();
    SweepHost SweepRunHost();
    void BwBtnClick();
    void K49Click();
    void NWLDatClick();
    void ShowOpenedFarField();
    void SetupGrids();
    void SetupResultsTable();
    void InitLayout();
    void CreateReopenMenu();
    void FormShow();
    void Timer1Timer();
    void DestroyOptimizerState();
    // Makes `state` the optimizer state; its references into the antenna
    // follow every renumbering of the antenna's wires from then on
    // (FollowAntennaRenumbering).
    void AdoptOptimizerState(CACal* state);
    void FreeCalcCopy();
    void ShowLanguage();
    void BuildLanguageMenu(const std::vector<std::string>& listLines);
    void CheckLanguageItem();
    void ApplyMainWndSection(const MainLanguage& language);
    void ApplyHintSection(const MainLanguage& language);
    void ConnectHelpCommands();
    void ConnectUserPrograms();
    void ConnectCalculators();
    void UpdateUserProgramItems();

    // Field handlers.
    void FreqChange();
    void AntNameChange();
    void EditDM1Change();
    void EditDM2Change();
    void EditECChange();
    void EditSCChange();
    void EnbLoadClick();
    void DoFreqChange(QObject* sender);
    void ApplyGroundControls();
    void ChkRmdClick();

    // Table handlers.
    void Grid2SetEditText(int col, int row, const QString& text);
    void Grid3SetEditText(int col, int row, const QString& text);
    void Grid4SetEditText(int col, int row, const QString& text);
    QString Grid2CellText(int col, int row) const;
    QString Grid3CellText(int col, int row) const;
    QString WireCellText(int col, int row) const;
    QString SourceCellText(int col, int row) const;
    QString LoadHead(int col) const;
    bool Grid4CanEdit(int col, int row);
    void SetLoadType(int type);
    void Grid1MouseMove(int col, int row);

    int fieldsLocked_ = 0;
  // >0 while the window writes its own fields
};

extern TMainWnd* MainWnd;
// True for a command-line argument that names a file to open (not a switch).
bool IsCommandLineFile(const QString& arg);
// Set when no settings file existed at start-up; consumed by the first show.
extern bool FirstStart;
// Antenna texts kept by the Edit menu's temporary memory and before the last
// optimization; both empty at start.
extern std::string TempMemoryText;
extern std::string PreOptimizationText;
