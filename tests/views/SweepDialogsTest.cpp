// The sweep dialogs driven directly: settings and restore of the plots, the
// frequency table's range check and file, the multiband list's Start/Stop.
#include "SweepFixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

#include "app/Settings.h"
#include "model/NumberText.h"
#include "platform/ColourChoice.h"
#include "platform/IniFile.h"
#include "platform/Printing.h"
#include "platform/ScriptedPrompter.h"
#include "platform/UpDownButton.h"
#include "views/BwDispDlg.h"
#include "views/FreqSetDlg.h"
#include "views/NWLForm.h"
#include "TypedNumberLists.h"

class SweepDialogsTest : public SweepFixture {
protected:
    QTemporaryDir dir;
    ScriptedPrompter prompter;
    Prompter* previous = nullptr;
    void SetUp() override {
        SweepFixture::SetUp();
        SettingsPathOverride = dir.filePath("Korva.ini").toStdString();
        previous = SetPrompter(&prompter);
    }
    void TearDown() override {
        SetPrompter(previous);
        SettingsPathOverride.clear();
    }
    std::string Path(const char* name) { return dir.filePath(name).toStdString(); }
};

TEST_F(SweepDialogsTest, PlotsKeepTheirSettingsAndPutBackTheLatestResults) {
    StartAt(14.2);
    ant->CalcFreq = 14.2;
    {
        IniFile ini(SettingsPathOverride);
        ini.WriteString("Position", "SweLim", "ln");
        ini.WriteInteger("BWColor", "1", 12345);
        ini.UpdateFile();
    }
    uint32_t palette[10] = {};
    TBwDispDlg dlg(nullptr, Host());
    dlg.Open(palette);
    EXPECT_EQ(dlg.SwrLimit, -1);
    EXPECT_EQ(palette[1], 12345u);
    EXPECT_EQ(palette[2], 16711680u);
    EXPECT_TRUE(dlg.TryBtn->isEnabled());
    dlg.MeasBtnClick();
    EXPECT_EQ(Results.Sweep.Count, 5);
    EXPECT_FALSE(dlg.MeasBtn->isEnabled());
    EXPECT_FALSE(dlg.TryBtn->isEnabled());   // a fit exists
    EXPECT_EQ(dlg.Grid->item(2, 5)->text(), "On");
    dlg.GridClick(2, 5);
    EXPECT_EQ(Results.Sweep.Points[2].Shown, 0);
    dlg.grab();   // paints every chart
    for (int i = 0; i < 5; ++i) {
        dlg.Page->setCurrentIndex(i);
        dlg.grab();
    }
    dlg.LimitSWR->setEditText("10");
    dlg.LimitSWRChange();
    EXPECT_EQ(dlg.Finish(), 1);
    EXPECT_EQ(ant->CalcFreq, 14.2);
    EXPECT_NEAR(Results.Row(0)->F, 14.2, 1e-5);
    IniFile ini(SettingsPathOverride);
    EXPECT_EQ(ini.ReadString("Position", "SweLim", ""), "10");
    EXPECT_EQ(ini.ReadInteger("BWColor", "1", 0), 12345);
}

// A typed centre or match frequency is not completed to a preset.
TEST_F(SweepDialogsTest, PlotsKeepEveryTypedNumber) {
    StartAt(14.2);
    uint32_t palette[10] = {};
    TBwDispDlg dlg(nullptr, Host());
    dlg.Open(palette);
    const QStringList faults = NumberListsChangingTypedText(dlg);
    EXPECT_TRUE(faults.isEmpty()) << faults.join("\n").toStdString();
    dlg.Finish();
}

