// The optimization run of the main window: the Optimization button starts a
// run (or asks the running one to stop), each evaluation is one calculation
// of the antenna as the optimizer left it, the progress shows on the antenna
// view, and afterwards the best variant is the current antenna and result;
// the log can be saved and the filtered calculation log goes to "scan.txt".
#include "app/MainWnd.h"
#include "app/PlainNumber.h"
#include "draw/PolarPlot.h"
#include "editing/GrpWireDlg.h"
#include "engine/CalcRuns.h"
#include "engine/EngineError.h"
#include "model/AntennaText.h"
#include "model/EnvDef.h"
#include "model/Messages.h"
#include "model/NumberText.h"
#include "model/ResultStore.h"
#include "model/SafeFile.h"
#include "optimizer/ACalDlg.h"
#include "optimizer/ACalResDlg.h"
#include "optimizer/OptimizerState.h"
#include "platform/BusyRun.h"
#include "platform/Canvas.h"
#include "platform/Prompter.h"
#include "platform/RadioGroup.h"
#include "platform/StringGrid.h"
#include "platform/SettingsPath.h"
#include "platform/ShownNumber.h"
#include "platform/System.h"
#include "views/ResultsKeeper.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPixmap>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <algorithm>
#include <cfloat>
#include <cstring>
#include <exception>

namespace {

// What the search needs of the window.
class WindowHost : public OptimizerHost {
public:
    explicit WindowHost(TMainWnd& wnd) : wnd_(wnd) {}
    bool OptCalc() override { return wnd_.OptCalc(); }
    void AddLogLine(const std::string& line) override { wnd_.AddLogLine(QString::fromStdString(line)); }
    void ClearLog() override { wnd_.ClearLog(); }
    void PlacePositions() override { wnd_.Positions.PlaceRun(wnd_.Ant); }
    std::optional<uint64_t> PointOrigin() const override { return wnd_.Origin.PreparedFrom(); }
    // After each logged evaluation: the newest line once on each redrawn
    // picture; between redraws the picture stays as it is shown.
    void DrawOptInfo() override {
        if (!wnd_.OptStatusDue) return;
        wnd_.OptStatusDue = false;
        wnd_.DrawOptInfo();
    }

private:
    TMainWnd& wnd_;
};

// The field reads back as the value, not as its six decimals, until edited.
void SetFieldText(QComboBox* box, double value) {
    const QSignalBlocker block(box);
    ShowNumber(box, value, QString::fromStdString(DblToStr(value)));
}

// The numeric evaluation lines of the log, without their best-so-far mark:
// every line with a letter 'a' or 's' (headers, goal summary, time) goes.
std::string ScanText(const QStringList& lines) {
    std::string text;
    for (const QString& line : lines) {
        if (line.contains('a') || line.contains('s')) continue;
        QString kept = line;
        const int star = kept.indexOf('*');
        if (star >= 0) kept.remove(star, 1);
        text += kept.toStdString() + "\r\n";
    }
    return text;
}

// The frequencies of a multi-band run: each band's.
std::vector<double> RunFrequencies(const CACal& cal) {
    std::vector<double> frequencies;
    for (int b = 0; cal.BandCount > 1 && b < std::min(cal.BandCount, MaxBands); ++b) frequencies.push_back(cal.Bands[b].Freq);
    return frequencies;
}

}  // namespace

void TMainWnd::ConnectOptRunCommands() {
    // Not guarded by the busy flag: while a run is under way the button stops it.
    ConnectGuarded(ACalBtn, &QPushButton::clicked, this, [this] { ACalBtnClick(); });
    ConnectGuarded(K8, &QAction::triggered, this, [this] { ACalBtnClick(); });
    ConnectGuardedCommand(ACalResBtn, [this] { ACalResBtnClick(); });
    ConnectGuardedCommand(K15, [this] { ACalResBtnClick(); });
}

