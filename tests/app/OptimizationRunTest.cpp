// The optimization run from the main window, as a user drives it: rows set
// in the optimizer dialog, the run, Abort, the best variant as the current
// antenna, the restore of the start, the log saved, reopened and applied.
#include "MainWndFixture.h"
#include "model/EnvDef.h"
#include "model/ResultStore.h"
#include "editing/GrpWireDlg.h"
#include "optimizer/ACalDlg.h"
#include "optimizer/ACalResDlg.h"
#include "optimizer/OptimizerState.h"
#include "platform/RadioGroup.h"
#include "platform/SettingsPath.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QRadioButton>
#include <QTabWidget>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <QSlider>
#include <QTimer>
#include <cfloat>

namespace {

class OptimizationRunTest : public MainWndTest {
protected:
    void SetUp() override {
        MainWndTest::SetUp();
        ExecModalDialog = [this](QDialog& d) {
            if (auto* dlg = dynamic_cast<TACalDlg*>(&d)) {
                ++optimizerDialogs;
                return SetRows ? SetRows(*dlg) : int(QDialog::Rejected);
            }
            if (auto* log = dynamic_cast<TACalResDlg*>(&d)) return PickLogLine ? PickLogLine(*log) : int(QDialog::Rejected);
            if (auto* table = dynamic_cast<TGrpWireDlg*>(&d)) return PickElement ? PickElement(*table) : int(QDialog::Rejected);
            return int(QDialog::Rejected);
        };
        ASSERT_EQ(wnd->OpenAntFile(KORVA_TEST_DATA "/yagi3.kva"), 1);
        JobDef.StopRequest = 0;
    }
    void TearDown() override {
        JobDef.StopRequest = 0;
        JobDef.OptLog = 0;
        MainWndTest::TearDown();
    }

    // Director (wire 3): half length X2 free with X1 = -X2, spacing Y1 free
    // with Y2 = Y1; goals gain and F/B.
    static int DirectorRows(TACalDlg& dlg) {
        struct Row {
            int field;
            const char* link;
        } rows[] = {{6, nullptr}, {5, "-1"}, {0, nullptr}, {2, "3"}};
        for (int line = 1; line <= 4; ++line) {
            dlg.Grid->SetRow(line);
            dlg.GridSetEditText(2, line, "3");
            dlg.SetRowWhat(rows[line - 1].field);
            if (rows[line - 1].link) dlg.GridSetEditText(4, line, rows[line - 1].link);
        }
        for (QSlider* bar : {dlg.TBGain, dlg.TBFB}) bar->setValue(50);
        for (QSlider* bar : {dlg.TBJX, dlg.TBSWR, dlg.TBELV, dlg.TBMCH, dlg.TBCUR}) bar->setValue(0);
        dlg.DispRes->setChecked(true);
        dlg.OKBtnClick();
        return dlg.result();
    }

    bool Asked(const std::string& part) const {
        for (const auto& shown : prompter.ShownBoxes())
            if (shown.text.find(part) != std::string::npos) return true;
        return false;
    }

    QString ScanPath() const {
        return QFileInfo(QString::fromStdString(SettingsFilePath())).dir().filePath("scan.txt");
    }

    std::function<int(TACalDlg&)> SetRows;
    std::function<int(TACalResDlg&)> PickLogLine;
    std::function<int(TGrpWireDlg&)> PickElement;
    int optimizerDialogs = 0;
};

}  // namespace

