// What the user chose stays what the program uses and writes. Results are
// refused by every command that computes into or from them once the antenna
// or a setting they were computed from has changed, and every change of what
// a save writes is asked about before New drops it. One row per control: the
// row brings the window to a state through its real paths, does what a user
// does, and checks what must hold then.
#include "FileCommandsFixture.h"
#include "model/EnvDef.h"
#include "model/ResultStore.h"
#include "platform/RadioGroup.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QRadioButton>
#include <QTabWidget>
#include <functional>
#include <ostream>

class MeaningKept;

struct MeaningKeptRow {
    const char* name;
    std::function<void(MeaningKept&)> setup;
    std::function<void(MeaningKept&)> action;
    std::function<void(MeaningKept&)> check;
};

inline void PrintTo(const MeaningKeptRow& row, std::ostream* os) { *os << row.name; }

class MeaningKept : public FileCommandsTest, public ::testing::WithParamInterface<MeaningKeptRow> {
public:
    TMainWnd& Wnd() { return *wnd; }

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

private:
    float startedFreq_ = 0;
};

namespace {

auto StartedDipole = [](MeaningKept& t) {
    t.OpenExample("dipole.kva");
    t.Start();
};
auto Refused = [](MeaningKept& t) { t.ExpectResultsRefused(); };
auto Asked = [](MeaningKept& t) { t.ExpectSaveQuestion(); };
auto TypedInto = [](QComboBox* TMainWnd::*box, const char* text) {
    return [box, text](MeaningKept& t) { MeaningKept::TypeInto(t.Wnd().*box, text); };
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
    // The calculation frequency is no part of the file.
    {"NoSaveQuestionAfterCalcFreq", [](MeaningKept& t) { t.OpenExample("dipole.kva"); },
     TypedInto(&TMainWnd::DoFreq, "7.1"), [](MeaningKept& t) { t.ExpectNoSaveQuestion(); }},
};

}  // namespace

TEST_P(MeaningKept, Holds) {
    const MeaningKeptRow& row = GetParam();
    row.setup(*this);
    ASSERT_FALSE(HasFatalFailure());
    row.action(*this);
    row.check(*this);
}

INSTANTIATE_TEST_SUITE_P(Controls, MeaningKept, ::testing::ValuesIn(Rows),
                         [](const ::testing::TestParamInfo<MeaningKeptRow>& info) { return info.param.name; });