void TMainWnd::ACalBtnClick() {
    if (JobDef.Busy) {
        JobDef.StopRequest = 1;
        return;
    }
    JobDef.StopRequest = 0;
    const CalculationNotices notices(*this);
    for (StringGrid* g : {Grid2, Grid3, Grid4}) g->CloseEditor();
    if (!GetAntDef()) return;
    if (Ant.CalcFreq == 0.0) Ant.CalcFreq = Ant.Freq;
    CACal& cal = OptimizerState();
    if (Ant.SourceCount >= 1 && cal.BandCount <= 1) {
        for (auto& band : cal.Bands) band = ACalBandRec{};
        cal.BandCount = 1;
        cal.Bands[0].Freq = Ant.CalcFreq != 0.0 ? Ant.CalcFreq : Ant.Freq;
        for (int i = 0; i < std::min(Ant.SourceCount, BandSources); ++i) cal.Bands[0].Sources[i] = Ant.Sources[i];
    }
    DNImage->setCursor(Qt::ArrowCursor);
    JobDef.Interactive = 1;
    // The results of the last calculation stay when the dialog is cancelled
    // or the run scores nothing, as long as the antenna is the same.
    ResultsKeeper keeper(SweepRunHost(), RunsLeave::Nothing);
    // The preparations start the log anew: what the rows did on following
    // the edits is said after them, also on Cancel.
    AntIds.FitTo(Ant);
    const std::vector<std::string> followed = cal.Attach(Ant, EnvDef, &AntIds);
    const bool prepared = keeper.PrepareAt(Ant.CalcFreq);
    AddLogLines(followed);
    if (!prepared) return;

    const std::string before = WriteAntennaText(Ant, EnvDef, Comment);
    auto antennaEdited = [&] { return WriteAntennaText(Ant, EnvDef, Comment) != before; };
    TACalDlg dialog(this, font().family());
    // The dialog picks element variables in the element table.
    dialog.PickElement = [font = font().family()](QWidget* owner, int& index, int& kind,
                                                  const ElementVariables& taken, AntDef& ant) {
        TGrpWireDlg table(owner, font);
        return table.SelectVariable(index, kind, ant, &taken);
    };
    if (!dialog.Execute(&cal)) {
        // The value column edits the antenna at once, also on Cancel.
        if (antennaEdited()) {
            SetAntDef();
            AntChanged();
        } else {
            keeper.Restore();
            AddLogLines(followed);
        }
        return;
    }

    // The value column may have moved wires: the positions follow them
    // before the run starts from them.
    const std::vector<std::string> placed = PlacePendingPositions();
    ClearLog();
    AddPositionLines(placed);
    const ResultOrigin originBefore = Origin;
    PushResultRow();
    PreOptimizationReferences = KeepAntennaNow();
    PreOptimizationText = PreOptimizationReferences.Text;
    std::vector<std::string> goal;
    cal.ShowGoal(goal);
    for (const auto& line : goal) AddLogLine(QString::fromStdString(line));

    OptCalcFailed = false;
    OptDrawnAt = TickCount() - 1000;
    OptStatusDue = false;
    uint32_t t0 = 0;
    uint32_t t1 = 0;
    bool ok = false;
    const auto startAnt = std::make_unique<AntDef>(Ant);
    Positions.BeginRun(Ant, RunPositions(cal), RunFrequencies(cal));
    try {
        BusyRun busy;
        SetOptRunning();
        QApplication::processEvents();
        WindowHost host(*this);
        t0 = TickCount();
        ok = cal.Optimize(host);
        t1 = TickCount();
    } catch (...) {
        // No exception may leave the run with the window in its running
        // state: the busy flag has dropped, the controls follow it. The
        // results are those of a point half calculated.
        Origin.Forget();
        Positions.EndRun(Ant);
        SetOptRunning();
        UpdateMenuState();
        throw;
    }
    AddLogLine(QString::fromStdString(ShortestFloat(RoundTo((t1 - t0) * 0.001, 2))) + " sec");
    AddPositionLines(Positions.EndRun(Ant));
    ReportBandSources(*startAnt);
    Ant.Changed = 1;

    // Nothing scored (the first calculation failed): the antenna is back at
    // its start and the results stay as they were; those of an antenna the
    // dialog edited no longer hold a far field.
    const bool scored = cal.BestScore > -DBL_MAX;
    if (scored) {
        // The preparation clears the far-field flag: the best result after it.
        // It is of the state its point was computed in, which the antenna
        // left may not be (a band's feeds left in place of another's).
        PrepareCalcAnt();
        Results.CopyLatest(cal.BestResult);
        Origin.Computed(ResultHolder::Row, cal.BestOrigin);
        Origin.Computed(ResultHolder::Sweep, cal.BestOrigin);
        // The kept result is that of the frequency the antenna is left at.
        Results.InitSweep(Ant.CalcFreq);
        CopyText(Results.Title, Ant.Name);
    } else {
        keeper.Restore();
        Origin.PutBackHolders(originBefore);
        if (antennaEdited()) {
            Results.HasFarField = 0;
            Results.ClearSweep();
        }
    }
    // The evaluations scaled the plots to each of theirs.
    PatternMaxGain = Results.GainMax;
    SetAntDef();
    SetFieldText(DoFreq, Ant.CalcFreq);
    SetFieldText(AntHeight, EnvDef.AntHeight);
    RedrawPlots();
    SetOptRunning();
    UpdateMenuState();
    // The questions below are asked over the outcome, not over the last
    // point calculated; the redraw limit may have skipped the last status
    // line, which then goes over the antenna kept.
    RefreshAll();
    DrawOptInfo();
    if (OptCalcFailed) {
        SetLogFailed(true);
        ErrorBox("The optimization stopped: a calculation failed (see the calculation log).");
    }
    if (ok && YesNoBox("%s", MainMessages[MsgSaveOptLog]) == BoxYes) K20Click();

    // Beside the settings file: the program folder when it is writable.
    const std::string scan = QFileInfo(QString::fromStdString(SettingsFilePath())).dir().filePath("scan.txt").toStdString();
    std::string error;
    if (!WriteFileReplacing(scan, ScanText(LogLines()), &error))
        ErrorBox("Can not save %s: %s", scan.c_str(), error.c_str());
    UpdateMenuState();
    // What the edits and the run did to the positions stands in its log.
    PositionLinesShown();
    if (CloseAfterRun) {
        CloseAfterRun = false;
        QTimer::singleShot(0, this, [this] { close(); });
    }
}

