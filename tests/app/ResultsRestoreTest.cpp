// Every tool that runs the engine at frequencies of its own and promises to
// leave the results of the last Start: afterwards the rows, the far-field
// flag and pattern, the calculation frequency and the prepared model are
// those of before, so Compare, the far-field file and the tables go on
// working on them, and the far-field plots keep their scale.
#include "MainWndFixture.h"
#include "draw/PolarPlot.h"
#include "engine/CalcRuns.h"
#include "engine/EngineState.h"
#include "model/ResultStore.h"
#include "optimizer/ACalDlg.h"
#include "optimizer/OptimizerState.h"
#include "views/BwDispDlg.h"
#include "views/FreqSetDlg.h"
#include "views/NWLForm.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <cstring>
#include <functional>

namespace {

// Clears what the window before left in the global results store.
void ClearResults() {
    Results.RowCount = 0;
    Results.RingIndex = 0;
    Results.HasFarField = 0;
    Results.AngleStep = 0;
}

struct Tool {
    const char* name;
    std::function<int(QDialog&, const QString& folder)> drive;  // the dialog as a user drives it
    std::function<void(TMainWnd&)> command;
    bool rowsAdded;  // the sweep keeps a row per main point in the ring
    int answer = 0;  // to the question the tool asks, if any
};

int Multiband(QDialog& d, const QString&) {
    auto* form = dynamic_cast<TNWLForm*>(&d);
    if (!form) return QDialog::Rejected;
    form->BandLB->item(4)->setCheckState(Qt::Checked);  // 14.0 - 14.35
    form->StepCB->setCurrentText("3");
    form->OKBtnClick();
    return QDialog::Rejected;
}

int FrequencyTable(QDialog& d, const QString& folder) {
    auto* dlg = dynamic_cast<TFreqSetDlg*>(&d);
    if (!dlg) return QDialog::Rejected;
    dlg->BgnFreq->setText("13.9");
    dlg->EndFreq->setText("14.3");
    dlg->FreqIntval->setText("100");
    dlg->MatchSel[2]->setChecked(true);
    dlg->MatchFreq->setText("14.05");
    EXPECT_TRUE(dlg->WriteTable((folder + "/table.csv").toStdString()));
    return QDialog::Rejected;
}

std::function<int(QDialog&, const QString&)> Plots(std::function<void(TBwDispDlg&)> buttons) {
    return [buttons](QDialog& d, const QString&) {
        if (auto* dlg = dynamic_cast<TBwDispDlg*>(&d)) {
            buttons(*dlg);
            // The far-field tab draws the sweep's curves against their own largest gain.
            dlg->Page->setCurrentWidget(dlg->PBPtn->parentWidget());
            dlg->grab();
        }
        return int(QDialog::Rejected);
    };
}

// Two bands, the second at a frequency no preparation takes: the first
// evaluation fails and nothing is scored.
int OptimizerScoringNothing(QDialog& d, const QString&) {
    auto* dlg = dynamic_cast<TACalDlg*>(&d);
    if (!dlg) return QDialog::Rejected;
    dlg->Grid->SetRow(1);
    dlg->GridSetEditText(2, 1, "3");
    dlg->SetRowWhat(0);
    dlg->OKBtnClick();
    return dlg->result();
}

}  // namespace

class ResultsRestoreTest : public MainWndTest {};

TEST_F(ResultsRestoreTest, ToolsThatRunTheEngineLeaveTheResultsOfTheLastStart) {
    const Tool tools[] = {
        {"multiband list", Multiband, [](TMainWnd& w) { w.NWLDat->trigger(); }, false},
        {"frequency table", FrequencyTable, [](TMainWnd& w) { w.K49->trigger(); }, false},
        {"sweep points", Plots([](TBwDispDlg& d) {
             d.MeasBtnClick();
             d.HalfBtnClick();
         }),
         [](TMainWnd& w) { w.BwBtn->click(); }, true},
        {"resonance search", Plots([](TBwDispDlg& d) { d.GetFoBtnClick(); }), [](TMainWnd& w) { w.BwBtn->click(); },
         true, BoxYes},
        {"optimizer cancelled", [](QDialog&, const QString&) { return int(QDialog::Rejected); },
         [](TMainWnd& w) { w.ACalBtn->click(); }, false},
        {"optimizer scoring nothing", OptimizerScoringNothing,
         [](TMainWnd& w) {
             CACal& cal = w.OptimizerState();
             cal.BandCount = 2;
             cal.Bands[0].Freq = w.Ant.CalcFreq;
             cal.Bands[0].Sources[0] = w.Ant.Sources[0];
             cal.Bands[1].Freq = -1;
             cal.Bands[1].Sources[0] = w.Ant.Sources[0];
             w.ACalBtn->click();
         },
         false},
    };
    const QString folder = TempPath("");
    for (const Tool& tool : tools) {
        SCOPED_TRACE(tool.name);
        ClearResults();
        Open();
        ASSERT_EQ(wnd->OpenAntFile(KORVA_TEST_DATA "/yagi3.kva"), 1);
        wnd->DoFreq->setEditText("14.15");
        wnd->CalTrgBtn->click();
        ASSERT_EQ(Results.HasFarField, 1);
        const auto before = std::make_unique<CResult>(Results);
        const double freq = wnd->Ant.CalcFreq;
        ExecModalDialog = [&](QDialog& d) { return tool.drive(d, folder); };
        if (tool.answer) prompter.AnswerMessage(tool.answer);
        tool.command(*wnd);

        EXPECT_EQ(Results.HasFarField, 1);
        EXPECT_EQ(wnd->Ant.CalcFreq, freq);
        EXPECT_EQ(std::memcmp(Results.Row(0), before->Row(0), sizeof(ResultRow)), 0);
        if (tool.rowsAdded) {
            EXPECT_GT(Results.RowCount, before->RowCount);
        } else {
            EXPECT_EQ(Results.RowCount, before->RowCount);
            EXPECT_EQ(Results.RingIndex, before->RingIndex);
        }
        EXPECT_EQ(std::memcmp(Results.ElevCut, before->ElevCut, sizeof Results.ElevCut), 0);
        EXPECT_EQ(std::memcmp(Results.AzCut, before->AzCut, sizeof Results.AzCut), 0);
        EXPECT_EQ(Results.GainMax, before->GainMax);
        // The window's plots reach their 0 dB ring at the result they show.
        EXPECT_EQ(PatternMaxGain, Results.GainMax);
        wnd->UpdateMenuState();
        EXPECT_TRUE(wnd->K11->isEnabled());
        // The prepared model is the antenna at its own frequency again.
        EXPECT_EQ(Engine.Frequency, static_cast<float>(freq));
        Results.PushRow();
        ASSERT_TRUE(RunFullCalc());
        EXPECT_NEAR(Results.Row(0)->Ga, before->Row(0)->Ga, 1e-4);
        EXPECT_NEAR(Results.Row(0)->R, before->Row(0)->R, 1e-3);
    }
}
