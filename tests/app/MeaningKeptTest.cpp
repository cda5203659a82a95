// What the user chose stays what the program uses and writes. Results are
// refused by every command that computes into or from them once the antenna
// or a setting they were computed from has changed; every change of what a
// save writes is asked about before New drops it; sources, loads and the
// optimizer's rows keep naming what they were made on through edits, the
// wire editor, keeps, restores and log files. One row per case: the row
// brings the window to a state through its real paths, does what a user
// does, and checks what must hold then.
#include "FileCommandsFixture.h"
#include "OptimizerRowsFixture.h"
#include "editing/ElementTable.h"
#include "editing/GrpWireDlg.h"
#include "editing/MediaDlgBox.h"
#include "editing/MoveDlgBox.h"
#include "editing/StackDlgBox.h"
#include "editing/TextEditDlg.h"
#include "editing/WCombDlg.h"
#include "editing/WireCadDlg.h"
#include "editing/WireScaleDlg.h"
#include "engine/PulseLayout.h"
#include "optimizer/ACalResDlg.h"
#include "optimizer/OptLogFile.h"
#include "model/AntennaText.h"
#include "model/EnvDef.h"
#include "model/GeometryEdits.h"
#include "model/PositionText.h"
#include "model/ResultStore.h"
#include "platform/RadioGroup.h"
#include "views/FreqSetDlg.h"
#include "views/NWLForm.h"
#include "views/ResCmpDlg.h"

#include <QAbstractButton>
#include <QAction>
#include <QFile>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <functional>
#include <map>
#include <optional>
#include <ostream>

class MeaningKept;

struct MeaningKeptRow {
    const char* name;
    std::function<void(MeaningKept&)> setup;
    std::function<void(MeaningKept&)> action;
    std::function<void(MeaningKept&)> check;
};

inline void PrintTo(const MeaningKeptRow& row, std::ostream* os) { *os << row.name; }