bool TMainWnd::OptCalc() {
    Ant.Edited = 0;
    JobDef.Interactive = 0;
    if (!PrepareCalcAnt()) {
        OptCalcFailed = true;
        return false;
    }
    // Yes goes on with the calculation below ground; No ends the run.
    if (EnvDef.Type != GroundFree && CalcAnt->LowestZ + EnvDef.AntHeight < 0.0 &&
        YesNoBox("MB ACalcExecute ?") != BoxYes)
        return false;
    Results.Row(0)->Height = static_cast<float>(EnvDef.AntHeight);
    bool ok = true;
    try {
        if (ACal && ACal->TwoDegree)
            RunQuickCalc();
        else
            ok = RunFullCalc();
    } catch (const std::exception& e) {
        AddLogLine(QString::fromStdString(e.what()));
        ok = false;
    }
    if (!ok) {
        // A failed point would be scored from the results of the one before.
        OptCalcFailed = true;
        return false;
    }
    PatternMaxGain = Results.GainMax;
    Results.HasFarField = 1;
    // The plots and currents shown during the run are the point's own.
    Origin.Computed(ResultHolder::Row);
    // The tab is redrawn at most 25 times a second: a small antenna is
    // calculated far faster than a user can follow, and the drawing would
    // cost more than the calculation. The messages are pumped every time.
    const uint32_t now = TickCount();
    const bool redraw = now - OptDrawnAt >= 40;
    if (redraw) OptDrawnAt = now;
    const QWidget* tab = redraw ? Page->currentWidget() : nullptr;
    if (tab == TabSheet1) {
        Grid2->Invalidate();
        Grid4->Invalidate();
    } else if (tab == TabSheet2) {
        DrawAntenna();
        // The picture is shown at the pump below: the status lines of the
        // point before go over it, or they would never be seen.
        DrawOptInfo();
        OptStatusDue = true;
    } else if (tab == TabSheet3) {
        Grid1->Invalidate();
        SetFieldText(DoFreq, Ant.CalcFreq);
        SetFieldText(AntHeight, EnvDef.AntHeight);
    } else if (tab == TabSheet4) {
        RedrawPlots();
    }
    // Where a click on the Optimization button or a close request arrives.
    QApplication::processEvents();
    return true;
}

void TMainWnd::DrawOptInfo() {
    if (!ACal || Page->currentWidget() != TabSheet2 || ViewBitmap.isNull()) return;
    // The lines go on a copy: the antenna picture stays clean, so each
    // showing holds one header and one line, never the lines before.
    QImage shown = ViewBitmap.copy();
    {
        Canvas c(&shown);
        c.SetFont(ViewImage->font());
        c.SetTextTransparent(true);
        const int h = c.TextHeight(ACal->LogLine);
        const int y = shown.height() - h - h / 2;
        c.TextOut(5, y, ACal->LogLine);
        c.TextOut(5, y - h, ACal->LogHeader);
    }
    ViewImage->setPixmap(QPixmap::fromImage(shown));
}

void TMainWnd::SetOptRunning() {
    const bool running = JobDef.Busy != 0;
    const char* caption = OptButtonCaptions[running ? 1 : 0];
    ACalBtn->setText(QString::fromLatin1(caption[0] ? caption : DefaultOptButtonCaptions[running ? 1 : 0]));
    OptRunning = running;
    for (QWidget* w : std::initializer_list<QWidget*>{ACalResBtn, CalTrgBtn, EleEditBtn, WireCadBtn, DoFreq,
                                                      MaterialSel, CalcSel, GndSetBtn, BwBtn, PrintBtn, EleBtn})
        w->setEnabled(!running);
    // The added height is a field of the grounds only, as its label says.
    AntHeight->setEnabled(!running && EnvDef.Type != GroundFree);
    // Toolbar and popup entries of the editors: their commands are refused
    // while busy, so they should not look usable either.
    for (QAction* a : {ToolButton8, ToolButton9, K46, KC3}) a->setEnabled(!running);
    // The 3D view would calculate on a variant in the middle of the run.
    if (running) Btn3D->setEnabled(false);
    Page->setTabEnabled(Page->indexOf(TabSheet1), !running);
    for (QMenu* m : {K1, KE1, KV1, KH1}) m->menuAction()->setEnabled(!running);
}

void TMainWnd::ACalResBtnClick() {
    if (!ACal || ACal->LogCount <= 0) return;
    AttachOptimizer();
    TACalResDlg dialog(this, font().family());
    if (!dialog.Execute(ACal, StateNow())) return;
    Ant.Changed = 1;
    Results.HasFarField = 0;
    Results.AngleStep = 0;
    SetAntDef();
    JobDef.Interactive = 1;
    SetFieldText(DoFreq, Ant.CalcFreq);
    SetFieldText(AntHeight, EnvDef.AntHeight);
    PrepareCalcAnt();
    Results.ClearSweep();
    RefreshAll();
}