TEST_F(OptimizationRunTest, TheBestVariantStaysAndTheStartCanBeRestored) {
    EXPECT_FALSE(wnd->K20->isEnabled());
    EXPECT_FALSE(wnd->ACalResBtn->isEnabled());
    SetRows = DirectorRows;
    const QString kvo = TempPath("run.kvo");
    prompter.AnswerMessage(BoxYes);  // save the log
    prompter.AnswerFile(kvo.toStdString());
    wnd->ACalBtn->click();

    ASSERT_NE(wnd->ACal, nullptr);
    const CACal& cal = *wnd->ACal;
    EXPECT_EQ(JobDef.Busy, 0);
    EXPECT_FALSE(wnd->OptRunning);
    EXPECT_EQ(wnd->ACalBtn->text(), "Optimization");
    ASSERT_GT(cal.LogCount, 3);
    // The antenna holds the best point, its links whole.
    ACalLogEntry best;
    double bestScore = -DBL_MAX;
    for (int n = 0; n < cal.LogCount; ++n) {
        ACalLogEntry e;
        cal.GetLogEntry(e, n);
        if (e.Score > bestScore) {
            bestScore = e.Score;
            best = e;
        }
    }
    const WireRec& director = wnd->Ant.Wires[2];
    EXPECT_DOUBLE_EQ(director.X2, best.Values[0]);
    EXPECT_DOUBLE_EQ(director.X1, -director.X2);
    EXPECT_DOUBLE_EQ(director.Y1, best.Values[2]);
    EXPECT_DOUBLE_EQ(director.Y2, director.Y1);
    EXPECT_TRUE(director.X2 != 4.75 || director.Y1 != 2.1);
    EXPECT_FLOAT_EQ(Results.Row(0)->Ga, best.Ga);
    EXPECT_EQ(wnd->Ant.Changed, 1);
    // The log went where the user said; the commands that need it are on.
    EXPECT_TRUE(QFile::exists(kvo));
    EXPECT_TRUE(wnd->K20->isEnabled());
    EXPECT_TRUE(wnd->ACalResBtn->isEnabled());
    EXPECT_TRUE(wnd->K36->isEnabled());

    // "scan.txt" keeps the numeric evaluation lines, without their marks.
    QFile scan(ScanPath());
    ASSERT_TRUE(scan.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromLatin1(scan.readAll()).split("\r\n", Qt::SkipEmptyParts);
    EXPECT_GE(lines.size(), 3);
    const QRegularExpression numeric("^[ 0-9.\\-]+$");
    for (const QString& line : lines) EXPECT_TRUE(numeric.match(line).hasMatch()) << line.toStdString();

    // Restore the data before the optimization.
    prompter.AnswerMessage(BoxYes);
    wnd->K36->trigger();
    EXPECT_DOUBLE_EQ(wnd->Ant.Wires[2].X2, 4.75);
    EXPECT_DOUBLE_EQ(wnd->Ant.Wires[2].Y1, 2.1);
    EXPECT_FALSE(wnd->K36->isEnabled());

    // The saved log reopened, and its third best point applied.
    ASSERT_TRUE(wnd->OpenOptLogFile(kvo));
    ASSERT_NE(wnd->ACal, nullptr);
    double chosen = 0;
    PickLogLine = [&](TACalResDlg& dlg) {
        dlg.Grid->SetRow(3);
        chosen = dlg.Entries()[2].Values[0];
        prompter.AnswerMessage(BoxYes);
        dlg.OKBtnClick();
        return dlg.result();
    };
    wnd->ACalResBtn->click();
    EXPECT_DOUBLE_EQ(wnd->Ant.Wires[2].X2, chosen);
    EXPECT_DOUBLE_EQ(wnd->Ant.Wires[2].X1, -chosen);
}

TEST_F(OptimizationRunTest, AbortStopsAfterTheCurrentEvaluation) {
    SetRows = DirectorRows;
    int clicks = 0;
    QTimer abort;
    QObject::connect(&abort, &QTimer::timeout, [&] {
        if (JobDef.Busy && wnd->ACal && wnd->ACal->LogCount >= 2 && clicks == 0) {
            ++clicks;
            EXPECT_EQ(wnd->ACalBtn->text(), "Abort");
            EXPECT_FALSE(wnd->CalTrgBtn->isEnabled());
            for (QAction* a : {wnd->ToolButton8, wnd->ToolButton9, wnd->KC3}) EXPECT_FALSE(a->isEnabled());
            wnd->ACalBtn->click();
        }
    });
    abort.start(0);
    wnd->ACalBtn->click();
    abort.stop();
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(optimizerDialogs, 1);  // the click during the run opened nothing
    EXPECT_LE(wnd->ACal->LogCount, 3);
    EXPECT_FALSE(Asked("Save optimization log"));
    EXPECT_EQ(wnd->ACalBtn->text(), "Optimization");
    EXPECT_TRUE(wnd->CalTrgBtn->isEnabled());
    for (QAction* a : {wnd->ToolButton8, wnd->ToolButton9, wnd->KC3}) EXPECT_TRUE(a->isEnabled());
    EXPECT_TRUE(QFile::exists(ScanPath()));
}

TEST_F(OptimizationRunTest, AMultiBandRunEndsWithTheFirstBandAndItsResults) {
    wnd->CalcSel->Button(GroundFree)->click();
    CACal& cal = wnd->OptimizerState();
    cal.GoalsOn = 0;  // the last run was a simple sweep
    cal.BandCount = 2;
    cal.Bands[0].Freq = 14.1;
    cal.Bands[0].Sources[0] = wnd->Ant.Sources[0];
    cal.Bands[1].Freq = 14.3;
    cal.Bands[1].Sources[0] = wnd->Ant.Sources[0];
    cal.Bands[1].Sources[0].Phase = 30;
    cal.Bands[1].Sources[0].Voltage = 2;
    SetRows = [](TACalDlg& dlg) {
        // Goals on again: the bands count for this run.
        EXPECT_TRUE(dlg.TerDis->isChecked());
        dlg.TerDis->click();
        dlg.Grid->SetRow(1);
        dlg.GridSetEditText(2, 1, "3");
        dlg.SetRowWhat(0);
        dlg.OKBtnClick();
        return dlg.result();
    };
    prompter.AnswerMessage(BoxNo);  // no log file
    wnd->ACalBtn->click();
    EXPECT_GT(wnd->ACal->LogCount, 1);
    EXPECT_EQ(wnd->ACal->GoalsOn, 1);
    EXPECT_EQ(wnd->ACal->BandCount, 2);
    EXPECT_EQ(wnd->Ant.SourceCount, 1);
    EXPECT_DOUBLE_EQ(wnd->Ant.Sources[0].Phase, 0);
    EXPECT_DOUBLE_EQ(wnd->Ant.Sources[0].Voltage, 1);
    EXPECT_DOUBLE_EQ(wnd->Ant.CalcFreq, 14.1);
    // The results shown are those of the antenna and frequency shown: a
    // Start now gives the same feed figures.
    const ResultRow shown = *Results.Row(0);
    EXPECT_FLOAT_EQ(shown.F, 14.1f);
    EXPECT_EQ(Results.Sweep.F0, 14.1);
    // In free space the added height stays off, as its label.
    EXPECT_FALSE(wnd->AntHeight->isEnabled());
    EXPECT_FALSE(wnd->Label11->isEnabled());
    wnd->CalTrgBtn->click();
    const ResultRow& again = *Results.Row(0);
    EXPECT_FLOAT_EQ(again.F, 14.1f);
    EXPECT_NEAR(shown.R, again.R, 1e-3 * std::abs(again.R));
    EXPECT_NEAR(shown.jX, again.jX, 1e-3 * std::abs(again.R));
    EXPECT_NEAR(shown.SWR, again.SWR, 1e-3 * again.SWR);
}

TEST_F(OptimizationRunTest, AFailedCalculationEndsTheRunWithAMessageAndKeepsTheStart) {
    // The director is moved wholly below ground in the dialog: the first
    // calculation of the run is refused.
    SetRows = [](TACalDlg& dlg) {
        dlg.Grid->SetRow(1);
        dlg.GridSetEditText(2, 1, "3");
        dlg.SetRowWhat(1);
        dlg.Grid->SetRow(2);
        dlg.GridSetEditText(2, 2, "3");
        dlg.SetRowWhat(3);
        dlg.GridSetEditText(4, 2, "1");
        dlg.GridSetEditText(8, 1, "-20");
        dlg.OKBtnClick();
        return dlg.result();
    };
    prompter.AnswerMessage(BoxYes);  // Z2 takes Z1's value at the first evaluation
    wnd->ACalBtn->click();
    EXPECT_TRUE(Asked("calculation failed"));
    EXPECT_FALSE(Asked("Save optimization log"));
    EXPECT_EQ(JobDef.Busy, 0);
    EXPECT_EQ(wnd->ACalBtn->text(), "Optimization");
    EXPECT_DOUBLE_EQ(wnd->Ant.Wires[2].Z1, -20);
    EXPECT_DOUBLE_EQ(wnd->Ant.Wires[2].Z2, -20);
    EXPECT_TRUE(wnd->LogFailed());
}

TEST_F(OptimizationRunTest, ElementEditPicksAVariableInTheElementTable) {
    PickElement = [](TGrpWireDlg& table) {
        table.Grid->SetCurrentCell(5, 3);  // the length of the third element
        return int(QDialog::Accepted);
    };
    SetRows = [](TACalDlg& dlg) {
        dlg.Grid->SetRow(1);
        dlg.RefEleClick();
        EXPECT_EQ(dlg.GetCellText(1, 1), "Eleme.");
        EXPECT_EQ(dlg.GetCellText(2, 1), "3");
        EXPECT_EQ(dlg.Grid->Row(), 2);
        return int(QDialog::Rejected);
    };
    wnd->ACalBtn->click();
    ASSERT_EQ(wnd->ACal->RowCount(), 1);
    EXPECT_EQ(wnd->ACal->Row(0).Kind, KindElement);
    EXPECT_EQ(wnd->ACal->Row(0).Item, 2);
    EXPECT_TRUE(wnd->ACal->Row(0).Field == ElLength || wnd->ACal->Row(0).Field == ElLengthAll);
}

TEST_F(OptimizationRunTest, BelowGroundTheRunAsksAndACloseWaitsForTheRun) {
    // The director's end is lowered below the ground plane (12 m added height).
    SetRows = [](TACalDlg& dlg) {
        dlg.Grid->SetRow(1);
        dlg.GridSetEditText(2, 1, "3");
        dlg.SetRowWhat(1);
        dlg.GridSetEditText(8, 1, "-15");
        dlg.OKBtnClick();
        return dlg.result();
    };
    struct Case {
        int answer;   // to "MB ACalcExecute ?"
        bool scored;  // the run calculated below ground
    } cases[] = {{BoxNo, false}, {BoxYes, true}};
    for (const auto& c : cases) {
        prompter.Clear();
        prompter.AnswerMessage(c.answer);
        for (int i = 0; i < 40; ++i) prompter.AnswerMessage(BoxYes);  // go on each time, then the log question
        wnd->ACalBtn->click();
        EXPECT_TRUE(Asked("MB ACalcExecute ?"));
        EXPECT_FALSE(Asked("calculation failed"));
        EXPECT_EQ(wnd->ACal->LogCount > 0, c.scored) << c.answer;
        if (!c.scored) {
            EXPECT_DOUBLE_EQ(wnd->Ant.Wires[2].Z1, -15);
        }
    }

    // A close during the run stops it; the window closes when it has returned.
    prompter.Clear();
    wnd->Ant.Wires[2].Z1 = 10;
    SetRows = DirectorRows;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (JobDef.Busy && wnd->ACal->LogCount >= 2) {
            closer.stop();
            wnd->close();
        }
    });
    closer.start(0);
    prompter.AnswerMessage(BoxNo);  // the antenna changed: not saved
    wnd->ACalBtn->click();
    for (int i = 0; i < 100 && wnd->isVisible(); ++i) QTest::qWait(10);
    EXPECT_FALSE(wnd->isVisible());
    EXPECT_LE(wnd->ACal->LogCount, 3);
}