// The limit is taken when its entry is finished: "10" typed is 10, not "ln"
// at its first key, and only a finished 1 or less means no cap.
TEST_F(SweepDialogsTest, PlotsTakeTheLimitOfSwrWhenItsEntryIsFinished) {
    StartAt(14.2);
    uint32_t palette[10] = {};
    TBwDispDlg dlg(nullptr, Host());
    dlg.Open(palette);
    QLineEdit* edit = dlg.LimitSWR->lineEdit();
    const auto pressEnter = [&] { QTest::keyClick(edit, Qt::Key_Return); };
    const auto leave = [&] {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(edit, &out);
    };
    const struct {
        const char* typed;
        std::function<void()> finish;
        const char* shown;
        double limit;
    } cases[] = {{"10", pressEnter, "10", 10}, {"15", leave, "15", 15},    {"1.5", pressEnter, "1.5", 1.5},
                 {"100", leave, "100", 100},   {"1", pressEnter, "ln", -1}, {"0.5", leave, "ln", -1}};
    for (const auto& c : cases) {
        dlg.LimitSWR->setEditText("30");
        dlg.LimitSWRChange();
        edit->selectAll();
        QTest::keyClicks(edit, c.typed);
        EXPECT_EQ(edit->text().toStdString(), c.typed) << "while typing";
        EXPECT_EQ(dlg.SwrLimit, 30) << c.typed << ": taken before the entry was finished";
        c.finish();
        EXPECT_EQ(edit->text().toStdString(), c.shown) << c.typed;
        EXPECT_EQ(dlg.SwrLimit, c.limit) << c.typed;
    }
    // Chosen from the list.
    const int item = dlg.LimitSWR->findText("5.0");
    dlg.LimitSWR->setCurrentIndex(item);
    emit dlg.LimitSWR->activated(item);
    EXPECT_EQ(dlg.SwrLimit, 5);
    dlg.Finish();
    EXPECT_EQ(IniFile(SettingsPathOverride).ReadString("Position", "SweLim", ""), "5.0");
}

// A centre with more decimals than its box shows stays the centre when the
// tab changes: the dots of "Detailed" stay on every chart.
TEST_F(SweepDialogsTest, DetailedDotsStayOnEveryTab) {
    for (double f : {14.2, 14.17525}) {
        SCOPED_TRACE(f);
        StartAt(f);
        uint32_t palette[10] = {};
        TBwDispDlg dlg(nullptr, Host());
        dlg.Open(palette);
        dlg.HalfBtnClick();
        ASSERT_EQ(dlg.Session.Sweep.DotsComplete, 1);
        for (int tab = 1; tab < 4; ++tab) {
            dlg.Page->setCurrentIndex(tab);
            EXPECT_EQ(dlg.Session.Sweep.DotsComplete, 1) << "tab " << tab;
            EXPECT_EQ(Results.Sweep.F0, f);
        }
        dlg.Finish();
    }
}

