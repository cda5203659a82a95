// What the user chose stays what the program uses: the optimizer's rows name
// the wires, elements and loads they were made on through keeps, restores and
// log files, whatever was edited in between.
#include "OptimizerRowsFixture.h"
#include "model/AntennaText.h"
#include "model/FedDipole.h"

#include <QAction>
#include <QFile>
#include <algorithm>

namespace {

class MeaningKeptTest : public OptimizerRowsTest {
protected:
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
    // Log lines that say a row, a band source or the goal went away.
    std::vector<std::string> RemovalLines() const {
        std::vector<std::string> lines;
        for (const QString& line : wnd->LogLines())
            if (line.contains("removed")) lines.push_back(line.toStdString());
        return lines;
    }
};

}  // namespace

TEST_F(MeaningKeptTest, RowsNameWhatTheUserChoseThroughKeepsRestoresAndLogs) {
    const QString log = TempPath("rows.kvo");
    int rowsBefore = 0;
    const struct {
        const char* name;
        std::function<void()> steps;
        std::function<void()> check;
    } cases[] = {
        {"a wire typed behind the reflector, kept at once, then deleted and the data restored",
         [&] {
             OpenYagiWithRows();
             TypeWire(4, {"-8.4", "-5", "10", "-8.4", "5", "10"});
             wnd->K38->trigger();
             DeleteWire(4);
             Restore(wnd->K39);
         },
         [&] { EXPECT_EQ(WidthsTheRowsVary(), (std::vector<double>{10.7, 9.6})); }},
        {"a wire typed behind the reflector, the optimization log saved at once and opened",
         [&] {
             OpenYagiWithRows();
             TypeWire(4, {"-8.4", "-5", "10", "-8.4", "5", "10"});
             prompter.AnswerFile(log.toStdString());
             wnd->K20->trigger();
             prompter.AnswerFile(log.toStdString());
             prompter.AnswerMessage(BoxNo);  // the antenna's save question
             wnd->K19->trigger();
             ASSERT_TRUE(QFile::exists(log));
         },
         [&] { EXPECT_EQ(WidthsTheRowsVary(), (std::vector<double>{10.7, 9.6})); }},
        {"data kept before the rows, an optimization over all elements, the data restored",
         [&] {
             Open({"korva", QStringLiteral(KORVA_TEST_DATA "/../../examples/yagi3.kva")});
             wnd->K38->trigger();
             const std::string start = WriteAntennaText(wnd->Ant, EnvDef, wnd->Comment);
             RunOptimizationStoppedEarly([](TACalDlg& dialog) { dialog.AllEleClick(); }, 40);
             ASSERT_NE(WriteAntennaText(wnd->Ant, EnvDef, wnd->Comment), start) << "the search moved no wire";
             ASSERT_GT(wnd->ACal->RowCount, 0);
             wnd->ClearLog();
             rowsBefore = wnd->ACal->RowCount;
             Restore(wnd->K39);
         },
         [&] {
             EXPECT_EQ(RemovalLines(), std::vector<std::string>{});
             EXPECT_EQ(wnd->ACal->RowCount, rowsBefore);
             EXPECT_STREQ(wnd->ACal->Bands[0].Sources[0].Pos, "w2c");
         }},
        {"a row on load 2, load 1 deleted, the data kept before restored",
         [&] {
             MakeFedDipole(wnd->Ant, WireRec{-2.5, 0, 10, 2.5, 0, 10, 0.001, 11, 0, 0, 0});
             for (int i : {0, 1}) {
                 LoadRec& l = wnd->Ant.Loads[i];
                 l = LoadRec{};
                 l.Type = LoadRX;
                 CopyText(l.Pos, i == 0 ? "w1b" : "w1e");
                 l.A[0] = i == 0 ? 10 : 20;
             }
             wnd->Ant.LoadCount = 2;
             wnd->Ant.UseLoads = 1;
             wnd->SetAntDef();
             wnd->AntChanged();
             wnd->K38->trigger();
             CACal& cal = wnd->OptimizerState();
             wnd->AttachOptimizer();
             cal.AddVar(KindLoad, 1, 0, 0, 20, 10);
             ASSERT_DOUBLE_EQ(cal.GetValue(0), 20);
             FocusRow(wnd->Grid4, 1);
             wnd->K13->trigger();
             ASSERT_EQ(wnd->Ant.LoadCount, 1);
             ASSERT_DOUBLE_EQ(cal.GetValue(0), 20);
             Restore(wnd->K39);
         },
         [&] {
             ASSERT_EQ(wnd->ACal->RowCount, 1);
             EXPECT_EQ(wnd->ACal->Rows[0].Item, 1);
             EXPECT_DOUBLE_EQ(wnd->ACal->GetValue(0), 20);
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Open();
        TempMemoryText.clear();
        c.steps();
        c.check();
    }
}