TEST_F(OptimizationRunTest, TheViewShowsOneStatusLineHoweverManyWereLogged) {
    // Evaluations logged between two redraws of the View tab each show their
    // line: the view then holds the newest over the antenna, as if it were the only one.
    wnd->Page->setCurrentWidget(wnd->TabSheet2);
    QApplication::processEvents();
    CACal& cal = wnd->OptimizerState();
    CopyText(cal.LogHeader, "   Val  Para       R      jX    SWR   Ga    F/B   El");
    auto shownAfter = [&](std::initializer_list<const char*> lines) {
        wnd->DrawAntenna();
        for (const char* line : lines) {
            CopyText(cal.LogLine, line);
            wnd->DrawOptInfo();
        }
        return wnd->ViewImage->pixmap().toImage();
    };
    const QImage clean = shownAfter({});
    const QImage newest = shownAfter({"1252  1    2.2200   24.5  -31.8   1.91  7.21 16.04 12.0 "});
    const QImage logged = shownAfter({"1250  1    2.2000   24.1  -33.0   1.97  7.18 15.80 12.0 ",
                                      "1251  1    2.2100   24.3  -32.4   1.94  7.20 15.92 12.0*",
                                      "1252  1    2.2200   24.5  -31.8   1.91  7.21 16.04 12.0 "});
    EXPECT_FALSE(newest == clean);
    EXPECT_TRUE(logged == newest);
    // The antenna picture itself stays clean (a saved picture holds no status).
    EXPECT_TRUE(wnd->ViewBitmap.convertToFormat(clean.format()) == clean);
}