TEST_F(SweepDialogsTest, FreqTableRangeCheckAndFile) {
    StartAt(14.2);
    ant->CalcFreq = 14.2;
    // The runs show the wait cursor.
    SweepHost host = Host();
    int waited = 0;
    host.Prepare = [&, prepare = host.Prepare] {
        const QCursor* c = QApplication::overrideCursor();
        waited += c && c->shape() == Qt::WaitCursor;
        return prepare();
    };
    TFreqSetDlg dlg(nullptr, host, Path("noname"));
    dlg.Load();
    EXPECT_TRUE(dlg.RangeValid);
    EXPECT_EQ(dlg.FreqIntval->text().toStdString(), DblToStr(Results.Sweep.Step * 500));
    dlg.BgnFreq->setText("14.35");
    dlg.EndFreq->setText("14.0");
    EXPECT_EQ(dlg.LCount->text(), "Fmin > Fmax");
    EXPECT_FALSE(dlg.OKBtn->isEnabled());
    dlg.BgnFreq->setText("14.0");
    dlg.EndFreq->setText("14.1");
    dlg.FreqIntval->setText("50");
    EXPECT_EQ(dlg.LCount->text(), "3");
    EXPECT_TRUE(dlg.OKBtn->isEnabled());
    EXPECT_FALSE(dlg.MatchFreq->isEnabled());
    dlg.MatchSel[2]->click();
    EXPECT_TRUE(dlg.MatchFreq->isEnabled());
    dlg.MatchSel[0]->click();
    prompter.AnswerFile(Path("table.csv"));
    EXPECT_TRUE(dlg.SaveTable());
    QFile f(QString::fromStdString(Path("table.csv")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QList<QByteArray> lines = f.readAll().split('\n');
    EXPECT_EQ(lines.size(), 5);   // head, three lines, nothing after the last CR LF
    EXPECT_TRUE(lines[0].endsWith('\r'));
    EXPECT_GT(waited, 0);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// Every failure of the frequency table is said and saves nothing: a folder
// that takes no file (before any run), a match point or a frequency that
// cannot be prepared or calculated.
TEST_F(SweepDialogsTest, FreqTableFailuresAreReportedAndSaveNothing) {
    struct Case {
        const char* file;
        bool refuse, failRun;
        const char* matchFreq;  // "" for no match
        const char* box;        // the start of the box shown
    };
    const Case cases[] = {
        {"missing/table.csv", false, false, "", "Can not save file "},
        {"protected.csv", false, false, "", "Can not save file "},
        {"match.csv", true, false, "14.3", "The antenna could not be calculated at 14.3 MHz"},
        {"match.csv", false, false, "6.8e38", "A frequency must be at most 1000000 MHz."},
        {"run.csv", false, true, "", "The antenna could not be calculated at 14.05 MHz"},
    };
    for (const Case& c : cases) {
        StartAt(14.2);
        ant->CalcFreq = 14.2;
        refuseAbove = c.refuse;
        failRunAbove = c.failRun;
        refuseFreq = 14.0;
        TFreqSetDlg dlg(nullptr, Host(), Path("noname"));
        dlg.Load();
        dlg.BgnFreq->setText("14.0");
        dlg.EndFreq->setText("14.1");
        dlg.FreqIntval->setText("50");
        dlg.MatchSel[*c.matchFreq ? 2 : 0]->click();
        dlg.MatchFreq->setText(c.matchFreq);
        // A file its owner protected is refused before the run, as a missing folder is.
        const QString file = QString::fromStdString(Path(c.file));
        const bool protect = std::string(c.file) == "protected.csv";
        if (protect) {
            QFile f(file);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write("old");
            f.close();
            f.setPermissions(QFileDevice::ReadOwner);
        }
        prepares = 0;
        EXPECT_FALSE(dlg.WriteTable(Path(c.file))) << c.file;
        ASSERT_FALSE(prompter.ShownBoxes().empty());
        EXPECT_EQ(prompter.Last().text.rfind(c.box, 0), 0u) << prompter.Last().text;
        if (protect) {
            EXPECT_NE(prompter.Last().text.find("\nUnable to write to " + Path(c.file)), std::string::npos);
            QFile f(file);
            ASSERT_TRUE(f.open(QIODevice::ReadOnly));
            EXPECT_EQ(f.readAll(), "old");
        } else {
            EXPECT_FALSE(QFile::exists(file)) << c.file;
        }
        if (protect || std::string(c.file).rfind("missing", 0) == 0) {
            EXPECT_EQ(prepares, 0) << c.file;
        }
        refuseAbove = failRunAbove = false;
    }
}

TEST_F(SweepDialogsTest, MultibandListSavesItsLines) {
    StartAt(14.2);
    ant->CalcFreq = 14.2;
    TNWLForm form(nullptr, Host(), [] {});
    form.FileName = QString::fromStdString(Path("ant.kva"));
    form.BandLB->item(2)->setCheckState(Qt::Checked);
    form.StepCB->setEditText("3");
    form.OKBtnClick();
    EXPECT_EQ(form.ResMemo->toPlainText().split('\n').size(), 4);
    EXPECT_TRUE(form.SaveBtn->isEnabled());
    EXPECT_EQ(form.OKBtn->text(), "Start");
    EXPECT_EQ(ant->CalcFreq, 14.2);
    prompter.AnswerFile(Path("list"));
    form.SaveBtnClick();
    QFile f(QString::fromStdString(Path("list.nwl")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QByteArray bytes = f.readAll();
    EXPECT_TRUE(bytes.startsWith("\\*  7.0 - 7.1   *\\\r\n7.0   "));
    f.close();
    // A list its owner protected is kept, and the box says why.
    f.setPermissions(QFileDevice::ReadOwner);
    prompter.AnswerFile(Path("list"));
    form.SaveBtnClick();
    EXPECT_EQ(prompter.Last().text, "Can not save file " + Path("list.nwl") + "\nUnable to write to " + Path("list.nwl"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), bytes);

    form.EditBand(0);
    EXPECT_EQ(form.StEd->text(), "1.8");
    EXPECT_EQ(form.EndEd->text(), "2.0");
    form.StEd->setText("1.81");
    form.OKbBtnClick();
    EXPECT_EQ(form.BandLB->item(0)->text(), "1.81 - 2.0");
    EXPECT_EQ(form.BandLB->item(0)->checkState(), Qt::Checked);
    // A band no antenna takes is refused as it is typed; the editor stays open.
    form.show();
    form.EditBand(1);
    form.EndEd->setText("6.8e38");
    prompter.Clear();
    form.OKbBtnClick();
    EXPECT_EQ(prompter.ShownBoxes().empty() ? "" : prompter.Last().text, "3.5 - 6.8e38: Fmax > 1000000 MHz");
    EXPECT_EQ(form.BandLB->item(1)->text(), "3.5 - 3.8");
    EXPECT_TRUE(form.SetBndPnl->isVisible());
}

TEST_F(SweepDialogsTest, MultibandSaveOfAnEmptyListSaysSo) {
    TNWLForm form(nullptr, Host(), [] {});
    prompter.AnswerFile(Path("empty.nwl"));
    form.SaveBtnClick();
    ASSERT_FALSE(prompter.ShownBoxes().empty());
    EXPECT_EQ(prompter.ShownBoxes().back().text, "The date is not calculated!");
    EXPECT_FALSE(QFile::exists(QString::fromStdString(Path("empty.nwl"))));
}

TEST_F(SweepDialogsTest, PlotsUpDownsPopupAndColours) {
    TBwDispDlg dlg(nullptr, Host());
    // The centre is written with three decimals, the match frequency as a
    // plain number; a text that does not read counts as 14.05, and neither
    // goes below 1 MHz.
    struct Case {
        const char* text;
        int direction;
        const char* centre;
        const char* match;
    } cases[] = {
        {"14.2", +1, "14.210", "14.21"},
        {"7.1", +1, "7.110", "7.11"},
        {"abc", -1, "14.040", "14.04"},
        {"0.5", -1, "1.000", "1.0"},
    };
    dlg.Open(nullptr);
    dlg.SelMatch[2]->click();
    dlg.MatchCenter->setChecked(false);
    dlg.UpdateControls(false);
    for (const Case& c : cases) {
        dlg.EditCenter->setEditText(c.text);
        dlg.MatchFreq->setEditText(c.text);
        dlg.UDFreqClick(c.direction);
        dlg.UDMatchClick(c.direction);
        EXPECT_EQ(dlg.EditCenter->currentText(), c.centre) << c.text;
        EXPECT_EQ(dlg.MatchFreq->currentText(), c.match) << c.text;
    }

    // Print is off on the Setup page; the match up-down is off with its
    // field and then leaves the value alone.
    struct State {
        int page, mode;
        bool atCentre, print, upDown;
    } states[] = {
        {0, 2, false, true, true}, {3, 1, false, true, true},  {4, 2, false, false, true},
        {0, 0, false, true, false}, {1, 2, true, true, false},
    };
    for (const State& s : states) {
        dlg.Page->setCurrentIndex(s.page);
        dlg.SelMatch[s.mode]->click();
        dlg.MatchCenter->setChecked(s.atCentre);
        dlg.UpdateControls(false);
        const std::string trace = "page " + std::to_string(s.page) + " mode " + std::to_string(s.mode);
        EXPECT_EQ(dlg.PrintBtn->isEnabled(), s.print) << trace;
        EXPECT_EQ(dlg.UDMatch->isEnabled(), s.upDown) << trace;
        EXPECT_EQ(dlg.MatchFreq->isEnabled(), s.upDown) << trace;
        dlg.MatchFreq->setEditText("14.2");
        dlg.UDMatchClick(+1);
        EXPECT_EQ(dlg.MatchFreq->currentText().toStdString(), s.upDown ? "14.21" : "14.2") << trace;
    }
    dlg.Page->setCurrentIndex(0);

    // A right click on a chart opens the popup with the mode in use checked;
    // its items set the mode like the radio group.
    JobDef.MatchMode = 2;
    dlg.show();
    QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(20, 20), dlg.PBoxZ->mapToGlobal(QPoint(20, 20)));
    QApplication::sendEvent(dlg.PBoxZ, &click);
    EXPECT_TRUE(dlg.PopupMenu->isVisible());
    dlg.PopupMenu->hide();
    EXPECT_TRUE(dlg.KMZSWR->isChecked());
    EXPECT_FALSE(dlg.KMOFF->isChecked());
    dlg.KMSWR->trigger();
    EXPECT_EQ(JobDef.MatchMode, 1);
    EXPECT_TRUE(dlg.SelMatch[1]->isChecked());
    dlg.KMOFF->trigger();
    EXPECT_EQ(JobDef.MatchMode, 0);

    // Colours: the row chosen in the grid takes the colour; Cancel keeps it.
    uint32_t palette[10] = {};
    dlg.Open(palette);
    const auto saved = ChooseColour;
    QColor answer(0, 255, 0);
    ChooseColour = [&answer](QWidget*, const QColor&) { return answer; };
    dlg.ColorBtnClick();  // no row chosen
    EXPECT_EQ(palette[0], 0u);
    dlg.Grid->setCurrentCell(3, 0);
    dlg.ColorBtnClick();
    EXPECT_EQ(palette[3], 0x00FF00u);
    answer = QColor();
    dlg.Grid->setCurrentCell(1, 0);
    dlg.ColorBtnClick();
    EXPECT_EQ(palette[1], 255u);
    ChooseColour = saved;
    dlg.Finish();
}

namespace {

QString ToolOutput(const QString& tool, const QStringList& args) {
    QProcess p;
    p.start(tool, args);
    if (!p.waitForFinished(30000)) return "(" + tool + " did not run)";
    return QString::fromUtf8(p.readAllStandardOutput());
}

}  // namespace

TEST_F(SweepDialogsTest, PlotsPrintTheThreeChartsOnOnePage) {
    StartAt(14.2);
    uint32_t palette[10] = {};
    TBwDispDlg dlg(nullptr, Host());
    dlg.Open(palette);
    dlg.MeasBtnClick();
    ASSERT_EQ(Results.Sweep.Count, 5);
    for (bool landscape : {true, false}) {
        const QString pdf = dir.filePath(landscape ? "wide.pdf" : "tall.pdf");
        PdfPrintSetup setup(pdf.toStdString(), landscape);
        ScopedPrintSetup scope(setup);
        dlg.PrintBtnClick();
        EXPECT_EQ(setup.Asked, 1);
        EXPECT_TRUE(ToolOutput("pdfinfo", {pdf}).contains(QRegularExpression("Pages:\\s+1\\n")));
        const QString text = ToolOutput("pdftotext", {"-layout", pdf, "-"});
        // The header, then the texts of each chart: Z, SWR, gain.
        for (const char* expected : {"test dipole", "jX", "fo:", "SWR Z0:", "KHz(SWR<1.5)", "KHz(SWR<2.0)", "GA", "FB"})
            EXPECT_TRUE(text.contains(expected)) << expected << (landscape ? " (landscape)" : " (portrait)") << "\n"
                                                 << text.toStdString();
    }
    EXPECT_TRUE(prompter.ShownBoxes().empty());
    // A file that cannot be made is reported; Cancel prints nothing.
    PdfPrintSetup refusing(dir.filePath("no such folder/plots.pdf").toStdString());
    ScopedPrintSetup scope(refusing);
    dlg.PrintBtnClick();
    ASSERT_EQ(prompter.ShownBoxes().size(), 1u);
    EXPECT_EQ(prompter.Last().text.rfind("Can not save " + dir.filePath("no such folder/plots.pdf").toStdString(), 0), 0u);
    refusing.Cancel = true;
    dlg.PrintBtnClick();
    EXPECT_EQ(prompter.ShownBoxes().size(), 1u);
    dlg.Finish();
}

// The dialog counts the rows the table writes; a range whose rows round to
// 0 MHz or together is refused before any run.
TEST_F(SweepDialogsTest, FreqTableWritesTheRowsItCounts) {
    const struct {
        const char *fmin, *fmax, *stepKHz, *count;
    } cases[] = {
        {"14.0", "14.01", "1.2", "9"},
        {"14.0", "14.1", "50", "3"},
        {"0", "1e-300", "1e-9", "Fmin < 0.001 MHz"},
        {"0.0001", "0.0004", "0.1", "Fmin < 0.001 MHz"},
        {"0.0004", "0.2", "100", "Fmin < 0.001 MHz"},
        {"14.0", "14.001", "0.5", "Step < 1 KHz"},
        {"14.0", "6.8e38", "1000", "Fmax > 1000000 MHz"},
        {"999999", "1000000.1", "1000", "Fmax > 1000000 MHz"},
    };
    for (const auto& c : cases) {
        StartAt(14.2);
        ant->CalcFreq = 14.2;
        TFreqSetDlg dlg(nullptr, Host(), Path("noname"));
        dlg.Load();
        dlg.MatchSel[0]->click();
        dlg.BgnFreq->setText(c.fmin);
        dlg.EndFreq->setText(c.fmax);
        dlg.FreqIntval->setText(c.stepKHz);
        EXPECT_EQ(dlg.LCount->text().toStdString(), c.count) << c.fmin;
        bool numeric = false;
        const int rows = dlg.LCount->text().toInt(&numeric);
        EXPECT_EQ(dlg.OKBtn->isEnabled(), numeric) << c.fmin;
        prepares = 0;
        const std::string file = Path("rows.csv");
        QFile::remove(QString::fromStdString(file));
        EXPECT_EQ(dlg.WriteTable(file), numeric) << c.fmin;
        QFile f(QString::fromStdString(file));
        if (!numeric) {
            EXPECT_EQ(prepares, 0) << c.fmin;
            EXPECT_FALSE(f.exists()) << c.fmin;
            continue;
        }
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll().count("\r\n"), rows + 1) << c.fmin;   // the head and one line per row
    }
}