class MeaningKept : public OptimizerRowsSteps<FileCommandsTest>, public ::testing::WithParamInterface<MeaningKeptRow> {
public:
    TMainWnd& Wnd() { return *wnd; }
    using FileCommandsTest::TempPath;
    using FileCommandsTest::ReadFile;
    using FileCommandsTest::CountShown;
    using FileCommandsTest::Shown;
    // Y2 of wire 1, typed into its cell.
    void TypeY2(const QString& text) { Type(wnd->Grid2, 5, 1, text); }
    using MainWndTest::Type;
    // Opens an antenna given by its wire lines ("x1, y1, z1, x2, y2, z2, r,
    // seg"), source positions and load positions (R+jX loads of 10 ohm).
    void OpenAntenna(const QStringList& wires, const QStringList& sources, const QStringList& loads = {},
                     int ground = GroundFree) {
        QString text = "Meaning kept\r\n*\r\n14.2\r\n***Wires***\r\n" + QString::number(wires.size()) + "\r\n";
        for (const QString& w : wires) text += w + "\r\n";
        text += "*** Source ***\r\n" + QString::number(sources.size()) + ",1\r\n";
        for (const QString& s : sources) text += s + ",0,1\r\n";
        text += "*** Load ***\r\n" + QString::number(loads.size()) + ",1\r\n";
        for (const QString& l : loads) text += l + ",1,10,0\r\n";
        text += "*** Segmentation ***\r\n800,80,2.0,1\r\n*** G/H/M/R/AzEl/X ***\r\n" + QString::number(ground) +
                ",0,0,50,120,60,0\r\n";
        QFile file(TempPath("meaning.kva"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.toLatin1());
        file.close();
        Open({"korva", file.fileName()});
        ASSERT_EQ(wnd->Ant.WireCount, wires.size());
    }
    // Two verticals fed w1b and w2b, a row on wire 1's Z2, and two bands
    // (14.2 and 14.3 MHz) from `firstFed` on holding the antenna's feeds with
    // source 2 at 90 degrees; the bands before hold none.
    void OpenVerticalsWithTwoBands(int firstFed) {
        OpenAntenna({"0,0,10,0,0,15,0.001,11", "3,0,10,3,0,15,0.001,11"}, {"w1b", "w2b"});
        CACal& cal = wnd->OptimizerState();
        wnd->AttachOptimizer();
        cal.BandCount = 2;
        for (int b = 0; b < 2; ++b) {
            cal.Bands[b].Freq = 14.2 + 0.1 * b;
            if (b < firstFed) continue;
            cal.Bands[b].Sources[0] = wnd->Ant.Sources[0];
            cal.Bands[b].Sources[1] = wnd->Ant.Sources[1];
            cal.Bands[b].Sources[1].Phase = 90;
        }
        cal.AddVar(KindWire, 0, 3, LinkFree, 15, 10);
    }
    // The 10.24 m dipole at automatic segmentation, tapered by the first
    // set the Taper wire set dialog makes.
    void OpenTaperedDipole(const QStringList& sources, const QStringList& loads) {
        OpenAntenna({"0,-5.12,10,0,5.12,10,-0.001,-1"}, sources, loads);
        Accept<TWCombDlg>(wnd->K45, [](TWCombDlg& d) { d.Grid->SetEditText(1, 1, "1"); });
        ASSERT_EQ(wnd->Ant.TaperSetCount, 1);
    }
    // The dialog of `command` with `edit` run in it; then OK.
    template <class Dialog>
    void Accept(QAction* command, const std::function<void(Dialog&)>& edit) {
        ExecModalDialog = [&](QDialog& dialog) {
            auto* form = dynamic_cast<Dialog*>(&dialog);
            if (!form) return int(QDialog::Rejected);
            edit(*form);
            return int(QDialog::Accepted);
        };
        command->trigger();
        QApplication::processEvents();
    }
    // The wire editor with `wire` (from 1) selected, its popup opened at
    // `hit`, and the popup's `item` chosen.
    void InWireEditor(int wire, int hit, const std::function<QAction*(TWireCadDlg&)>& item) {
        Accept<TWireCadDlg>(wnd->KCAD, [&](TWireCadDlg& d) {
            d.Model.Select(wire - 1);
            d.HitCode = hit;
            item(d)->trigger();
        });
    }
    // Where the preparation will put a position of the window's antenna, or
    // of `ant` as typed.
    std::optional<Point3D> PointOf(const char* pos, const AntDef* ant = nullptr) const {
        PulseLayout layout;
        if (!LayOutPulses(ant ? *ant : wnd->Ant, layout)) return std::nullopt;
        return layout.PointNamed(pos);
    }
    // A row of the optimizer on the width of element `element` (from 0).
    void VaryElementWidth(int element) {
        CACal& cal = wnd->OptimizerState();
        wnd->AttachOptimizer();
        ACalVarRec width;
        width.Kind = KindElement;
        width.Item = element;
        width.Field = ElWidth;
        cal.AddElementVar(element, ElWidth, cal.GetElementValue(width), 10);
    }
    // The log lines that name `what` ("Source 1 (").
    QStringList LinesAbout(const QString& what) const { return wnd->LogLines().filter(what); }
    void FocusRow(StringGrid* grid, int row) {
        wnd->Page->setCurrentWidget(wnd->TabSheet1);
        wnd->activateWindow();
        grid->setFocus();
        grid->SetCurrentCell(1, row);
        QApplication::processEvents();
        wnd->UpdateMenuState();
    }
    void Restore(QAction* command) {
        prompter.AnswerMessage(BoxYes);
        command->trigger();
    }
    void TypeBehindReflector() { TypeWire(4, {"-8.4", "-5", "10", "-8.4", "5", "10"}); }
    QString LogPath() const { return TempPath("rows.kvo"); }
    std::string AntennaText() const { return WriteAntennaText(wnd->Ant, EnvDef, wnd->Comment); }
    int rowsBefore = 0;
    std::optional<Point3D> pointBefore;
    ResultRow resultBefore{};

    // An antenna of examples/ opened through File / Open, its text changed
    // first where `from` is given.
    void OpenExample(const char* file, const QByteArray& from = {}, const QByteArray& to = {}) {
        QByteArray text = ReadFile(QStringLiteral(KORVA_TEST_DATA "/../../examples/") + file);
        ASSERT_FALSE(text.isEmpty()) << file;
        if (!from.isEmpty()) {
            ASSERT_TRUE(text.contains(from)) << file;
            text.replace(from, to);
        }
        prompter.AnswerFile(WriteFile(file, text).toStdString());
        wnd->K3->trigger();
        ASSERT_GT(wnd->Ant.WireCount, 0) << Shown();
        prompter.Clear();
    }
    // The dipole with a 50 ohm load at its centre.
    void OpenLoadedDipole() {
        OpenExample("dipole.kva", "Load ***\r\n0,\t1\r\n", "Load ***\r\n1,\t1\r\nw1c,\t1,\t50,\t0\r\n");
    }
    // The dipole over perfect ground.
    void OpenGroundedDipole() { OpenExample("dipole.kva", "\n0,\t0.0,\t0,\t50.0", "\n1,\t0.0,\t0,\t50.0"); }

    void Start() {
        wnd->CalTrgBtn->click();
        ASSERT_EQ(Results.HasFarField, 1) << wnd->LogLines().join("\n").toStdString();
        ASSERT_EQ(Results.RowCount, 1);
        startedFreq_ = Results.Row(0)->F;
    }

    static void TypeInto(QComboBox* box, const QString& text) {
        box->lineEdit()->setFocus();
        box->lineEdit()->selectAll();
        QTest::keyClicks(box->lineEdit(), text);
    }
    void ChooseMaterial() {
        wnd->MaterialSel->setFocus();
        QTest::keyClick(wnd->MaterialSel, Qt::Key_Down);
        ASSERT_EQ(wnd->MaterialSel->currentIndex(), 1);
    }

    // The far-field tab, where a user goes for Elevation, Print and 3 Dimension.
    void ShowPlots() {
        wnd->Page->setCurrentWidget(wnd->TabSheet4);
        QApplication::processEvents();
    }

    // Nothing computes into or from the results, by button, menu or handler.
    void ExpectResultsRefused() {
        ShowPlots();
        for (QAbstractButton* b : {static_cast<QAbstractButton*>(wnd->EleBtn), static_cast<QAbstractButton*>(wnd->Btn3D),
                                   static_cast<QAbstractButton*>(wnd->PrintBtn), static_cast<QAbstractButton*>(wnd->BwBtn)})
            EXPECT_FALSE(b->isEnabled()) << b->objectName().toStdString();
        for (QAction* a : {wnd->K11, wnd->KC2, wnd->K31, wnd->K32})
            EXPECT_FALSE(a->isEnabled()) << a->objectName().toStdString();
        const ResultRow before = *Results.Row(0);
        const float cut = Results.CutElevation;
        prompter.AnswerInput(true, "30");
        wnd->EleBtnClick();
        EXPECT_EQ(Results.Row(0)->F, before.F);
        EXPECT_EQ(Results.Row(0)->R, before.R);
        EXPECT_EQ(Results.Row(0)->Ga, before.Ga);
        EXPECT_EQ(Results.CutElevation, cut);
        const QString kvb = TempPath("refused.kvb"), csv = TempPath("refused.csv");
        prompter.AnswerFile(kvb.toStdString());
        wnd->K11Click();
        prompter.AnswerFile(csv.toStdString());
        wnd->KC2Click();
        EXPECT_FALSE(QFileInfo::exists(kvb));
        EXPECT_FALSE(QFileInfo::exists(csv));
        prompter.Clear();
    }

    // The cut goes into the newest row, which stays that of the calculation.
    void ExpectElevationTaken() {
        ShowPlots();
        ASSERT_TRUE(wnd->EleBtn->isEnabled());
        prompter.AnswerInput(true, "30");
        wnd->EleBtn->click();
        EXPECT_EQ(Results.CutElevation, 30.0f);
        EXPECT_EQ(Results.Row(0)->F, startedFreq_);
    }

    // New asks whether to save; Cancel keeps the antenna.
    void ExpectSaveQuestion() {
        prompter.Clear();
        prompter.AnswerMessage(BoxCancel);
        wnd->K2->trigger();
        ASSERT_EQ(CountShown("message"), 1u) << Shown();
        EXPECT_EQ(prompter.Last().text, "File modifyed. Save changes?");
        EXPECT_GT(wnd->Ant.WireCount, 0);
    }
    void ExpectNoSaveQuestion() {
        prompter.Clear();
        wnd->K2->trigger();
        EXPECT_TRUE(prompter.ShownBoxes().empty()) << Shown();
        EXPECT_EQ(wnd->Ant.WireCount, 0);
    }

    // Start pressed again: what the antenna gives now.
    ResultRow StartAgain() {
        wnd->CalTrgBtn->click();
        EXPECT_EQ(Results.HasFarField, 1) << wnd->LogLines().join("\n").toStdString();
        return *Results.Row(0);
    }
    // The Yagi with rows, its optimization stopped after 4 points.
    void OptimizeYagiBriefly() {
        OpenYagiWithRows();
        RunOptimizationStoppedEarly({}, 4);
        ASSERT_GE(wnd->ACal->LogCount, 4);
    }
    void TypeDrivenElement121() { TypeWire(2, {"", "-6.05", "", "", "6.05"}); }
    void SaveLogAndOpenItInANewWindow() {
        prompter.AnswerFile(LogPath().toStdString());
        wnd->K20->trigger();
        ASSERT_TRUE(QFile::exists(LogPath()));
        Open({"korva"});
        prompter.AnswerFile(LogPath().toStdString());
        wnd->K19->trigger();
        ASSERT_NE(wnd->ACal, nullptr);
    }
    // The same in this window (the antenna's changes given up); `saved` runs
    // between the save and the open.
    void SaveLogAndOpenItHere(const std::function<void()>& saved = {}) {
        prompter.AnswerFile(LogPath().toStdString());
        wnd->K20->trigger();
        ASSERT_TRUE(QFile::exists(LogPath()));
        if (saved) saved();
        prompter.AnswerMessage(BoxNo);  // the antenna's save question, if any
        prompter.AnswerFile(LogPath().toStdString());
        wnd->K19->trigger();
        ASSERT_EQ(wnd->FileName, TempPath("rows.kva")) << Shown();
    }
    // The Yagi's log of a run at the calculation frequency 14.05, which a
    // log file does not keep.
    void OptimizeYagiBrieflyAt1405() {
        OpenYagiWithRows();
        TypeInto(wnd->DoFreq, "14.05");
        RunOptimizationStoppedEarly({}, 5);
        ASSERT_GE(wnd->ACal->LogCount, 5);
        // Of the antenna the run left, at its frequency.
        ASSERT_TRUE(LoggedPointShownAsTheAntennas());
    }
    // The logged point the Optimization log selects as the antenna's own.
    std::optional<ACalLogEntry> LoggedPointShownAsTheAntennas() {
        std::optional<ACalLogEntry> shown;
        ExecModalDialog = [&shown](QDialog& d) {
            auto* dialog = dynamic_cast<TACalResDlg*>(&d);
            if (!dialog) return int(QDialog::Rejected);
            const QModelIndexList rows = dialog->Grid->selectionModel()->selectedRows();
            if (!rows.isEmpty()) shown = dialog->Entries().at(static_cast<std::size_t>(rows.first().row()));
            return int(QDialog::Rejected);
        };
        wnd->UpdateMenuState();
        EXPECT_TRUE(wnd->ACalResBtn->isEnabled());
        wnd->ACalResBtn->click();
        return shown;
    }
    // The point selected is the antenna's: Start gives its impedance (the
    // log keeps it in single precision).
    void ExpectLoggedPointOfTheAntenna() {
        const auto shown = LoggedPointShownAsTheAntennas();
        ASSERT_TRUE(shown);
        const ResultRow next = StartAgain();
        EXPECT_NEAR(shown->R, next.R, 1e-3);
        EXPECT_NEAR(shown->JX, next.jX, 1e-3);
    }
    // R and X of the multiband list at the calculation frequency (no band checked).
    std::pair<double, double> ListedImpedance() {
        EXPECT_TRUE(wnd->NWLDat->isEnabled());
        QStringList fields;
        Accept<TNWLForm>(wnd->NWLDat, [&](TNWLForm& f) {
            f.OKBtn->click();
            const QStringList lines = f.ResMemo->toPlainText().split('\n', Qt::SkipEmptyParts);
            if (!lines.isEmpty()) fields = lines.last().split(' ', Qt::SkipEmptyParts);
        });
        if (fields.size() != 3) {
            ADD_FAILURE() << "no line listed";
            return {};
        }
        return {fields[1].toDouble(), fields[2].toDouble()};
    }
    // The frequency table's lines, unmatched, by their frequency text: R, X, SWR, Ga, F/B.
    std::map<QString, QStringList> FrequencyTable(const QString& fmin, const QString& fmax, const QString& kHz) {
        EXPECT_TRUE(wnd->K49->isEnabled());
        const QString path = TempPath("table.csv");
        QFile::remove(path);
        Accept<TFreqSetDlg>(wnd->K49, [&](TFreqSetDlg& d) {
            d.BgnFreq->setText(fmin);
            d.EndFreq->setText(fmax);
            d.FreqIntval->setText(kHz);
            d.MatchSel[0]->setChecked(true);
            EXPECT_TRUE(d.WriteTable(path.toStdString()));
        });
        std::map<QString, QStringList> rows;
        const QStringList lines = QString::fromLatin1(ReadFile(path)).split("\r\n", Qt::SkipEmptyParts);
        for (int i = 1; i < lines.size(); ++i) {
            QStringList fields = lines[i].split(',');
            const QString f = fields.takeFirst();
            rows[f] = fields;
        }
        return rows;
    }
    // Medium 1 of the ground dialog made poorer (the sandy ground of the
    // vertical's checks).
    void PoorerGround() {
        ExecModalDialog = [](QDialog& dialog) {
            auto* form = dynamic_cast<TMediaDlgBox*>(&dialog);
            if (!form) return int(QDialog::Rejected);
            form->Grid->SetEditText(1, 1, "3");
            form->Grid->SetEditText(2, 1, "0.1");  // mS/m
            return int(QDialog::Accepted);
        };
        ASSERT_FALSE(wnd->GndSetBtn->isHidden());
        wnd->GndSetBtn->click();
        ASSERT_DOUBLE_EQ(EnvDef.Conductivity[0], 0.0001);
    }

    // The dipole of 10.24 m at automatic segmentation, fed at its centre,
    // with loads five pulses either side; started.
    void StartLoadedDipole() {
        OpenAntenna({"0,-5.12,10,0,5.12,10,0.001,-1"}, {"w1c"}, {"w1c-5", "w1c+5"});
        Start();
        KeepPoints();
    }
    // Every position of the antenna and of the optimizer, by the name the log gives it.
    std::map<std::string, const char*> Positions() const {
        std::map<std::string, const char*> all;
        for (int i = 0; i < wnd->Ant.SourceCount; ++i) all["Source " + std::to_string(i + 1)] = wnd->Ant.Sources[i].Pos;
        for (int i = 0; i < wnd->Ant.LoadCount; ++i) all["Load " + std::to_string(i + 1)] = wnd->Ant.Loads[i].Pos;
        if (!wnd->ACal) return all;
        for (int b = 0; b < wnd->ACal->BandCount; ++b)
            for (int i = 0; i < BandSources && wnd->ACal->Bands[b].Sources[i].Pos[0] != '\0'; ++i)
                all["Band " + std::to_string(b + 1) + " source " + std::to_string(i + 1)] = wnd->ACal->Bands[b].Sources[i].Pos;
        if (wnd->ACal->CurrentPos[0] != '\0') all["The current goal"] = wnd->ACal->CurrentPos;
        return all;
    }
    // The texts of every position as they stand, to compare with later.
    std::map<std::string, std::string> Texts() const {
        std::map<std::string, std::string> texts;
        for (const auto& [name, pos] : Positions()) texts[name] = pos;
        return texts;
    }
    void KeepPoints() {
        keptTexts = Texts();
        keptPoints.clear();
        for (const auto& [name, pos] : Positions()) {
            const auto at = PointOf(pos);
            ASSERT_TRUE(at) << name << " " << pos;
            keptPoints[name] = {pos, *at};
        }
    }
    // Each position kept its point, or a line names it and it went to the
    // pulse of its wire nearest to its point. Returns how many went.
    int ExpectPointsKeptOrSaid() {
        int went = 0;
        PulseLayout layout;
        EXPECT_TRUE(LayOutPulses(wnd->Ant, layout));
        const auto now = Positions();
        for (const auto& [name, was] : keptPoints) {
            const auto it = now.find(name);
            const auto at = it == now.end() ? std::nullopt : layout.PointNamed(it->second);
            if (!at) {
                ADD_FAILURE() << name << " names no pulse";
                continue;
            }
            const char* pos = it->second;
            const double moved = std::hypot(at->X - was.second.X, at->Y - was.second.Y, at->Z - was.second.Z);
            if (moved < 1e-9) continue;
            ++went;
            EXPECT_EQ(LinesAbout(QString::fromStdString(name + " (" + was.first + ")")).size(), 1)
                << name << " (" << was.first << ") went " << moved << " m to " << pos << " unsaid:\n"
                << wnd->LogLines().join("\n").toStdString();
            const int wire = static_cast<int>(SplitPosition(pos).Number) - 1;
            for (long long k = 0; k < layout.WirePulses[static_cast<std::size_t>(wire)]; ++k) {
                const Point3D p = *layout.PointOnWire(wire, k);
                EXPECT_GE(std::hypot(p.X - was.second.X, p.Y - was.second.Y, p.Z - was.second.Z), moved - 1e-9)
                    << name << " at " << pos << ": pulse " << k << " stands nearer";
            }
        }
        return went;
    }
    std::map<std::string, std::pair<std::string, Point3D>> keptPoints;
    std::map<std::string, std::string> keptTexts;

private:
    float startedFreq_ = 0;
};

namespace {

auto StartedDipole = [](MeaningKept& t) {
    t.OpenExample("dipole.kva");
    t.Start();
};
auto Refused = [](MeaningKept& t) { t.ExpectResultsRefused(); };
const QString Dipole6 = "0,-5,10,0,0,10,0.001,6";  // two halves joined at the origin, 6 segments each
const QString Dipole6b = "0,0,10,0,5,10,0.001,6";
auto Asked = [](MeaningKept& t) { t.ExpectSaveQuestion(); };
auto TypedInto = [](QComboBox* TMainWnd::*box, const char* text) {
    return [box, text](MeaningKept& t) { MeaningKept::TypeInto(t.Wnd().*box, text); };
};

// A calculation frequency typed on the Calculate tab, then a command that
// shows the record in the fields: the field keeps it and Start computes at it.
auto CalcFreqTypedBefore = [](std::function<void(MeaningKept&)> command) {
    return [command](MeaningKept& t) {
        MeaningKept::TypeInto(t.Wnd().DoFreq, "14.05");
        command(t);
    };
};
auto CalcFreqKept = [](MeaningKept& t) {
    EXPECT_EQ(t.Wnd().DoFreq->currentText(), "14.05");
    EXPECT_FLOAT_EQ(t.StartAgain().F, 14.05f);
};

// Wire 1's end moved off the joint that fed wire 2 at its first pulse: the
// feed stays, and the log says no pulse stands at its point.
void FeedLeftByTheJoint(MeaningKept& t) {
    ASSERT_EQ(t.wnd->Ant.Wires[0].Y2, -0.5);
    EXPECT_EQ(t.LinesAbout("Source 1 (w2b): no pulse stands at its point").size(), 1)
        << t.wnd->LogLines().join("\n").toStdString();
}

// The dipole with loads five pulses either side of its centre, fed at
// `feed`, started at the calculation frequency `calc`.
auto LoadedDipoleStartedAt = [](const char* calc, const char* feed) {
    return [calc, feed](MeaningKept& t) {
        t.OpenAntenna({"0,-5.12,10,0,5.12,10,0.001,-1"}, {feed}, {"w1c-5", "w1c+5"});
        MeaningKept::TypeInto(t.Wnd().DoFreq, calc);
        t.Start();
        t.KeepPoints();
        t.resultBefore = *Results.Row(0);
    };
};
// Saved (Save as, or Save onto the file it was opened from), opened, and
// started at the calculation frequency `calc` again.
auto SavedOpenedAndStartedAt = [](const char* calc, bool saveAs) {
    return [calc, saveAs](MeaningKept& t) {
        const QString path = t.TempPath(saveAs ? "saved.kva" : "meaning.kva");
        if (saveAs) t.prompter.AnswerFile(path.toStdString());
        (saveAs ? t.Wnd().K5 : t.Wnd().K4)->trigger();
        ASSERT_EQ(t.Wnd().Ant.Changed, 0) << t.Shown();
        t.prompter.AnswerFile(path.toStdString());
        t.Wnd().K3->trigger();
        ASSERT_EQ(t.Wnd().DoFreq->currentText(), "14.2") << "a file is read at its design frequency";
        MeaningKept::TypeInto(t.Wnd().DoFreq, calc);
        t.StartAgain();
    };
};
// Two bands sourced and the current goal at the loads' points (off the
// pulses every layout shares), and a row.
auto WithBandSourcesAndGoalAtTheLoads = [](MeaningKept& t) {
    CACal& cal = t.wnd->OptimizerState();
    t.wnd->AttachOptimizer();
    cal.BandCount = 2;
    for (int b = 0; b < 2; ++b) {
        cal.Bands[b].Freq = 14.2 + 0.1 * b;
        cal.Bands[b].Sources[0] = t.wnd->Ant.Sources[0];
        CopyText(cal.Bands[b].Sources[0].Pos, t.wnd->Ant.Loads[b].Pos);
    }
    CopyText(cal.CurrentPos, t.wnd->Ant.Loads[1].Pos);
    cal.AddVar(KindWire, 0, 2, LinkFree, 5.12, 10);
    t.wnd->UpdateMenuState();
    t.KeepPoints();
};
// The optimization log saved (which changes no position of the window's)
// and opened here, `again` times more saved right after it opened, then
// started at the calculation frequency `calc`.
auto LogSavedOpenedAndStartedAt = [](const char* calc, int again = 0) {
    return [calc, again](MeaningKept& t) {
        for (int i = 0; i <= again; ++i) {
            std::map<std::string, std::string> before, after;
            for (const auto& [name, pos] : t.Positions()) before[name] = pos;
            t.SaveLogAndOpenItHere([&] {
                for (const auto& [name, pos] : t.Positions()) after[name] = pos;
            });
            EXPECT_EQ(after, before);
            ASSERT_EQ(t.Wnd().DoFreq->currentText(), "14.2") << "a log is read at its design frequency";
        }
        MeaningKept::TypeInto(t.Wnd().DoFreq, calc);
        t.StartAgain();
    };
};
// The opened file is the antenna saved: its positions at their points, and
// its impedance (the same steps on the same antenna).
auto AsSaved = [](MeaningKept& t) {
    EXPECT_EQ(t.ExpectPointsKeptOrSaid(), 0);
    const ResultRow now = *Results.Row(0);
    EXPECT_NEAR(now.R, t.resultBefore.R, 1e-4 * std::abs(t.resultBefore.R));
    EXPECT_NEAR(now.jX, t.resultBefore.jX, 1e-4 * std::abs(t.resultBefore.jX));
};

// An antenna opened, started at its design frequency 14.2 MHz, its
// positions and impedance kept.
auto OpenedAndStarted = [](QStringList wires, QStringList sources, QStringList loads = {}, int ground = GroundFree) {
    return [=](MeaningKept& t) {
        t.OpenAntenna(wires, sources, loads, ground);
        t.Start();
        t.KeepPoints();
        t.resultBefore = *Results.Row(0);
    };
};
const QStringList TrapDipole = {"0,-5,10,0,5,10,0.001,-1"};
using TypedField = std::pair<QComboBox* TMainWnd::*, const char*>;
// Each field typed and started in turn.
auto StartedAtEach = [](std::vector<TypedField> steps) {
    return [steps](MeaningKept& t) {
        for (const auto& [box, text] : steps) {
            MeaningKept::TypeInto(t.Wnd().*box, text);
            t.StartAgain();
        }
    };
};
// The antenna as it was: every position with the text it was given, the
// same impedance (the same antenna calculated again), nothing to save.
auto AsItWas = [](MeaningKept& t) {
    EXPECT_EQ(t.Texts(), t.keptTexts) << t.wnd->LogLines().join("\n").toStdString();
    const ResultRow now = *Results.Row(0);
    EXPECT_NEAR(now.R, t.resultBefore.R, 1e-5 * std::abs(t.resultBefore.R));
    EXPECT_NEAR(now.jX, t.resultBefore.jX, 1e-5 * std::abs(t.resultBefore.jX));
    t.ExpectNoSaveQuestion();
};

const MeaningKeptRow Rows[] = {
    // Results after an edit of what they were computed from.
    {"ResultsAfterFreq", StartedDipole, TypedInto(&TMainWnd::Freq, "7.1"), Refused},
    {"ResultsAfterDM1", StartedDipole, TypedInto(&TMainWnd::EditDM1, "400"), Refused},
    {"ResultsAfterDM2", StartedDipole, TypedInto(&TMainWnd::EditDM2, "40"), Refused},
    {"ResultsAfterEC", StartedDipole, TypedInto(&TMainWnd::EditEC, "3"), Refused},
    {"ResultsAfterSC", StartedDipole, TypedInto(&TMainWnd::EditSC, "1.5"), Refused},
    {"ResultsAfterCalcFreq", StartedDipole, TypedInto(&TMainWnd::DoFreq, "7.1"), Refused},
    {"ResultsAfterUseLoads",
     [](MeaningKept& t) {
         t.OpenLoadedDipole();
         t.Start();
     },
     [](MeaningKept& t) { t.Wnd().EnbLoad->click(); }, Refused},
    {"ResultsAfterGround", StartedDipole, [](MeaningKept& t) { t.Wnd().CalcSel->Button(GroundPerfect)->click(); },
     Refused},
    {"ResultsAfterHeight",
     [](MeaningKept& t) {
         t.OpenGroundedDipole();
         t.Start();
     },
     TypedInto(&TMainWnd::AntHeight, "5"), Refused},
    {"ResultsAfterMaterial", StartedDipole, [](MeaningKept& t) { t.ChooseMaterial(); }, Refused},
    // An edit undone gives the results back to the antenna.
    {"ResultsAfterFreqTypedBack", StartedDipole,
     [](MeaningKept& t) {
         MeaningKept::TypeInto(t.Wnd().Freq, "7.1");
         MeaningKept::TypeInto(t.Wnd().Freq, "14.2");
     },
     [](MeaningKept& t) { t.ExpectElevationTaken(); }},

    // Sweep points are reused, and new ones entered, only while they are of
    // the antenna computed; results of a far-field file are never combined
    // with a result computed now. (The 3D view's row is with the view's
    // tests, which have an OpenGL context.)
    {"SweepPointsAfterACellEdit", StartedDipole, [](MeaningKept& t) { t.TypeY2("6"); },
     [](MeaningKept& t) {
         // Within the two decimals the list and the table print.
         const auto listed = t.ListedImpedance();
         const auto edited = t.FrequencyTable("14.2", "14.3", "100");
         const ResultRow next = t.StartAgain();
         EXPECT_NEAR(listed.first, next.R, 0.01);
         EXPECT_NEAR(listed.second, next.jX, 0.01);
         ASSERT_EQ(edited.size(), 2u);
         EXPECT_NEAR(edited.at("14.2")[0].toDouble(), next.R, 0.01);
         EXPECT_NEAR(edited.at("14.2")[1].toDouble(), next.jX, 0.01);
         // Typed back, the antenna is the one of the sweep table again: none
         // of the edited antenna's points went into it.
         t.TypeY2("5.12");
         t.StartAgain();
         const auto back = t.FrequencyTable("14.1", "14.3", "100");
         const auto fresh = t.FrequencyTable("14.1", "14.3", "100");
         ASSERT_EQ(back.size(), 3u);
         EXPECT_EQ(back, fresh);
         EXPECT_GT(std::abs(back.at("14.3")[0].toDouble() - edited.at("14.3")[0].toDouble()), 1.0);
     }},
    {"SweepPointsAfterUseLoads",
     [](MeaningKept& t) {
         t.OpenLoadedDipole();
         t.Start();
     },
     [](MeaningKept& t) { t.Wnd().EnbLoad->click(); },
     [](MeaningKept& t) {
         const auto listed = t.ListedImpedance();
         const ResultRow next = t.StartAgain();
         EXPECT_NEAR(listed.first, next.R, 0.01);
         EXPECT_NEAR(listed.second, next.jX, 0.01);
     }},
    {"SweepPointsAfterTheGroundMedia",
     [](MeaningKept& t) {
         t.OpenExample("vertical-radials.kva");
         t.Start();
     },
     [](MeaningKept& t) { t.PoorerGround(); },
     [](MeaningKept& t) {
         const auto table = t.FrequencyTable("14.2", "14.3", "100");
         const ResultRow next = t.StartAgain();
         ASSERT_EQ(table.size(), 2u);
         EXPECT_NEAR(table.at("14.2")[3].toDouble(), next.Ga, 0.01);
     }},
    {"FarFieldFileUnderOtherMedia",
     [](MeaningKept& t) {
         t.OpenExample("vertical-radials.kva");
         t.Start();
         t.prompter.AnswerFile(t.TempPath("a.kvb").toStdString());
         t.Wnd().K11->trigger();
         ASSERT_TRUE(QFileInfo::exists(t.TempPath("a.kvb")));
     },
     [](MeaningKept& t) {
         t.PoorerGround();
         t.prompter.AnswerMessage(BoxNo);  // a save question, if any
         t.prompter.AnswerFile(t.TempPath("a.kvb").toStdString());
         t.Wnd().K12->trigger();
         ASSERT_EQ(t.Wnd().Ant.WireCount, 5);
     },
     [](MeaningKept& t) {
         // The file keeps no ground media: its row is shown as it stands and
         // no cut of today's ground goes into it.
         const ResultRow before = *Results.Row(0);
         const float cut = Results.CutElevation;
         t.ShowPlots();
         t.prompter.Clear();
         t.prompter.AnswerInput(true, "30");
         t.Wnd().EleBtn->click();
         EXPECT_EQ(Results.CutElevation, cut);
         EXPECT_EQ(Results.Row(0)->Ga, before.Ga);
         EXPECT_EQ(Results.Row(0)->FB, before.FB);
         ASSERT_EQ(t.CountShown("message"), 1u) << t.Shown();
         EXPECT_NE(t.prompter.Last().text.find("far-field file"), std::string::npos);
         // Computed anew, the row is of today's ground, and the cut is taken.
         t.StartAgain();
         t.ExpectElevationTaken();
     }},

    {"ComparisonAfterACellEdit", StartedDipole, [](MeaningKept& t) { t.TypeY2("6"); },
     [](MeaningKept& t) {
         // The first slot is named after this antenna: not for results of
         // the one before.
         int taken = -1;
         t.Accept<TResCmpDlg>(t.Wnd().KC1, [&](TResCmpDlg& d) { taken = d.Count(); });
         EXPECT_EQ(taken, 0);
     }},

    // Changes of what a save writes.
    {"SaveQuestionAfterAutoVoltage", [](MeaningKept& t) { t.OpenExample("stacked-yagis.kva"); },
     [](MeaningKept& t) {
         t.Wnd().AutoVol->click();
         t.Wnd().AutoVol->click();
     },
     [](MeaningKept& t) {
         EXPECT_EQ(t.Wnd().Ant.Sources[0].Voltage, 0.5);
         t.ExpectSaveQuestion();
     }},
    {"SaveQuestionAfterUseLoads", [](MeaningKept& t) { t.OpenExample("dipole.kva"); },
     [](MeaningKept& t) { t.Wnd().EnbLoad->click(); }, Asked},
    {"SaveQuestionAfterGround", [](MeaningKept& t) { t.OpenExample("dipole.kva"); },
     [](MeaningKept& t) { t.Wnd().CalcSel->Button(GroundReal)->click(); }, Asked},
    {"SaveQuestionAfterHeight", [](MeaningKept& t) { t.OpenGroundedDipole(); },
     TypedInto(&TMainWnd::AntHeight, "5"), Asked},
    {"SaveQuestionAfterMaterial", [](MeaningKept& t) { t.OpenExample("dipole.kva"); },
     [](MeaningKept& t) { t.ChooseMaterial(); }, Asked},
    // A dialog accepted with nothing changed changes nothing a save writes.
    {"NoSaveQuestionAfterStackOK", [](MeaningKept& t) { t.OpenExample("dipole.kva"); },
     [](MeaningKept& t) { t.Accept<TStackDlgBox>(t.Wnd().K37, [](TStackDlgBox&) {}); },
     [](MeaningKept& t) { t.ExpectNoSaveQuestion(); }},
    {"NoSaveQuestionAfterWireEditorOK", [](MeaningKept& t) { t.OpenExample("dipole.kva"); },
     [](MeaningKept& t) { t.Accept<TWireCadDlg>(t.Wnd().KCAD, [](TWireCadDlg&) {}); },
     [](MeaningKept& t) { t.ExpectNoSaveQuestion(); }},
    {"CalcFreqTypedBeforeWireEditorOK", [](MeaningKept& t) { t.OpenExample("dipole.kva"); },
     CalcFreqTypedBefore([](MeaningKept& t) { t.Accept<TWireCadDlg>(t.Wnd().KCAD, [](TWireCadDlg&) {}); }),
     CalcFreqKept},
    {"CalcFreqTypedBeforeAxisExchange", [](MeaningKept& t) { t.OpenExample("dipole.kva"); },
     CalcFreqTypedBefore([](MeaningKept& t) {
         t.prompter.AnswerMessage(BoxYes);
         t.Wnd().KXZ1->trigger();
     }),
     CalcFreqKept},
    {"CalcFreqTypedBeforeRound", [](MeaningKept& t) { t.OpenExample("dipole.kva"); },
     CalcFreqTypedBefore([](MeaningKept& t) {
         t.prompter.AnswerMessage(BoxYes);  // radii too
         t.prompter.AnswerMessage(BoxYes);
         t.Wnd().K24->trigger();
     }),
     CalcFreqKept},
    {"CalcFreqTypedBeforeStackOK", [](MeaningKept& t) { t.OpenExample("dipole.kva"); },
     CalcFreqTypedBefore([](MeaningKept& t) { t.Accept<TStackDlgBox>(t.Wnd().K37, [](TStackDlgBox&) {}); }),
     CalcFreqKept},
    // The calculation frequency is no part of the file.
    {"NoSaveQuestionAfterCalcFreq", [](MeaningKept& t) { t.OpenExample("dipole.kva"); },
     TypedInto(&TMainWnd::DoFreq, "7.1"), [](MeaningKept& t) { t.ExpectNoSaveQuestion(); }},

    // Positions through edits that lay pulses out anew, and the optimizer's
    // rows through keeps, restores and log files.
    {"DivideBesideAWireTooLongToLayOut",
     [](MeaningKept& t) {
         t.OpenAntenna({"0,-5.12,10,0,5.12,10,0.001,2147483647", "3,-5.12,10,3,5.12,10,0.001,22"}, {"w1c"});
     },
     [](MeaningKept& t) { t.InWireEditor(1, HitBody, [](TWireCadDlg& d) { return d.KP[2]; }); },
     [](MeaningKept& t) {
         // The old centre is the joint of the halves, the first pulse of the
         // later one; not the centre of the first half, 2.56 m away.
         EXPECT_STREQ(t.wnd->Ant.Sources[0].Pos, "w3b");
         EXPECT_TRUE(t.LinesAbout("Source 1 (").isEmpty()) << t.LinesAbout("Source 1 (").join("\n").toStdString();
     }},
    {"DivideResegmentsTheFedNeighbour",
     [](MeaningKept& t) { t.OpenAntenna({Dipole6, Dipole6b}, {"w2b+2"}, {"w2e+1", "w2e-1"}); },
     [](MeaningKept& t) { t.InWireEditor(1, HitBody, [](TWireCadDlg& d) { return d.KP[2]; }); },
     [](MeaningKept& t) {
         ASSERT_EQ(t.wnd->Ant.Wires[1].Seg, -1) << "the neighbour is segmented anew";
         // Y 1.667 and 3.333 m: no pulse of the new segmentation stands
         // there; the nearest, at 1.598 and 3.402 m, takes them, and the log
         // says so (w2b+2 would now stand at 0.185 m).
         EXPECT_STREQ(t.wnd->Ant.Sources[0].Pos, "w2c-3");
         EXPECT_EQ(t.LinesAbout("Source 1 (w2b+2)").size(), 1);
         ASSERT_EQ(t.wnd->Ant.LoadCount, 2);
         EXPECT_STREQ(t.wnd->Ant.Loads[0].Pos, "w2c+3");
         EXPECT_EQ(t.LinesAbout("Load 1 (w2e+1)").size(), 1);
         EXPECT_STREQ(t.wnd->Ant.Loads[1].Pos, "w2e-1") << "named no pulse before, and none after";
     }},
    // A wire resized by a typed cell: its centre feed keeps its place along
    // it, and nothing is said.
    {"FeedOfAWireResizedByACell", [](MeaningKept& t) { t.OpenAntenna({"0,-5,10,0,5,10,0.001,10"}, {"w1c"}); },
     [](MeaningKept& t) { t.TypeY2("6"); },
     [](MeaningKept& t) {
         ASSERT_EQ(t.wnd->Ant.Wires[0].Y2, 6.0);
         EXPECT_STREQ(t.wnd->Ant.Sources[0].Pos, "w1c");
         EXPECT_TRUE(t.LinesAbout("Source 1 (").isEmpty()) << t.wnd->LogLines().join("\n").toStdString();
     }},
    {"EndsOfAFedWireExchanged",
     [](MeaningKept& t) { t.OpenAntenna({"0,-5,10,0,5,10,0.001,6"}, {"w1b+1"}); },
     [](MeaningKept& t) { t.InWireEditor(1, HitBody, [](TWireCadDlg& d) { return d.KS1; }); },
     [](MeaningKept& t) {
         // Y -1.667 m is now the fourth pulse from the wire's new first end.
         EXPECT_STREQ(t.wnd->Ant.Sources[0].Pos, "w1c+1");
         EXPECT_TRUE(t.LinesAbout("Source 1 (").isEmpty());
     }},
    {"BandSourceAndGoalOnAWireTurned",
     [](MeaningKept& t) {
         t.OpenAntenna({"0,-5,10,0,5,10,0.001,6"}, {"w1b+1"});
         CACal& cal = t.wnd->OptimizerState();
         t.wnd->AttachOptimizer();
         CopyText(cal.Bands[0].Sources[0].Pos, "w1b+1");
         CopyText(cal.CurrentPos, "w1b+1");
     },
     [](MeaningKept& t) { t.InWireEditor(1, HitBody, [](TWireCadDlg& d) { return d.KS1; }); },
     [](MeaningKept& t) {
         EXPECT_STREQ(t.wnd->ACal->Bands[0].Sources[0].Pos, "w1c+1");
         EXPECT_STREQ(t.wnd->ACal->CurrentPos, "w1c+1");
     }},
    {"FedJointDisjoined",
     [](MeaningKept& t) { t.OpenAntenna({Dipole6, Dipole6b}, {"w2b"}); },
     [](MeaningKept& t) { t.InWireEditor(2, HitEnd1, [](TWireCadDlg& d) { return d.K5; }); },
     [](MeaningKept& t) {
         // The joint is gone: the feed goes to the pulse of its wire nearest
         // to it, and says so.
         EXPECT_STREQ(t.wnd->Ant.Sources[0].Pos, "w2b");
         EXPECT_EQ(t.LinesAbout("Source 1 (w2b)").size(), 1) << t.wnd->LogLines().join("\n").toStdString();
     }},
    {"FedElementWidenedInElementTable",
     [](MeaningKept& t) {
         t.OpenAntenna({"-3,-5.3,10,-3,5.3,10,0.005,21", "0,-5.1,10,0,5.1,10,0.005,-1", "3,-4.8,10,3,4.8,10,0.005,21"},
                       {"w2b+3"});
     },
     [](MeaningKept& t) {
         t.Accept<TGrpWireDlg>(t.wnd->K18, [](TGrpWireDlg& d) { d.Grid->SetEditText(ColWidth, 2, "15"); });
     },
     [](MeaningKept& t) {
         ASSERT_NEAR(t.wnd->Ant.Wires[1].Y2, 7.5, 1e-9) << "the width typed";
         // The driven element is segmented anew for its new length: the feed
         // keeps its place along it (3.9 % from its end), at the pulse
         // nearest to that (4.5 %; w2b+3 would stand at 2.6 %), and says so.
         EXPECT_STREQ(t.wnd->Ant.Sources[0].Pos, "w2b+4");
         EXPECT_EQ(t.LinesAbout("Source 1 (w2b+3)").size(), 1);
     }},
    {"RowInsertedAboveAWireEndingAtTheOrigin",
     [](MeaningKept& t) { t.OpenAntenna({"10,0,0,0,0,0,0.001,10"}, {"w1c"}); },
     [](MeaningKept& t) {
         t.FocusRow(t.wnd->Grid2, 1);
         t.wnd->K14->trigger();
         // The blank row is no wire yet: the source follows its wire alone.
         ASSERT_EQ(t.wnd->Ant.WireCount, 2);
         EXPECT_STREQ(t.wnd->Ant.Sources[0].Pos, "w2c");
         t.TypeWire(1, {"0", "5", "5", "0", "5", "6", "", "3"});
     },
     [](MeaningKept& t) {
         // Through every shape typed on the way the feed keeps (5, 0, 0).
         EXPECT_STREQ(t.wnd->Ant.Sources[0].Pos, "w2c");
         const auto at = t.PointOf(t.wnd->Ant.Sources[0].Pos);
         ASSERT_TRUE(at);
         EXPECT_NEAR(at->X, 5.0, 1e-9);
         EXPECT_TRUE(t.LinesAbout("Source 1 (").isEmpty()) << t.LinesAbout("Source 1 (").join("\n").toStdString();
     }},
    {"FedElementWidenedInTheOptimizersValueColumn",
     [](MeaningKept& t) {
         t.OpenAntenna({"-3,-5.3,10,-3,5.3,10,0.005,21", "0,-5.1,10,0,5.1,10,0.005,-1", "3,-4.8,10,3,4.8,10,0.005,21"},
                       {"w2b+3"});
         t.VaryElementWidth(1);
     },
     [](MeaningKept& t) {
         // The value column moves the antenna at once, also on Cancel.
         ExecModalDialog = [](QDialog& d) {
             if (auto* dialog = dynamic_cast<TACalDlg*>(&d)) dialog->GridSetEditText(8, 1, "15");
             return int(QDialog::Rejected);
         };
         t.wnd->ACalBtn->click();
     },
     [](MeaningKept& t) {
         ASSERT_NEAR(t.wnd->Ant.Wires[1].Y2, 7.5, 1e-9) << "the width typed";
         // As through the element table: its place along the element.
         EXPECT_STREQ(t.wnd->Ant.Sources[0].Pos, "w2b+4");
         EXPECT_EQ(t.LinesAbout("Source 1 (w2b+3)").size(), 1);
     }},
    {"FedElementThroughASearch",
     [](MeaningKept& t) {
         t.OpenAntenna({"-3,-5.3,10,-3,5.3,10,0.005,21", "0,-5.1,10,0,5.1,10,0.005,-1", "3,-4.8,10,3,4.8,10,0.005,21"},
                       {"w2b+8"});
         t.VaryElementWidth(1);
         // Limits that the width of 10.2 m lies below: the run starts by
         // widening the element.
         t.wnd->ACal->Row(0).Min = 12;
         t.wnd->ACal->Row(0).Max = 30;
     },
     [](MeaningKept& t) {
         const auto start = t.PointOf("w2b+8");
         ASSERT_TRUE(start);
         t.rowsBefore = static_cast<int>(std::lround(start->Y * 1e6));
         t.RunOptimizationStoppedEarly({}, 12);
     },
     [](MeaningKept& t) {
         ASSERT_GT(t.wnd->ACal->Evaluations, 1) << t.wnd->LogLines().join("\n").toStdString();
         ASSERT_NE(t.wnd->Ant.Wires[1].Y2, 5.1) << "the search left the element as it was";
         // Its place along the element as it was before the run, within
         // half a segment at each of two placements, said once for the values the dialog brought into
         // the limits and once for the run: nothing drifted point by point.
         const WireRec& w = t.wnd->Ant.Wires[1];
         const auto at = t.PointOf(t.wnd->Ant.Sources[0].Pos);
         ASSERT_TRUE(at);
         const double before = (t.rowsBefore * 1e-6 + 5.1) / 10.2;
         const double now = (at->Y - w.Y1) / (w.Y2 - w.Y1);
         PulseLayout layout;
         ASSERT_TRUE(LayOutPulses(t.wnd->Ant, layout));
         const double segment = 1.0 / static_cast<double>(layout.WirePulses[1] + 1);
         EXPECT_NEAR(now, before, 1.5 * segment) << t.wnd->Ant.Sources[0].Pos;
         EXPECT_LE(t.LinesAbout("Source 1 (").size(), 2) << t.LinesAbout("Source 1 (").join("\n").toStdString();
     }},
    {"BandsFeedOtherwiseThanTyped",
     [](MeaningKept& t) {
         t.OpenVerticalsWithTwoBands(0);
         t.Type(t.wnd->Grid3, 2, 2, "120");
         ASSERT_EQ(t.wnd->Ant.Sources[1].Phase, 120);
     },
     [](MeaningKept& t) { t.RunOptimizationStoppedEarly({}, 2); },
     [](MeaningKept& t) {
         // Bands hold their own feeds; the antenna is left with band 1's,
         // and the log says so.
         const QStringList lines = t.LinesAbout("The bands fed the antenna");
         ASSERT_EQ(lines.size(), 1) << t.wnd->LogLines().join("\n").toStdString();
         EXPECT_TRUE(lines[0].contains("in place of w1b (1.0 V, 0.0 deg), w2b (1.0 V, 120.0 deg).")) << lines[0].toStdString();
         // The best row was computed with band 1's feeds, which the antenna
         // was left with: a cut is computed into it.
         EXPECT_TRUE(t.wnd->ResultsBelongToAntenna(ResultHolder::Row, ResultUse::ComputeFrom));
     }},
    {"BestResultOfFeedsTheRunDidNotLeave",
     [](MeaningKept& t) {
         // Band 1 holds no feeds of its own.
         t.OpenVerticalsWithTwoBands(1);
     },
     [](MeaningKept& t) { t.RunOptimizationStoppedEarly({}, 1); },
     [](MeaningKept& t) {
         // Band 1 fed with the antenna's own feeds, as typed, not with those
         // band 2 left; the antenna is left with them, so the row kept (band
         // 1's of the one point scored) is the antenna's: Start gives it again.
         ASSERT_EQ(t.wnd->ACal->LogCount, 1) << t.wnd->LogLines().join("\n").toStdString();
         ASSERT_EQ(t.wnd->Ant.SourceCount, 2);
         EXPECT_EQ(t.wnd->Ant.Sources[1].Phase, 0);
         EXPECT_TRUE(t.LinesAbout("The bands fed the antenna").isEmpty());
         const ResultRow kept = *Results.Row(0);
         ASSERT_TRUE(t.wnd->ResultsBelongToAntenna(ResultHolder::Row, ResultUse::ComputeFrom));
         // The same model solved again: equal but for float rounding.
         const ResultRow next = t.StartAgain();
         EXPECT_NEAR(kept.R, next.R, 1e-3 * std::abs(next.R));
         EXPECT_NEAR(kept.jX, next.jX, 1e-3 * (std::abs(next.R) + std::abs(next.jX)));
     }},
    {"JointBrokenByATypedCell",
     [](MeaningKept& t) { t.OpenAntenna({"0,-5.12,10,0,0,10,0.001,11", "0,0,10,0,5.12,10,0.001,11"}, {"w2b"}); },
     [](MeaningKept& t) { t.TypeWire(1, {"", "", "", "", "-0.5"}); },
     FeedLeftByTheJoint},
    {"JointBrokenAfterAFarFieldOpen",
     [](MeaningKept& t) {
         t.OpenAntenna({"0,-5.12,10,0,0,10,0.001,11", "0,0,10,0,5.12,10,0.001,11"}, {"w2b"});
         t.Start();
         t.prompter.AnswerFile(t.TempPath("joint.kvb").toStdString());
         t.wnd->K11->trigger();
         t.wnd->K2->trigger();
         t.prompter.AnswerFile(t.TempPath("joint.kvb").toStdString());
         t.wnd->K12->trigger();
         ASSERT_EQ(t.wnd->Ant.WireCount, 2) << t.Shown();
         t.wnd->ClearLog();
     },
     [](MeaningKept& t) { t.TypeWire(1, {"", "", "", "", "-0.5"}); },
     // The opened wires are those the feed was placed against.
     FeedLeftByTheJoint},
    {"FedWireTypedThroughOneSegment",
     [](MeaningKept& t) { t.OpenAntenna({"0,-5,10,0,5,10,0.001,11"}, {"w1c"}); },
     [](MeaningKept& t) {
         t.TypeWire(1, {"", "", "", "", "", "", "", "1"});
         t.TypeWire(1, {"", "", "", "", "", "", "", "21"});
     },
     [](MeaningKept& t) {
         // A shape on the way with no pulse for the feed loses no feed: it
         // stays, and the log says so.
         ASSERT_EQ(t.wnd->Ant.SourceCount, 1);
         EXPECT_STREQ(t.wnd->Ant.Sources[0].Pos, "w1c");
         EXPECT_EQ(t.LinesAbout("Source 1 (w1c): has no pulse left").size(), 1) << t.wnd->LogLines().join("\n").toStdString();
     }},
    {"JointBrokenByAMove",
     [](MeaningKept& t) {
         t.OpenAntenna({"0,-5.12,10,0,0,10,0.001,11", "0,0,10,0,5.12,10,0.001,11"}, {"w2b"});
         t.FocusRow(t.wnd->Grid2, 1);
     },
     [](MeaningKept& t) {
         t.Accept<TMoveDlgBox>(t.wnd->K28, [](TMoveDlgBox& d) {
             d.ChkAll->setChecked(false);
             d.ChkAllClick();
             d.VectSel->SetItemIndex(1);
             d.EditLen->setText("-0.5");
         });
     },
     FeedLeftByTheJoint},
    {"GroundedWireTurnedOnOpen",
     [](MeaningKept& t) {
         t.OpenAntenna({"0,0,5.25,0,0,0,0.001,20"}, {"w1e"}, {"w1c3"}, GroundPerfect);
     },
     [](MeaningKept& t) { t.Start(); },
     [](MeaningKept& t) {
         ASSERT_EQ(t.wnd->Ant.Wires[0].Z1, 0.0) << "turned: its grounded end first";
         EXPECT_STREQ(t.wnd->Ant.Sources[0].Pos, "w1b");
         // The coil stands on the pulse it was typed on, the 14th from the
         // top (the grounded end has its pulse): 1.575 m up, not 3.41 m.
         auto typed = std::make_unique<AntDef>(t.wnd->Ant);
         ExchangeWireEnds(typed->Wires[0]);
         const auto was = t.PointOf("w1c3", typed.get());
         const auto now = t.PointOf(t.wnd->Ant.Loads[0].Pos);
         ASSERT_TRUE(was && now);
         EXPECT_NEAR(was->Z, 1.575, 1e-9);
         EXPECT_STREQ(t.wnd->Ant.Loads[0].Pos, "w1c-4");
         EXPECT_NEAR(now->Z, was->Z, 1e-9) << t.wnd->Ant.Loads[0].Pos;
     }},
    {"WireTurnedAfterParallelAxisY",
     [](MeaningKept& t) {
         t.OpenAntenna({"0,5,10,0,0,15,0.001,11", "0,0,15,0,5,20,0.001,11"}, {"w1c+2"}, {}, GroundPerfect);
         t.pointBefore = t.PointOf("w1c+2");
         ASSERT_TRUE(t.pointBefore);
     },
     [](MeaningKept& t) {
         t.prompter.AnswerMessage(BoxYes);
         t.wnd->KYZ1->trigger();
     },
     [](MeaningKept& t) {
         // Y and Z exchanged put wire 1's end on the ground, and the
         // preparation turned it: the feed is where the reflection took it.
         ASSERT_EQ(t.wnd->Ant.Wires[0].Z1, 0.0);
         const auto now = t.PointOf(t.wnd->Ant.Sources[0].Pos);
         ASSERT_TRUE(now);
         EXPECT_NEAR(now->Y, t.pointBefore->Z, 1e-9) << t.wnd->Ant.Sources[0].Pos;
         EXPECT_NEAR(now->Z, t.pointBefore->Y, 1e-9) << t.wnd->Ant.Sources[0].Pos;
     }},
    // Positions keep their point, or say where they went, through every
    // change of what lays the pulses out, not only through wire edits.
    {"LoadsThroughTheDesignFrequency", [](MeaningKept& t) { t.StartLoadedDipole(); },
     [](MeaningKept& t) {
         MeaningKept::TypeInto(t.wnd->Freq, "28.4");
         t.StartAgain();
     },
     [](MeaningKept& t) { EXPECT_GT(t.ExpectPointsKeptOrSaid(), 0); }},
    {"LoadsThroughTheCalculationFrequency", [](MeaningKept& t) { t.StartLoadedDipole(); },
     [](MeaningKept& t) {
         MeaningKept::TypeInto(t.wnd->DoFreq, "21.3");
         t.StartAgain();
     },
     [](MeaningKept& t) { EXPECT_GT(t.ExpectPointsKeptOrSaid(), 0); }},
    {"LoadsThroughDM1", [](MeaningKept& t) { t.StartLoadedDipole(); },
     [](MeaningKept& t) {
         MeaningKept::TypeInto(t.wnd->EditDM1, "200");
         t.StartAgain();
     },
     [](MeaningKept& t) { EXPECT_GT(t.ExpectPointsKeptOrSaid(), 0); }},
    {"LoadsThroughATaperSet",
     [](MeaningKept& t) {
         t.OpenTaperedDipole({"w1c"}, {"w1c-5", "w1c+5"});
         t.Start();
         t.KeepPoints();
         t.wnd->ClearLog();
     },
     [](MeaningKept& t) {
         t.Accept<TWCombDlg>(t.wnd->K45, [](TWCombDlg& d) { d.Grid->SetEditText(3, 1, "2.5"); });
         ASSERT_EQ(t.wnd->Ant.TaperSets[0].Len[0], 2.5);
     },
     [](MeaningKept& t) { EXPECT_GT(t.ExpectPointsKeptOrSaid(), 0); }},
    {"FeedThroughWireScaleWithoutZ",
     [](MeaningKept& t) {
         t.OpenAntenna({"0,0,1,0,0,6,0.001,-1", "0,0,6,3,0,6,0.001,-1"}, {"w1b+2"});
         t.Start();
         t.KeepPoints();
     },
     [](MeaningKept& t) {
         t.Accept<TWireScaleDlg>(t.wnd->KS4, [](TWireScaleDlg& d) {
             d.TFreq->setEditText("21.3");
             d.WireZSW->setChecked(false);
         });
         ASSERT_EQ(t.wnd->Ant.Freq, 21.3);
         ASSERT_EQ(t.wnd->Ant.Wires[0].Z2, 6.0) << "Z unscaled";
     },
     [](MeaningKept& t) { EXPECT_GT(t.ExpectPointsKeptOrSaid(), 0); }},
    {"LoadsThroughARestoreAtAnotherCalculationFrequency",
     [](MeaningKept& t) {
         t.OpenAntenna({"0,-5.12,10,0,5.12,10,0.001,-1"}, {"w1c"}, {"w1c-5", "w1c+5"});
         MeaningKept::TypeInto(t.wnd->DoFreq, "21.3");
         t.Start();
         t.KeepPoints();
         t.wnd->K38->trigger();
     },
     [](MeaningKept& t) {
         // The text kept carries no calculation frequency: the antenna comes
         // back at its design frequency.
         t.wnd->ClearLog();
         t.Restore(t.wnd->K39);
         ASSERT_EQ(t.wnd->Ant.Freq, 14.2);
     },
     [](MeaningKept& t) { EXPECT_GT(t.ExpectPointsKeptOrSaid(), 0); }},
    {"FeedThroughTheGround",
     [](MeaningKept& t) {
         t.OpenAntenna({"0,0,0,0,0,5,0.001,11"}, {"w1b+2"});
         t.Start();
         t.KeepPoints();
     },
     [](MeaningKept& t) {
         t.wnd->CalcSel->Button(GroundPerfect)->click();
         t.StartAgain();
     },
     [](MeaningKept& t) {
         // Over the ground the wire's first end has a pulse of its own: the
         // feed keeps its point, one pulse further from that end.
         EXPECT_EQ(t.ExpectPointsKeptOrSaid(), 0);
         EXPECT_STRNE(t.wnd->Ant.Sources[0].Pos, "w1b+2");
     }},
    {"LoadsThroughASaveAfterTheDesignFrequency", [](MeaningKept& t) { t.StartLoadedDipole(); },
     [](MeaningKept& t) {
         MeaningKept::TypeInto(t.wnd->Freq, "28.4");
         t.wnd->K4->trigger();
         ASSERT_EQ(t.wnd->Ant.Changed, 0) << t.Shown();
     },
     [](MeaningKept& t) { EXPECT_GT(t.ExpectPointsKeptOrSaid(), 0); }},
    // A file is read at its design frequency: what it keeps is written for
    // that layout, whatever the calculation frequency.
    {"LoadsThroughASaveAsAtAnotherCalculationFrequency", LoadedDipoleStartedAt("28.4", "w1c"),
     SavedOpenedAndStartedAt("28.4", true), AsSaved},
    {"FeedByOffsetThroughASaveAtAnotherCalculationFrequency", LoadedDipoleStartedAt("7.1", "w1b+9"),
     SavedOpenedAndStartedAt("7.1", false), AsSaved},
    {"LoadsThroughAFarFieldFileSavedAsText", LoadedDipoleStartedAt("28.4", "w1c"),
     [](MeaningKept& t) {
         // The far-field file keeps the calculation frequency it was computed at.
         t.prompter.AnswerFile(t.TempPath("loads.kvb").toStdString());
         t.wnd->K11->trigger();
         t.prompter.AnswerFile(t.TempPath("loads.kvb").toStdString());
         t.wnd->K12->trigger();
         ASSERT_EQ(t.wnd->Ant.CalcFreq, 28.4) << t.Shown();
         SavedOpenedAndStartedAt("28.4", true)(t);
     },
     AsSaved},
    {"LoadsThroughTheTextEditorAtAnotherCalculationFrequency", LoadedDipoleStartedAt("28.4", "w1c"),
     [](MeaningKept& t) {
         // The name edited: the text is read back as the antenna.
         t.Accept<TTextEditDlg>(t.wnd->K30, [](TTextEditDlg& d) {
             QString text = d.Memo->toPlainText();
             d.Memo->selectAll();
             d.Memo->insertPlainText(text.replace("Meaning kept", "Meaning kept 2"));
         });
         ASSERT_STREQ(t.wnd->Ant.Name, "Meaning kept 2");
         ASSERT_EQ(t.wnd->DoFreq->currentText(), "14.2") << "a text is read at its design frequency";
         MeaningKept::TypeInto(t.wnd->DoFreq, "28.4");
         t.StartAgain();
     },
     AsSaved},
    // A far-field file keeps the calculation frequency its results are of
    // and is read at it.
    {"LoadsThroughAFarFieldFileAtAnotherCalculationFrequency", LoadedDipoleStartedAt("28.4", "w1c"),
     [](MeaningKept& t) {
         t.prompter.AnswerFile(t.TempPath("loads.kvb").toStdString());
         t.wnd->K11->trigger();
         t.prompter.AnswerFile(t.TempPath("loads.kvb").toStdString());
         t.wnd->K12->trigger();
         ASSERT_EQ(t.wnd->DoFreq->currentText(), "28.4") << "read at the frequency its results are of";
         t.StartAgain();
     },
     AsSaved},
    // An optimization log is read at the design frequency, as an antenna file.
    {"LoadsBandSourcesAndGoalThroughALogFileAtAnotherCalculationFrequency",
     [](MeaningKept& t) {
         LoadedDipoleStartedAt("28.4", "w1c")(t);
         WithBandSourcesAndGoalAtTheLoads(t);
     },
     LogSavedOpenedAndStartedAt("28.4"), AsSaved},
    {"LoadsBandSourcesAndGoalThroughALogFileSavedAgainRightAfterItOpened",
     [](MeaningKept& t) {
         LoadedDipoleStartedAt("28.4", "w1c")(t);
         WithBandSourcesAndGoalAtTheLoads(t);
     },
     LogSavedOpenedAndStartedAt("28.4", 1), AsSaved},
    // Typed, not started: the positions stand where the last Start left them.
    {"LoadsBandSourcesAndGoalThroughALogFileSavedAtATypedCalculationFrequency",
     [](MeaningKept& t) {
         LoadedDipoleStartedAt("14.2", "w1c")(t);
         WithBandSourcesAndGoalAtTheLoads(t);
         MeaningKept::TypeInto(t.wnd->DoFreq, "28.4");
     },
     LogSavedOpenedAndStartedAt("28.4"), [](MeaningKept& t) { EXPECT_GT(t.ExpectPointsKeptOrSaid(), 0); }},
    // A line of a position that moved stays in the log until a Start shows
    // it: no clearing of a preparation or of Start removes it before.
    {"SourceLineOfATabChangeThroughTheHeightAndStart",
     [](MeaningKept& t) {
         t.OpenAntenna({"0,-5.12,10,0,5.12,10,0.001,-1"}, {"w1b+1"}, {}, GroundReal);
         t.Start();
         t.KeepPoints();
     },
     [](MeaningKept& t) {
         MeaningKept::TypeInto(t.wnd->EditEC, "2");
         t.wnd->Page->setCurrentWidget(t.wnd->TabSheet3);
         QApplication::processEvents();
         ASSERT_EQ(t.LinesAbout("Source 1 (w1b+1)").size(), 1) << "settled by the tab change";
         MeaningKept::TypeInto(t.wnd->AntHeight, "2");
         t.StartAgain();
     },
     [](MeaningKept& t) { EXPECT_EQ(t.ExpectPointsKeptOrSaid(), 1); }},
    {"LoadsLineOfATaperSetThroughStart",
     [](MeaningKept& t) {
         t.OpenTaperedDipole({"w1c"}, {"w1c-5", "w1c+5"});
         t.Start();
         t.KeepPoints();
     },
     [](MeaningKept& t) {
         t.Accept<TWCombDlg>(t.wnd->K45, [](TWCombDlg& d) { d.Grid->SetEditText(3, 1, "2.5"); });
         ASSERT_EQ(t.wnd->Ant.TaperSets[0].Len[0], 2.5);
         t.StartAgain();
     },
     [](MeaningKept& t) { EXPECT_GT(t.ExpectPointsKeptOrSaid(), 0); }},
    {"LoadRemovedWithItsWireThroughStart",
     [](MeaningKept& t) {
         t.OpenAntenna({"0,-5.12,10,0,5.12,10,0.001,-1", "3,-5,10,3,5,10,0.001,-1"}, {"w1c"}, {"w2c"});
         t.Start();
     },
     [](MeaningKept& t) {
         t.DeleteWire(2);
         ASSERT_EQ(t.wnd->Ant.LoadCount, 0);
         t.StartAgain();
     },
     [](MeaningKept& t) {
         EXPECT_EQ(t.LinesAbout("Load 1 (w2c)").size(), 1) << t.wnd->LogLines().join("\n").toStdString();
     }},
    // The added height alone decides whether a wire end has a pulse.
    {"FeedThroughTheAddedHeight",
     [](MeaningKept& t) {
         t.OpenAntenna({"0,0,0,0,0,10,0.001,10"}, {"w1b"}, {}, GroundPerfect);
         t.Start();
         t.KeepPoints();
     },
     [](MeaningKept& t) {
         MeaningKept::TypeInto(t.wnd->AntHeight, "5");
         t.StartAgain();
     },
     [](MeaningKept& t) { EXPECT_EQ(t.ExpectPointsKeptOrSaid(), 1); }},
    {"LoadsThroughAFrequencyTable", [](MeaningKept& t) { t.StartLoadedDipole(); },
     [](MeaningKept& t) { t.FrequencyTable("14.2", "28.4", "7100"); },
     [](MeaningKept& t) {
         // Each frequency lays the pulses out for itself; the loads stay as
         // typed, and the log says once for each that it stood elsewhere.
         EXPECT_EQ(t.ExpectPointsKeptOrSaid(), 0);
         EXPECT_STREQ(t.wnd->Ant.Loads[1].Pos, "w1c+5");
         EXPECT_EQ(t.LinesAbout("Load 2 (w1c+5)").size(), 1) << t.wnd->LogLines().join("\n").toStdString();
     }},
    {"LoadsThroughBandsAtOtherFrequencies",
     [](MeaningKept& t) {
         t.StartLoadedDipole();
         CACal& cal = t.wnd->OptimizerState();
         t.wnd->AttachOptimizer();
         cal.BandCount = 2;
         for (int b = 0; b < 2; ++b) {
             cal.Bands[b].Freq = b == 0 ? 14.2 : 21.3;
             cal.Bands[b].Sources[0] = t.wnd->Ant.Sources[0];
         }
         cal.AddVar(KindWire, 0, 2, LinkFree, 5.12, 10);
     },
     [](MeaningKept& t) { t.RunOptimizationStoppedEarly({}, 3); },
     [](MeaningKept& t) {
         // Band 2 lays the pulses out at its own frequency; the loads stay
         // as typed, and the log says once that they stood elsewhere there.
         EXPECT_STREQ(t.wnd->Ant.Loads[1].Pos, "w1c+5");
         EXPECT_EQ(t.LinesAbout("Load 2 (w1c+5): at 21.3 MHz").size(), 1) << t.wnd->LogLines().join("\n").toStdString();
         EXPECT_EQ(t.LinesAbout("Load 1 (w1c-5): at 21.3 MHz").size(), 1);
     }},
    {"RowBandSourcesAndGoalThroughTheGroundTurn",
     [](MeaningKept& t) {
         t.OpenAntenna({"0,0,5.5,0,0,0.5,0.001,10"}, {"w1e"}, {}, GroundPerfect);
         CACal& cal = t.wnd->OptimizerState();
         t.wnd->AttachOptimizer();
         cal.BandCount = 2;
         for (int b = 0; b < 2; ++b) {
             cal.Bands[b].Freq = 14.2 + 0.1 * b;
             cal.Bands[b].Sources[0] = t.wnd->Ant.Sources[0];
         }
         CopyText(cal.CurrentPos, "w1e");
         cal.AddVar(KindWire, 0, 1, LinkFree, 10, 10);  // Z1, the top
         ASSERT_EQ(cal.GetValue(0), 5.5);
     },
     [](MeaningKept& t) {
         t.TypeWire(1, {"", "", "", "", "", "0"});
         t.wnd->Page->setCurrentWidget(t.wnd->TabSheet3);
         QApplication::processEvents();
     },
     [](MeaningKept& t) {
         ASSERT_EQ(t.wnd->Ant.Wires[0].Z1, 0.0) << "turned: its grounded end first";
         // The row varies the top, now end 2; the bands and the goal feed
         // where the antenna is fed.
         ASSERT_EQ(t.wnd->ACal->RowCount(), 1);
         EXPECT_EQ(t.wnd->ACal->GetValue(0), 5.5);
         const auto feed = t.PointOf(t.wnd->Ant.Sources[0].Pos);
         ASSERT_TRUE(feed);
         CACal& cal = *t.wnd->ACal;
         for (const char* pos : std::vector<const char*>{cal.Bands[0].Sources[0].Pos, cal.Bands[1].Sources[0].Pos, cal.CurrentPos}) {
             const auto at = t.PointOf(pos);
             ASSERT_TRUE(at) << pos;
             EXPECT_NEAR(at->Z, feed->Z, 1e-9) << pos << " against the feed " << t.wnd->Ant.Sources[0].Pos;
         }
     }},
    {"RowsKeptRightAfterATypedWire",
     [](MeaningKept& t) { t.OpenYagiWithRows(); },
     [](MeaningKept& t) {
         t.TypeBehindReflector();
         t.wnd->K38->trigger();
         t.DeleteWire(4);
         t.Restore(t.wnd->K39);
     },
     [](MeaningKept& t) { EXPECT_EQ(t.WidthsTheRowsVary(), (std::vector<double>{10.7, 9.6})); }},
    {"RowsLoggedRightAfterATypedWire",
     [](MeaningKept& t) { t.OpenYagiWithRows(); },
     [](MeaningKept& t) {
         t.TypeBehindReflector();
         t.prompter.AnswerFile(t.LogPath().toStdString());
         t.wnd->K20->trigger();
         ASSERT_TRUE(QFile::exists(t.LogPath()));
         t.prompter.AnswerMessage(BoxNo);  // the antenna's save question
         t.prompter.AnswerFile(t.LogPath().toStdString());
         t.wnd->K19->trigger();
     },
     [](MeaningKept& t) { EXPECT_EQ(t.WidthsTheRowsVary(), (std::vector<double>{10.7, 9.6})); }},
    {"RowsAfterAnOptimizationAndARestore",
     [](MeaningKept& t) {
         t.Open({"korva", QStringLiteral(KORVA_TEST_DATA "/../../examples/yagi3.kva")});
         t.wnd->K38->trigger();
     },
     [](MeaningKept& t) {
         const std::string start = t.AntennaText();
         t.RunOptimizationStoppedEarly([](TACalDlg& dialog) { dialog.AllEleClick(); }, 40);
         ASSERT_NE(t.AntennaText(), start) << "the search moved no wire";
         t.wnd->ClearLog();
         t.rowsBefore = t.wnd->ACal->RowCount();
         t.Restore(t.wnd->K39);
     },
     [](MeaningKept& t) {
         EXPECT_TRUE(t.LinesAbout("removed").isEmpty()) << t.LinesAbout("removed").join("\n").toStdString();
         EXPECT_EQ(t.wnd->ACal->RowCount(), t.rowsBefore);
         EXPECT_STREQ(t.wnd->ACal->Bands[0].Sources[0].Pos, "w2c");
     }},
    // The optimization log is shown as the antenna's only while the antenna
    // is one of its points; a log file says whether its antenna is.
    {"LogOfTheAntennaARunLeft", [](MeaningKept& t) { t.OptimizeYagiBriefly(); }, [](MeaningKept&) {},
     [](MeaningKept& t) { t.ExpectLoggedPointOfTheAntenna(); }},
    {"LogAfterAnEdit", [](MeaningKept& t) { t.OptimizeYagiBriefly(); },
     [](MeaningKept& t) { t.TypeDrivenElement121(); },
     [](MeaningKept& t) { EXPECT_FALSE(t.LoggedPointShownAsTheAntennas()); }},
    {"LogFileOfTheAntennaARunLeft", [](MeaningKept& t) { t.OptimizeYagiBriefly(); },
     [](MeaningKept& t) { t.SaveLogAndOpenItInANewWindow(); },
     [](MeaningKept& t) { t.ExpectLoggedPointOfTheAntenna(); }},
    {"LogFileAfterAnEdit", [](MeaningKept& t) { t.OptimizeYagiBriefly(); },
     [](MeaningKept& t) {
         t.TypeDrivenElement121();
         t.SaveLogAndOpenItInANewWindow();
     },
     [](MeaningKept& t) {
         EXPECT_DOUBLE_EQ(t.wnd->Ant.Wires[1].Y2, 6.05) << "the antenna as it was saved";
         EXPECT_FALSE(t.LoggedPointShownAsTheAntennas());
     }},
    // The file opens at the design frequency, whatever frequency it was
    // saved at: points computed at another one, or at a band's, are not the
    // antenna's there.
    {"LogFileOfARunAtAnotherCalculationFrequency", [](MeaningKept& t) { t.OptimizeYagiBrieflyAt1405(); },
     [](MeaningKept& t) { t.SaveLogAndOpenItInANewWindow(); },
     [](MeaningKept& t) {
         EXPECT_EQ(t.wnd->DoFreq->currentText(), "14.2");
         EXPECT_FALSE(t.LoggedPointShownAsTheAntennas());
     }},
    {"LogFileOfARunAtAnotherCalculationFrequencyOpenedHere", [](MeaningKept& t) { t.OptimizeYagiBrieflyAt1405(); },
     [](MeaningKept& t) { t.SaveLogAndOpenItHere(); },
     [](MeaningKept& t) {
         EXPECT_EQ(t.wnd->DoFreq->currentText(), "14.2");
         EXPECT_FALSE(t.LoggedPointShownAsTheAntennas());
     }},
    // Its wire records keep the pulse numbers of the layout it is read with,
    // so that a log opened and saved again at once is the same file.
    {"LogFileAtAnotherBandNumbersPulsesAtTheDesignFrequency",
     [](MeaningKept& t) {
         LoadedDipoleStartedAt("7.1", "w1c")(t);
         WithBandSourcesAndGoalAtTheLoads(t);
     },
     [](MeaningKept& t) {
         t.prompter.AnswerFile(t.LogPath().toStdString());
         t.wnd->K20->trigger();
     },
     [](MeaningKept& t) {
         const QByteArray file = t.ReadFile(t.LogPath());
         auto opened = std::make_unique<AntDef>();
         auto state = std::make_unique<CACal>();
         ModelEnvFields env{};
         std::string comment;
         ASSERT_EQ(ParseOptLogImage(std::vector<uint8_t>(file.begin(), file.end()), *opened, env, comment, *state),
                   OptLogStatus::Ok);
         ASSERT_EQ(LayoutFrequency(*opened), 14.2);
         PulseLayout design;
         ASSERT_TRUE(LayOutPulses(*opened, design));
         long long first = 1;
         for (int w = 0; w < opened->WireCount; ++w) {
             EXPECT_EQ(opened->Wires[w].PulseCount, design.WirePulses[static_cast<std::size_t>(w)]) << "wire " << w + 1;
             EXPECT_EQ(opened->Wires[w].FirstPulse, first) << "wire " << w + 1;
             first += design.WirePulses[static_cast<std::size_t>(w)];
         }
     }},
    {"LogFileOfATwoBandRun",
     [](MeaningKept& t) {
         t.OpenYagiWithRows();
         CACal& cal = *t.wnd->ACal;
         cal.BandCount = 2;
         cal.Bands[0].Freq = 14.15;
         cal.Bands[1].Freq = 14.3;
         t.RunOptimizationStoppedEarly({}, 5);
         ASSERT_GE(cal.LogCount, 5);
     },
     [](MeaningKept& t) { t.SaveLogAndOpenItHere(); },
     [](MeaningKept& t) { EXPECT_FALSE(t.LoggedPointShownAsTheAntennas()); }},
    // A run at the design frequency: its points are the antenna's when the
    // file opens, whatever the calculation field showed at the save.
    {"LogFileOfARunAtTheDesignFrequencySavedAtAnother", [](MeaningKept& t) { t.OptimizeYagiBriefly(); },
     [](MeaningKept& t) {
         MeaningKept::TypeInto(t.wnd->DoFreq, "14.05");
         t.SaveLogAndOpenItInANewWindow();
     },
     [](MeaningKept& t) { t.ExpectLoggedPointOfTheAntenna(); }},
    {"LogFileOpenedEditedAndSavedAgain", [](MeaningKept& t) { t.OptimizeYagiBriefly(); },
     [](MeaningKept& t) {
         t.SaveLogAndOpenItInANewWindow();
         ASSERT_TRUE(t.LoggedPointShownAsTheAntennas());
         t.TypeDrivenElement121();
         t.SaveLogAndOpenItInANewWindow();
     },
     [](MeaningKept& t) {
         EXPECT_DOUBLE_EQ(t.wnd->Ant.Wires[1].Y2, 6.05) << "the antenna as it was saved";
         EXPECT_FALSE(t.LoggedPointShownAsTheAntennas());
     }},
    {"LoadRowThroughADeleteAndARestore",
     [](MeaningKept& t) {
         t.OpenAntenna({"-2.5,0,10,2.5,0,10,0.001,11"}, {"w1c"}, {"w1b", "w1e"});
         t.wnd->Ant.Loads[1].A[0] = 20;
         t.wnd->K38->trigger();
         CACal& cal = t.wnd->OptimizerState();
         t.wnd->AttachOptimizer();
         cal.AddVar(KindLoad, 1, 0, 0, 20, 10);
     },
     [](MeaningKept& t) {
         t.FocusRow(t.wnd->Grid4, 1);
         t.wnd->K13->trigger();
         ASSERT_EQ(t.wnd->Ant.LoadCount, 1);
         ASSERT_DOUBLE_EQ(t.wnd->ACal->GetValue(0), 20) << "the row follows its load";
         t.Restore(t.wnd->K39);
     },
     [](MeaningKept& t) {
         ASSERT_EQ(t.wnd->ACal->RowCount(), 1);
         EXPECT_EQ(t.wnd->ACal->Row(0).Item, 1);
         EXPECT_DOUBLE_EQ(t.wnd->ACal->GetValue(0), 20);
     }},
    // A layout input changed and changed back gives back the antenna: each
    // position is placed from the user's point, never from where another
    // layout put it.
    {"TrapsThroughAnotherBandAndBack", OpenedAndStarted(TrapDipole, {"w1c"}, {"w1c-7", "w1c7"}),
     StartedAtEach({{&TMainWnd::DoFreq, "7.1"}, {&TMainWnd::DoFreq, "14.2"}}), AsItWas},
    {"OffCentreFeedThroughAnotherBandAndBack", OpenedAndStarted(TrapDipole, {"w1c-5"}),
     StartedAtEach({{&TMainWnd::DoFreq, "7.1"}, {&TMainWnd::DoFreq, "14.2"}}), AsItWas},
    {"GradedInvertedVThroughTwoBandsAndBack",
     OpenedAndStarted({"0,-5,7,0,0,10,0.001,-2", "0,0,10,0,5,7,0.001,-3"}, {"w2b"}, {"w1b2", "w2e2"}),
     StartedAtEach({{&TMainWnd::DoFreq, "10.1"}, {&TMainWnd::DoFreq, "21.2"}, {&TMainWnd::DoFreq, "14.2"}}), AsItWas},
    {"TrapsThroughDM2AndBack", OpenedAndStarted(TrapDipole, {"w1c"}, {"w1c-7", "w1c7"}),
     StartedAtEach({{&TMainWnd::EditDM2, "15"}, {&TMainWnd::EditDM2, "80"}}), AsItWas},
    {"GroundedFeedThroughTheAddedHeightAndBack",
     OpenedAndStarted({"0,0,0,0,0,10,0.001,-1"}, {"w1b2"}, {"w1e1"}, GroundPerfect),
     StartedAtEach({{&TMainWnd::AntHeight, "2"}, {&TMainWnd::AntHeight, "0"}}), AsItWas},
    {"TrapsThroughASaveAtAnotherBand", OpenedAndStarted(TrapDipole, {"w1c"}, {"w1c-7", "w1c7"}),
     [](MeaningKept& t) {
         StartedAtEach({{&TMainWnd::DoFreq, "7.1"}})(t);
         SavedOpenedAndStartedAt("14.2", false)(t);
     },
     AsItWas},
    {"TaperedDipoleThroughFiveSavesAtAnotherBand",
     [](MeaningKept& t) {
         t.OpenTaperedDipole({"w1c", "w1c+7"}, {"w1c-6"});
         // The positions typed on the tapered layout, saved and opened.
         MeaningKept::Type(t.wnd->Grid3, 1, 2, "w1c+7");
         MeaningKept::Type(t.wnd->Grid4, 1, 1, "w1c-6");
         t.wnd->K4->trigger();
         t.prompter.AnswerFile(t.TempPath("meaning.kva").toStdString());
         t.wnd->K3->trigger();
         t.Start();
         t.KeepPoints();
         t.resultBefore = *Results.Row(0);
     },
     [](MeaningKept& t) {
         // Each file saved is opened, set to 7.1 MHz, started and saved as another.
         for (int i = 0; i < 5; ++i) {
             StartedAtEach({{&TMainWnd::DoFreq, "7.1"}})(t);
             const QString path = t.TempPath(QString("cycle%1.kva").arg(i));
             t.prompter.AnswerFile(path.toStdString());
             t.Wnd().K5->trigger();
             t.prompter.AnswerFile(path.toStdString());
             t.Wnd().K3->trigger();
             ASSERT_EQ(t.Wnd().FileName, path) << t.Shown();
         }
         t.StartAgain();
     },
     AsItWas},
    // An edit of another wire while a layout input is typed but not started
    // leaves a position on an untouched wire where it was.
    {"LoadOfAnUntouchedWireThroughEndsExchangedAfterDM1",
     [](MeaningKept& t) {
         t.OpenAntenna({"0,0,5,3,0,3,0.001,-1", "0,0,5,-3,0,3,0.001,-1", "0,0,5,0,0,10,0.001,-1"}, {"w3b"}, {"w1e"});
         MeaningKept::TypeInto(t.Wnd().EditDM1, "400");
         t.Start();
         t.KeepPoints();
     },
     [](MeaningKept& t) {
         MeaningKept::TypeInto(t.Wnd().EditDM1, "1200");
         t.FocusRow(t.wnd->Grid2, 2);
         ASSERT_TRUE(t.wnd->K35->isEnabled());
         t.wnd->K35->trigger();
         ASSERT_EQ(t.wnd->Ant.Wires[1].X1, -3.0) << "radial 2's ends exchanged";
         StartedAtEach({{&TMainWnd::EditDM1, "400"}})(t);
     },
     [](MeaningKept& t) {
         EXPECT_EQ(t.Texts(), t.keptTexts) << t.wnd->LogLines().join("\n").toStdString();
         EXPECT_EQ(t.ExpectPointsKeptOrSaid(), 0);
     }},
    // A position typed where the design layout has no pulse is still told
    // when a save writes it at the nearest one.
    {"LoadTypedAtAnotherBandToldAtTheSave", OpenedAndStarted(TrapDipole, {"w1c"}),
     [](MeaningKept& t) {
         StartedAtEach({{&TMainWnd::DoFreq, "10.1"}})(t);
         MeaningKept::Type(t.wnd->Grid4, 1, 1, "w1c-3");
         ASSERT_STREQ(t.wnd->Ant.Loads[0].Pos, "w1c-3");
         t.wnd->K4->trigger();
     },
     [](MeaningKept& t) {
         EXPECT_EQ(t.LinesAbout("Load 1 (w1c-3): no pulse stands at its point at the design frequency").size(), 1)
             << t.wnd->LogLines().join("\n").toStdString();
     }},
};

}  // namespace

TEST_P(MeaningKept, Holds) {
    const MeaningKeptRow& row = GetParam();
    TempMemoryText.clear();
    row.setup(*this);
    ASSERT_FALSE(HasFatalFailure());
    row.action(*this);
    row.check(*this);
}

INSTANTIATE_TEST_SUITE_P(Controls, MeaningKept, ::testing::ValuesIn(Rows),
                         [](const ::testing::TestParamInfo<MeaningKeptRow>& info) { return info.param.name; });