TEST_F(OptimizationRunTest, TheRunsOutcomeIsShownBeforeTheLogQuestionAndTheLastStatusLineStays) {
    // At the question the window has caught up with the run: the results
    // table was told to show the results kept, and the view holds the
    // antenna kept under the last status line.
    struct QuestionWatch : ScriptedPrompter {
        std::function<void()> atQuestion;
        int Message(const std::string& text, const std::string& caption, BoxIcon icon, BoxButtons buttons) override {
            if (text.find("Save optimization log") != std::string::npos && atQuestion) atQuestion();
            return ScriptedPrompter::Message(text, caption, icon, buttons);
        }
    } watch;
    ScopedPrompter use(watch);
    bool tableRefreshed = false;
    const auto tableWatch = QObject::connect(wnd->Grid1->model(), &QAbstractItemModel::dataChanged, [&] {
        // The run has ended once its time is logged.
        const QStringList log = wnd->LogLines();
        if (!log.isEmpty() && log.last().endsWith(" sec")) tableRefreshed = true;
    });
    SetRows = DirectorRows;
    for (QWidget* tab : {static_cast<QWidget*>(wnd->TabSheet3), static_cast<QWidget*>(wnd->TabSheet2)}) {
        wnd->Page->setCurrentWidget(tab);
        QApplication::processEvents();
        bool asked = false;
        tableRefreshed = false;
        QImage viewAtQuestion;
        watch.atQuestion = [&] {
            asked = true;
            EXPECT_TRUE(tableRefreshed) << "the results table still shows the last point calculated";
            viewAtQuestion = wnd->ViewImage->pixmap().toImage();
        };
        watch.AnswerMessage(BoxNo);
        wnd->ACalBtn->click();
        ASSERT_TRUE(asked);
        if (tab != wnd->TabSheet2) continue;
        const QImage left = wnd->ViewImage->pixmap().toImage();
        wnd->DrawAntenna();
        wnd->DrawOptInfo();
        const QImage expected = wnd->ViewImage->pixmap().toImage();
        EXPECT_TRUE(viewAtQuestion == expected) << "the view did not show the outcome at the question";
        EXPECT_TRUE(left == expected) << "the view was left without the last status line";
        wnd->DrawAntenna();
        EXPECT_FALSE(wnd->ViewImage->pixmap().toImage() == expected) << "no status line is drawn";
    }
    QObject::disconnect(tableWatch);
}

