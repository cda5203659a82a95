// What the user chose stays what the program uses through an edit: each row
// opens an antenna, edits it through the window's own commands (keeps,
// restores and log files among them) and checks what its references mean
// afterwards.
#include "OptimizerRowsFixture.h"
#include "model/AntennaText.h"
#include "model/FedDipole.h"
#include "editing/ElementTable.h"
#include "editing/GrpWireDlg.h"
#include "editing/WireCadDlg.h"
#include "optimizer/OptimizerState.h"
#include "platform/StringGrid.h"

#include <QAction>
#include <QFile>

#include <functional>
#include <string>

namespace {

class MeaningKeptTest : public OptimizerRowsTest {
public:
    using MainWndTest::wnd;
    using MainWndTest::prompter;
    using MainWndTest::Open;
    // Opens an antenna given by its wire lines ("x1, y1, z1, x2, y2, z2, r,
    // seg"), source positions and load positions (R+jX loads of 10 ohm).
    void OpenAntenna(const QStringList& wires, const QStringList& sources, const QStringList& loads = {}) {
        QString text = "Meaning kept\r\n*\r\n14.2\r\n***Wires***\r\n" + QString::number(wires.size()) + "\r\n";
        for (const QString& w : wires) text += w + "\r\n";
        text += "*** Source ***\r\n" + QString::number(sources.size()) + ",1\r\n";
        for (const QString& s : sources) text += s + ",0,1\r\n";
        text += "*** Load ***\r\n" + QString::number(loads.size()) + ",1\r\n";
        for (const QString& l : loads) text += l + ",1,10,0\r\n";
        text += "*** Segmentation ***\r\n800,80,2.0,1\r\n*** G/H/M/R/AzEl/X ***\r\n0,0,0,50,120,60,0\r\n";
        QFile file(TempPath("meaning.kva"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.toLatin1());
        file.close();
        Open({"korva", file.fileName()});
        ASSERT_EQ(wnd->Ant.WireCount, wires.size());
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
};

struct Row {
    const char* name;
    std::function<void(MeaningKeptTest&)> setup, action, check;
};

const QString Dipole6 = "0,-5,10,0,0,10,0.001,6";  // two halves joined at the origin, 6 segments each
const QString Dipole6b = "0,0,10,0,5,10,0.001,6";

const Row Rows[] = {
    {"a divide beside a wire too long to lay out",
     [](MeaningKeptTest& t) {
         t.OpenAntenna({"0,-5.12,10,0,5.12,10,0.001,2147483647", "3,-5.12,10,3,5.12,10,0.001,22"}, {"w1c"});
     },
     [](MeaningKeptTest& t) { t.InWireEditor(1, HitBody, [](TWireCadDlg& d) { return d.KP[2]; }); },
     [](MeaningKeptTest& t) {
         // The old centre is the joint of the halves, the first pulse of the
         // later one; not the centre of the first half, 2.56 m away.
         EXPECT_STREQ(t.wnd->Ant.Sources[0].Pos, "w3b");
         EXPECT_TRUE(t.LinesAbout("Source 1 (").isEmpty()) << t.LinesAbout("Source 1 (").join("\n").toStdString();
     }},
    {"a divide that segments the fed neighbour anew",
     [](MeaningKeptTest& t) { t.OpenAntenna({Dipole6, Dipole6b}, {"w2b+2"}, {"w2e+1", "w2e-1"}); },
     [](MeaningKeptTest& t) { t.InWireEditor(1, HitBody, [](TWireCadDlg& d) { return d.KP[2]; }); },
     [](MeaningKeptTest& t) {
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
    {"exchanging the ends of a fed wire",
     [](MeaningKeptTest& t) { t.OpenAntenna({"0,-5,10,0,5,10,0.001,6"}, {"w1b+1"}); },
     [](MeaningKeptTest& t) { t.InWireEditor(1, HitBody, [](TWireCadDlg& d) { return d.KS1; }); },
     [](MeaningKeptTest& t) {
         // Y -1.667 m is now the fourth pulse from the wire's new first end.
         EXPECT_STREQ(t.wnd->Ant.Sources[0].Pos, "w1c+1");
         EXPECT_TRUE(t.LinesAbout("Source 1 (").isEmpty());
     }},
    {"the optimizer's band source and current goal on a wire whose ends are exchanged",
     [](MeaningKeptTest& t) {
         t.OpenAntenna({"0,-5,10,0,5,10,0.001,6"}, {"w1b+1"});
         CACal& cal = t.wnd->OptimizerState();
         t.wnd->AttachOptimizer();
         CopyText(cal.Bands[0].Sources[0].Pos, "w1b+1");
         CopyText(cal.CurrentPos, "w1b+1");
     },
     [](MeaningKeptTest& t) { t.InWireEditor(1, HitBody, [](TWireCadDlg& d) { return d.KS1; }); },
     [](MeaningKeptTest& t) {
         EXPECT_STREQ(t.wnd->ACal->Bands[0].Sources[0].Pos, "w1c+1");
         EXPECT_STREQ(t.wnd->ACal->CurrentPos, "w1c+1");
     }},
    {"disjoining a wire fed at its joint",
     [](MeaningKeptTest& t) { t.OpenAntenna({Dipole6, Dipole6b}, {"w2b"}); },
     [](MeaningKeptTest& t) { t.InWireEditor(2, HitEnd1, [](TWireCadDlg& d) { return d.K5; }); },
     [](MeaningKeptTest& t) {
         // The joint is gone: the feed goes to the pulse of its wire nearest
         // to it, and says so.
         EXPECT_STREQ(t.wnd->Ant.Sources[0].Pos, "w2b");
         EXPECT_EQ(t.LinesAbout("Source 1 (w2b)").size(), 1) << t.wnd->LogLines().join("\n").toStdString();
     }},
    {"widening the fed element in the element table",
     [](MeaningKeptTest& t) {
         t.OpenAntenna({"-3,-5.3,10,-3,5.3,10,0.005,21", "0,-5.1,10,0,5.1,10,0.005,-1", "3,-4.8,10,3,4.8,10,0.005,21"},
                       {"w2b+3"});
     },
     [](MeaningKeptTest& t) {
         t.Accept<TGrpWireDlg>(t.wnd->K18, [](TGrpWireDlg& d) { d.Grid->SetEditText(ColWidth, 2, "15"); });
     },
     [](MeaningKeptTest& t) {
         ASSERT_NEAR(t.wnd->Ant.Wires[1].Y2, 7.5, 1e-9) << "the width typed";
         // The driven element is segmented anew for its new length: the feed
         // keeps its place along it (3.9 % from its end), at the pulse
         // nearest to that (4.5 %; w2b+3 would stand at 2.6 %), and says so.
         EXPECT_STREQ(t.wnd->Ant.Sources[0].Pos, "w2b+4");
         EXPECT_EQ(t.LinesAbout("Source 1 (w2b+3)").size(), 1);
     }},
    {"a wire typed behind the reflector, kept at once, then deleted and the data restored",
     [](MeaningKeptTest& t) { t.OpenYagiWithRows(); },
     [](MeaningKeptTest& t) {
         t.TypeBehindReflector();
         t.wnd->K38->trigger();
         t.DeleteWire(4);
         t.Restore(t.wnd->K39);
     },
     [](MeaningKeptTest& t) { EXPECT_EQ(t.WidthsTheRowsVary(), (std::vector<double>{10.7, 9.6})); }},
    {"a wire typed behind the reflector, the optimization log saved at once and opened",
     [](MeaningKeptTest& t) { t.OpenYagiWithRows(); },
     [](MeaningKeptTest& t) {
         t.TypeBehindReflector();
         t.prompter.AnswerFile(t.LogPath().toStdString());
         t.wnd->K20->trigger();
         ASSERT_TRUE(QFile::exists(t.LogPath()));
         t.prompter.AnswerMessage(BoxNo);  // the antenna's save question
         t.prompter.AnswerFile(t.LogPath().toStdString());
         t.wnd->K19->trigger();
     },
     [](MeaningKeptTest& t) { EXPECT_EQ(t.WidthsTheRowsVary(), (std::vector<double>{10.7, 9.6})); }},
    {"data kept before the rows, an optimization over all elements, the data restored",
     [](MeaningKeptTest& t) {
         t.Open({"korva", QStringLiteral(KORVA_TEST_DATA "/../../examples/yagi3.kva")});
         t.wnd->K38->trigger();
     },
     [](MeaningKeptTest& t) {
         const std::string start = t.AntennaText();
         t.RunOptimizationStoppedEarly([](TACalDlg& dialog) { dialog.AllEleClick(); }, 40);
         ASSERT_NE(t.AntennaText(), start) << "the search moved no wire";
         t.wnd->ClearLog();
         t.rowsBefore = t.wnd->ACal->RowCount;
         t.Restore(t.wnd->K39);
     },
     [](MeaningKeptTest& t) {
         EXPECT_TRUE(t.LinesAbout("removed").isEmpty()) << t.LinesAbout("removed").join("\n").toStdString();
         EXPECT_EQ(t.wnd->ACal->RowCount, t.rowsBefore);
         EXPECT_STREQ(t.wnd->ACal->Bands[0].Sources[0].Pos, "w2c");
     }},
    {"a row on load 2, load 1 deleted, the data kept before restored",
     [](MeaningKeptTest& t) {
         t.OpenAntenna({"-2.5,0,10,2.5,0,10,0.001,11"}, {"w1c"}, {"w1b", "w1e"});
         t.wnd->Ant.Loads[1].A[0] = 20;
         t.wnd->K38->trigger();
         CACal& cal = t.wnd->OptimizerState();
         t.wnd->AttachOptimizer();
         cal.AddVar(KindLoad, 1, 0, 0, 20, 10);
     },
     [](MeaningKeptTest& t) {
         t.FocusRow(t.wnd->Grid4, 1);
         t.wnd->K13->trigger();
         ASSERT_EQ(t.wnd->Ant.LoadCount, 1);
         ASSERT_DOUBLE_EQ(t.wnd->ACal->GetValue(0), 20) << "the row follows its load";
         t.Restore(t.wnd->K39);
     },
     [](MeaningKeptTest& t) {
         ASSERT_EQ(t.wnd->ACal->RowCount, 1);
         EXPECT_EQ(t.wnd->ACal->Rows[0].Item, 1);
         EXPECT_DOUBLE_EQ(t.wnd->ACal->GetValue(0), 20);
     }},
};

TEST_F(MeaningKeptTest, EditsKeepWhatReferencesMean) {
    for (const Row& row : Rows) {
        SCOPED_TRACE(row.name);
        TempMemoryText.clear();
        row.setup(*this);
        if (HasFatalFailure()) return;
        row.action(*this);
        row.check(*this);
    }
}

}  // namespace