TEST_F(OptimizationRunTest, ElementSizesStayAtWhatElementEditTakesAndAWidthOf0GrowsAgain) {
    // The reflector 9.0 m wide in Element edit; rows on the widths of
    // elements 1 and 3 with the default limits (Min 0). A run with the
    // default goals walks the reflector down toward 0.
    ASSERT_EQ(wnd->OpenAntFile(KORVA_TEST_DATA "/../../examples/yagi3.kva"), 1);
    PickElement = [](TGrpWireDlg& table) {
        table.Grid->SetEditText(ColWidth, 1, "9.0");
        return int(QDialog::Accepted);
    };
    wnd->K18->trigger();
    ASSERT_NEAR(wnd->Ant.Wires[0].Y2 - wnd->Ant.Wires[0].Y1, 9.0, 1e-9);
    SetRows = [](TACalDlg& dlg) {
        for (int line = 1; line <= 2; ++line) {
            dlg.Grid->SetRow(line);
            dlg.SetRowType(KindElement);
            dlg.GridSetEditText(2, line, line == 1 ? "1" : "3");
            dlg.SetRowWhat(ElWidth);
            EXPECT_EQ(dlg.GetCellText(6, line), "0.0");
        }
        // The reflector drawn together to a point in the Value column, and
        // given its width again.
        dlg.GridSetEditText(8, 1, "0");
        EXPECT_EQ(dlg.GetCellText(8, 1), "0.0");
        dlg.GridSetEditText(8, 1, "9.0");
        EXPECT_EQ(dlg.GetCellText(8, 1), "9.0");
        dlg.DispRes->setChecked(true);
        dlg.OKBtnClick();
        return dlg.result();
    };
    prompter.AnswerMessage(BoxNo);  // no log file
    wnd->ACalBtn->click();
    ASSERT_GT(wnd->ACal->LogCount, 3);
    const WireRec& reflector = wnd->Ant.Wires[0];
    EXPECT_DOUBLE_EQ(reflector.Y1, -reflector.Y2);
    EXPECT_GE(reflector.Y2 - reflector.Y1, MinElementSize);
    // Every point shown in the log, and every one kept, has both sizes at
    // or above what Element edit takes.
    const QRegularExpression point("^ *\\d+ +([12]) +(-?\\d+\\.\\d+) ");
    int shown = 0;
    for (const QString& line : wnd->LogLines()) {
        const QRegularExpressionMatch m = point.match(line);
        if (!m.hasMatch()) continue;
        ++shown;
        EXPECT_GE(m.captured(2).toDouble(), MinElementSize) << line.toStdString();
    }
    EXPECT_GT(shown, 3);
    for (int n = 0; n < wnd->ACal->LogCount; ++n) {
        ACalLogEntry e;
        wnd->ACal->GetLogEntry(e, n);
        EXPECT_GE(e.Values[0], MinElementSize) << "logged point " << n;
        EXPECT_GE(e.Values[1], MinElementSize) << "logged point " << n;
    }
}
